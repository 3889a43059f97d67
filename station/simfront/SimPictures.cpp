#include "SimPictures.h"

#include <QPainter>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "TFontMapper.h"
#include "TStationSettings.h"

namespace simpictures {

namespace {

QColor LitColor(LedColor c) {
  switch (c) {
    case LedColor::Green: return QColor(40, 255, 40);
    case LedColor::Red: return QColor(255, 40, 30);
    case LedColor::Yellow: return QColor(255, 230, 0);
  }
  return Qt::white;
}

QColor DarkColor(LedColor c) {
  switch (c) {
    case LedColor::Green: return QColor(0, 80, 0);
    case LedColor::Red: return QColor(90, 0, 0);
    case LedColor::Yellow: return QColor(100, 90, 0);
  }
  return Qt::black;
}

// An empty, fully transparent picture of a logical size at a pixel ratio.
QImage Canvas(int width, int height, qreal dpr) {
  QImage image(static_cast<int>(std::ceil(width * dpr)), static_cast<int>(std::ceil(height * dpr)),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(dpr);
  image.fill(Qt::transparent);
  return image;
}

QPixmap MakeLed(LedColor color, bool lit, qreal dpr) {
  QImage image = Canvas(kLedSize, kLedSize, dpr);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  const QColor base = lit ? LitColor(color) : DarkColor(color);
  p.setPen(QPen(QColor(40, 40, 40), 1.0));
  QRadialGradient glow(QPointF(4.5, 4.5), 7);
  glow.setColorAt(0, lit ? base.lighter(160) : base.lighter(130));
  glow.setColorAt(1, base);
  p.setBrush(glow);
  p.drawEllipse(QRectF(0.5, 0.5, kLedSize - 1, kLedSize - 1));
  p.end();
  return QPixmap::fromImage(image);
}

QPixmap MakeKeyboard(qreal dpr) {
  QImage image = Canvas(kKeyboardWidth, kKeyboardHeight, dpr);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  // The housing.
  p.setPen(QColor(60, 60, 70));
  p.setBrush(QColor(178, 182, 190));
  p.drawRoundedRect(QRectF(0.5, 0.5, kKeyboardWidth - 1, kKeyboardHeight - 1), 6, 6);
  p.setFont(PanelFont());
  for (int k = 0; k < 4; ++k) {
    // LED socket around (20 + 28k, 15) .. (32 + 28k, 27).
    p.setPen(QColor(90, 90, 100));
    p.setBrush(QColor(120, 124, 132));
    p.drawEllipse(QRectF(18.5 + 28 * k, 13.5, 15, 15));
    // Key (14 + 28k, 34) .. (39 + 28k, 59), raised.
    const QRectF key(14.5 + 28 * k, 34.5, 24, 24);
    p.setPen(QColor(50, 50, 55));
    p.setBrush(QColor(235, 235, 238));
    p.drawRoundedRect(key, 4.5, 4.5);
    p.setPen(QColor(30, 30, 35));
    p.drawText(key, Qt::AlignCenter, QStringLiteral("F%1").arg(k + 1));
  }
  p.end();
  return QPixmap::fromImage(image);
}

// Pictures are kept per pixel ratio (in hundredths), as windows on screens
// of different scales may show them at once.
int RatioKey(qreal dpr) { return std::clamp(static_cast<int>(std::lround(dpr * 100)), 25, 800); }

}  // namespace

const QPixmap& Led(LedColor color, bool lit, qreal dpr) {
  static std::map<int, std::array<QPixmap, 6>> cache;
  const int key = RatioKey(dpr);
  auto it = cache.find(key);
  if (it == cache.end()) {
    std::array<QPixmap, 6> all;
    for (int c = 0; c < 3; ++c)
      for (int l = 0; l < 2; ++l) all[static_cast<size_t>(c * 2 + l)] = MakeLed(static_cast<LedColor>(c), l != 0, key / 100.0);
    it = cache.emplace(key, std::move(all)).first;
  }
  return it->second[static_cast<size_t>(static_cast<int>(color) * 2 + (lit ? 1 : 0))];
}

const QPixmap& Keyboard(qreal dpr) {
  static std::map<int, QPixmap> cache;
  const int key = RatioKey(dpr);
  auto it = cache.find(key);
  if (it == cache.end()) it = cache.emplace(key, MakeKeyboard(key / 100.0)).first;
  return it->second;
}

QFont SettingsFont(int font) {
  const auto& settings = TStationSettings::Current().fonts;
  const TStoredFont& f = settings[static_cast<size_t>(std::clamp(font, 0, static_cast<int>(settings.size()) - 1))];
  // The settings keep italic in bit 0 and bold in bit 1.
  uint8_t style = 0;
  if (f.style & TStoredFont::kItalic) style |= TCommentFont::kItalic;
  if (f.style & TStoredFont::kBold) style |= TCommentFont::kBold;
  return TFontMapper::Make(f.name.isEmpty() ? QStringLiteral("Courier New") : f.name, f.size, style);
}

QFont PanelFont() { return TFontMapper::Make(QStringLiteral("MS Sans Serif"), 8); }

}  // namespace simpictures
