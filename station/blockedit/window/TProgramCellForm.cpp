#include "TProgramCellForm.h"

#include <QApplication>
#include <QAction>
#include <QCloseEvent>
#include <QDataStream>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "CellEditorSettings.h"
#include "Commands.h"
#include "Notifications.h"
#include "TBlockList.h"
#include "TCellPainter.h"
#include "TChangeRecord.h"
#include "TCheckResults.h"
#include "TClipboard.h"
#include "TInputLine.h"
#include "TLiveValues.h"
#include "TMouseTool.h"
#include "TStationFrame.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

// The zoom steps Ctrl+plus and Ctrl+minus walk through.
constexpr double kZoomSteps[] = {0.5, 0.75, 1.0, 1.25, 1.5, 2.0};

bool IsBlockChange(int32_t code) { return (code >= 2015 && code <= 2018) || (code >= 2030 && code <= 2032); }

// An accessible name is the caption without its accelerator ampersand.
QString Plain(QString caption) {
  caption.remove(QRegularExpression(QStringLiteral("&(?!&)")));
  return caption;
}

}  // namespace

TProgramCellForm::TProgramCellForm(TTarvixPlusModel* model, QWidget* parent)
    : TMDIChildForm(model, parent), tool_(std::make_unique<TMouseTool>(model)), live_(std::make_unique<TLiveValues>()) {
  setObjectName(QStringLiteral("ProgramCellForm"));
  SetCaption(QStringLiteral("Zelleneditor"));

  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("CellToolBar"));
  toolBar_->setAccessibleName(QStringLiteral("Zellenansicht"));
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  liveAction_ = toolBar_->addAction(QStringLiteral("&Live-Werte"));
  liveAction_->setObjectName(QStringLiteral("LiveValuesButton"));
  liveAction_->setCheckable(true);
  liveAction_->setData(cmd::kLiveValues);
  liveAction_->setToolTip(QStringLiteral("Aktuelle Blockwerte während der Simulation anzeigen"));
  QAction* zoomOut = toolBar_->addAction(QStringLiteral("Verkleinern"));
  zoomOut->setObjectName(QStringLiteral("ZoomOutButton"));
  zoomOut->setData(cmd::kZoomOut);
  QAction* zoomIn = toolBar_->addAction(QStringLiteral("Vergrößern"));
  zoomIn->setObjectName(QStringLiteral("ZoomInButton"));
  zoomIn->setData(cmd::kZoomIn);
  for (QAction* a : toolBar_->actions()) {
    connect(a, &QAction::triggered, this, [this, a] {
      const int32_t tag = a->data().toInt();
      if (IsCommandEnabled(tag)) DoCommand(tag, a);
      UpdateToolBar();
    });
    if (QWidget* w = toolBar_->widgetForAction(a)) w->setAccessibleName(Plain(a->text()));
  }

  scroller_ = new QScrollArea(this);
  scroller_->setObjectName(QStringLiteral("CellScroller"));
  scroller_->setFrameShape(QFrame::NoFrame);
  scroller_->setWidgetResizable(false);
  painter_ = new TCellPainter;
  painter_->SetTool(tool_.get());
  painter_->SetLiveValues(live_.get());
  scroller_->setWidget(painter_);
  scroller_->setAccessibleName(QStringLiteral("Zellenfläche"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(scroller_);

  localMenu_ = MakeMenu(QStringLiteral("LocalMenu"));
  AddItem(localMenu_, QStringLiteral("LocalEditCutItem"), QStringLiteral("Ausschneiden"), cmd::kCut, QKeySequence(QStringLiteral("Ctrl+X")));
  AddItem(localMenu_, QStringLiteral("LocalEditCopyItem"), QStringLiteral("&Kopieren"), cmd::kCopy, QKeySequence(QStringLiteral("Ctrl+C")));
  AddItem(localMenu_, QStringLiteral("LocalEditPatseItem"), QStringLiteral("Einfügen"), cmd::kPaste, QKeySequence(QStringLiteral("Ctrl+V")));
  AddItem(localMenu_, QStringLiteral("LocalEditClearItem"), QStringLiteral("Löschen"), cmd::kClear, QKeySequence(Qt::Key_Delete));
  localMenu_->addSeparator();
  AddItem(localMenu_, QStringLiteral("LocalToggleBrkptItem"), QStringLiteral("Haltepunkt umschalten"), cmd::kToggleBreakpoint,
          QKeySequence(QStringLiteral("Ctrl+F8")));
  AddItem(localMenu_, QStringLiteral("LocalGotoCellItem"), QStringLiteral("Bis hierher ausführen"), cmd::kRunToCell,
          QKeySequence(QStringLiteral("Shift+F9")));

  blockMenu_ = MakeMenu(QStringLiteral("GraphBlockPopup"));
  AddItem(blockMenu_, QStringLiteral("LocalPropertiesItem"), QStringLiteral("Eigenschaften..."), cmd::kBlockProperties);
  blockMenu_->addSeparator();
  AddItem(blockMenu_, QStringLiteral("LocalBlockHelpItem"), QStringLiteral("Hilfe zum Blocktyp"), cmd::kBlockHelp);
  AddItem(blockMenu_, QStringLiteral("LocalSelectGlyphItem"), QStringLiteral("Bitmap ändern..."), cmd::kBlockBitmap);
  blockMenu_->addSeparator();
  AddItem(blockMenu_, QStringLiteral("LocalAddWatchItem"), QStringLiteral("Blockinhalt überwachen"), cmd::kAddWatch);

  wireMenu_ = MakeMenu(QStringLiteral("LinePopupMenu"));
  AddItem(wireMenu_, QStringLiteral("SplitConnectionItem"), QStringLiteral("Verbindung trennen"), cmd::kSplitConnection);
  AddItem(wireMenu_, QStringLiteral("DeleteBendItem"), QStringLiteral("Knickpunkt entfernen"), cmd::kDeleteBend);

  // The input menu answers its choice instead of running a command.
  inputMenu_ = new QMenu(this);
  inputMenu_->setObjectName(QStringLiteral("DLLBlockPopupMenu"));
  inputMenu_->setAccessibleName(QStringLiteral("Eingang wählen"));
  for (int i = 0; i < 8; ++i) {
    QAction* a = inputMenu_->addAction(QString());
    a->setObjectName(QStringLiteral("BlockMenuItem%1").arg(i));
    a->setData(i);
  }

  tool_->SetInputMenuCallback([this](const QStringList& c, const QString& f, QPoint at) { return ExecuteInputMenu(c, f, at); });
  connect(painter_, &TCellPainter::CellMousePressed, this, &TProgramCellForm::CellPressed);
  connect(painter_, &TCellPainter::CellMouseMoved, this, &TProgramCellForm::CellMoved);
  connect(painter_, &TCellPainter::CellMouseReleased, this, &TProgramCellForm::CellReleased);
  connect(painter_, &TCellPainter::CellMouseDoubleClicked, this, &TProgramCellForm::CellDoubleClicked);
  connect(painter_, &TCellPainter::ZoomWheel, this, [this](int steps, QPoint widgetPos) {
    ZoomAround(NextZoomStep(steps > 0), painter_->mapTo(scroller_->viewport(), widgetPos));
  });

  autoScroll_.setSingleShot(false);
  connect(&autoScroll_, &QTimer::timeout, this, &TProgramCellForm::AutoScrollStep);
  liveTimer_.setInterval(kLiveIntervalMs);
  connect(&liveTimer_, &QTimer::timeout, this, &TProgramCellForm::RefreshLiveValues);

  SettingsChanged();
  UpdateToolBar();
  if (model && !model->Cells().empty()) ShowElement(model->Cells().front()->CellId());
  else UpdateCaption();
  resize(600, 400);
}

TProgramCellForm::~TProgramCellForm() {
  // The tool may still hold a bent copy for a cell that is going away.
  tool_->SetModel(nullptr);
  tool_->SetCell(nullptr);
}

QMenu* TProgramCellForm::MakeMenu(const QString& name) {
  auto* menu = new QMenu(this);
  menu->setObjectName(name);
  connect(menu, &QMenu::aboutToShow, this, [this, menu] { EnableItems(menu); });
  return menu;
}

QAction* TProgramCellForm::AddItem(QMenu* menu, const QString& name, const QString& caption, int32_t tag,
                                   const QKeySequence& shortcut) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  a->setData(tag);
  // Shown in the menu; the keys themselves reach the window as key presses
  // (or the main window's own menu items) so they never become ambiguous.
  if (!shortcut.isEmpty()) {
    a->setShortcut(shortcut);
    a->setShortcutContext(Qt::WidgetShortcut);
  }
  connect(a, &QAction::triggered, this, [this, a] { DoCommand(a->data().toInt(), a); });
  return a;
}

