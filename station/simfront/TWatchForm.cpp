#include "TWatchForm.h"

#include <QAbstractListModel>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "Commands.h"
#include "Notifications.h"
#include "SimPictures.h"
#include "TAnalogPortForm.h"
#include "TColorValue.h"
#include "TSimulatedInputs.h"
#include "TStationFrame.h"
#include "TStationSettings.h"
#include "TSubWindowPlacement.h"
#include "TTarvixPlusModel.h"
#include "TToolWindow.h"
#include "UserInterface.h"

// The rows of the watch window: one per watch entry, at least one. Keeps a
// copy of what each row showed so a refresh repaints only rows that changed.
class TWatchRows : public QAbstractListModel {
 public:
  enum Role { kNameRole = Qt::UserRole, kValueRole, kStateRole };
  enum State { kPlain, kChanged, kInvalid };

  TWatchRows(TTarvixPlusModel* model, QObject* parent) : QAbstractListModel(parent), model_(model) { Reset(); }

  void Forget() {
    model_ = nullptr;
    Reset();
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override {
    return parent.isValid() ? 0 : std::max<int>(1, static_cast<int>(shown_.size()));
  }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= static_cast<int>(shown_.size())) return {};
    const TWatchEntry& e = shown_[static_cast<size_t>(index.row())];
    switch (role) {
      case Qt::DisplayRole:
      case Qt::AccessibleTextRole: return QStringLiteral("%1: %2").arg(e.Name, e.DisplayText());
      case kNameRole: return e.Name;
      case kValueRole: return e.DisplayText();
      case kStateRole: return !e.Valid ? kInvalid : e.Changed ? kChanged : kPlain;
      default: return {};
    }
  }

  int Entries() const { return static_cast<int>(shown_.size()); }

  // The row count follows the list (entries added or removed).
  void Reset() {
    beginResetModel();
    shown_ = model_ ? model_->Watches() : std::vector<TWatchEntry>{};
    endResetModel();
  }

  // Values refreshed: repaints the rows whose text or colour differs.
  void Refresh() {
    if (!model_) return;
    const auto& now = model_->Watches();
    if (now.size() != shown_.size()) {
      Reset();
      return;
    }
    for (size_t i = 0; i < now.size(); ++i) {
      const TWatchEntry& a = now[i];
      TWatchEntry& b = shown_[i];
      if (a.Value == b.Value && a.Changed == b.Changed && a.Valid == b.Valid && a.Name == b.Name) continue;
      b = a;
      const QModelIndex at = index(static_cast<int>(i));
      emit dataChanged(at, at);
    }
  }

 private:
  TTarvixPlusModel* model_;
  std::vector<TWatchEntry> shown_;
};

namespace {

// Paints a row: background, outline (text colour on the current row), name
// at (2, 1) and the value behind the name column.
class WatchDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QRect r = option.rect;
    p->fillRect(r, background);
    const bool current = (option.state & QStyle::State_HasFocus) || index == currentIndex;
    p->setPen(current ? text : background);
    p->setBrush(Qt::NoBrush);
    p->drawRect(r.adjusted(0, 0, -1, -1));
    p->setFont(font);
    const QFontMetrics fm(font);
    const int baseline = r.top() + 1 + fm.ascent();
    p->setPen(text);
    p->drawText(QRect(r.left() + 2, r.top() + 1, std::max(0, nameWidth - 2), r.height() - 1), Qt::AlignLeft | Qt::AlignTop,
                index.data(TWatchRows::kNameRole).toString());
    const int state = index.data(TWatchRows::kStateRole).toInt();
    p->setPen(state == TWatchRows::kInvalid ? invalid : state == TWatchRows::kChanged ? changed : text);
    p->drawText(r.left() + nameWidth + 2, baseline, index.data(TWatchRows::kValueRole).toString());
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return QSize(nameWidth + 80, QFontMetrics(font).height() + 6);
  }

  QFont font;
  QColor text, background, invalid, changed;
  int nameWidth = 100;
  QPersistentModelIndex currentIndex;
};

// Whether a value fits the variable's width (map code bits 24..31: 1 word,
// 2 byte, 3 bit); a word takes signed and unsigned 16-bit values.
bool FitsVariable(int32_t mapCode, int32_t value) {
  switch ((static_cast<uint32_t>(mapCode) >> 24) & 0xFF) {
    case 1: return value >= -32768 && value <= 65535;
    case 2: return value >= 0 && value <= 255;
    case 3: return value == 0 || value == 1;
    default: return true;
  }
}

WatchDelegate* DelegateOf(QListView* view) { return static_cast<WatchDelegate*>(view->itemDelegate()); }

}  // namespace

