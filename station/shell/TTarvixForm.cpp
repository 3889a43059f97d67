#include "TTarvixForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <algorithm>
#include <QToolBar>
#include <QToolButton>

#include "ApplySettings.h"
#include "Commands.h"
#include "TCommandBars.h"
#include "DocumentPlacement.h"
#include "TDesktopFile.h"
#include "TIdleDriver.h"
#include "TBlockCatalogue.h"
#include "TMDIChildForm.h"
#include "TProjectController.h"
#include "TRecoveryController.h"
#include "TSettingsStore.h"
#include "TSimulatedInputs.h"
#include "TStartPage.h"
#include "TStationServices.h"
#include "TStationSettings.h"
#include "TStatusPanels.h"
#include "TToolWindow.h"
#include "TTarvixPlusModel.h"
#include "TWindowClass.h"
#include "TWindowFactory.h"
#include "TWindowManager.h"
#include "UserInterface.h"
#include "WindowIcons.h"

namespace {

TStationServices& NoServices() {
  static TStationServices none;
  return none;
}

TUserInterface& Ui() { return TUserInterface::Current(); }

}  // namespace

// ---- construction -----------------------------------------------------------------------

TTarvixForm::TTarvixForm(TStationServices* services, QWidget* parent)
    : QMainWindow(parent), services_(services ? *services : NoServices()) {
  setObjectName(QStringLiteral("TarvixForm"));
  setWindowTitle(QString::fromLatin1(kTitle));
  setWindowIcon(windowicons::Icon(windowicons::Kind::Application));
  setAcceptDrops(true);

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MDIArea"));
  mdi_->setAccessibleName(QStringLiteral("Dokumentfenster"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  windows_ = new TWindowManager(*this, *mdi_, [this] { return Project(); }, [this] { CommandStatesChanged(); });
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { CommandStatesChanged(); });
  startPage_ = new TStartPage(mdi_->viewport());
  connect(startPage_, &TStartPage::NewRequested, this, [this] { OpenProject(QString()); });
  connect(startPage_, &TStartPage::OpenRequested, this, [this] { FileOpen(); });
  connect(startPage_, &TStartPage::RecentChosen, this, [this](const QString& name) {
    mru_.Remove(name);
    OpenProject(name);
    RefreshMru();
  });

  tree_ = new TProjectController(this);
  auto* dock = new QDockWidget(QStringLiteral("Projektfenster"), this);
  dock->setObjectName(QStringLiteral("CellTreeResizebar"));
  dock->setAccessibleName(QStringLiteral("Projektfenster"));
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  dock->setTitleBarWidget(new QWidget(dock));
  dock->setWidget(tree_);
  addDockWidget(Qt::LeftDockWidgetArea, dock);
  resizeDocks({dock}, {std::max(TStationSettings::kDefaultProjectWindowWidth, tree_->FittingWidth())}, Qt::Horizontal);

  recovery_ = new TRecoveryController(*this);
  bars_ = std::make_unique<TCommandBars>(
      *this, TCommandBars::Handlers{[this](const TCommand& c, QAction* sender) { Trigger(c, sender); },
                                    [this](QMenu* menu) { UpdateMenu(menu); },
                                    [this](int index) {
                                      if (index >= mru_.Names().size()) return;
                                      const QString name = mru_.Names()[index];
                                      mru_.Remove(name);
                                      OpenProject(name);
                                      RefreshMru();
                                    },
                                    [this](QToolBar& bar) { services_.FillPalette(*this, bar); }});
  bars_->Build(CommandTable());
  // F1: the help topic of the window that has the focus (the tree answers
  // F1 itself).
  auto* helpKey = new QAction(this);
  helpKey->setShortcut(QKeySequence(Qt::Key_F1));
  helpKey->setShortcutContext(Qt::WindowShortcut);
  connect(helpKey, &QAction::triggered, this, [this] {
    const TMDIChildForm* doc = ActiveDocument();
    Ui().ShowHelp(doc ? doc->HelpContext() : 0);
  });
  addAction(helpKey);
  TWindowManager::NameQtParts(this);

  status_ = std::make_unique<TStatusPanels>(*statusBar());
  RefreshStatusBar();

  idle_ = new TIdleDriver(this, *windows_,
                          {[this] { return Project(); }, [this] { UpdateButtons(); }, [this] { RefreshStatusBar(); },
                           [this] {
                             // Focus on the frame or its empty document area goes to the tree.
                             QWidget* focus = QApplication::focusWidget();
                             if (isActiveWindow() && (focus == this || focus == mdi_ || focus == mdi_->viewport())) tree_->setFocus();
                           },
                           [this] { return ActiveDocument() && ActiveDocument()->NeedsIdle(); }});
  splashTimer_ = new QTimer(this);
  splashTimer_->setSingleShot(true);
  splashTimer_->setInterval(420);
  connect(splashTimer_, &QTimer::timeout, this, [this] {
    services_.SplashDone();
    for (TToolWindow* tool : ToolWindows()) tool->show();
    activateWindow();
    const bool tips = services_.TipAvailable();
    if (QAction* tip = Action(QStringLiteral("HelpTipItem"))) tip->setEnabled(tips);
    if (tips && TStationSettings::Current().showTipsOfDay) services_.StartupTip(*this);
  });

  qApp->installEventFilter(this);
  TStationFrame::SetCurrent(this);
}

TTarvixForm::~TTarvixForm() {
  qApp->removeEventFilter(this);
  closing_ = true;
  // Windows first (they are views of the project), then the project.
  idle_->Stop();
  for (TToolWindow* tool : ToolWindows()) delete tool;
  // The document windows go while the frame is whole (their signals reach
  // it) and while the project they view still exists.
  for (QMdiSubWindow* sub : mdi_->subWindowList()) disconnect(sub, nullptr, windows_, nullptr);
  delete mdi_;
  mdi_ = nullptr;
  delete recovery_;
  recovery_ = nullptr;
  tree_->SetProject(nullptr);
  if (TStationFrame::Current() == this) TStationFrame::SetCurrent(nullptr);
  delete idle_;  // the simulation's host until here
}

void TTarvixForm::Trigger(const TCommand& c, QAction* sender) {
  if (c.tag != 0) {
    DoChildCommand(c.tag, sender);
    return;
  }
  switch (c.action) {
    case TFrameAction::None: break;
    case TFrameAction::NewProject: OpenProject(QString()); break;
    case TFrameAction::OpenProject: FileOpen(); break;
    case TFrameAction::CompareWith: services_.CompareWith(*this); break;
    case TFrameAction::PrintSetup: Ui().PrinterSetup(); break;
    case TFrameAction::Exit: close(); break;
    case TFrameAction::ToggleToolBars: {
      const auto& bars = bars_->ToolBars();
      const bool show = !bars.empty() && !bars.front()->isVisible();
      for (QToolBar* tb : bars) tb->setVisible(show);
      Action(QStringLiteral("ViewToolbarsItem"))->setChecked(show);
      break;
    }
    case TFrameAction::ToggleStatusBar:
      statusBar()->setVisible(!statusBar()->isVisible());
      Action(QStringLiteral("ViewStatusbarItem"))->setChecked(statusBar()->isVisible());
      break;
    case TFrameAction::FocusProject: tree_->setFocus(); break;
    case TFrameAction::ShowWindow: ShowWindow(windowclass::Name(c.window), true); break;
    case TFrameAction::NewCellEditor: NewCellEditor(); break;
    case TFrameAction::CheckProgram: services_.CheckProgram(*this); break;
    case TFrameAction::RealTime: SetVirtualTime(false); break;
    case TFrameAction::VirtualTime: SetVirtualTime(true); break;
    case TFrameAction::OptionsEnvironment: services_.OptionsEnvironment(*this); break;
    case TFrameAction::OptionsColors: services_.OptionsColors(*this); break;
    case TFrameAction::Cascade: windows_->Cascade(); break;
    case TFrameAction::TileHorizontally: windows_->Tile(Qt::Vertical); break;
    case TFrameAction::TileVertically: windows_->Tile(Qt::Horizontal); break;
    case TFrameAction::CloseAll: mdi_->closeAllSubWindows(); break;
    case TFrameAction::HelpContents: Ui().ShowHelp(0); break;
    case TFrameAction::TipOfDay: services_.TipOfDay(*this); break;
    case TFrameAction::About: services_.About(*this); break;
  }
}

QAction* TTarvixForm::Action(const QString& objectName) const { return bars_->Action(objectName); }

// ---- the project ------------------------------------------------------------------------

TTarvixPlusModel* TTarvixForm::Project() const { return tree_->Project(); }

bool TTarvixForm::CloseProject() {
  TTarvixPlusModel* project = Project();
  if (!project) return true;
  if (!project->CloseQuery()) return false;
  recovery_->ProjectClosing();
  if (!project->FileName().isEmpty()) mru_.Add(project->FileName());
  RefreshMru();
  tree_->SetProject(nullptr);
  windows_->SetProject(nullptr);
  RefreshTitle();
  return true;
}

bool TTarvixForm::OpenProject(const QString& fileName) {
  if (!fileName.isEmpty() && Project() && Project()->FileName() == fileName) return true;
  return ReplaceProject(
      [&fileName](TTarvixPlusModel& project) { return fileName.isEmpty() ? project.InitNew() : project.Open(fileName); },
      nullptr);
}

bool TTarvixForm::OpenProject(std::unique_ptr<TTarvixPlusModel> project) { return ReplaceProject({}, std::move(project)); }

bool TTarvixForm::ReplaceProject(const std::function<bool(TTarvixPlusModel&)>& load,
                                 std::unique_ptr<TTarvixPlusModel> loaded) {
  // The terminal and the data-log view stay open for the next project.
  const std::vector<QString> following = windows_->FollowingWindows();
  if (!CloseProject()) return false;
  Ui().ProcessEvents();
  std::unique_ptr<TTarvixPlusModel> project = std::move(loaded);
  bool ok = true;
  if (!project) {
    try {
      project = std::make_unique<TTarvixPlusModel>();
    } catch (const TModelError&) {
      return false;
    }
    ok = load(*project);
  }
  tree_->SetProject(std::move(project));
  recovery_->ProjectChanged();
  windows_->SetProject(Project());
  for (const QString& cls : following) ShowWindow(cls, false);
  TTarvixPlusModel* model = Project();
  if (TStationSettings::Current().autoOpenFirstCell && !model->Cells().empty()) {
    const int32_t first = model->Cells().front()->CellId();
    tree_->SelectValue(TProjectController::NodeValue(TProjectController::kCells, first));
    OpenCell(first);
  } else {
    tree_->setCurrentItem(tree_->CellsGroup());
  }
  if (ok && !model->FileName().isEmpty()) mru_.Remove(model->FileName());
  RefreshMru();
  RefreshTitle();
  tree_->setFocus();
  CommandStatesChanged();
  return ok;
}

void TTarvixForm::FileOpen() {
  TUserInterface::FileRequest request{QStringLiteral("Öffnen"), QStringLiteral("Tarvix/plus Dateien (*.tvp)|*.tvp|Alle Dateien (*.*)|*.*"),
                                      QStringLiteral("tvp"), QString()};
  const QString name = Ui().OpenFileName(request);
  if (!name.isEmpty()) OpenProject(name);
}

void TTarvixForm::RefreshStartPage() {
  if (!startPage_) return;
  startPage_->SetRecentFiles(mru_.Names().mid(0, TMruList::kShown));
  startPage_->setVisible(!Project());
  if (!Project()) startPage_->lower();
}

void TTarvixForm::RefreshTitle() {
  const QString title = Project() ? QStringLiteral("%1 - %2").arg(QString::fromLatin1(kTitle), Project()->DisplayName())
                                  : QString::fromLatin1(kTitle);
  setWindowTitle(title);
  setAccessibleName(title);
  RefreshStartPage();
}

void TTarvixForm::RefreshMru() {
  bars_->ShowRecentFiles(mru_.Names());
  RefreshStartPage();
}

// ---- commands -------------------------------------------------------------------------------

bool TTarvixForm::FrameCommand(int32_t command) {
  TTarvixPlusModel* project = Project();
  if (!project) return false;
  switch (command) {
    case cmd::kSave:
      project->Save();
      RefreshTitle();
      return true;
    case cmd::kSaveAs:
      project->SaveAs(true);
      RefreshTitle();
      return true;
    case cmd::kCompile:
    case cmd::kDownload:
      recovery_->BeforeCompile();
      services_.Compile(*project, command == cmd::kDownload, this);
      return false;
    case cmd::kRun:
    case cmd::kSingleStep:
    case cmd::kReset:
    case cmd::kStop:
      project->RunCommand(static_cast<cmd::TCommand>(command));
      ScheduleIdle();
      return false;
    case cmd::kClearBreakpoints:
      project->ClearBreakpoints();
      return false;
    default:
      return false;
  }
}

int TTarvixForm::FrameEnabled(int32_t command) const {
  TTarvixPlusModel* project = Project();
  auto rule = [](bool b) { return b ? 1 : 0; };
  switch (command) {
    case cmd::kSave: return rule(project && project->Modified());
    case cmd::kSaveAs: return rule(project != nullptr);
    case cmd::kCompile:
    case cmd::kDownload: {
      if (!project || project->IsSimulating() || !services_.HasCompiler()) return 0;
      for (const auto& cell : project->Cells())
        if (cell->Count() > 0) return 1;
      return 0;
    }
    case cmd::kRun:
    case cmd::kSingleStep: return rule(project && project->Simulation().CanStart());
    case cmd::kReset: return rule(project && project->SimState() == TSimState::Halted);
    case cmd::kStop: {
      if (!project) return 0;
      const TSimState s = project->SimState();
      return rule(s == TSimState::Running || s == TSimState::SingleStep || s == TSimState::Pausing);
    }
    case cmd::kClearBreakpoints: return rule(project && !project->Breakpoints().empty());
    default: return -1;
  }
}

void TTarvixForm::SetVirtualTime(bool on) {
  TSimulatedInputs& inputs = TSimulatedInputs::Current();
  if (inputs.VirtualTime != on) {
    inputs.VirtualTime = on;
    inputs.AutoTimingChanged = true;
    // A pause under way is over at once in time lapse; the driver applies
    // the new timing before its next step.
    ScheduleIdle();
  }
  ShowTimeMode();
}

void TTarvixForm::ShowTimeMode() {
  const bool lapse = TSimulatedInputs::Current().VirtualTime;
  for (const char* name : {"SimulatorRealTimeItem", "RealTimeButton"}) Action(QString::fromLatin1(name))->setChecked(!lapse);
  for (const char* name : {"SimulatorVirtualTimeItem", "VirtualTimeButton"}) Action(QString::fromLatin1(name))->setChecked(lapse);
}

void TTarvixForm::DoChildCommand(int32_t command, QObject* sender) {
  if (!IsCommandEnabled(command)) return;
  if (FrameCommand(command)) {
    CommandStatesChanged();
    return;
  }
  const int frameRule = FrameEnabled(command);
  if (frameRule < 0 || command == cmd::kToggleBreakpoint || command == cmd::kRunToCell) {
    if (tree_->hasFocus())
      tree_->DoCommand(command, sender);
    else if (TMDIChildForm* doc = ActiveDocument())
      doc->DoCommand(command, sender);
  }
  if (command == cmd::kRunToCell) ScheduleIdle();
  CommandStatesChanged();
}

bool TTarvixForm::IsCommandEnabled(int32_t command) {
  const int frameRule = FrameEnabled(command);
  if (frameRule >= 0) return frameRule == 1;
  if (tree_->hasFocus()) return tree_->IsCommandEnabled(command);
  if (TMDIChildForm* doc = ActiveDocument())
    return QApplication::activeWindow() != nullptr && !tree_->IsEditingLabel() && doc->IsCommandEnabled(command);
  return false;
}

void TTarvixForm::UpdateButtons() {
  bars_->UpdateButtons([this](int32_t tag) { return IsCommandEnabled(tag); });
  UpdateMenuActions();
  emit CommandStatesUpdated();
}

void TTarvixForm::UpdateMenu(QMenu* menu) {
  UpdateMenuItems(menu);
  UpdateItemRules();
  // Looks at the disk: only when a menu opens (the item has no shortcut).
  if (QAction* a = Action(QStringLiteral("HelpTipItem"))) a->setEnabled(services_.TipAvailable());
}

void TTarvixForm::UpdateMenuActions() {
  // A disabled action's shortcut never fires: menu items follow the
  // command states like the buttons, not only when their menu opens.
  for (QAction* top : menuBar()->actions())
    if (QMenu* menu = top->menu()) UpdateMenuItems(menu);
  UpdateItemRules();
}

void TTarvixForm::UpdateShortcut(const QKeyEvent& key) {
  if (bars_->UpdateShortcut(QKeySequence(key.keyCombination()), [this](int32_t tag) { return IsCommandEnabled(tag); }))
    UpdateItemRules();
}

void TTarvixForm::UpdateMenuItems(QMenu* menu) {
  bars_->UpdateMenuItems(menu, [this](int32_t tag) { return IsCommandEnabled(tag); });
  if (menu == bars_->BlocksMenu()) {
    TMDIChildForm* doc = ActiveDocument();
    const bool cellEditor = doc && windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) && !tree_->hasFocus();
    for (QAction* action : menu->actions()) action->setEnabled(cellEditor && IsCommandEnabled(cmd::kInsertTextBlock));
  }
}

