#include "TCommandBars.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "CommandPictures.h"
#include "Commands.h"
#include "TBlockCatalogue.h"
#include "TMruList.h"

TCommandBars::TCommandBars(QMainWindow& window, Handlers handlers) : window_(window), handlers_(std::move(handlers)) {}

QAction* TCommandBars::NewAction(const TCommand& command, const QString& name, const QString& caption) {
  auto* action = new QAction(caption, &window_);
  action->setObjectName(name);
  if (command.tag != 0) action->setData(command.tag);
  if (command.key != 0) action->setShortcut(QKeySequence(command.key));
  if (command.check != TCommand::Check::None) {
    action->setCheckable(true);
    action->setChecked(command.check == TCommand::Check::Checked);
  }
  QObject::connect(action, &QAction::triggered, &window_,
                   [this, command, action] { handlers_.trigger(command, action); });
  actions_[action->objectName()] = action;
  return action;
}

void TCommandBars::Build(std::span<const TCommand> table) {
  table_ = table;
  QMenuBar* bar = window_.menuBar();
  bar->setObjectName(QStringLiteral("MainMenu1"));
  bar->setAccessibleName(QStringLiteral("Menüleiste"));
  QMenu* menu = nullptr;
  QToolBar* tools = nullptr;
  for (const TCommand& c : table) {
    const QString name = QString::fromLatin1(c.name);
    switch (c.kind) {
      case TCommand::Kind::Menu:
        menu = bar->addMenu(QString::fromUtf8(c.caption));
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        QObject::connect(menu, &QMenu::aboutToShow, &window_, [this, menu] { handlers_.menuOpening(menu); });
        if (name == QLatin1String("FileMenu")) fileMenu_ = menu;
        break;
      case TCommand::Kind::Item:
        if (menu) menu->addAction(NewAction(c, name, QString::fromUtf8(c.caption)));
        break;
      case TCommand::Kind::Separator:
        if (tools)
          tools->addSeparator();
        else if (menu)
          menu->addSeparator();
        break;
      case TCommand::Kind::RecentFiles:
        if (!menu) break;
        fileMenu_ = menu;
        recentStart_ = menu->addSeparator();
        for (int i = 0; i < TMruList::kShown; ++i) {
          auto* action = new QAction(&window_);
          action->setObjectName(QStringLiteral("MRUFile%1").arg(i + 1));
          QObject::connect(action, &QAction::triggered, &window_, [this, i] { handlers_.recentChosen(i); });
          recentActions_.push_back(action);
        }
        recentEnd_ = menu->addSeparator();
        break;
      case TCommand::Kind::BlockGroups:
        if (menu) AddBlockGroups(menu);
        blocksMenu_ = menu;
        break;
      case TCommand::Kind::ToolBar:
        tools = new QToolBar(QString::fromUtf8(c.caption), &window_);
        tools->setObjectName(name);
        tools->setAccessibleName(tools->windowTitle());
        tools->setIconSize(QSize(16, 16));
        window_.addToolBar(Qt::TopToolBarArea, tools);
        toolBars_.push_back(tools);
        // The button that shows buttons that do not fit.
        if (auto* more = tools->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
          more->setAccessibleName(QStringLiteral("Weitere Schaltflächen"));
        break;
      case TCommand::Kind::ToolBarBreak:
        window_.addToolBarBreak(Qt::TopToolBarArea);
        break;
      case TCommand::Kind::Button:
        if (tools) AddButton(tools, c);
        break;
      case TCommand::Kind::Palette:
        if (!tools) break;
        if (handlers_.palette) handlers_.palette(*tools);
        // The palette brings its own button of that name or none; one is enough.
        if (!tools->findChild<QWidget*>(name)) AddButton(tools, c);
        break;
    }
  }
  ShowRecentFiles({});
}

void TCommandBars::AddBlockGroups(QMenu* menu) {
  for (const auto& group : TBlockCatalogue::Instance().Groups()) {
    if (group->types.empty()) continue;
    QMenu* sub = menu->addMenu(group->caption);
    sub->menuAction()->setData(static_cast<int>(cmd::kSubmenu));
    sub->menuAction()->setStatusTip(QStringLiteral("Einen Blocktyp dieser Gruppe wählen"));
    for (const auto& [caption, type] : group->types) {
      if (!type) continue;
      const TCommand item{.kind = TCommand::Kind::Item, .tag = cmd::kInsertBlockBase + type->typeId};
      QAction* action = NewAction(item, QStringLiteral("Block%1Item").arg(type->typeId), caption);
      action->setStatusTip(QStringLiteral("Einen Block dieses Typs einfügen"));
      sub->addAction(action);
    }
  }
}

void TCommandBars::AddButton(QToolBar* bar, const TCommand& command) {
  // The text of a button is its hint: tool tip and accessible name.
  QAction* action = NewAction(command, QString::fromLatin1(command.name), QString::fromUtf8(command.caption));
  action->setIcon(CommandPicture(command.picture, *window_.style()));
  action->setToolTip(action->text());
  action->setStatusTip(action->text());
  bar->addAction(action);
  if (QWidget* button = bar->widgetForAction(action)) {
    button->setObjectName(action->objectName());
    button->setAccessibleName(action->text());
  }
  if (command.tag != 0) buttons_.push_back({action, command.tag});
}

QAction* TCommandBars::Action(const QString& objectName) const {
  auto it = actions_.find(objectName);
  return it == actions_.end() ? nullptr : it->second.data();
}

void TCommandBars::CheckTimeMode(bool lapse) {
  for (const char* name : {"SimulatorRealTimeItem", "RealTimeButton"})
    if (QAction* a = Action(QString::fromLatin1(name))) a->setChecked(!lapse);
  for (const char* name : {"SimulatorVirtualTimeItem", "VirtualTimeButton"})
    if (QAction* a = Action(QString::fromLatin1(name))) a->setChecked(lapse);
}

bool TCommandBars::ToolBarsVisible() const { return toolBars_.empty() || toolBars_.front()->isVisible(); }

void TCommandBars::ShowToolBars(bool show) {
  for (QToolBar* bar : toolBars_) bar->setVisible(show);
  if (QAction* item = Action(QStringLiteral("ViewToolbarsItem"))) item->setChecked(show);
}

void TCommandBars::ShowRecentFiles(const QStringList& names) {
  if (!fileMenu_ || !recentEnd_) return;
  // Only used entries are in the menu, so nothing unnamed is offered.
  for (QAction* action : recentActions_) fileMenu_->removeAction(action);
  for (int i = 0; i < TMruList::kShown && i < names.size(); ++i) {
    QAction* action = recentActions_[static_cast<size_t>(i)];
    action->setText(TMruList::Caption(i, names[i]));
    action->setStatusTip(names[i]);
    fileMenu_->insertAction(recentEnd_, action);
  }
  recentStart_->setVisible(!names.isEmpty());
}

void TCommandBars::UpdateAll() {
  for (const Tagged& item : buttons_)
    if (item.action) item.action->setEnabled(handlers_.enabled(item.tag));
  for (QAction* top : window_.menuBar()->actions())
    if (QMenu* menu = top->menu()) UpdateMenuItems(menu);
  UpdateItemRules();
}

void TCommandBars::UpdateMenu(QMenu* menu) {
  UpdateMenuItems(menu);
  UpdateItemRules();
}

void TCommandBars::UpdateMenuItems(QMenu* menu) {
  for (QAction* action : menu->actions()) {
    if (action->menu()) {
      UpdateMenuItems(action->menu());
      continue;
    }
    const int32_t tag = action->data().toInt();
    if (tag > cmd::kSubmenu) action->setEnabled(handlers_.enabled(tag));
  }
  if (menu == blocksMenu_) {
    const bool enabled = handlers_.blocksEnabled();
    for (QAction* action : menu->actions()) action->setEnabled(enabled);
  }
}

void TCommandBars::UpdateItemRules() {
  for (const TCommand& c : table_) {
    if (c.kind != TCommand::Kind::Item || c.tag != 0) continue;
    const int rule = handlers_.itemRule(c);
    if (rule >= 0)
      if (QAction* a = Action(QString::fromLatin1(c.name))) a->setEnabled(rule == 1);
  }
}

void TCommandBars::UpdateShortcut(const QKeySequence& pressed) {
  bool untagged = false;
  for (const auto& [name, action] : actions_) {
    if (!action || action->shortcut() != pressed) continue;
    const int32_t tag = action->data().toInt();
    if (tag > cmd::kSubmenu)
      action->setEnabled(handlers_.enabled(tag));
    else
      untagged = true;
  }
  if (untagged) UpdateItemRules();
}
