#include "TFontMapper.h"

#include <QFontDatabase>
#include <algorithm>

namespace {

struct Substitution {
  const char* name;
  const char* family;
};

// Metric-compatible families first; the platform's generic families after.
const Substitution kSubstitutions[] = {
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Arial", "Liberation Sans"},
};

}  // namespace

void TFontMapper::Install() {
  static const bool done = [] {
    for (const Substitution& s : kSubstitutions)
      QFont::insertSubstitutions(QString::fromLatin1(s.name),
                                 {QString::fromLatin1(s.family), QStringLiteral("Serif"), QStringLiteral("Sans Serif")});
    return true;
  }();
  (void)done;
}

QString TFontMapper::Family(const QString& name) {
  Install();
  if (name.compare(QLatin1String("MS Sans Serif"), Qt::CaseInsensitive) == 0 ||
      name.compare(QLatin1String("MS Shell Dlg"), Qt::CaseInsensitive) == 0) {
    static const QString sans = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    return sans;
  }
  for (const Substitution& s : kSubstitutions)
    if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) return QString::fromLatin1(s.family);
  return name;
}

int TFontMapper::PixelSize(int32_t points) {
  const int32_t p = std::clamp<int32_t>(points, 1, 200);
  return (p * 96 + 36) / 72;
}

QFont TFontMapper::Make(const QString& name, int32_t points, uint8_t style) {
  QFont font(Family(name));
  font.setPixelSize(PixelSize(points));
  font.setBold(style & TCommentFont::kBold);
  font.setItalic(style & TCommentFont::kItalic);
  font.setUnderline(style & TCommentFont::kUnderline);
  font.setStrikeOut(style & TCommentFont::kStrikeOut);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}