void TTarvixForm::UpdateItemRules() {
  // Items without a tag: their own rules.
  TTarvixPlusModel* project = Project();
  const bool anyDocument = !mdi_->subWindowList().isEmpty();
  for (const TCommand& c : CommandTable()) {
    if (c.kind != TCommand::Kind::Item || c.tag != 0) continue;
    int rule = -1;
    switch (c.action) {
      case TFrameAction::ShowWindow: rule = windows_->CanShow(c.window); break;
      case TFrameAction::NewCellEditor:
        rule = project && !project->Cells().empty() && windows_->CanShow(TWindowClass::ProgramCell);
        break;
      case TFrameAction::Cascade:
      case TFrameAction::TileHorizontally:
      case TFrameAction::TileVertically:
      case TFrameAction::CloseAll: rule = anyDocument; break;
      case TFrameAction::OptionsEnvironment:
      case TFrameAction::OptionsColors: rule = services_.HasOptionDialogs(); break;
      case TFrameAction::About: rule = services_.HasAbout(); break;
      default: break;
    }
    if (rule >= 0)
      if (QAction* a = Action(QString::fromLatin1(c.name))) a->setEnabled(rule == 1);
  }
}

// ---- windows -------------------------------------------------------------------------------

QWidget* TTarvixForm::FindWindow(const QString& className) const { return windows_->FindWindow(className); }

