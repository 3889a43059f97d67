// TTextDocumentForm: what the table editor and the comment editor share.
//
// A document window filled by one TTextEditor. It executes the edit
// commands (print, undo, redo, cut, copy, paste, delete), shows the caret's
// line and column in the frame's status bar, commits the text into the
// model when it closes and when the model asks, and keeps the editor's
// positions in the desktop file. The subclass says where the lines come from
// and go to.
#pragma once

#include <QStringList>

#include "TMDIChildForm.h"

class TTextEditor;

class TTextDocumentForm : public TMDIChildForm {
  Q_OBJECT

 public:
  explicit TTextDocumentForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TTextDocumentForm() override;

  TTextEditor* Editor() const { return editor_; }
  // Set by every change of the text, cleared by loading and committing.
  bool IsModified() const { return modified_; }

  void DoCommand(int32_t command, QObject* sender) override;
  bool IsCommandEnabled(int32_t command) override;
  void CommitEdits() override;
  void SettingsChanged() override;

  // Prints all lines, or the selection when the user picks it; the answer is
  // the number of pages (0: cancelled or failed).
  int Print();

 protected:
  // The title of the print job.
  virtual QString PrintJobName() const = 0;
  // Hands changed lines to the model; called only when the text changed.
  virtual void StoreLines(const QStringList& lines) = 0;
  // The lines the model holds now (to tell a real change from none).
  virtual QStringList ModelLines() const = 0;

  // Fills the editor; on refusal (text too large for the editor) the editor
  // stays empty and read-only so that nothing is stored back.
  void LoadLines(const QStringList& lines);
  // First visible line, caret line and caret column.
  void WriteEditorState(QDataStream& out) const;
  void ReadEditorState(QDataStream& in);

  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowCaretPosition(int line, int column) const;

  TTextEditor* editor_;
  bool modified_ = false;
  bool loading_ = false;
};
