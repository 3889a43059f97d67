// TWatchForm: the document window "Überwachte Variablen": one row per
// watched variable with its name and value, the value coloured as invalid,
// changed at the last refresh or plain. Enter, a double click or command 501
// edits the current value in the engine; Del or command 155 removes the
// entry from the watch list. Each row's accessible text is "name: value".
#pragma once

#include <vector>

#include "TMDIChildForm.h"

class QHeaderView;
class QListView;
class TSubWindowPlacement;
class QMenu;
class TWatchRows;

class TWatchForm : public TMDIChildForm {
  Q_OBJECT

 public:
  static constexpr int kMinNameWidth = 65;

  explicit TWatchForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  void DoCommand(int32_t command, QObject* sender) override;
  bool IsCommandEnabled(int32_t command) override;
  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void SettingsChanged() override;
  void ModelDestroyed() override;
  int32_t HelpContext() const override { return 12000; }

  QListView* View() const { return view_; }
  QHeaderView* Header() const { return header_; }
  QMenu* PopupMenu() const { return menu_; }
  // The current row, -1 for none.
  int CurrentRow() const;
  void SetCurrentRow(int row);
  // The accessible text of every row ("name: value").
  QStringList ShownRows() const;
  int NameColumnWidth() const { return nameWidth_; }
  void SetNameColumnWidth(int width);

  // Asks for a new value of the current entry and hands it to the engine.
  void EditCurrent();
  void RemoveCurrent();
  // Opens the trend of the watched values.
  void ShowTrend();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool CurrentHoldsEntry() const;
  // After the engine took a value: analog inputs and frequency it changed
  // with it go to the simulated inputs and the analog panel.
  void ReadBackInputs();

  QHeaderView* header_ = nullptr;
  QListView* view_ = nullptr;
  TSubWindowPlacement* placement_ = nullptr;
  TWatchRows* rows_ = nullptr;
  QMenu* menu_ = nullptr;
  int nameWidth_ = 100;
};
