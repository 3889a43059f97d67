// The pictures of the simulator panels, drawn in code: the 12 x 12 LEDs
// (green, red and yellow, each dark and lit) and the keyboard of the key and
// LED panel. They are drawn for the device pixel ratio of the window that
// shows them (crisp at 200 %) on a transparent background, so only the lamps
// and the housing cover what lies beneath. The panels' geometry depends on
// these sizes, in device-independent pixels.
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

// dpr is the device pixel ratio of the widget that paints the picture.
const QPixmap& Led(LedColor color, bool lit, qreal dpr = 1.0);
const QPixmap& Keyboard(qreal dpr = 1.0);

// The small sans-serif font of the panels' labels.
QFont PanelFont();
// A font of the station's settings (TStationSettings::Font).
QFont SettingsFont(int font);

}  // namespace simpictures
