#include "TTextDocumentForm.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QDataStream>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPrinter>
#include <QVBoxLayout>

#include "Commands.h"
#include "TStationFrame.h"
#include "TStationSettings.h"
#include "TTarvixPlusModel.h"
#include "TTextEditor.h"
#include "TextPrinting.h"
#include "UserInterface.h"

TTextDocumentForm::TTextDocumentForm(TTarvixPlusModel* model, QWidget* parent)
    : TMDIChildForm(model, parent), editor_(new TTextEditor(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(editor_);
  setFocusProxy(editor_);
  resize(480, 360);
  connect(editor_, &QPlainTextEdit::textChanged, this, [this] {
    if (!loading_) modified_ = true;
  });
  connect(editor_, &TTextEditor::caretMoved, this, &TTextDocumentForm::ShowCaretPosition);
  editor_->installEventFilter(this);
}

TTextDocumentForm::~TTextDocumentForm() = default;

void TTextDocumentForm::LoadLines(const QStringList& lines) {
  loading_ = true;
  const bool loaded = editor_->SetLines(lines);
  if (!loaded) {
    editor_->SetLines({});
    TUserInterface::Current().ErrorBox(
        QStringLiteral("Der Text ist zu groß für den Editor (höchstens %1 Zeilen zu %2 Zeichen, %3 Bytes) "
                       "und wird nur unverändert gespeichert.")
            .arg(TTextEditor::kMaxLines)
            .arg(TTextEditor::kMaxLineLength)
            .arg(TTextEditor::kMaxBytes));
  }
  editor_->setReadOnly(!loaded);
  loading_ = false;
  modified_ = false;
}

void TTextDocumentForm::CommitEdits() {
  if (!modified_ || editor_->isReadOnly() || !Model()) return;
  const QStringList lines = editor_->Lines();
  const QStringList before = ModelLines();
  // An empty editor stands for no lines at all.
  const bool same = lines == before || (before.isEmpty() && lines == QStringList{QString()});
  if (!same) StoreLines(lines);
  modified_ = false;
}

void TTextDocumentForm::SettingsChanged() { editor_->ApplySettings(); }

void TTextDocumentForm::closeEvent(QCloseEvent* event) {
  CommitEdits();
  TMDIChildForm::closeEvent(event);
}

void TTextDocumentForm::DoCommand(int32_t command, QObject*) {
  switch (command) {
    case cmd::kPrint:
      Print();
      break;
    case cmd::kUndo:
      editor_->undo();
      break;
    case cmd::kRedo:
      editor_->redo();
      break;
    case cmd::kCut:
      editor_->cut();
      break;
    case cmd::kCopy:
      editor_->copy();
      break;
    case cmd::kPaste:
      editor_->paste();
      break;
    case cmd::kClear:
      editor_->DeleteSelectionOrChar();
      break;
    default:
      break;
  }
}

bool TTextDocumentForm::IsCommandEnabled(int32_t command) {
  const bool writable = !editor_->isReadOnly();
  switch (command) {
    case cmd::kPrint:
      return !editor_->document()->isEmpty();
    case cmd::kUndo:
      return writable && editor_->document()->isUndoAvailable();
    case cmd::kRedo:
      return writable && editor_->document()->isRedoAvailable();
    case cmd::kCut:
      return writable && editor_->textCursor().hasSelection();
    case cmd::kCopy:
      return editor_->textCursor().hasSelection();
    case cmd::kPaste: {
      const QMimeData* data = QGuiApplication::clipboard()->mimeData();
      return writable && data && data->hasText();
    }
    case cmd::kClear:
      return writable;
    default:
      return false;
  }
}

int TTextDocumentForm::Print() {
  if (editor_->document()->isEmpty()) return 0;
  const bool hasSelection = editor_->textCursor().hasSelection();
  QPrinter* printer = TUserInterface::Current().PrintTextDialog(hasSelection);
  if (!printer) return 0;
  const QStringList all = editor_->Lines();
  const bool selectionOnly = hasSelection && printer->printRange() == QPrinter::Selection;
  const QStringList lines =
      selectionOnly ? textprint::SelectedLines(all, editor_->SelectionStart(), editor_->SelectionEnd()) : all;
  const TStoredFont& stored = TStationSettings::Current().fonts[TStationSettings::kTableFont];
  TWaitCursor wait;
  const int pages = textprint::PrintLines(*printer, PrintJobName(), lines, editor_->font(), stored.size);
  if (pages == 0) TUserInterface::Current().ErrorBox(QStringLiteral("Der Drucker konnte nicht gestartet werden."));
  return pages;
}

void TTextDocumentForm::WriteEditorState(QDataStream& out) const {
  out << qint32(editor_->FirstVisibleLine()) << qint32(editor_->CaretLine()) << qint32(editor_->CaretColumn());
}

void TTextDocumentForm::ReadEditorState(QDataStream& in) {
  qint32 first = 0, line = 0, column = 0;
  in >> first >> line >> column;
  if (in.status() != QDataStream::Ok) return;  // missing values: keep the defaults
  editor_->SetCaret(line, column);
  if (first >= 0 && first < editor_->document()->blockCount()) editor_->SetFirstVisibleLine(first);
}

void TTextDocumentForm::ShowCaretPosition(int line, int column) const {
  if (!hasFocus() && !editor_->hasFocus()) return;
  if (TStationFrame* frame = TStationFrame::Current())
    frame->ShowPositionText(QStringLiteral("Zeile %1, Spalte %2").arg(line + 1).arg(column + 1));
}

bool TTextDocumentForm::eventFilter(QObject* watched, QEvent* event) {
  // The position belongs to the editor that has the keyboard.
  if (watched == editor_ && event->type() == QEvent::FocusIn) {
    ShowCaretPosition(editor_->CaretLine(), editor_->CaretColumn());
  } else if (watched == editor_ && event->type() == QEvent::FocusOut) {
    // A menu or another program taking the keyboard for a while keeps it.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
      if (TStationFrame* frame = TStationFrame::Current()) frame->ShowPositionText(QString());
  }
  return TMDIChildForm::eventFilter(watched, event);
}
