// The font of a comment block as the cell body stores it.
#pragma once

#include <QString>
#include <cstdint>

#include "TColorValue.h"

struct TCommentFont {
  enum Style : uint8_t { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

  QString name;
  int32_t size = 8;  // points
  TColor color = tcolor::kWindowText;
  uint8_t style = 0;

  friend bool operator==(const TCommentFont&, const TCommentFont&) = default;
};
