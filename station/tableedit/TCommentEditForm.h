// TCommentEditForm: the window that edits the project's free-text comment
// ("Programmkommentar"). At most one per project; the frame opens it
// through the window factory. The comment goes back to the model with
// SetComment when the window closes and when the model commits its views.
#pragma once

#include "TTextDocumentForm.h"

class TCommentEditForm : public TTextDocumentForm {
  Q_OBJECT

 public:
  explicit TCommentEditForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TCommentEditForm() override;

  void ReadDesktop(QDataStream& in) override;
  void WriteDesktop(QDataStream& out) const override;

 protected:
  QString PrintJobName() const override { return QStringLiteral("Tarvix plus - Kommentar"); }
  void StoreLines(const QStringList& lines) override;
  QStringList ModelLines() const override;
};
