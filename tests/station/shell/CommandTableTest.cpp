// The command table: what the menus and tool bars are built from must be
// whole and unambiguous — every item named once, no key on two items, every
// button with a hint and a picture, every entry doing exactly one thing.
#include <gtest/gtest.h>

#include <QKeySequence>
#include <QString>
#include <set>

#include "Commands.h"
#include "TCommandTable.h"

namespace {

using K = TCommand::Kind;

bool Named(const TCommand& c) {
  return c.kind == K::Menu || c.kind == K::Item || c.kind == K::ToolBar || c.kind == K::Button;
}

}  // namespace

TEST(CommandTable, NamesAndKeysAreUnique) {
  std::set<std::string> names;
  std::set<int> keys;
  for (const TCommand& c : CommandTable()) {
    if (Named(c) || c.kind == K::Palette) {
      ASSERT_NE(std::string(c.name), "");
      EXPECT_TRUE(names.insert(c.name).second) << c.name << " twice";
    }
    if (c.key == 0) continue;
    EXPECT_EQ(c.kind, K::Item) << c.name;
    EXPECT_TRUE(keys.insert(c.key).second)
        << c.name << ": " << QKeySequence(c.key).toString().toStdString() << " twice";
    // F1 belongs to the help of the window that has the focus.
    EXPECT_NE(QKeySequence(c.key), QKeySequence(Qt::Key_F1)) << c.name;
  }
}

TEST(CommandTable, EveryEntryDoesOneThingAndEveryButtonShowsIt) {
  std::set<int> shownWindows;
  for (const TCommand& c : CommandTable()) {
    const QString caption = QString::fromUtf8(c.caption);
    if (c.kind == K::Item || c.kind == K::Button || c.kind == K::Palette) {
      // A command tag or a frame action, never both, never neither.
      EXPECT_NE(c.tag != 0, c.action != TFrameAction::None) << c.name;
      EXPECT_TRUE(c.tag == 0 || c.tag > cmd::kSubmenu) << c.name;
      EXPECT_FALSE(caption.isEmpty()) << c.name;
    }
    if (c.kind == K::Item || c.kind == K::Menu) {
      EXPECT_EQ(caption.count(QLatin1Char('&')), 1) << c.name << ": one mnemonic";
    }
    if (c.kind == K::Button || c.kind == K::Palette) {
      // The hint is the tool tip and the accessible name: no mnemonic.
      EXPECT_FALSE(caption.contains(QLatin1Char('&'))) << c.name;
      EXPECT_NE(c.picture, TPicture::None) << c.name;
    } else {
      EXPECT_EQ(c.picture, TPicture::None) << c.name;
    }
    if (c.action == TFrameAction::ShowWindow) {
      EXPECT_TRUE(shownWindows.insert(static_cast<int>(c.window)).second) << c.name << ": a window shown by two items";
    }
  }
}

// Items belong to a menu, buttons to a tool bar; separators only between
// entries; each menu and tool bar has something in it.
TEST(CommandTable, MenusAndToolBarsAreWellFormed) {
  enum class In { Nothing, Menu, ToolBar } in = In::Nothing;
  bool empty = true;  // nothing in the current menu or bar yet
  bool afterSeparator = false;
  std::set<QChar> menuKeys;
  auto close = [&](const TCommand& next) {
    if (in != In::Nothing) {
      EXPECT_FALSE(empty) << "an empty menu or bar before " << next.name;
    }
    EXPECT_FALSE(afterSeparator) << "a separator ends the entries before " << next.name;
  };
  for (const TCommand& c : CommandTable()) {
    switch (c.kind) {
      case K::Menu: {
        close(c);
        EXPECT_NE(in, In::ToolBar) << c.name << ": menus come before the tool bars";
        in = In::Menu;
        empty = true;
        const QString caption = QString::fromUtf8(c.caption);
        EXPECT_TRUE(menuKeys.insert(caption.at(caption.indexOf(QLatin1Char('&')) + 1).toLower()).second)
            << c.name << ": menu bar mnemonic twice";
        break;
      }
      case K::ToolBar:
        close(c);
        in = In::ToolBar;
        empty = true;
        break;
      case K::ToolBarBreak:
        close(c);
        EXPECT_EQ(in, In::ToolBar);
        in = In::Nothing;
        break;
      case K::Separator:
        EXPECT_FALSE(empty || afterSeparator) << "a separator at the start or doubled";
        afterSeparator = true;
        continue;
      case K::Item:
      case K::RecentFiles:
      case K::BlockGroups:
        EXPECT_EQ(in, In::Menu) << c.name;
        empty = false;
        break;
      case K::Button:
      case K::Palette:
        EXPECT_EQ(in, In::ToolBar) << c.name;
        empty = false;
        break;
    }
    afterSeparator = false;
  }
  close(TCommand{.name = "the end"});
}