void TProgramCellForm::EnableItems(QMenu* menu) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    if (a->menu()) {
      EnableItems(a->menu());
      continue;
    }
    const int32_t tag = a->data().toInt();
    a->setEnabled(tag == cmd::kSubmenu || IsCommandEnabled(tag));
  }
}

void TProgramCellForm::UpdateToolBar() {
  for (QAction* a : toolBar_->actions()) a->setEnabled(IsCommandEnabled(a->data().toInt()));
  liveAction_->setChecked(liveOn_);
}

// ---- cells ------------------------------------------------------------------

int32_t TProgramCellForm::ShownElement() const { return cell_ ? cell_->CellId() : 0; }

void TProgramCellForm::ShowElement(int32_t cellId) {
  TBlockList* cell = Model() ? Model()->FindCell(cellId) : nullptr;
  if (cell == cell_ && cell) return;
  tool_->SetCell(nullptr);
  RepaintDirty();
  cell_ = cell;
  tool_->SetCell(cell_);
  live_->Clear(nullptr);
  painter_->SetCell(cell_);
  shownIndex_ = cell_ && Model() ? Model()->CellIndex(cell_->CellId()) : 0;
  painter_->SetErrorBlockId(Model() ? Model()->ErrorBlockId() : 0);
  UpdateBusy();
  UpdateCaption();
  RefreshFindings();
  UpdateDescription();
  painter_->update();
}