TWatchForm::TWatchForm(TTarvixPlusModel* model, QWidget* parent) : TMDIChildForm(model, parent) {
  SetCaption(QStringLiteral("Überwachte Variablen"));
  auto* headerModel = new QStandardItemModel(0, 2, this);
  headerModel->setHorizontalHeaderLabels({QStringLiteral("Variable"), QStringLiteral("Wert")});
  header_ = new QHeaderView(Qt::Horizontal, this);
  header_->setModel(headerModel);
  header_->setSectionsClickable(false);
  header_->setStretchLastSection(true);
  header_->setMinimumSectionSize(kMinNameWidth);
  header_->setAccessibleName(QStringLiteral("Variable, Wert"));
  // A header without a view to serve sizes itself from its labels only.
  header_->setFixedHeight(header_->fontMetrics().height() + 8);
  view_ = new QListView(this);
  view_->setAccessibleName(QStringLiteral("Überwachte Variablen"));
  view_->setUniformItemSizes(true);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setSelectionMode(QAbstractItemView::SingleSelection);
  view_->setItemDelegate(new WatchDelegate(view_));
  rows_ = new TWatchRows(model, this);
  view_->setModel(rows_);
  view_->installEventFilter(this);
  view_->setContextMenuPolicy(Qt::DefaultContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(header_);
  layout->addWidget(view_);
  setFocusProxy(view_);

  menu_ = new QMenu(this);
  QAction* edit = menu_->addAction(QStringLiteral("Wert verändern..."), this, [this] { DoCommand(cmd::kEditWatchValue, nullptr); });
  QAction* remove = menu_->addAction(QStringLiteral("Bezeichner aus Liste löschen"), this, [this] { DoCommand(cmd::kClear, nullptr); });
  menu_->addSeparator();
  menu_->addAction(QStringLiteral("Verlauf anzeigen"), this, [this] { ShowTrend(); });
  connect(menu_, &QMenu::aboutToShow, this, [this, edit, remove] {
    edit->setEnabled(CurrentHoldsEntry());
    remove->setEnabled(CurrentHoldsEntry());
  });

  connect(view_, &QListView::doubleClicked, this, [this](const QModelIndex& index) {
    SetCurrentRow(index.row());
    EditCurrent();
  });
  connect(header_, &QHeaderView::sectionResized, this, [this](int section, int, int size) {
    if (section == 0 && size != nameWidth_) SetNameColumnWidth(size);
  });
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& now) {
    DelegateOf(view_)->currentIndex = now;
    view_->viewport()->update();
  });
  placement_ = new TSubWindowPlacement(this, TStationSettings::kWatchWindow);
  SettingsChanged();
  resize(260, 200);
  SetNameColumnWidth(TStationSettings::Current().watchNameColWidth);
  if (rows_->Entries() > 0) SetCurrentRow(0);
}

int TWatchForm::CurrentRow() const {
  const QModelIndex current = view_->currentIndex();
  return current.isValid() ? current.row() : -1;
}

void TWatchForm::SetCurrentRow(int row) {
  if (row < 0 || row >= rows_->rowCount()) return;
  view_->setCurrentIndex(rows_->index(row));
  view_->scrollTo(rows_->index(row));
}

QStringList TWatchForm::ShownRows() const {
  QStringList out;
  for (int i = 0; i < rows_->rowCount(); ++i) out << rows_->index(i).data(Qt::AccessibleTextRole).toString();
  return out;
}

void TWatchForm::SetNameColumnWidth(int width) {
  // At least 65 pixels, and room for the values.
  const int limit = std::max(kMinNameWidth, this->width() - 45);
  width = std::clamp(width, kMinNameWidth, limit);
  nameWidth_ = width;
  TStationSettings::Current().watchNameColWidth = width;
  if (header_->sectionSize(0) != width) {
    const QSignalBlocker block(header_);
    header_->resizeSection(0, width);
  }
  DelegateOf(view_)->nameWidth = width;
  view_->viewport()->update();
}

void TWatchForm::resizeEvent(QResizeEvent* event) {
  TMDIChildForm::resizeEvent(event);
  if (nameWidth_ > std::max(kMinNameWidth, width() - 45)) {
    // Shown narrower only; the stored width stays what the user chose.
    const int stored = TStationSettings::Current().watchNameColWidth;
    SetNameColumnWidth(nameWidth_);
    TStationSettings::Current().watchNameColWidth = stored;
  }
}

bool TWatchForm::CurrentHoldsEntry() const {
  const int row = CurrentRow();
  return Model() && row >= 0 && row < static_cast<int>(Model()->Watches().size());
}

void TWatchForm::DoCommand(int32_t command, QObject*) {
  if (!IsCommandEnabled(command)) return;
  if (command == cmd::kEditWatchValue)
    EditCurrent();
  else if (command == cmd::kClear)
    RemoveCurrent();
}

bool TWatchForm::IsCommandEnabled(int32_t command) {
  return (command == cmd::kEditWatchValue || command == cmd::kClear) && CurrentHoldsEntry();
}

