#include "TColorValue.h"

#include <QGuiApplication>
#include <QPalette>

namespace tcolor {

namespace {

// The platform's system colours with their usual light-theme values: used
// without a running application (tools, tests), so results do not depend
// on a desktop.
QColor FixedSystemColor(int index) {
  // Indexed as the platform numbers its system colours.
  static const QRgb kTable[31] = {
      0xC8C8C8, 0x000000, 0x99B4D1, 0xBFCDDB, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xF4F7FC, 0xABABAB, 0x0078D7, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xFFFFE1, 0x000000, 0x0066CC, 0xB9D1EA, 0xD7E4F2, 0x0078D7, 0xF0F0F0,
  };
  return QColor::fromRgb(kTable[index]);
}

QColor Blend(const QColor& a, const QColor& b) {
  return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// The same colours from the running desktop's palette, so that the default
// colours follow a light or a dark theme.
QColor PaletteSystemColor(const QPalette& p, int index) {
  using P = QPalette;
  switch (index) {
    case 0: return p.color(P::Button);                       // scroll bar
    case 1: return p.color(P::Window);                       // desktop
    case 2: return p.color(P::Active, P::Highlight);         // active caption
    case 3: return p.color(P::Midlight);                     // inactive caption
    case 4: return p.color(P::Window);                       // menu
    case 5: return p.color(P::Base);                         // window
    case 6: return p.color(P::Dark);                         // window frame
    case 7: return p.color(P::WindowText);                   // menu text
    case 8: return p.color(P::Text);                         // window text
    case 9: return p.color(P::HighlightedText);              // caption text
    case 10: return p.color(P::Mid);                         // active border
    case 11: return p.color(P::Midlight);                    // inactive border
    case 12: return p.color(P::Dark);                        // application workspace
    case 13: return p.color(P::Active, P::Highlight);        // highlight
    case 14: return p.color(P::Active, P::HighlightedText);  // highlighted text
    case 15: return p.color(P::Button);                      // button face
    // Button shadow: the stored colours use it as greyed text on the button
    // face, so it lies halfway between face and text, readable in both
    // light and dark themes.
    case 16: return Blend(p.color(P::Button), p.color(P::ButtonText));
    case 17: return p.color(P::Disabled, P::Text);           // grey text
    case 18: return p.color(P::ButtonText);                  // button text
    case 19: return p.color(P::Inactive, P::WindowText);     // inactive caption text
    case 20: return p.color(P::Light);                       // button highlight
    case 21: return p.color(P::Shadow);                      // 3D dark shadow
    case 22: return p.color(P::Midlight);                    // 3D light
    case 23: return p.color(P::ToolTipText);                 // info text
    case 24: return p.color(P::ToolTipBase);                 // info background
    case 26: return p.color(P::Link);                        // hot light
    case 27: return p.color(P::Active, P::Highlight);        // caption gradient
    case 28: return p.color(P::Midlight);
    case 29: return p.color(P::Active, P::Highlight);        // menu highlight
    case 30: return p.color(P::Window);                      // menu bar
    default: return FixedSystemColor(index);
  }
}

}  // namespace

QColor SystemColor(int index) {
  if (index < 0 || index > 30) return QColor(Qt::black);
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    return PaletteSystemColor(QGuiApplication::palette(), index);
  return FixedSystemColor(index);
}

}  // namespace tcolor
