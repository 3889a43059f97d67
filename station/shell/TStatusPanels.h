// TStatusPanels: the panels of the main window's status bar — "Geändert" or
// nothing, the hint or the state text ("Bereit", "Simulation läuft"), and
// the caret position of the text editor that has the keyboard.
#pragma once

#include <QString>

class QLabel;
class QStatusBar;
class TTarvixPlusModel;

class TStatusPanels {
 public:
  explicit TStatusPanels(QStatusBar& bar);

  // A hint in place of the state text (empty: the state text again).
  void SetHint(const QString& text) { hint_ = text; }
  // The caret position (empty: the panel is hidden).
  void ShowPosition(const QString& text);
  // The modified mark and the state text for the project.
  void Refresh(const TTarvixPlusModel* project);
  // Panel 0, 1 or 2.
  QString Text(int index) const;

 private:
  QLabel* modified_ = nullptr;
  QLabel* hintPanel_ = nullptr;
  QLabel* position_ = nullptr;
  QString hint_;
};
