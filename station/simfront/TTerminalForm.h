// TTerminalForm: the document window "Tarvix Ausgaben" that shows the
// unit's serial output, one row per line of the project's terminal text,
// always scrolled to the last line after new output. Each row is a list item
// whose text is the line, so assistive technology reads the output.
#pragma once

#include "TMDIChildForm.h"

class QListView;
class TSubWindowPlacement;
class TTerminalLines;

class TTerminalForm : public TMDIChildForm {
  Q_OBJECT

 public:
  explicit TTerminalForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  void DoCommand(int32_t command, QObject* sender) override;
  bool IsCommandEnabled(int32_t command) override;
  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void SettingsChanged() override;
  void ModelDestroyed() override;
  int32_t HelpContext() const override { return 13000; }

  QListView* View() const { return view_; }
  // The text of every shown row (what a screen reader reads).
  QStringList ShownLines() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool HasLines() const;

  QListView* view_ = nullptr;
  TSubWindowPlacement* placement_ = nullptr;
  TTerminalLines* lines_ = nullptr;
};
