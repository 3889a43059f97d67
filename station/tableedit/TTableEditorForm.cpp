#include "TTableEditorForm.h"

#include <QDataStream>

#include "Notifications.h"
#include "TTableErrorMarker.h"
#include "TTarvixPlusModel.h"
#include "TTextEditor.h"
#include "WindowIcons.h"

TTableEditorForm::TTableEditorForm(TTarvixPlusModel* model, QWidget* parent)
    : TTextDocumentForm(model, parent), marker_(new TTableErrorMarker(Editor())) {
  setObjectName(QStringLiteral("TableEditorForm"));
  Editor()->setObjectName(QStringLiteral("TableEditor"));
  Editor()->setAccessibleName(QStringLiteral("Tabelleneditor"));
  Editor()->setReadOnly(true);  // until a table is shown
  setWindowIcon(windowicons::Icon(windowicons::Kind::Table));
  UpdateCaption();
}

TTableEditorForm::~TTableEditorForm() {
  // Closing commits; a window torn down without closing must not lose edits.
  CommitEdits();
}

int32_t TTableEditorForm::ShownElement() const { return table_ ? table_->Number : 0; }

void TTableEditorForm::ShowElement(int32_t number) {
  if (table_ && table_->Number == number) return;  // already shown: keep caret and undo
  CommitEdits();
  table_ = nullptr;
  if (Model()) {
    TConversionTable* table = Model()->FindTable(number);
    if (table && table->Internal) table_ = table;
  }
  QStringList lines;
  if (table_) Model()->GetTableData(*table_, lines);
  LoadLines(lines);
  if (!table_) Editor()->setReadOnly(true);
  UpdateCaption();
}

void TTableEditorForm::Update(int32_t code, int64_t data, const TChangeRecord*) {
  if (!table_ || data != table_->Number) return;
  if (code == notify::kTableRenamed) {
    UpdateCaption();
  } else if (code == notify::kTableDeleted) {
    // The table is going: its edits go with it.
    table_ = nullptr;
    CloseWindow();
  }
}

void TTableEditorForm::ModelDestroyed() {
  table_ = nullptr;
  TTextDocumentForm::ModelDestroyed();
}

void TTableEditorForm::StoreLines(const QStringList& lines) {
  if (table_ && Model()) Model()->SetTableData(*table_, lines);
}

QStringList TTableEditorForm::ModelLines() const { return table_ ? table_->Data : QStringList(); }

void TTableEditorForm::WriteDesktop(QDataStream& out) const {
  out << qint32(ShownElement());
  WriteEditorState(out);
}

void TTableEditorForm::ReadDesktop(QDataStream& in) {
  qint32 number = 0;
  in >> number;
  if (in.status() != QDataStream::Ok) return;
  ShowElement(number);
  ReadEditorState(in);
}

void TTableEditorForm::UpdateCaption() {
  QString caption = QStringLiteral("Tabelleneditor");
  if (table_) caption += QStringLiteral(" - %1").arg(table_->Name);
  SetCaption(caption);
}