void TProgramCellForm::RefreshFindings() {
  std::vector<TFinding> mine;
  const std::vector<TFinding>* all = Model() ? TCheckResults::Last(Model()) : nullptr;
  if (all && cell_)
    for (const TFinding& f : *all) {
      const TBlock* b = f.blockId && f.cellId == cell_->CellId() ? cell_->FindBlock(f.blockId) : nullptr;
      if (b && b->Id() == f.blockId) mine.push_back(f);
    }
  painter_->SetFindings(std::move(mine));
}

bool TProgramCellForm::SelectBlock(int blockId) {
  TBlock* block = cell_ ? cell_->FindBlock(blockId) : nullptr;
  if (!block || block->Id() != blockId) return false;
  tool_->SetSelection(TBlockSelection{block});
  const QRect r = painter_->ToWidget(block->Bounds().ToQRect());
  scroller_->ensureVisible(r.center().x(), r.center().y(), r.width() / 2 + 20, r.height() / 2 + 20);
  painter_->update();
  UpdateDescription();
  scroller_->setFocus();
  return true;
}

QString TProgramCellForm::Caption() const {
  QString caption = QStringLiteral("Programmzelleneditor");
  if (cell_) {
    const bool brk = Model() && Model()->HasBreakpoint(cell_->CellId());
    caption += QStringLiteral(" - %1%2").arg(cell_->Name(), brk ? QStringLiteral(" [Haltepunkt]") : QString());
  }
  return caption;
}

void TProgramCellForm::UpdateCaption() {
  const QString caption = Caption();
  SetCaption(caption);
  painter_->setAccessibleName(caption);
}

TRect TProgramCellForm::VisibleRect() const {
  const QWidget* vp = scroller_->viewport();
  const QRect r(scroller_->horizontalScrollBar()->value(), scroller_->verticalScrollBar()->value(), vp->width(), vp->height());
  const TRect area = CellEditorSettings::Current().cellArea;
  TRect v = painter_->ToCell(r);
  v.right = std::min(v.right, area.right);
  v.bottom = std::min(v.bottom, area.bottom);
  return v;
}

void TProgramCellForm::SwitchAfterDeletion(int32_t deletedIndex) {
  const auto& cells = Model()->Cells();
  if (cells.empty()) {
    tool_->SetCell(nullptr);
    cell_ = nullptr;
    painter_->SetCell(nullptr);
    CloseWindow();
    return;
  }
  const int index = std::clamp(deletedIndex > 0 ? deletedIndex - 1 : 0, 0, static_cast<int>(cells.size()) - 1);
  // The deleted cell is gone from the list already: drop it before anything
  // else looks at it.
  tool_->SetCell(nullptr);
  cell_ = nullptr;
  ShowElement(cells[static_cast<size_t>(index)]->CellId());
}

// ---- mouse --------------------------------------------------------------------

void TProgramCellForm::UpdateBusy() {
  busy_ = tool_->Busy();
  // A gesture captures the mouse, so that a wire being drawn (no button
  // held) still follows the mouse over the scroll bars and auto-scrolls.
  const bool capture = busy_ && painter_->isVisible();
  if (capture && QWidget::mouseGrabber() != painter_) painter_->grabMouse();
  else if (!capture && QWidget::mouseGrabber() == painter_) painter_->releaseMouse();
}

void TProgramCellForm::RepaintDirty() {
  painter_->RepaintCell(tool_->TakeDirty());
  UpdateDescription();
}

void TProgramCellForm::UpdateDescription() {
  // What a screen reader says about the surface: the cell's content and the gesture going on.
  QString text;
  if (cell_) {
    text = QStringLiteral("%1 Blöcke, %2 ausgewählt").arg(cell_->Count()).arg(tool_->Selection().size());
    if (tool_->DrawingWire()) text += QStringLiteral(", Verbindung wird gezeichnet");
    else if (tool_->BendEditing()) text += QStringLiteral(", Knickpunkte werden bearbeitet");
    else if (tool_->Moving()) text += QStringLiteral(", Blöcke werden verschoben");
    // The marked blocks' findings, as the tool tips show them.
    for (const TFinding& f : painter_->Findings())
      text += QStringLiteral("; Block %1: %2 %3: %4").arg(f.BlockNumber()).arg(SeverityName(f.severity), f.code, f.text);
  }
  if (painter_->accessibleDescription() != text) painter_->setAccessibleDescription(text);
}