QWidget* TTarvixForm::ShowWindow(const QString& className, bool activate) { return windows_->ShowWindow(className, activate); }

void TTarvixForm::OpenCell(int32_t cellId) { windows_->OpenCell(cellId); }

void TTarvixForm::SynchronizeCell(int32_t cellId) {
  if (windows_->SynchronizeCell(cellId)) tree_->setFocus();
}

void TTarvixForm::NewCellEditor() {
  if (!Project() || Project()->Cells().empty()) return;
  const int32_t value = tree_->SelectedValue();
  int32_t cell = TProjectController::KindOf(value) == TProjectController::kCells ? TProjectController::IdOf(value) : 0;
  if (cell == 0) cell = Project()->Cells().front()->CellId();
  windows_->NewCellEditor(cell);
}

void TTarvixForm::ShowStatusText(const QString& text) {
  status_->SetHint(text);
  RefreshStatusBar();
}

void TTarvixForm::ShowPositionText(const QString& text) { status_->ShowPosition(text); }

void TTarvixForm::CommandStatesChanged() {
  if (closing_) return;
  if (recovery_) recovery_->Sync();
  ScheduleIdle();
}

// ---- idle cycle ------------------------------------------------------------------------------

void TTarvixForm::ScheduleIdle() {
  if (!closing_) idle_->Schedule();
}

