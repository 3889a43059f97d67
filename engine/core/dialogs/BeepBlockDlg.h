// TBeepBlockDlg: the tone block's melody as a grid of up to 29 notes (tone,
// duration, pause) with note buttons that put a tone into the current row.
#pragma once

#include <string>

#include "ParamDlg.h"

class QPushButton;
class QTableWidget;

class TBeepBlockDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TBeepBlockDlg(QWidget* owner);

  // Fills the grid from a melody text (Windows-1252).
  void SetMelody(const std::string& melody);
  // The melody text rebuilt from all cells.
  std::string Melody() const;

  QTableWidget* Grid() const { return melody_; }
  // Note button 1..8 ("C" to "C'").
  QPushButton* NoteButton(int n) const;

 protected:
  void showEvent(QShowEvent* event) override;

 protected slots:
  void OkButtonClick() override;

 private slots:
  void FormCreate();
  void NoteClick(int n);

 private:
  QTableWidget* melody_;
  QPushButton* notes_[8];
};
