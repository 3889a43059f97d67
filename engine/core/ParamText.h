// Helpers for block parameter texts.
#pragma once

#include <cstddef>
#include <cstdint>

// Reads a text as a number: leading blanks skipped, one sign, then decimal
// digits up to the first other character; no digits give 0. Saturates at the
// 64-bit range so that any digit run is safe.
int64_t ReadNumber(const char* text);
// The same for the first len characters of text (fewer when it ends earlier).
int64_t ReadNumberN(const char* text, size_t len);

// Copies at most k characters of text into field (capacity k + 1 or more),
// NUL-terminated and zero-filled behind them. A null text counts as empty.
void KeepAtMost(char* field, size_t fieldSize, const char* text, size_t k);