bool TTarvixForm::IdlePass(bool step) { return !closing_ && idle_->Pass(step); }

void TTarvixForm::RefreshStatusBar() { status_->Refresh(Project()); }

QString TTarvixForm::StatusPanel(int index) const { return status_->Text(index); }

// ---- events ------------------------------------------------------------------------------------

bool TTarvixForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    ShowStatusText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

bool TTarvixForm::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::ShortcutOverride:
      // Comes before the key is matched against the shortcuts: the
      // matching items must not answer with a state the idle cycle has
      // not refreshed yet (a dead key, or a key taken from the window
      // that has the focus).
      if (!closing_ && !idle_->InPass()) UpdateShortcut(*static_cast<QKeyEvent*>(e));
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Drop:
    case QEvent::Close:
      ScheduleIdle();
      break;
    case QEvent::Hide:
      // A modal dialog of ours closed. Without a window manager (a bare X
      // server) nobody hands the keyboard back to the main window: take it,
      // but only when no other window of any program has it.
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && w->isModal() && w != this)
        QTimer::singleShot(0, this, [this] {
          if (!closing_ && isVisible() && !QApplication::activeModalWidget() && !QGuiApplication::focusWindow()) activateWindow();
        });
      break;
    case QEvent::FileOpen:
      if (watched == qApp) {
        OpenProject(static_cast<QFileOpenEvent*>(e)->file());
        return true;
      }
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, e);
}

