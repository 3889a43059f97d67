// TTableEditorForm: the window that edits the data lines of one internal
// conversion table as plain text.
//
// The frame creates it through the window factory and shows a table with
// ShowElement(table number). The lines go back to the table with
// SetTableData when the window closes and when the model commits its views.
// Renaming the table changes the caption; deleting it closes the window.
// While the user types, lines the compiler would refuse are marked.
#pragma once

#include "TTextDocumentForm.h"

class TConversionTable;
class TTableErrorMarker;

class TTableEditorForm : public TTextDocumentForm {
  Q_OBJECT

 public:
  explicit TTableEditorForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TTableEditorForm() override;

  // The number of the shown table, 0 for none.
  int32_t ShownElement() const override;
  // Commits the shown table and shows the internal table with that number
  // (none for 0, an unknown number or an external table); nothing happens
  // when that table is already shown.
  void ShowElement(int32_t number) override;

  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void ModelDestroyed() override;
  void ReadDesktop(QDataStream& in) override;
  void WriteDesktop(QDataStream& out) const override;

  TTableErrorMarker* ErrorMarker() const { return marker_; }

 protected:
  QString PrintJobName() const override { return QStringLiteral("Tarvix plus - Tabelle"); }
  void StoreLines(const QStringList& lines) override;
  QStringList ModelLines() const override;

 private:
  void UpdateCaption();

  TConversionTable* table_ = nullptr;
  TTableErrorMarker* marker_;
};
