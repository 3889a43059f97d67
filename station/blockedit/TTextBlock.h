// TTextBlock: a one-line comment in a cell. Comments never reach the engine;
// their bounds are always the extent of the text in its font.
#pragma once

#include "TBlock.h"
#include "TCommentFont.h"

class TTextBlock : public TBlock {
 public:
  TTextBlock(int32_t id, PlexorHandle engine);

  const QString& Text() const { return text_; }
  void SetText(const QString& text);
  const TCommentFont& Font() const { return font_; }
  void SetFont(const TCommentFont& font);

  // "Font=name,size,colour,bold,italic,underline,strikeout".
  QString FontLine() const;
  // Replaces the font only when all seven values are present and numeric.
  bool ParseFontLine(const QString& line);

  void AssignTo(TBlock& dest) const override;
  QString GetAliasName() const override { return QStringLiteral("TextBlock"); }
  int GetKind() const override { return 1; }
  bool HasData(int kind) const override { return kind == 0; }
  bool MayOverlap() const override { return true; }
  void Paint(QPainter& painter, const CellEditorSettings& settings) const override;
  bool EditData(int kind, bool& appearanceChanged) override;
  void ShowHelp() const override;
  void UpdateExtent() override;
  QString GetData(int kind) const override;
  bool SetData(int kind, const QString& text) override;
  bool ReadData(const QStringList& lines, qsizetype& index, QString& error) override;
  bool WriteData(QStringList& lines) const override;

 private:
  QString text_;
  TCommentFont font_;
};