bool TProgramCellForm::InViewport(QPoint widgetPos) const {
  return scroller_->viewport()->rect().contains(painter_->mapTo(scroller_->viewport(), widgetPos));
}

void TProgramCellForm::CellPressed(QPoint p, Qt::MouseButton button, QPoint globalPos) {
  scroller_->setFocus();
  if (!cell_ || !Model()) return;
  if (button == Qt::RightButton && tool_->DrawingWire()) {
    tool_->CancelWire();
    StopAutoScroll();
    UpdateBusy();
    RepaintDirty();
    return;
  }
  if (button == Qt::LeftButton) {
    if (Model()->IsSimulating()) return;
    doubleClickDone_ = false;
    // The second press of a double-click on the block whose first click
    // started a wire: the user means the block's properties, not a wire to
    // itself.
    const quint64 since = painter_->LastMouseTime() - wireStartTime_;
    if (tool_->DrawingWire() && tool_->WireBeingDrawn() && wireStartTime_ != 0 &&
        since <= static_cast<quint64>(QApplication::doubleClickInterval()) && (p - wireStartPoint_).manhattanLength() <= 8) {
      TBlock* block = BlockAt(p);
      if (block && block->Id() == tool_->WireBeingDrawn()->source) {
        doubleClickDone_ = true;
        OpenBlockProperties(block);
        return;
      }
    }
    tool_->MouseDown(p);
    UpdateBusy();
    RepaintDirty();
    if (TStationFrame* frame = TStationFrame::Current()) frame->CommandStatesChanged();
    return;
  }
  if (button != Qt::RightButton || busy_ || tool_->Moving() || tool_->DrawingWire() || tool_->BendEditing()) return;
  rightBlockId_ = 0;
  rightWireTarget_ = 0;
  rightWireSlot_ = -1;
  rightWireHitIndex_ = -1;
  rightWireHitKind_ = 0;
  for (int i = 0; i < cell_->Count(); ++i)
    if (cell_->Items(i)->Bounds().Contains(p)) {
      rightBlockId_ = cell_->Items(i)->Id();
      break;
    }
  if (rightBlockId_) {
    blockMenu_->popup(globalPos);
    return;
  }
  for (int i = 0; i < cell_->Count(); ++i) {
    int slot = -1;
    if (TInputLine* w = cell_->Items(i)->FindWireAt(p, slot)) {
      rightWireTarget_ = cell_->Items(i)->Id();
      rightWireSlot_ = slot;
      rightWireHitIndex_ = w->hitIndex;
      rightWireHitKind_ = w->hitKind;
      wireMenu_->popup(globalPos);
      return;
    }
  }
  localMenu_->popup(globalPos);
}

void TProgramCellForm::CellMoved(QPoint p, QPoint widgetPos) {
  if (!cell_ || !(busy_ || tool_->DrawingWire())) return;
  lastViewportPos_ = painter_->mapTo(scroller_->viewport(), widgetPos);
  if (!InViewport(widgetPos)) {
    if (!autoScroll_.isActive()) {
      autoScrollInterval_ = 150;
      autoScroll_.start(autoScrollInterval_);
    }
    return;
  }
  StopAutoScroll();
  tool_->MouseMove(p);
  RepaintDirty();
}

void TProgramCellForm::CellReleased(QPoint p, Qt::MouseButton button) {
  if (button != Qt::LeftButton || !cell_ || !busy_) return;
  StopAutoScroll();
  const bool drawing = tool_->DrawingWire();
  tool_->MouseUp(p);
  if (!drawing && tool_->DrawingWire()) {
    wireStartTime_ = painter_->LastMouseTime();
    wireStartPoint_ = p;
  }
  UpdateBusy();
  RepaintDirty();
  if (TStationFrame* frame = TStationFrame::Current()) frame->CommandStatesChanged();
}

void TProgramCellForm::CellDoubleClicked(QPoint p, Qt::MouseButton button, QPoint globalPos) {
  (void)globalPos;
  // The press before this event opened the properties already.
  if (doubleClickDone_) {
    doubleClickDone_ = false;
    return;
  }
  // On the empty surface the second press did its ordinary work (a bend
  // while drawing); only a block opens its properties.
  if (button != Qt::LeftButton || !cell_ || !Model() || Model()->IsSimulating()) return;
  if (TBlock* block = BlockAt(p); block && !tool_->DrawingWire()) OpenBlockProperties(block);
}

TBlock* TProgramCellForm::BlockAt(QPoint p) const {
  if (!cell_) return nullptr;
  for (int i = 0; i < cell_->Count(); ++i)
    if (cell_->Items(i)->Bounds().Contains(p)) return cell_->Items(i);
  return nullptr;
}

