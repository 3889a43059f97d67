// Colour values as the cell body and the settings store keep them: 32-bit
// 0x00BBGGRR, or 0x80000000 | n for the platform's system colour n. Kept as
// numbers so that files round-trip unchanged; turned into QColor for painting.
#pragma once

#include <QColor>
#include <cstdint>

using TColor = int32_t;

namespace tcolor {

inline constexpr TColor kBlack = 0x000000;
inline constexpr TColor kWhite = 0xFFFFFF;
inline constexpr TColor kRed = 0x0000FF;
inline constexpr TColor kGreen = 0x008000;
inline constexpr TColor kBlue = 0xFF0000;
inline constexpr TColor kYellow = 0x00FFFF;
inline constexpr TColor kNavy = 0x800000;
inline constexpr TColor kTeal = 0x808000;
inline constexpr TColor kWindow = static_cast<TColor>(0x80000005u);
inline constexpr TColor kWindowText = static_cast<TColor>(0x80000008u);

inline constexpr TColor FromRgb(int r, int g, int b) { return (b << 16) | (g << 8) | r; }

// System colours 0..30 of the platform: taken from the running desktop's
// palette (light or dark theme) while a QGuiApplication exists, else their
// usual light-theme values.
QColor SystemColor(int index);

inline QColor ToQColor(TColor c) {
  const uint32_t v = static_cast<uint32_t>(c);
  if (v & 0x80000000u) return SystemColor(static_cast<int>(v & 0xFFu));
  return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

inline TColor FromQColor(const QColor& q) { return FromRgb(q.red(), q.green(), q.blue()); }

}  // namespace tcolor