void TTarvixForm::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TTarvixForm::dropEvent(QDropEvent* e) {
  const QList<QUrl> urls = e->mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return;
  e->acceptProposedAction();
  const QString name = urls.first().toLocalFile();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
  // After the drop has finished: opening may ask questions.
  QTimer::singleShot(0, this, [this, name] { OpenProject(name); });
}

void TTarvixForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shown_) {
    shown_ = true;
    FirstShow();
  }
}

// ---- settings, desktop file, start-up and shut-down ------------------------------------------------

void TTarvixForm::ApplySettingsToWindow() {
  const TStationSettings& s = TStationSettings::Current();
  mru_.SetNames(s.mruFiles);
  RefreshMru();
  statusBar()->setVisible(s.statusBar);
  Action(QStringLiteral("ViewStatusbarItem"))->setChecked(s.statusBar);
  for (QToolBar* tb : bars_->ToolBars()) tb->setVisible(s.toolBars);
  Action(QStringLiteral("ViewToolbarsItem"))->setChecked(s.toolBars);
  ShowTimeMode();
  if (auto* dock = findChild<QDockWidget*>(QStringLiteral("CellTreeResizebar"))) {
    // The default width grows to fit the tree's captions; a width the user
    // chose stays.
    const int width = s.projectWindowWidth == TStationSettings::kDefaultProjectWindowWidth
                          ? std::max(s.projectWindowWidth, tree_->FittingWidth())
                          : std::clamp(s.projectWindowWidth, 50, 1000);
    resizeDocks({dock}, {width}, Qt::Horizontal);
  }
  resize(1100, 760);  // until a placement was saved
  if (!s.mainWindow.IsEmpty()) {
    QRect r = s.mainWindow.ToQRect();
    // No larger than the screen, as the panels: a saved 40 000 px window
    // would take gigabytes of backing store at every start.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      r.setSize(r.size().boundedTo(area.size()));
      if (!r.intersects(area)) r.moveTopLeft(area.topLeft());
    }
    if (r.width() >= 200 && r.height() >= 150) setGeometry(r);
  }
  if (s.windowState == 2) showMaximized();
  // Minimised as it was left (the normal placement above is kept for later).
  if (s.windowState == 1) setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
}

