// The splash and about window: the picture with its version, the borderless
// splash closed by its timer, and the about box centred over the main window
// but kept on the screen.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QtTest/QTest>

#include "TSplashForm.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/QtAppEnvironment.h"

namespace {

TEST(SplashForm, PictureCarriesTheVersionInMaroonAt22And140) {
  const QImage picture = TSplashForm::Picture();
  ASSERT_FALSE(picture.isNull());
  auto maroonIn = [&](const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) {
        const QColor c = picture.pixelColor(x, y);
        n += c.red() > 90 && c.red() < 200 && c.green() < 70 && c.blue() < 70;
      }
    return n;
  };
  EXPECT_GT(maroonIn(QRect(22, 140, 70, 12)), 20);
  EXPECT_EQ(maroonIn(QRect(3, 138, 18, 16)), 0);    // nothing left of the text
  EXPECT_EQ(maroonIn(QRect(22, 120, 70, 19)), 0);   // nor above it
}

TEST(SplashForm, SplashIsBorderlessAndClosedByItsTimer) {
  QPointer<TSplashForm> splash = TSplashForm::ShowSplash();
  ASSERT_TRUE(splash);
  EXPECT_TRUE(splash->isVisible());
  EXPECT_TRUE(splash->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(splash->findChildren<QPushButton*>().size(), 0);
  splash->CloseAfter();
  EXPECT_TRUE(splash->CloseTimer()->isActive());
  EXPECT_TRUE(splash->CloseTimer()->isSingleShot());
  EXPECT_EQ(splash->CloseTimer()->interval(), TSplashForm::kSplashMilliseconds);
  EXPECT_EQ(TSplashForm::kSplashMilliseconds, 420);
  QTest::qWait(150);
  EXPECT_TRUE(splash && splash->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull(); }, 3000));
}

TEST(SplashForm, AboutBoxCentredOverTheMainWindowAndKeptOnScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  struct Case {
    const char* where;
    QRect main;
    bool centred;
  } cases[] = {
      {"middle", QRect(screen.center() - QPoint(300, 200), QSize(600, 400)), true},
      {"bottom right corner", QRect(screen.right() - 150, screen.bottom() - 80, 600, 400), false},
      {"left of the screen", QRect(screen.left() - 500, screen.top() + 20, 600, 400), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    QWidget main;
    main.setGeometry(c.main);
    main.show();
    bool seen = false;
    vt::WhenModal([&](QDialog& d) {
      seen = true;
      EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Über Marlix Tarvix Station"));
      // The placement keeps the dialog on the screen; its frame, which the
      // window system adds, may reach a few pixels beyond.
      const QRect frame = d.frameGeometry();
      const QRect margins(0, 0, frame.width() - d.width(), frame.height() - d.height());
      EXPECT_TRUE(screen.adjusted(-margins.width(), -margins.height(), margins.width(), margins.height()).contains(frame))
          << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
      if (c.centred) {
        EXPECT_LE((frame.center() - main.frameGeometry().center()).manhattanLength(), margins.width() + margins.height());
      }
      auto* picture = d.findChild<QLabel*>();
      auto* ok = d.findChild<QPushButton*>();
      ASSERT_TRUE(picture && ok);
      EXPECT_GE(ok->geometry().top(), picture->geometry().bottom());
      EXPECT_EQ(ok->text(), "OK");
      QTest::mouseClick(ok, Qt::LeftButton);
    });
    TSplashForm::ShowAbout(&main);
    EXPECT_TRUE(seen);
  }
}

}  // namespace
