// Maps the font names stored in cell bodies to fonts of this platform and
// sizes in points to pixels at the 96 dpi the drawings were made with, so a
// cell measures and paints the same on every machine.
#pragma once

#include <QFont>
#include <QString>
#include <cstdint>

#include "TCommentFont.h"

class TFontMapper {
 public:
  // Registers the substitutions once ("Times New Roman" -> "Liberation
  // Serif", ...). Called by every function below.
  static void Install();

  // The family that stands for a stored font name.
  static QString Family(const QString& name);

  // A font of the given name, size in points (clamped to 1..200) and style bits.
  static QFont Make(const QString& name, int32_t points, uint8_t style = 0);
  static QFont Make(const TCommentFont& font) { return Make(font.name, font.size, font.style); }

  // Pixel height of a size in points at 96 dpi, rounded as the platform does.
  static int PixelSize(int32_t points);
};
