// The tip of the day: how the file splits into tips, the walk through them
// with its wrap-around, the menu's file check, read errors, and the
// station's own tip file beside the program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "RecordingUserInterface.h"
#include "RegularFile.h"
#include "TStationSettings.h"
#include "TTipOfDayDlg.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/QtAppEnvironment.h"

namespace {

QPushButton* NextButton(QWidget& dlg) {
  for (auto* b : dlg.findChildren<QPushButton*>())
    if (b->accessibleName() == QStringLiteral("Nächster Tip")) return b;
  return nullptr;
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes) {
  const QString name = dir.filePath(QStringLiteral("TipOfDay.TXT"));
  QFile f(name);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(bytes);
  return name;
}

TEST(TipOfDay, SplitsAtRunsOfLineBreaksAndTurnsBackslashNIntoALineBreak) {
  struct Case {
    QByteArray text;
    QStringList tips;
  } cases[] = {
      {"a\r\n\r\nb", {"a", "b"}},
      {"x\\ny", {"x\ny"}},
      {"\r\r\n\nerster\n\rzweiter\r", {"erster", "zweiter"}},
      {"Gr\xFC\xDF" "e\\n\\nEnde\r\n", {QString::fromUtf8("Grüße\n\nEnde")}},
      {"\r\n\r\n", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(TTipOfDayDlg::SplitTips(c.text), c.tips) << c.text.toStdString();
}

TEST(TipOfDay, ShowsTheStoredTipAdvancesAndWrapsAfterTheLast) {
  QTemporaryDir dir;
  const QString file = WriteFile(dir, "eins\r\nzwei\\nzeile\r\ndrei\r\n");
  struct Case {
    int32_t start;
    QString shown;
    int32_t next;
    bool nextEnabled;
  } cases[] = {
      {0, "eins", 1, true},
      {1, "zwei\nzeile", 2, true},
      {2, "drei", 0, false},  // the last: back to the first, no further tip
      {7, "eins", 1, true},   // a stored index beyond the file starts over
      {-3, "eins", 1, true},
  };
  for (const Case& c : cases) {
    TTipOfDayDlg dlg(file);
    dlg.Start(c.start, true);
    EXPECT_EQ(dlg.ShownTip(), c.shown) << c.start;
    EXPECT_EQ(dlg.NextTip(), c.next) << c.start;
    EXPECT_EQ(NextButton(dlg)->isEnabled(), c.nextEnabled) << c.start;
  }
  // Walking on with the button.
  TTipOfDayDlg dlg(file);
  dlg.Start(0, false);
  QTest::mouseClick(NextButton(dlg), Qt::LeftButton);
  EXPECT_EQ(dlg.ShownTip(), "zwei\nzeile");
  QTest::mouseClick(NextButton(dlg), Qt::LeftButton);
  EXPECT_EQ(dlg.ShownTip(), "drei");
  EXPECT_EQ(dlg.NextTip(), 0);
  EXPECT_FALSE(NextButton(dlg)->isEnabled());
  EXPECT_FALSE(dlg.ShowAtStart());
}

TEST(TipOfDay, MissingOrUnreadableFileGivesTheStopSoundAndNoNextTip) {
  QTemporaryDir dir;
  const QString missing = dir.filePath(QStringLiteral("fehlt.TXT"));
  const QString directory = dir.path();  // exists, but cannot be read as a file
  // A FIFO would block the start, a file of 20 MB freeze it: capped like a table.
  const QString fifo = dir.filePath(QStringLiteral("fifo.TXT"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString huge = dir.filePath(QStringLiteral("TipOfDay.TXT"));
  {
    QFile f(huge);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_TRUE(f.resize(regularfile::kMaxTableBytes + 1));
  }
  for (const QString& name : {missing, directory, fifo, huge}) {
    RecordingUserInterface ui;
    TTipOfDayDlg dlg(name);
    dlg.Start(4, true);
    EXPECT_EQ(ui.Texts("Beep"), QStringList{QString::number(static_cast<int>(TUserInterface::Sound::Stop))});
    EXPECT_FALSE(NextButton(dlg)->isEnabled());
    EXPECT_TRUE(dlg.ShownTip().contains(QDir::toNativeSeparators(name)));
    EXPECT_EQ(dlg.NextTip(), 4);  // kept for when the file is back
  }
}

TEST(TipOfDay, MenuItemNeedsAFileLongerThanTenBytes) {
  QTemporaryDir dir;
  EXPECT_FALSE(TTipOfDayDlg::TipFileAvailable(dir.filePath(QStringLiteral("fehlt.TXT"))));
  EXPECT_FALSE(TTipOfDayDlg::TipFileAvailable(dir.path()));
  EXPECT_FALSE(TTipOfDayDlg::TipFileAvailable(WriteFile(dir, "0123456789")));
  EXPECT_TRUE(TTipOfDayDlg::TipFileAvailable(WriteFile(dir, "0123456789A")));
}

TEST(TipOfDay, DialogStoresIndexAndCheckBoxInTheSettings) {
  TStationSettings& settings = TStationSettings::Current();
  settings.nextTipOfDay = 3;
  settings.showTipsOfDay = true;
  vt::WhenModal([](QDialog& d) {
    QTest::mouseClick(NextButton(d), Qt::LeftButton);
    auto* box = d.findChild<QCheckBox*>();
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QTest::keyClick(&d, Qt::Key_Escape);
  });
  TTipOfDayDlg::ShowTipOfDay();
  EXPECT_EQ(settings.nextTipOfDay, 5);
  EXPECT_FALSE(settings.showTipsOfDay);
  settings = TStationSettings::Defaults(QString());
}

TEST(TipOfDay, TheStationsTipFileLiesBesideTheProgram) {
  const QString name = TTipOfDayDlg::TipFileName();
  EXPECT_EQ(QFileInfo(name).absolutePath(), QCoreApplication::applicationDirPath());
  ASSERT_TRUE(TTipOfDayDlg::TipFileAvailable(name)) << name.toStdString();
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_FALSE(bytes.contains("\xC3")) << "Windows-1252, not UTF-8";
  const QStringList tips = TTipOfDayDlg::SplitTips(bytes);
  EXPECT_GE(tips.size(), 25);
  for (const QString& tip : tips) {
    EXPECT_GE(tip.size(), 40) << tip.toStdString();
    EXPECT_LE(tip.size(), 400) << tip.toStdString();
  }
}

}  // namespace
