// TProgramCellForm: the window in which the user draws one program cell.
//
// It shows the cell's drawing on a scrollable 2000 x 2000 surface, turns
// mouse gestures into edits through its TMouseTool and menu and palette
// commands into requests to the project model. It follows the model's
// notifications, whichever window caused them. Besides editing it shows the
// current values of the cell's blocks while a simulation runs, and zooms.
#pragma once

#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <memory>

#include "TMDIChildForm.h"
#include "TRect.h"

class QAction;
class QMenu;
class QScrollArea;
class QToolBar;
class TBlock;
class TBlockList;
class TCellPainter;
class TLiveValues;
class TMouseTool;

class TProgramCellForm : public TMDIChildForm {
  Q_OBJECT

 public:
  static constexpr double kMinZoom = 0.5;
  static constexpr double kMaxZoom = 2.0;
  static constexpr int kLiveIntervalMs = 100;
  static constexpr int kHelpContext = 10000;

  explicit TProgramCellForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TProgramCellForm() override;

  // TMDIChildForm
  void DoCommand(int32_t command, QObject* sender) override;
  bool IsCommandEnabled(int32_t command) override;
  void ModelDestroyed() override;
  void CommitEdits() override;
  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void SettingsChanged() override;
  void ReadDesktop(QDataStream& in) override;
  void WriteDesktop(QDataStream& out) const override;
  int32_t HelpContext() const override { return kHelpContext; }
  int32_t ShownElement() const override;
  void ShowElement(int32_t cellId) override;
  // Selects one block of the shown cell and scrolls it into view (the
  // program checks' result window jumps here); false for a block that the
  // cell does not hold.
  Q_INVOKABLE bool SelectBlock(int blockId);

  TBlockList* Cell() const { return cell_; }
  TMouseTool& Tool() const { return *tool_; }
  TCellPainter* Painter() const { return painter_; }
  QScrollArea* Scroller() const { return scroller_; }
  // The part of the cell the scroll box shows, in cell pixels.
  TRect VisibleRect() const;
  QString Caption() const;

  bool LiveValuesOn() const { return liveOn_; }
  const TLiveValues& LiveValues() const { return *live_; }
  double Zoom() const;
  // Zooms around the middle of the view: the cell point there stays there.
  void SetZoom(double zoom);
  // Zooms around a point of the scroll box's viewport (the mouse for Ctrl+wheel).
  void ZoomAround(double zoom, QPoint viewportPos);
  bool AutoScrolling() const { return autoScroll_.isActive(); }
  int AutoScrollInterval() const { return autoScrollInterval_; }

  // The popup menus, by their item names, for the frame's tests and help.
  QMenu* LocalMenu() const { return localMenu_; }
  QMenu* BlockMenu() const { return blockMenu_; }
  QMenu* WireMenu() const { return wireMenu_; }
  QMenu* InputMenu() const { return inputMenu_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  QMenu* MakeMenu(const QString& name);
  QAction* AddItem(QMenu* menu, const QString& name, const QString& caption, int32_t tag,
                   const QKeySequence& shortcut = {});
  void EnableItems(QMenu* menu);
  void CellPressed(QPoint p, Qt::MouseButton button, QPoint globalPos);
  void CellMoved(QPoint p, QPoint widgetPos);
  void CellReleased(QPoint p, Qt::MouseButton button);
  void CellDoubleClicked(QPoint p, Qt::MouseButton button, QPoint globalPos);
  // A double-click on a block: no gesture goes on, its properties open.
  void OpenBlockProperties(TBlock* block);
  TBlock* BlockAt(QPoint p) const;
  // The zoom step after (in) or before the current zoom.
  double NextZoomStep(bool in) const;
  int ExecuteInputMenu(const QStringList& captions, const QString& flags, QPoint at);
  void RepaintDirty();
  void UpdateDescription();
  // The marks of the last program check for the shown cell's blocks.
  void RefreshFindings();
  void UpdateCaption();
  // The window's own tool buttons follow IsCommandEnabled.
  void UpdateToolBar();
  void SwitchAfterDeletion(int32_t deletedId);
  void Paste();
  void ScrollToPastePoint(QPoint p);
  void AutoScrollStep();
  void StopAutoScroll();
  void RefreshLiveValues();
  void SetLiveValues(bool on);
  void UpdateBusy();
  bool InViewport(QPoint widgetPos) const;
  // The block and wire of the last right click, if they still exist.
  class TBlock* RightBlock() const;
  class TInputLine* RightWire() const;

  TBlockList* cell_ = nullptr;
  std::unique_ptr<TMouseTool> tool_;
  std::unique_ptr<TLiveValues> live_;
  QToolBar* toolBar_ = nullptr;
  QAction* liveAction_ = nullptr;
  QScrollArea* scroller_ = nullptr;
  TCellPainter* painter_ = nullptr;
  QMenu* localMenu_ = nullptr;
  QMenu* blockMenu_ = nullptr;
  QMenu* wireMenu_ = nullptr;
  QMenu* inputMenu_ = nullptr;
  bool busy_ = false;
  // The project index of the shown cell, kept for the switch after its deletion.
  int shownIndex_ = 0;
  int32_t rightBlockId_ = 0;
  int32_t rightWireTarget_ = 0;
  int rightWireSlot_ = -1;
  int rightWireHitIndex_ = -1;
  int rightWireHitKind_ = 0;
  // Auto-scroll while a gesture drags past the edge.
  QTimer autoScroll_;
  int autoScrollInterval_ = 150;
  QPoint lastViewportPos_;
  // Live values.
  bool liveOn_ = false;
  // The click that started the wire being drawn (when and where), so the
  // press of a double-click's second click is told from a click that
  // finishes the wire; and that the double-click event after such a press
  // is done with.
  quint64 wireStartTime_ = 0;
  QPoint wireStartPoint_;
  bool doubleClickDone_ = false;
  // The cell point the last zoom kept in place, where in the viewport, and
  // the scroll position it left: zooming on from there keeps that point even
  // where a smaller drawing had to clamp the scroll position.
  QPointF zoomAnchor_;
  QPoint zoomView_;
  QPoint zoomScroll_{-1, -1};
  QTimer liveTimer_;
  // Scroll positions read from the desktop before the window was shown.
  int pendingH_ = -1;
  int pendingV_ = -1;
};
