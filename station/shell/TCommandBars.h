// TCommandBars: the main window's menu bar and tool bars, built from the
// command table, and the enabling of their items by the command states.
//
// Every item's action belongs to the window and carries the item's object
// name; a tagged one carries its command tag as data. What an item does is
// the window's business: the builder hands each trigger on.
#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "TCommandTable.h"

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;

class TCommandBars {
 public:
  struct Handlers {
    // An item or button was triggered (sender: its action).
    std::function<void(const TCommand& command, QAction* sender)> trigger;
    // A menu is about to open.
    std::function<void(QMenu* menu)> menuOpening;
    // Entry index of the recent files was chosen.
    std::function<void(int index)> recentChosen;
    // Fills the block tool bar with the palette.
    std::function<void(QToolBar& bar)> palette;
    // Whether a command is enabled now.
    std::function<bool(int32_t command)> enabled;
    // The rule of an item without a command: 1 enabled, 0 disabled, -1 none.
    std::function<int(const TCommand& item)> itemRule;
    // Whether the block types may be inserted now.
    std::function<bool()> blocksEnabled;
  };

  TCommandBars(QMainWindow& window, Handlers handlers);
  void Build(std::span<const TCommand> table);

  // The action of an item or button by its object name.
  QAction* Action(const QString& objectName) const;
  const std::vector<QToolBar*>& ToolBars() const { return toolBars_; }
  // The tool bars shown or hidden, with the check mark of "Werkzeugleisten".
  bool ToolBarsVisible() const;
  void ShowToolBars(bool show);
  QMenu* BlocksMenu() const { return blocksMenu_; }
  // The check marks of "Echtzeit" and "Zeitraffer" (items and buttons).
  void CheckTimeMode(bool lapse);
  // Shows the first names (at most TMruList::kShown) as the recent files.
  void ShowRecentFiles(const QStringList& names);

  // The enabled state of every tool button and menu item (a disabled
  // item's shortcut never fires, so the items follow the command states
  // like the buttons, not only when their menu opens).
  void UpdateAll();
  // The items of a menu that opens.
  void UpdateMenu(QMenu* menu);
  // Refreshes the items whose shortcut is about to be matched.
  void UpdateShortcut(const QKeySequence& pressed);

 private:
  struct Tagged {
    QPointer<QAction> action;
    int32_t tag;
  };
  QAction* NewAction(const TCommand& command, const QString& name, const QString& caption);
  void AddBlockGroups(QMenu* menu);
  void AddButton(QToolBar* bar, const TCommand& command);
  void UpdateMenuItems(QMenu* menu);
  void UpdateItemRules();

  QMainWindow& window_;
  Handlers handlers_;
  std::span<const TCommand> table_;
  std::map<QString, QPointer<QAction>> actions_;
  std::vector<Tagged> buttons_;
  std::vector<QToolBar*> toolBars_;
  QMenu* fileMenu_ = nullptr;
  QMenu* blocksMenu_ = nullptr;
  std::vector<QAction*> recentActions_;
  QAction* recentStart_ = nullptr;
  QAction* recentEnd_ = nullptr;
};