void TWatchForm::EditCurrent() {
  if (!CurrentHoldsEntry()) return;
  const int row = CurrentRow();
  const TWatchEntry entry = Model()->Watches()[static_cast<size_t>(row)];
  bool ok = false;
  const QString text = QInputDialog::getText(this, QStringLiteral("Variable ändern"), QStringLiteral("Geben Sie den neuen Wert ein:"),
                                             QLineEdit::Normal, entry.DisplayText(), &ok);
  // The model may have gone or changed while the box was open.
  if (!ok || !CurrentHoldsEntry() || Model()->Watches()[static_cast<size_t>(row)].MapCode != entry.MapCode) return;
  bool number = false;
  const int32_t value = text.trimmed().toInt(&number, 10);
  if (!number || !FitsVariable(entry.MapCode, value)) {
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    return;
  }
  if (value == entry.Value) return;
  if (PlexorSetValue(Model()->Engine(), entry.MapCode, value) == 0) {
    // Refused by the engine: the entry stays.
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    return;
  }
  // The engine's value, as it stored it, marks the entry changed.
  Model()->RefreshWatches();
  ReadBackInputs();
}

void TWatchForm::ReadBackInputs() {
  PlexorHandle engine = Model()->Engine();
  TSimulatedInputs& in = TSimulatedInputs::Current();
  bool any = false;
  for (size_t ch = 0; ch < in.AdcValue.size(); ++ch) {
    const int value = std::clamp(PlexorGetADC(engine, static_cast<int32_t>(ch)), 0, 255);
    if (value == in.AdcValue[ch]) continue;
    in.AdcValue[ch] = static_cast<uint8_t>(value);
    in.AdcChanged[ch] = true;
    any = true;
  }
  const int frequency = std::clamp(PlexorGetFreq(engine), 0, 0xFFFF);
  if (frequency != in.Frequency) {
    in.Frequency = static_cast<uint16_t>(frequency);
    in.FrequencyChanged = true;
    any = true;
  }
  if (!any) return;
  for (TToolWindow* w : TToolWindow::Instances())
    if (qobject_cast<TAnalogPortForm*>(w)) w->RefreshPorts();
}

void TWatchForm::RemoveCurrent() {
  if (!CurrentHoldsEntry()) return;
  const int row = CurrentRow();
  Model()->RemoveWatch(row);
  SetCurrentRow(std::min(row, rows_->rowCount() - 1));
}

void TWatchForm::ShowTrend() {
  if (TStationFrame* frame = TStationFrame::Current()) {
    frame->ShowWindow(QStringLiteral("TTrendView"));
    return;
  }
}

bool TWatchForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
      DoCommand(cmd::kEditWatchValue, nullptr);
      return true;
    }
    if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
      DoCommand(cmd::kClear, nullptr);
      return true;
    }
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
      TUserInterface::Current().ShowHelp(HelpContext());
      return true;
    }
  }
  if (watched == view_ && event->type() == QEvent::ContextMenu) {
    menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  return TMDIChildForm::eventFilter(watched, event);
}

void TWatchForm::Update(int32_t code, int64_t data, const TChangeRecord*) {
  switch (code) {
    case notify::kWatchAdded:
    case notify::kWatchRemoved: {
      const int row = CurrentRow();
      rows_->Reset();
      SetCurrentRow(code == notify::kWatchAdded ? rows_->Entries() - 1 : std::clamp(row, 0, rows_->rowCount() - 1));
      break;
    }
    case notify::kWatchPresent: SetCurrentRow(static_cast<int>(data)); break;
    case notify::kWatchesRefreshed: rows_->Refresh(); break;
    default: break;
  }
}

void TWatchForm::SettingsChanged() {
  const TStationSettings& s = TStationSettings::Current();
  WatchDelegate* d = DelegateOf(view_);
  d->font = simpictures::SettingsFont(TStationSettings::kWatchFont);
  d->text = tcolor::ToQColor(s.colors[TStationSettings::kWatchText]);
  d->background = tcolor::ToQColor(s.colors[TStationSettings::kWatchBackgnd]);
  d->invalid = tcolor::ToQColor(s.colors[TStationSettings::kWatchInvalid]);
  d->changed = tcolor::ToQColor(s.colors[TStationSettings::kWatchChanged]);
  QPalette pal = view_->palette();
  pal.setColor(QPalette::Base, d->background);
  view_->setPalette(pal);
  const int row = CurrentRow();
  view_->reset();
  SetCurrentRow(row);
}

void TWatchForm::ModelDestroyed() {
  rows_->Forget();
  TMDIChildForm::ModelDestroyed();
}

void TWatchForm::showEvent(QShowEvent* event) {
  TMDIChildForm::showEvent(event);
  placement_->Attach();
}
