// TWindowManager: the windows inside the main window — the document windows
// in the MDI area and the simulator panels beside it. It opens them by class
// (through the window factory), finds, places, cascades and tiles them,
// hands them the project, and gathers and restores them for the desktop file.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "TDesktopFile.h"
#include "TWindowClass.h"

class QMainWindow;
class QMdiArea;
class QMdiSubWindow;
class QWidget;
class TMDIChildForm;
class TTarvixPlusModel;
class TToolWindow;

class TWindowManager : public QObject {
  Q_OBJECT

 public:
  // Sets the document area as the main window's central widget (the main
  // window is the panels' parent). project: the open project or null;
  // changed: command states may have changed.
  TWindowManager(QMainWindow& owner, std::function<TTarvixPlusModel*()> project, std::function<void()> changed);

  QMdiArea& Area() const { return mdi_; }

  // Qt's own parts of a window (scroll bars, the tool bar's overflow button)
  // come without names; assistive technology should still be told what they are.
  static void NameQtParts(QWidget* window);

  TMDIChildForm* ActiveDocument() const;
  std::vector<TMDIChildForm*> Documents() const;
  std::vector<TToolWindow*> ToolWindows() const;
  QMdiSubWindow* AddDocument(TMDIChildForm* form);

  QWidget* FindWindow(const QString& className) const;
  QWidget* ShowWindow(const QString& className, bool activate);
  // Whether the window can be shown now (registered, and a project open for
  // a document window).
  bool CanShow(TWindowClass window) const;
  // Shows a cell in the cell editor that shows it, else in any, else in a new one.
  void OpenCell(int32_t cellId);
  // The cell editor that shows the cell, else the active one, shows it
  // (raised, not activated); false when there is none.
  bool SynchronizeCell(int32_t cellId);
  void OpenTable(int32_t number);
  // A further cell editor, showing the cell.
  void NewCellEditor(int32_t cellId);
  // The panels the settings say were open at the last exit (hidden).
  void CreateSavedPanels();

  // "Überlappend": the document windows one title bar apart, at a useful size.
  void Cascade();
  // "Untereinander" (stacked vertically) and "Nebeneinander".
  void Tile(Qt::Orientation stacking);

  // The project changed: the panels follow it; document windows of the old
  // one that closed with it go now.
  void SetProject(TTarvixPlusModel* project);
  // The windows that stay open for the next project (terminal, data log).
  std::vector<QString> FollowingWindows() const;

  // The document windows for the desktop file, bottom to top (editors of a
  // project without a file are closed first: it is not reopened).
  std::vector<TDesktop::Window> DesktopWindows();
  // Opens the windows of a desktop file where they were.
  void RestoreWindows(const std::vector<TDesktop::Window>& windows);
  // Closes every window while the owner is whole (their signals reach it)
  // and while the project they view still exists.
  void CloseAll();

 private:
  TToolWindow* CreateToolWindow(const QString& className);
  int CascadeStep() const;
  TMDIChildForm* CreateDocument(TWindowClass window);

  QWidget& owner_;
  QMdiArea& mdi_;
  std::function<TTarvixPlusModel*()> project_;
  std::function<void()> changed_;
  std::vector<QPointer<TToolWindow>> toolWindows_;
};