void TTarvixForm::CollectSettingsFromWindow() {
  TStationSettings& s = TStationSettings::Current();
  s.mruFiles = mru_.Names();
  s.statusBar = statusBar()->isVisible();
  s.toolBars = bars_->ToolBars().empty() || bars_->ToolBars().front()->isVisible();
  if (auto* dock = findChild<QDockWidget*>(QStringLiteral("CellTreeResizebar"))) s.projectWindowWidth = dock->width();
  const QRect r = normalGeometry().isValid() ? normalGeometry() : geometry();
  s.mainWindow = TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  s.windowState = isMinimized() ? 1 : (isMaximized() ? 2 : 0);
}

void TTarvixForm::FirstShow() {
  ApplySettingsToWindow();
  const QString desktop = DesktopFileName();
  if (QFileInfo::exists(desktop)) ReadDesktop(desktop);
  windows_->CreateSavedPanels();
  RefreshTitle();
  splashTimer_->start();
  RefreshStatusBar();
  CommandStatesChanged();
}

QString TTarvixForm::DesktopFileName() {
  QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  if (program.isEmpty()) program = QStringLiteral("Vorblen");
  return QDir::current().filePath(program + QStringLiteral(".DSK"));
}

bool TTarvixForm::WriteDesktop(const QString& fileName) {
  TDesktop desktop;
  desktop.windows = windows_->DesktopWindows();
  tree_->GatherDesktop(desktop);
  QString problem;
  if (!TDesktopFile::Save(fileName, desktop, problem)) {
    Ui().ErrorBox(QStringLiteral("Konnte die Desktopdatei nicht erstellen!\n%1").arg(problem.isEmpty() ? fileName : problem));
    return false;
  }
  return true;
}

