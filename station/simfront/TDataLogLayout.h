// TDataLogLayout: how the data-log view lays the logged values out in rows.
//
// A row starts with the index of its first value ("%4d") and holds as many
// values as fit the client width: n = (W - 4c - 10) div (c * k), with c the
// width of a character, W the client width and k the width of one value
// (7 for "%7d", 5 for "%5.4x"). Pure arithmetic, so tests and the
// benchmark need no window.
#pragma once

#include <QString>
#include <cstdint>

struct TDataLogLayout {
  static constexpr int kDecimalWidth = 7;
  static constexpr int kHexWidth = 5;
  static constexpr int kIndexX = 4;    // x of the row number
  static constexpr int kTextTop = 2;   // text below the row's top
  static constexpr int kRowExtra = 8;  // row height = font height + 8

  int charWidth = 8;
  int clientWidth = 0;
  bool hex = false;
  int length = 0;

  int ValueWidth() const { return hex ? kHexWidth : kDecimalWidth; }
  // At least one value per row, however narrow the window.
  int ValuesPerRow() const;
  // At least one row (it carries the empty-log text).
  int Rows() const;
  int RowOf(int index) const { return index <= 0 ? 0 : index / ValuesPerRow(); }
  int ValuesX() const { return 4 * charWidth + 4; }

  static QString FormatIndex(int index);
  static QString FormatValue(uint16_t value, bool hex);
};
