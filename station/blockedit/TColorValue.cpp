#include "TColorValue.h"

namespace tcolor {

QColor SystemColor(int index) {
  // Indexed as the platform numbers its system colours.
  static const QRgb kTable[31] = {
      0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x0078D7, 0xF0F0F0,
  };
  if (index < 0 || index > 30) return QColor(Qt::black);
  return QColor::fromRgb(kTable[index]);
}

}  // namespace tcolor
