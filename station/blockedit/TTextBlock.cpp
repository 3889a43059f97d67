#include "TTextBlock.h"

#include <QFontMetrics>
#include <QPainter>

#include "BlockEditError.h"
#include "CellEditorSettings.h"
#include "TFontMapper.h"
#include "TTokenString.h"
#include "UserInterface.h"

TTextBlock::TTextBlock(int32_t id, PlexorHandle engine)
    : TBlock(id, engine), text_(QStringLiteral("Kommentar")), font_(CellEditorSettings::Current().defaultCommentFont) {
  UpdateExtent();
}

void TTextBlock::SetText(const QString& text) {
  text_ = text;
  UpdateExtent();
}

void TTextBlock::SetFont(const TCommentFont& font) {
  font_ = font;
  UpdateExtent();
}

QString TTextBlock::FontLine() const {
  return QStringLiteral("Font=%1,%2,%3,%4,%5,%6,%7")
      .arg(font_.name)
      .arg(font_.size)
      .arg(font_.color)
      .arg((font_.style & TCommentFont::kBold) ? 1 : 0)
      .arg((font_.style & TCommentFont::kItalic) ? 1 : 0)
      .arg((font_.style & TCommentFont::kUnderline) ? 1 : 0)
      .arg((font_.style & TCommentFont::kStrikeOut) ? 1 : 0);
}

bool TTextBlock::ParseFontLine(const QString& line) {
  TTokenString tokens(line, QLatin1Char('='));
  QString skipped;
  if (!tokens.NextToken(skipped)) return false;
  tokens.SetSeparator(QLatin1Char(','));
  TCommentFont font;
  int32_t flags[4];
  if (!tokens.NextToken(font.name) || !tokens.NextInt(font.size) || !tokens.NextInt(font.color)) return false;
  for (int32_t& f : flags)
    if (!tokens.NextInt(f)) return false;
  static const uint8_t kBits[4] = {TCommentFont::kBold, TCommentFont::kItalic, TCommentFont::kUnderline, TCommentFont::kStrikeOut};
  for (int i = 0; i < 4; ++i)
    if (flags[i] == 1) font.style |= kBits[i];
  font_ = font;
  return true;
}

void TTextBlock::AssignTo(TBlock& dest) const {
  TBlock::AssignTo(dest);
  auto& d = static_cast<TTextBlock&>(dest);
  d.text_ = text_;
  d.font_ = font_;
}

void TTextBlock::Paint(QPainter& painter, const CellEditorSettings&) const {
  painter.save();
  painter.setFont(TFontMapper::Make(font_));
  painter.setPen(tcolor::ToQColor(font_.color));
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.drawText(QRect(bounds_.left, bounds_.top, bounds_.Width() + 1, bounds_.Height() + 1),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text_);
  painter.restore();
}

bool TTextBlock::EditData(int kind, bool& appearanceChanged) {
  appearanceChanged = false;
  if (kind != 0) return false;
  QString text = text_;
  TCommentFont font = font_;
  if (!TUserInterface::Current().EditComment(text, font)) return false;
  bool changed = false;
  if (text != text_) {
    text_ = text;
    changed = true;
  }
  if (font.name.compare(font_.name, Qt::CaseInsensitive) != 0 || font.size != font_.size || font.color != font_.color ||
      font.style != font_.style) {
    font_ = font;
    changed = true;
  }
  if (changed) UpdateExtent();
  appearanceChanged = changed;
  return changed;
}

void TTextBlock::ShowHelp() const { TUserInterface::Current().ShowHelp(7000); }

void TTextBlock::UpdateExtent() {
  const QFontMetrics fm(TFontMapper::Make(font_));
  // Cap the measured text: a comment is one short line; a hostile one must
  // not make the geometry overflow.
  const int width = fm.horizontalAdvance(text_.left(4096));
  bounds_.right = bounds_.left + width;
  bounds_.bottom = bounds_.top + fm.height();
}

QString TTextBlock::GetData(int kind) const {
  if (kind == 0) return text_ + QStringLiteral("\r\n") + FontLine();
  throw BlockEditError(QStringLiteral("Interner Fehler in TTextBlock.GetData"));
}

bool TTextBlock::SetData(int kind, const QString& text) {
  if (kind != 0) throw BlockEditError(QStringLiteral("Interner Fehler in TTextBlock.SetData"));
  const qsizetype at = text.indexOf(QStringLiteral("\r\n"));
  if (at < 0) return false;
  text_ = text.left(at);
  ParseFontLine(text.mid(at + 2));
  UpdateExtent();
  return true;
}

bool TTextBlock::ReadData(const QStringList& lines, qsizetype& index, QString& error) {
  if (index + 2 > lines.size()) {
    error = QStringLiteral("Unvollständiger Kommentareintrag am Ende des Textes!");
    index = lines.size();
    return false;
  }
  text_ = lines[index];
  ParseFontLine(lines[index + 1]);
  index += 2;
  return true;
}

bool TTextBlock::WriteData(QStringList& lines) const {
  lines << text_ << FontLine();
  return true;
}
