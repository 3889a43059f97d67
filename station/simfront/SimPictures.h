// The pictures of the simulator panels, drawn once in code: the 12 x 12 LEDs
// (green, red and yellow, each dark and lit; magenta marks the transparent
// corners and is keyed out) and the keyboard of the key and LED panel. The
// panels' geometry depends on these sizes.
#pragma once

#include <QColor>
#include <QFont>
#include <QPixmap>

namespace simpictures {

enum class LedColor { Green, Red, Yellow };

inline constexpr int kLedSize = 12;
// The keyboard picture: four LEDs above four keys.
inline constexpr int kKeyboardWidth = 138;
inline constexpr int kKeyboardHeight = 72;

// The colour keyed out of the pictures.
inline const QColor kTransparent{255, 0, 255};

const QPixmap& Led(LedColor color, bool lit);
const QPixmap& Keyboard();

// The small sans-serif font of the panels' labels.
QFont PanelFont();
// A font of the station's settings (TStationSettings::Font).
QFont SettingsFont(int font);

}  // namespace simpictures
