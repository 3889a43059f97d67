// The comment and bitmap dialogs, driven without showing them.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdlib>

#include <gtest/gtest.h>

#include "CellEditorSettings.h"
#include "RecordingUserInterface.h"
#include "TBlockBitmapDlg.h"
#include "TCommentBlockDlg.h"

namespace {

void EnsureApp() {
  if (QApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "dialogs_test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

}  // namespace

TEST(CommentBlockDlg, CarriesTextAndFont) {
  EnsureApp();
  TCommentBlockDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Eigenschaften des Kommentarblocks"));
  const TCommentFont font{QStringLiteral("Arial"), 10, 255, TCommentFont::kItalic};
  dlg.SetData(QStringLiteral("Hallo"), font);
  EXPECT_EQ(dlg.Text(), QStringLiteral("Hallo"));
  EXPECT_EQ(dlg.Font(), font);
}

TEST(BlockBitmapDlg, RefusesAFileThatDoesNotLoad) {
  EnsureApp();
  RecordingUserInterface ui;
  QTemporaryDir dir;
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::red);
  ASSERT_TRUE(image.save(dir.path() + QStringLiteral("/ok.bmp"), "BMP"));
  CellEditorSettings::Current().bitmapPath = dir.path();
  TBlockBitmapDlg dlg;
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Auswahl eines externen Bitmaps"));
  dlg.SetFileName(QStringLiteral("fehlt.bmp"));
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Rejected);
  EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{QStringLiteral("fehlt.bmp ist keine gültige Bitmapdatei!")});
  dlg.SetFileName(dir.path() + QStringLiteral("/ok.bmp"));
  EXPECT_EQ(dlg.FileName(), QStringLiteral("ok.bmp"));  // reduced to the bare name in the bitmap directory
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  dlg.SetFileName(QString());
  dlg.accept();
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
}