void TProgramCellForm::OpenBlockProperties(TBlock* block) {
  // The properties dialog takes the mouse: no gesture may wait for a
  // release that goes to it.
  tool_->AbortGesture();
  StopAutoScroll();
  UpdateBusy();
  RepaintDirty();
  rightBlockId_ = block->Id();
  if (IsCommandEnabled(cmd::kBlockProperties)) DoCommand(cmd::kBlockProperties, painter_);
  if (TStationFrame* frame = TStationFrame::Current()) frame->CommandStatesChanged();
}

void TProgramCellForm::StopAutoScroll() {
  autoScroll_.stop();
  autoScrollInterval_ = 150;
}

void TProgramCellForm::AutoScrollStep() {
  if (!busy_ && !tool_->DrawingWire()) {
    StopAutoScroll();
    return;
  }
  autoScrollInterval_ = std::max(20, autoScrollInterval_ - 30);
  autoScroll_.setInterval(autoScrollInterval_);
  const QRect vp = scroller_->viewport()->rect();
  const int step = static_cast<int>(std::lround(2 * CellEditorSettings::Current().gridSize * painter_->Zoom()));
  QScrollBar* h = scroller_->horizontalScrollBar();
  QScrollBar* v = scroller_->verticalScrollBar();
  if (lastViewportPos_.x() < vp.left()) h->setValue(h->value() - step);
  else if (lastViewportPos_.x() > vp.right()) h->setValue(h->value() + step);
  if (lastViewportPos_.y() < vp.top()) v->setValue(v->value() - step);
  else if (lastViewportPos_.y() > vp.bottom()) v->setValue(v->value() + step);
  // The surface moved under the mouse: the gesture follows the cell point now under it.
  const QPoint widgetPos = painter_->mapFrom(scroller_->viewport(), lastViewportPos_);
  tool_->MouseMove(painter_->ToCell(widgetPos));
  RepaintDirty();
}

int TProgramCellForm::ExecuteInputMenu(const QStringList& captions, const QString& flags, QPoint at) {
  const QList<QAction*> items = inputMenu_->actions();
  for (int i = 0; i < items.size(); ++i) {
    QAction* a = items[i];
    const bool used = i < captions.size();
    a->setVisible(used);
    a->setText(used ? captions[i] : QString());
    a->setEnabled(used && !(i < flags.size() && flags[i] == QLatin1Char('*')));
  }
  const QPoint global = painter_->mapToGlobal(painter_->ToWidget(QRect(at, QSize(1, 1))).center());
  // The menu needs the mouse for itself; the gesture takes it back afterwards.
  if (QWidget::mouseGrabber() == painter_) painter_->releaseMouse();
  QAction* chosen = inputMenu_->exec(global);
  UpdateBusy();
  return chosen ? chosen->data().toInt() : TMouseTool::kNoChoice;
}

TBlock* TProgramCellForm::RightBlock() const {
  TBlock* b = cell_ && rightBlockId_ ? cell_->FindBlock(rightBlockId_) : nullptr;
  return b && b->Id() == rightBlockId_ ? b : nullptr;
}

TInputLine* TProgramCellForm::RightWire() const {
  TBlock* b = cell_ && rightWireTarget_ ? cell_->FindBlock(rightWireTarget_) : nullptr;
  return b && b->Id() == rightWireTarget_ ? b->GetInput(rightWireSlot_) : nullptr;
}

// ---- commands -----------------------------------------------------------------

bool TProgramCellForm::IsCommandEnabled(int32_t command) {
  TTarvixPlusModel* m = Model();
  // Viewing commands stay available whatever runs.
  if (command == cmd::kLiveValues) return m && cell_ && (m->IsSimulating() || liveOn_);
  if (command == cmd::kZoomIn) return Zoom() < kMaxZoom;
  if (command == cmd::kZoomOut) return Zoom() > kMinZoom;
  if (m && m->IsSimulating() && command != cmd::kToggleBreakpoint && command != cmd::kRunToCell && command != cmd::kAddWatch &&
      command != cmd::kBlockHelp)
    return false;
  if (cmd::IsInsertBlock(command) || command == cmd::kInsertTextBlock) return m && cell_;
  const bool selected = !tool_->Selection().empty() && !tool_->Moving();
  switch (command) {
    case cmd::kPrint: return m && cell_;
    case cmd::kUndo: return m && m->CanUndo() && !tool_->BlocksUndo();
    case cmd::kRedo: return m && m->CanRedo() && !tool_->BlocksUndo();
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kClear: return m && cell_ && selected;
    case cmd::kPaste: return m && cell_ && TClipboard::Has(TClipboard::kBlocks);
    case cmd::kToggleBreakpoint: return m && cell_;
    case cmd::kRunToCell: return m && cell_ && m->Simulation().CanStart();
    case cmd::kAddWatch: {
      const TBlock* b = RightBlock();
      return m && b && b->IsWatchable();
    }
    case cmd::kInsertCell: return m != nullptr;
    case cmd::kBlockProperties:
    case cmd::kBlockBitmap: {
      const TBlock* b = RightBlock();
      return m && b && b->HasData(command == cmd::kBlockProperties ? 0 : 1);
    }
    case cmd::kBlockHelp: return RightBlock() != nullptr;
    case cmd::kSplitConnection: return m && RightWire() != nullptr;
    case cmd::kDeleteBend: {
      const TInputLine* w = RightWire();
      return m && w && rightWireHitKind_ == TInputLine::kHitPoint && rightWireHitIndex_ >= 1 &&
             rightWireHitIndex_ <= w->pointCount - 2;
    }
    case cmd::kAlignLeft:
    case cmd::kAlignTop:
    case cmd::kAlignRight:
    case cmd::kAlignBottom: return m && cell_ && tool_->Selection().size() > 1 && !tool_->Moving();
    default: return false;
  }
}

