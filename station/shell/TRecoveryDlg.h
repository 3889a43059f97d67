// TRecoveryDlg: the dialog "Wiederherstellung" at start. It lists the
// recovery copies that ended stations left (project, its file, time of the
// copy, whether the file changed since, or why a copy is damaged) and lets
// the user open one, save it elsewhere, or discard it. Nothing is deleted
// without the user's word: closing the dialog keeps every copy for the next
// start.
#pragma once

#include <vector>

#include "TCenteredDlg.h"
#include "TRecoveryList.h"

class QPushButton;
class QTreeWidget;

class TRecoveryDlg : public TCenteredDlg {
  Q_OBJECT
 public:
  explicit TRecoveryDlg(std::vector<TRecoveryEntry> entries, QWidget* parent = nullptr);

  // The copy to open once the dialog ended with "Öffnen".
  const QString& ChosenPath() const { return chosen_; }
  // The copies still listed.
  const std::vector<TRecoveryEntry>& Entries() const { return entries_; }

 private:
  void Fill();
  int Current() const;
  void RefreshButtons();
  void OpenChosen();
  void SaveElsewhere();
  void Discard();

  std::vector<TRecoveryEntry> entries_;
  QString chosen_;
  QTreeWidget* list_ = nullptr;
  QPushButton* bOpen_ = nullptr;
  QPushButton* bSaveAs_ = nullptr;
  QPushButton* bDiscard_ = nullptr;
};
