// The process-wide display settings of the cell editor. The settings store of
// the shell loads and saves them; until then they hold their start values.
#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "TColorValue.h"
#include "TCommentFont.h"
#include "TRect.h"

struct CellEditorSettings {
  bool alignAtGrid = true;
  bool gridVisible = true;
  int32_t gridSize = 10;
  TRect cellArea{0, 0, 2000, 2000};
  bool blockIndicesVisible = false;
  TColor foregroundColor = tcolor::kWindowText;
  TColor blockBackgroundColor = tcolor::kWindow;
  // Wire colour by connection kind: other, (unused 1 -> other), 2, 3, 4.
  std::array<TColor, 4> wireColors{tcolor::kBlue, tcolor::kGreen, tcolor::kRed, tcolor::kRed};
  TColor indexTextColor = tcolor::kWhite;
  TColor indexBackgroundColor = tcolor::kTeal;
  TCommentFont defaultCommentFont{QStringLiteral("MS Sans Serif"), 8, tcolor::kWindowText, 0};
  // Clipboard format ids: cell, blocks, table (registered by the shell).
  std::array<uint16_t, 3> clipboardFormats{0, 0, 0};
  // Directories of block bitmaps and external tables ("BitmapPath", "TablePath").
  QString bitmapPath;
  QString tablePath;

  // The colour of a wire with the given connection kind.
  TColor WireColor(int kind) const {
    switch (kind) {
      case 2: return wireColors[1];
      case 3: return wireColors[2];
      case 4: return wireColors[3];
      default: return wireColors[0];
    }
  }

  static CellEditorSettings& Current();
};