bool TTarvixForm::ReadDesktop(const QString& fileName) {
  QString problem;
  const std::optional<TDesktop> desktop = TDesktopFile::Load(fileName, problem);
  if (!desktop) {
    Ui().ErrorBox(QStringLiteral("Konnte die Desktopdatei nicht lesen!\n%1").arg(problem.isEmpty() ? fileName : problem));
    return false;
  }
  const QString& projectName = desktop->projectFile;
  if (!projectName.isEmpty() && !QFileInfo::exists(projectName)) {
    // The file is gone: an empty project under that name (saving creates it).
    OpenProject(QString());
    if (Project()) Project()->SetFileName(projectName);
    RefreshTitle();
  } else {
    OpenProject(projectName);
  }
  tree_->RestoreDesktop(*desktop);
  windows_->RestoreWindows(desktop->windows);
  return true;
}

void TTarvixForm::closeEvent(QCloseEvent* e) {
  if (TTarvixPlusModel* project = Project(); project && !project->CloseQuery()) {
    e->ignore();
    return;
  }
  recovery_->ProjectClosing();
  CollectSettingsFromWindow();
  Collect(TStationSettings::Current());
  TSettingsStore store;
  store.Save(TStationSettings::Current());
  WriteDesktop(DesktopFileName());
  closing_ = true;
  idle_->Stop();
  e->accept();
}
