#include "TTarvixForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "ApplySettings.h"
#include "MainWindowLayout.h"
#include "Commands.h"
#include "ProjectCommands.h"
#include "TCommandBars.h"
#include "TDesktopFile.h"
#include "TFrameEvents.h"
#include "TIdleDriver.h"
#include "TMDIChildForm.h"
#include "TProjectController.h"
#include "TRecoveryController.h"
#include "TSettingsStore.h"
#include "TSimulatedInputs.h"
#include "TSplashForm.h"
#include "TStartPage.h"
#include "TStationServices.h"
#include "TStationSettings.h"
#include "TStatusPanels.h"
#include "TToolWindow.h"
#include "TTarvixPlusModel.h"
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

  windows_ = new TWindowManager(*this, [this] { return Project(); }, [this] { CommandStatesChanged(); });
  mdi_ = &windows_->Area();
  startPage_ = new TStartPage(mdi_->viewport());
  connect(startPage_, &TStartPage::NewRequested, this, [this] { OpenProject(QString()); });
  connect(startPage_, &TStartPage::OpenRequested, this, [this] { FileOpen(); });
  connect(startPage_, &TStartPage::RecentChosen, this, [this](const QString& name) { OpenRecent(name); });

  tree_ = new TProjectController(this);
  mainwindowlayout::AddProjectWindow(*this, *tree_, tree_->FittingWidth());

  recovery_ = new TRecoveryController(*this);
  bars_ = std::make_unique<TCommandBars>(
      *this, TCommandBars::Handlers{[this](const TCommand& c, QAction* sender) { Trigger(c, sender); },
                                    [this](QMenu* menu) { UpdateMenu(menu); },
                                    [this](int index) {
                                      if (index < mru_.Names().size()) OpenRecent(mru_.Names()[index]);
                                    },
                                    [this](QToolBar& bar) { services_.FillPalette(*this, bar); },
                                    [this](int32_t tag) { return IsCommandEnabled(tag); },
                                    [this](const TCommand& item) { return ItemRule(item); },
                                    [this] {
                                      const TMDIChildForm* doc = ActiveDocument();
                                      return doc && windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) &&
                                             !tree_->hasFocus() && IsCommandEnabled(cmd::kInsertTextBlock);
                                    }});
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

  idle_ = new TIdleDriver(*this, *windows_, *tree_,
                          {[this] { return Project(); }, [this] { UpdateButtons(); }, [this] { RefreshStatusBar(); }});
  events_ = new TFrameEvents(*this, {[this] { return closing_; }, [this] { return idle_->InPass(); },
                                     [this](const QKeySequence& key) { bars_->UpdateShortcut(key); },
                                     [this] { ScheduleIdle(); }, [this](const QString& name) { OpenProject(name); }});
  TStationFrame::SetCurrent(this);
}

TTarvixForm::~TTarvixForm() {
  delete events_;
  closing_ = true;
  // Windows first (they are views of the project), then the project.
  idle_->Stop();
  windows_->CloseAll();
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
    case TFrameAction::ToggleToolBars: bars_->ShowToolBars(!bars_->ToolBarsVisible()); break;
    case TFrameAction::ToggleStatusBar: ShowStatusBar(!statusBar()->isVisible()); break;
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

void TTarvixForm::OpenRecent(const QString& fileName) {
  const QString name = fileName;  // the list changes under the reference
  mru_.Remove(name);
  OpenProject(name);
  RefreshMru();
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
  return projectcommands::Enabled(Project(), command, services_.HasCompiler());
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

void TTarvixForm::ShowTimeMode() { bars_->CheckTimeMode(TSimulatedInputs::Current().VirtualTime); }

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
  bars_->UpdateAll();
  emit CommandStatesUpdated();
}

void TTarvixForm::UpdateMenu(QMenu* menu) {
  bars_->UpdateMenu(menu);
  // Looks at the disk: only when a menu opens (the item has no shortcut).
  if (QAction* a = Action(QStringLiteral("HelpTipItem"))) a->setEnabled(services_.TipAvailable());
}

int TTarvixForm::ItemRule(const TCommand& c) const {
  TTarvixPlusModel* project = Project();
  switch (c.action) {
    case TFrameAction::ShowWindow: return windows_->CanShow(c.window);
    case TFrameAction::NewCellEditor: return project && !project->Cells().empty() && windows_->CanShow(TWindowClass::ProgramCell);
    case TFrameAction::Cascade:
    case TFrameAction::TileHorizontally:
    case TFrameAction::TileVertically:
    case TFrameAction::CloseAll: return !mdi_->subWindowList().isEmpty();
    case TFrameAction::OptionsEnvironment:
    case TFrameAction::OptionsColors: return services_.HasOptionDialogs();
    case TFrameAction::About: return services_.HasAbout();
    default: return -1;
  }
}

// ---- windows -------------------------------------------------------------------------------

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

void TTarvixForm::CommandStatesChanged() {
  if (closing_) return;
  if (recovery_) recovery_->Sync();
  ScheduleIdle();
}

// ---- idle cycle ------------------------------------------------------------------------------

void TTarvixForm::ScheduleIdle() {
  if (!closing_) idle_->Schedule();
}

void TTarvixForm::RefreshStatusBar() { status_->Refresh(Project()); }

// ---- events ------------------------------------------------------------------------------------

bool TTarvixForm::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    ShowStatusText(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

void TTarvixForm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shown_) {
    shown_ = true;
    FirstShow();
  }
}

// ---- settings, desktop file, start-up and shut-down ------------------------------------------------

void TTarvixForm::ShowStatusBar(bool show) {
  statusBar()->setVisible(show);
  Action(QStringLiteral("ViewStatusbarItem"))->setChecked(show);
}

void TTarvixForm::ApplySettingsToWindow() {
  const TStationSettings& s = TStationSettings::Current();
  mru_.SetNames(s.mruFiles);
  RefreshMru();
  ShowStatusBar(s.statusBar);
  bars_->ShowToolBars(s.toolBars);
  ShowTimeMode();
  mainwindowlayout::Apply(*this, s, tree_->FittingWidth());
}

void TTarvixForm::CollectSettingsFromWindow() {
  TStationSettings& s = TStationSettings::Current();
  s.mruFiles = mru_.Names();
  s.statusBar = statusBar()->isVisible();
  s.toolBars = bars_->ToolBarsVisible();
  mainwindowlayout::Collect(*this, s);
}

void TTarvixForm::FirstShow() {
  ApplySettingsToWindow();
  const QString desktop = DesktopFileName();
  if (QFileInfo::exists(desktop)) ReadDesktop(desktop);
  windows_->CreateSavedPanels();
  RefreshTitle();
  // The splash time: then the panels, the keyboard and the tip of the day.
  QTimer::singleShot(TSplashForm::kSplashMilliseconds, this, [this] {
    services_.SplashDone();
    for (TToolWindow* tool : ToolWindows()) tool->show();
    activateWindow();
    const bool tips = services_.TipAvailable();
    if (QAction* tip = Action(QStringLiteral("HelpTipItem"))) tip->setEnabled(tips);
    if (tips && TStationSettings::Current().showTipsOfDay) services_.StartupTip(*this);
  });
  RefreshStatusBar();
  CommandStatesChanged();
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