void TProgramCellForm::DoCommand(int32_t command, QObject* sender) {
  TTarvixPlusModel* m = Model();
  if (command == cmd::kZoomIn || command == cmd::kZoomOut) {
    SetZoom(NextZoomStep(command == cmd::kZoomIn));
    return;
  }
  if (command == cmd::kLiveValues) {
    SetLiveValues(!liveOn_ && m && m->IsSimulating());
    return;
  }
  if (!m) return;
  if (cmd::IsInsertBlock(command) || command == cmd::kInsertTextBlock) {
    if (!cell_) return;
    if (QMdiSubWindow* sub = SubWindow(); sub && sub->isMinimized()) sub->showNormal();
    if (command == cmd::kInsertTextBlock) m->InsertTextBlock(cell_->CellId(), VisibleRect());
    else m->InsertBlock(cell_->CellId(), cmd::BlockTypeOf(command), VisibleRect());
    return;
  }
  switch (command) {
    case cmd::kPrint:
      if (cell_) m->Print(cell_->CellId());
      break;
    case cmd::kUndo:
      if (!tool_->BlocksUndo()) m->Undo();
      break;
    case cmd::kRedo:
      if (!tool_->BlocksUndo()) m->Redo();
      break;
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kClear: {
      if (!cell_ || tool_->Selection().empty()) break;
      const TBlockSelection selection = tool_->Selection();
      if (command != cmd::kClear) m->CopyBlocks(cell_->CellId(), selection);
      if (command != cmd::kCopy) {
        tool_->ClearSelection();
        RepaintDirty();
        m->DeleteBlocks(cell_->CellId(), selection);
      }
      break;
    }
    case cmd::kPaste: Paste(); break;
    case cmd::kSelectBlocks: {
      if (!cell_ || !sender) break;
      TBlockSelection selection;
      for (const QVariant& id : sender->property("blockIds").toList())
        if (TBlock* b = cell_->FindBlock(id.toInt()); b && b->Id() == id.toInt()) selection.push_back(b);
      tool_->SetSelection(selection);
      if (!selection.empty()) ScrollToPastePoint(selection.front()->Bounds().TopLeft());
      break;
    }
    case cmd::kToggleBreakpoint:
      if (cell_) m->ToggleBreakpoint(cell_->CellId());
      break;
    case cmd::kRunToCell:
      if (cell_) m->RunToCell(cell_->CellId());
      break;
    case cmd::kAddWatch:
      if (const TBlock* b = RightBlock()) m->AddWatch(b->Id());
      break;
    case cmd::kInsertCell:
      m->NewCell(cell_ ? m->CellIndex(cell_->CellId()) + 1 : static_cast<int>(m->Cells().size()));
      break;
    case cmd::kBlockProperties:
    case cmd::kBlockBitmap:
      if (const TBlock* b = RightBlock(); b && cell_) m->EditBlock(cell_->CellId(), command == cmd::kBlockProperties ? 0 : 1, b->Id());
      break;
    case cmd::kBlockHelp:
      if (const TBlock* b = RightBlock()) b->ShowHelp();
      break;
    case cmd::kSplitConnection:
      if (RightWire()) m->RemoveWire(rightWireTarget_, rightWireSlot_);
      break;
    case cmd::kDeleteBend:
      tool_->LineDeleteBend(rightWireTarget_, rightWireSlot_, rightWireHitIndex_);
      break;
    case cmd::kAlignLeft:
    case cmd::kAlignTop:
    case cmd::kAlignRight:
    case cmd::kAlignBottom: {
      if (!cell_ || tool_->Selection().size() < 2) break;
      const TBlockSelection selection = tool_->Selection();
      tool_->ClearSelection();
      RepaintDirty();
      m->AlignBlocks(cell_->CellId(), selection, command - cmd::kAlignLeft);
      break;
    }
    default: TMDIChildForm::DoCommand(command, sender); return;
  }
  RepaintDirty();
  if (TStationFrame* frame = TStationFrame::Current()) frame->CommandStatesChanged();
}

