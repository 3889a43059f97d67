// The owner window and the dialogs' availability across the life of the
// host's application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include <memory>
#include <string>

#include "DllMainForm.h"
#include "EngineFixture.h"
#include "ModalDriver.h"
#include "ParamDialogs.h"

namespace {

int g_argc = 1;
char g_name[] = "owner-test";
char* g_argv[] = {g_name, nullptr};

struct Blocks {
  vt::Engine e;
  int32_t value, beep;
  Blocks() {
    PlexorAddPage(e, 1, 0);
    value = vt::Add(e, 700, 1, 1, "123");
    beep = vt::Add(e, 108, 1, 2, "1 2 3 ");
  }
};

TEST(Headless, NoApplicationMeansNoDialogAndNoChange) {
  Blocks b;
  ASSERT_NE(GetParamDialogs(), nullptr);  // registered at load time
  EXPECT_FALSE(GetParamDialogs()->Available());
  EXPECT_EQ(TDllMainForm::Instance(), nullptr);
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 0);
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.beep), 0);
  EXPECT_STREQ(PlexorGetBlockParam(b.e, b.value), "123");
  EXPECT_STREQ(PlexorGetBlockParam(b.e, b.beep), "1 2 3 ");

  // A console application has no widgets either.
  QCoreApplication core(g_argc, g_argv);
  EXPECT_FALSE(GetParamDialogs()->Available());
  EXPECT_EQ(TDllMainForm::Instance(), nullptr);
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 0);
  EXPECT_STREQ(PlexorGetBlockParam(b.e, b.value), "123");
}

TEST(Owner, FollowsTheApplicationObject) {
  Blocks b;
  QPointer<TDllMainForm> first;
  {
    QApplication app(g_argc, g_argv);
    first = TDllMainForm::Instance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->windowTitle(), QStringLiteral("DllMainForm"));
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(TDllMainForm::Instance(), first.data());  // created once

    vt::WhenModal([&](QDialog& d) {
      EXPECT_EQ(d.parentWidget(), first.data());
      vt::Click(d, "CancelButton");
    });
    EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 0);
  }
  // Destroyed with its application, before the widget machinery went away.
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(TDllMainForm::Instance(), nullptr);
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 0);

  // The next application gets a form of its own and working dialogs.
  QApplication again(g_argc, g_argv);
  ASSERT_NE(TDllMainForm::Instance(), nullptr);
  vt::WhenModal([](QDialog& d) { vt::Click(d, "OkButton"); });
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 1);
  EXPECT_STREQ(PlexorGetBlockParam(b.e, b.value), "123");
}

TEST(Owner, OtherThreadsAndNestedCallsGetNoDialog) {
  Blocks b;
  QApplication app(g_argc, g_argv);
  int32_t fromThread = -1;
  std::unique_ptr<QThread> worker(QThread::create([&] { fromThread = PlexorEditBlockParam(b.e, b.value); }));
  worker->start();
  worker->wait();
  EXPECT_EQ(fromThread, 0);

  // While one dialog is open, a second call (a timer of the host) opens none.
  int32_t nested = -1;
  vt::WhenModal([&](QDialog& d) {
    nested = PlexorEditBlockParam(b.e, b.beep);
    vt::Click(d, "CancelButton");
  });
  EXPECT_EQ(PlexorEditBlockParam(b.e, b.value), 0);
  EXPECT_EQ(nested, 0);
  EXPECT_STREQ(PlexorGetBlockParam(b.e, b.beep), "1 2 3 ");
  EXPECT_TRUE(GetParamDialogs()->Available());
}

}  // namespace
