// TTarvixForm: the station's main window.
//
// An MDI frame with the project tree at the left, the menus and tool bars
// of the command table (TCommandBars), and a status bar (TStatusPanels).
// A menu item or tool button carries a command tag or a frame action;
// DoChildCommand routes a tag (frame first, then the tree when it has the
// focus, then the active document window) and IsCommandEnabled answers by
// the same order. The frame opens and closes the project, keeps the recent
// files and the desktop file (TDesktopFile), and serves the windows inside
// it (TStationFrame). Its parts: the window manager (the windows inside),
// the idle driver (the idle cycle and the simulation's host), the event
// watcher (TFrameEvents) and the program's services (TStationServices).
#pragma once

#include <QMainWindow>
#include <functional>
#include <memory>
#include <vector>

#include "TDesktopFile.h"
#include "TIdleDriver.h"
#include "TMruList.h"
#include "TStationFrame.h"
#include "TStatusPanels.h"
#include "TWindowManager.h"

class QAction;
class TCommandBars;
struct TCommand;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class TFrameEvents;
class TMDIChildForm;
class TProjectController;
class TStartPage;
class TStationServices;
class TRecoveryController;
class TTarvixPlusModel;
class TToolWindow;

class TTarvixForm : public QMainWindow, public TStationFrame {
  Q_OBJECT

 public:
  static constexpr const char* kTitle = "Marlix Tarvix Station";

  // The services reach the parts of the station the frame does not link
  // itself (not owned; they outlive the frame). None: nothing is offered.
  explicit TTarvixForm(TStationServices* services = nullptr, QWidget* parent = nullptr);
  ~TTarvixForm() override;

  // ---- the project --------------------------------------------------------------
  TTarvixPlusModel* Project() const override;
  TProjectController* Tree() const { return tree_; }
  QMdiArea* MdiArea() const { return mdi_; }
  // Opens a project (empty name: a new one); false when the current project
  // refused to close or the file could not be read.
  bool OpenProject(const QString& fileName);
  // Shows a project loaded elsewhere (a recovery copy) in place of the
  // current one; false when the current project refused to close.
  bool OpenProject(std::unique_ptr<TTarvixPlusModel> project);
  bool CloseProject();
  void RefreshTitle();
  // The page over the empty document area while no project is open.
  TStartPage* StartPage() const { return startPage_; }
  TMruList& Mru() { return mru_; }
  // The recovery copies of the open project.
  TRecoveryController& Recovery() const { return *recovery_; }

 signals:
  // The enabled states of the commands were refreshed (the idle cycle,
  // a menu opening): widgets of the frame that carry commands follow.
  void CommandStatesUpdated();

 public:
  // ---- commands --------------------------------------------------------------------
  void DoChildCommand(int32_t command, QObject* sender = nullptr);
  bool IsCommandEnabled(int32_t command);
  // Refreshes the enabled state of every tool button and menu item.
  void UpdateButtons();
  // Refreshes the items of a menu (recursively into submenus).
  void UpdateMenu(QMenu* menu);
  // The action of a menu item or tool button by its object name.
  QAction* Action(const QString& objectName) const;

  // ---- windows ---------------------------------------------------------------------
  TWindowManager& Windows() const { return *windows_; }
  TMDIChildForm* ActiveDocument() const { return windows_->ActiveDocument(); }
  std::vector<TMDIChildForm*> Documents() const { return windows_->Documents(); }
  std::vector<TToolWindow*> ToolWindows() const { return windows_->ToolWindows(); }
  QMdiSubWindow* AddDocument(TMDIChildForm* form) { return windows_->AddDocument(form); }
  void OpenComment() { ShowWindow(windowclass::Name(TWindowClass::CommentEditor), true); }
  void OpenTable(int32_t number) { windows_->OpenTable(number); }
  // The tree's AutoSynchronize: the cell in the editor that shows it or in
  // the active cell editor, focus kept in the tree.
  void SynchronizeCell(int32_t cellId);

  // TStationFrame
  QWidget* FindWindow(const QString& className) const override { return windows_->FindWindow(className); }
  QWidget* ShowWindow(const QString& className, bool activate = true) override { return windows_->ShowWindow(className, activate); }
  void OpenCell(int32_t cellId) override { windows_->OpenCell(cellId); }
  void ShowStatusText(const QString& text) override;
  void ShowPositionText(const QString& text) override { status_->ShowPosition(text); }
  void CommandStatesChanged() override;

  // "Echtzeit" or "Zeitraffer" for the simulation, and the check marks of
  // the menu items and buttons that choose it.
  void SetVirtualTime(bool on);
  void ShowTimeMode();

  // ---- idle cycle --------------------------------------------------------------------
  // Runs the idle cycle soon (coalesced); it repeats itself while the
  // simulation runs or a window needs idle time.
  void ScheduleIdle();
  // One pass: command states, status bar, one slice of stepping. True when
  // more idle time is wanted at once. During a program pause the idle timer
  // is armed for the pause's end instead.
  bool IdlePass(bool step = true) { return !closing_ && idle_->Pass(step); }

  // ---- start-up, desktop file, shut-down ---------------------------------------------
  // Settings, desktop file, title, splash timer: what the first showing does.
  void FirstShow();
  // In the current folder, named after the program.
  static QString DesktopFileName() { return TDesktopFile::DefaultName(); }
  bool WriteDesktop(const QString& fileName);
  bool ReadDesktop(const QString& fileName);
  // The status bar's panels: "Geändert" or empty, the hint or state text,
  // and the caret position of the text editor that has the keyboard.
  QString StatusPanel(int index) const { return status_->Text(index); }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Trigger(const TCommand& command, QAction* sender);
  // The rule of an item without a command (windows, options, help).
  int ItemRule(const TCommand& item) const;
  void RefreshMru();
  // Opens a project of the recent files (it leaves the list while open).
  void OpenRecent(const QString& fileName);
  void ShowStatusBar(bool show);
  void ApplySettingsToWindow();
  void CollectSettingsFromWindow();
  bool FrameCommand(int32_t command);
  int FrameEnabled(int32_t command) const;  // 1 yes, 0 no, -1 no rule
  void FileOpen();
  bool ReplaceProject(const std::function<bool(TTarvixPlusModel&)>& load, std::unique_ptr<TTarvixPlusModel> loaded);
  void NewCellEditor();
  void RefreshStatusBar();
  void RefreshStartPage();

  TStationServices& services_;
  std::unique_ptr<TCommandBars> bars_;
  QMdiArea* mdi_ = nullptr;
  TWindowManager* windows_ = nullptr;
  TStartPage* startPage_ = nullptr;
  TProjectController* tree_ = nullptr;
  TRecoveryController* recovery_ = nullptr;
  std::unique_ptr<TStatusPanels> status_;
  TMruList mru_;
  TIdleDriver* idle_ = nullptr;
  TFrameEvents* events_ = nullptr;
  bool shown_ = false;
  bool closing_ = false;
};
