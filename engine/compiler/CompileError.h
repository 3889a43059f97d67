// CompileError: ends a compile step early with the block at fault (-1: none)
// and the message the station shows.
#pragma once

#include <cstdint>
#include <string>

struct CompileError {
  int32_t BlockId;
  std::string Message;
};

// The messages of the compiler, as the station shows them (Windows-1252).
namespace compile_msg {
inline constexpr const char kRecursion[] = "ung\xFCltige Rekursion";
inline constexpr const char kMissingInput[] = "fehlende Eingangsverbindung";
inline constexpr const char kMissingParam[] = "fehlender Parameter";
inline constexpr const char kTooLong[] = "Programm zu lang";
inline constexpr const char kBadTable[] = "Fehler in Tabelle";
inline constexpr const char kUndefined[] = "Sprungziel/Tabelle nicht definiert";
inline constexpr const char kAborted[] = "Abbruch durch Anwender";
inline constexpr const char kUnknown[] = "unbekannter Compilerfehler";
}  // namespace compile_msg
