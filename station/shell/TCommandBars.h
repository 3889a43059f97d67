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
  };
  // Whether a command is enabled now.
  using Enabler = std::function<bool(int32_t command)>;

  TCommandBars(QMainWindow& window, Handlers handlers);
  void Build(std::span<const TCommand> table);

  // The action of an item or button by its object name.
  QAction* Action(const QString& objectName) const;
  const std::vector<QToolBar*>& ToolBars() const { return toolBars_; }
  QMenu* BlocksMenu() const { return blocksMenu_; }
  // Shows the first names (at most TMruList::kShown) as the recent files.
  void ShowRecentFiles(const QStringList& names);

  // The enabled state of every tagged tool button and menu item.
  void UpdateButtons(const Enabler& enabled);
  void UpdateMenuItems(QMenu* menu, const Enabler& enabled);
  // Refreshes the tagged items whose shortcut is pressed; true when an
  // untagged item has it too (its own rule must be refreshed).
  bool UpdateShortcut(const QKeySequence& pressed, const Enabler& enabled);

 private:
  struct Tagged {
    QPointer<QAction> action;
    int32_t tag;
  };
  QAction* NewAction(const TCommand& command, const QString& name, const QString& caption);
  void AddBlockGroups(QMenu* menu);
  void AddButton(QToolBar* bar, const TCommand& command);

  QMainWindow& window_;
  Handlers handlers_;
  std::map<QString, QPointer<QAction>> actions_;
  std::vector<Tagged> buttons_;
  std::vector<QToolBar*> toolBars_;
  QMenu* fileMenu_ = nullptr;
  QMenu* blocksMenu_ = nullptr;
  std::vector<QAction*> recentActions_;
  QAction* recentStart_ = nullptr;
  QAction* recentEnd_ = nullptr;
};