void TProgramCellForm::Paste() {
  if (!cell_) return;
  tool_->ClearSelection();
  RepaintDirty();
  TBlockSelection pasted;
  const QPoint at = Model()->PasteBlocks(cell_->CellId(), pasted);
  if (pasted.empty()) return;
  tool_->SetSelection(pasted);
  RepaintDirty();
  ScrollToPastePoint(at);
}

void TProgramCellForm::ScrollToPastePoint(QPoint p) {
  const TRect v = VisibleRect();
  const double z = painter_->Zoom();
  if (p.x() < v.left || p.x() > v.right - 50)
    scroller_->horizontalScrollBar()->setValue(static_cast<int>(std::lround((p.x() - 200) * z)));
  if (p.y() < v.top || p.y() > v.bottom - 50)
    scroller_->verticalScrollBar()->setValue(static_cast<int>(std::lround((p.y() - 200) * z)));
}

// ---- zoom and live values -------------------------------------------------------

double TProgramCellForm::Zoom() const { return painter_->Zoom(); }

double TProgramCellForm::NextZoomStep(bool in) const {
  const double z = Zoom();
  double next = z;
  if (in) {
    for (double s : kZoomSteps)
      if (s > z + 1e-9) return s;
  } else {
    for (double s : kZoomSteps)
      if (s < z - 1e-9) next = s;
  }
  return next;
}

void TProgramCellForm::SetZoom(double zoom) {
  const QSize vp = scroller_->viewport()->size();
  ZoomAround(zoom, QPoint(vp.width() / 2, vp.height() / 2));
}

void TProgramCellForm::ZoomAround(double zoom, QPoint viewportPos) {
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  const double old = painter_->Zoom();
  if (std::abs(zoom - old) < 1e-9) return;
  QScrollBar* h = scroller_->horizontalScrollBar();
  QScrollBar* v = scroller_->verticalScrollBar();
  const QPoint scroll(h->value(), v->value());
  // The scroll bars coming or going move the middle by a bar's width.
  const bool samePlace = scroll == zoomScroll_ && (viewportPos - zoomView_).manhattanLength() <= 40;
  const QPointF anchor = samePlace ? zoomAnchor_ : QPointF(painter_->mapFrom(scroller_->viewport(), viewportPos)) / old;
  painter_->SetZoom(zoom);
  const int g = std::max(1, static_cast<int>(std::lround(CellEditorSettings::Current().gridSize * zoom)));
  h->setSingleStep(g);
  v->setSingleStep(g);
  h->setValue(static_cast<int>(std::lround(anchor.x() * zoom - viewportPos.x())));
  v->setValue(static_cast<int>(std::lround(anchor.y() * zoom - viewportPos.y())));
  zoomAnchor_ = anchor;
  zoomView_ = viewportPos;
  zoomScroll_ = QPoint(h->value(), v->value());
  UpdateToolBar();
}

void TProgramCellForm::SetLiveValues(bool on) {
  liveOn_ = on;
  UpdateToolBar();
  if (on) {
    RefreshLiveValues();
    liveTimer_.start();
  } else {
    liveTimer_.stop();
    painter_->RepaintCell(live_->Clear(cell_));
  }
}

void TProgramCellForm::RefreshLiveValues() {
  if (!liveOn_) return;
  if (!Model() || !Model()->IsSimulating()) {
    SetLiveValues(false);
    return;
  }
  if (cell_) painter_->RepaintCell(live_->Refresh(*cell_, VisibleRect()));
}

// ---- notifications ---------------------------------------------------------------

void TProgramCellForm::Update(int32_t code, int64_t data, const TChangeRecord* record) {
  TTarvixPlusModel* m = Model();
  if (!m) return;
  if (code == notify::kCellDeleted) {
    if (cell_ && data == cell_->CellId()) {
      // The cell is out of the project list already; its old place decides
      // which cell to show: the one before it, or the first one left.
      SwitchAfterDeletion(shownIndex_);
    }
    return;
  }
  if (cell_) shownIndex_ = m->CellIndex(cell_->CellId());
  if (code == notify::kCellRenamed || code == notify::kBreakpointSet || code == notify::kBreakpointRemoved ||
      code == notify::kBreakpointsCleared) {
    UpdateCaption();
  } else if (code == notify::kCheckResults) {
    RefreshFindings();
    UpdateDescription();
  } else if (IsBlockChange(code)) {
    RefreshFindings();
    tool_->CellChanged();
    RepaintDirty();
    live_->Clear(nullptr);
    if (record && record->flag && cell_ && record->cellId == cell_->CellId()) {
      const TRect both = record->oldArea.United(record->newArea);
      painter_->RepaintCell(both.Inflated(1));
    }
  } else if (code == notify::kErrorMark) {
    const int32_t id = m->ErrorBlockId();
    painter_->SetErrorBlockId(id);
    if (id > 0 && cell_) {
      const TBlock* b = cell_->FindBlock(id);
      if (b && b->Id() == id) painter_->RepaintCell(b->Bounds().Inflated(10));
    }
  } else if (code == notify::kGridChanged || code == notify::kBlockIndicesChanged) {
    SettingsChanged();
  }
  if (liveOn_ && !m->IsSimulating()) SetLiveValues(false);
  UpdateToolBar();
  if (TStationFrame* frame = TStationFrame::Current()) frame->CommandStatesChanged();
}

