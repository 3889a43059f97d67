// TTipOfDayDlg: the tip of the day ("&Tip des Tages...", and at start-up
// while "ShowTipsOfDay" is on).
//
// The tips come from "TipOfDay.TXT" beside the program: Windows-1252 text,
// one tip per line (any run of CR and LF separates two tips), the two
// characters backslash and n inside a tip stand for a line break. The dialog
// shows the tip with the stored index and advances it, back to 0 after the
// last tip; its check box is "ShowTipsOfDay".
#pragma once

#include <QStringList>
#include <cstdint>

#include "TCenteredDlg.h"

class QCheckBox;
class QLabel;
class QPushButton;

class TTipOfDayDlg : public TCenteredDlg {
  Q_OBJECT

 public:
  // "TipOfDay.TXT" in the program directory, else in the installed data
  // directory (../share/vorblen beside the program's bin directory).
  static QString TipFileName();
  // The menu item is enabled only for a tip file longer than 10 bytes.
  static bool TipFileAvailable(const QString& fileName = TipFileName());
  static QStringList SplitTips(const QByteArray& text);

  // Shows the dialog with the running station's "NextTipOfDay" and
  // "ShowTipsOfDay" and stores both back when it closes.
  static void ShowTipOfDay(QWidget* centreOver = nullptr);

  // Reads the file (a regular file of at most regularfile::kMaxTableBytes);
  // a read error gives the stop sound and disables "&Nächster Tip".
  explicit TTipOfDayDlg(const QString& fileName, QWidget* parent = nullptr);

  // Shows the tip with this index (0 when out of range) and advances.
  void Start(int32_t nextTip, bool showAtStart);
  int32_t NextTip() const { return next_; }
  bool ShowAtStart() const;
  QString ShownTip() const;
  const QStringList& Tips() const { return tips_; }

 private:
  void ShowNext();

  QStringList tips_;
  bool readError_ = false;
  int32_t next_ = 0;
  QLabel* text_ = nullptr;
  QCheckBox* showAtStart_ = nullptr;
  QPushButton* nextButton_ = nullptr;
};