void TProgramCellForm::SettingsChanged() {
  const int g = std::max(1, static_cast<int>(std::lround(CellEditorSettings::Current().gridSize * painter_->Zoom())));
  scroller_->horizontalScrollBar()->setSingleStep(g);
  scroller_->verticalScrollBar()->setSingleStep(g);
  QPalette pal = scroller_->palette();
  pal.setColor(QPalette::Window, tcolor::ToQColor(CellEditorSettings::Current().blockBackgroundColor));
  scroller_->setPalette(pal);
  painter_->SettingsChanged();
}

void TProgramCellForm::ModelDestroyed() {
  liveTimer_.stop();
  StopAutoScroll();
  tool_->SetModel(nullptr);
  tool_->SetCell(nullptr);
  cell_ = nullptr;
  painter_->SetCell(nullptr);
  TMDIChildForm::ModelDestroyed();
}

void TProgramCellForm::CommitEdits() {
  // A bent wire not yet handed over belongs into the saved project.
  tool_->EndBendEditing();
  RepaintDirty();
}

// ---- desktop ----------------------------------------------------------------------

void TProgramCellForm::WriteDesktop(QDataStream& out) const {
  const uint32_t h = static_cast<uint32_t>(scroller_->horizontalScrollBar()->value()) & 0xFFFFu;
  const uint32_t v = static_cast<uint32_t>(scroller_->verticalScrollBar()->value()) & 0xFFFFu;
  out << static_cast<qint32>(ShownElement()) << static_cast<qint32>(h | (v << 16));
}

void TProgramCellForm::ReadDesktop(QDataStream& in) {
  qint32 cellId = 0, scroll = 0;
  in >> cellId >> scroll;
  if (in.status() != QDataStream::Ok) return;
  if (Model() && Model()->FindCell(cellId)) ShowElement(cellId);
  pendingH_ = static_cast<int>(static_cast<uint32_t>(scroll) & 0xFFFFu);
  pendingV_ = static_cast<int>(static_cast<uint32_t>(scroll) >> 16);
  scroller_->horizontalScrollBar()->setValue(pendingH_);
  scroller_->verticalScrollBar()->setValue(pendingV_);
}

// ---- events -----------------------------------------------------------------------

void TProgramCellForm::showEvent(QShowEvent* event) {
  TMDIChildForm::showEvent(event);
  if (pendingH_ >= 0) {
    // The scroll ranges exist only once the window has its size.
    const int h = pendingH_, v = pendingV_;
    pendingH_ = pendingV_ = -1;
    QTimer::singleShot(0, this, [this, h, v] {
      scroller_->horizontalScrollBar()->setValue(h);
      scroller_->verticalScrollBar()->setValue(v);
    });
  }
}

void TProgramCellForm::keyPressEvent(QKeyEvent* event) {
  const QKeySequence key(event->keyCombination());
  if (event->key() == Qt::Key_Escape && (tool_->DrawingWire() || tool_->BendEditing())) {
    tool_->CancelWire();
    tool_->EndBendEditing();
    UpdateBusy();
    RepaintDirty();
    return;
  }
  if (event->key() == Qt::Key_F1) {
    TUserInterface::Current().ShowHelp(kHelpContext);
    return;
  }
  if (event->modifiers() & Qt::ControlModifier) {
    if (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Equal) {
      DoCommand(cmd::kZoomIn, this);
      return;
    }
    if (event->key() == Qt::Key_Minus) {
      DoCommand(cmd::kZoomOut, this);
      return;
    }
  }
  for (QMenu* menu : {localMenu_, blockMenu_, wireMenu_}) {
    for (QAction* a : menu->actions()) {
      if (!a->shortcut().isEmpty() && a->shortcut().matches(key) == QKeySequence::ExactMatch) {
        const int32_t tag = a->data().toInt();
        if (IsCommandEnabled(tag)) DoCommand(tag, a);
        return;
      }
    }
  }
  TMDIChildForm::keyPressEvent(event);
}

void TProgramCellForm::closeEvent(QCloseEvent* event) {
  tool_->EndBendEditing();
  tool_->AbortGesture();
  UpdateBusy();
  liveTimer_.stop();
  StopAutoScroll();
  TMDIChildForm::closeEvent(event);
}
