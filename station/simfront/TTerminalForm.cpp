#include "TTerminalForm.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QListView>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "Commands.h"
#include "SimPictures.h"
#include "Notifications.h"
#include "TColorValue.h"
#include "TStationSettings.h"
#include "TSubWindowPlacement.h"
#include "TTarvixPlusModel.h"

// The rows of the terminal: the model's lines, at least one row.
class TTerminalLines : public QAbstractListModel {
 public:
  explicit TTerminalLines(TTarvixPlusModel* model, QObject* parent) : QAbstractListModel(parent), model_(model) {
    rows_ = WantedRows();
  }

  void Forget() {
    beginResetModel();
    model_ = nullptr;
    rows_ = 1;
    endResetModel();
  }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || !model_) return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return model_->TerminalLine(index.row());
    return {};
  }

  // Follows the model's line count, then repaints one row (-1: all).
  void LineChanged(int line) {
    const int wanted = WantedRows();
    if (line < 0) {
      beginResetModel();
      rows_ = wanted;
      endResetModel();
      return;
    }
    if (wanted > rows_) {
      beginInsertRows(QModelIndex(), rows_, wanted - 1);
      rows_ = wanted;
      endInsertRows();
    } else if (wanted < rows_) {
      beginRemoveRows(QModelIndex(), wanted, rows_ - 1);
      rows_ = wanted;
      endRemoveRows();
    }
    if (line < rows_) emit dataChanged(index(line), index(line));
  }

 private:
  int WantedRows() const { return model_ ? std::max<int>(1, model_->TerminalLineCount()) : 1; }

  TTarvixPlusModel* model_;
  int rows_ = 1;
};

namespace {

// Paints a line at (2, 2) in its row in the terminal's font and colours.
class TerminalDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    p->fillRect(option.rect, background);
    p->setFont(font);
    p->setPen(text);
    const QFontMetrics fm(font);
    p->drawText(option.rect.left() + 2, option.rect.top() + 2 + fm.ascent(), index.data().toString());
  }

  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    const QFontMetrics fm(font);
    return QSize(80 * fm.horizontalAdvance(QLatin1Char('W')) + 2, fm.height() + 8);
  }

  QFont font;
  QColor text;
  QColor background;
};


}  // namespace

TTerminalForm::TTerminalForm(TTarvixPlusModel* model, QWidget* parent) : TMDIChildForm(model, parent) {
  SetCaption(QStringLiteral("Tarvix Ausgaben"));
  view_ = new QListView(this);
  view_->setAccessibleName(QStringLiteral("Tarvix Ausgaben"));
  view_->setUniformItemSizes(true);
  view_->setSelectionMode(QAbstractItemView::NoSelection);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  view_->setItemDelegate(new TerminalDelegate(view_));
  lines_ = new TTerminalLines(model, this);
  view_->setModel(lines_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(view_);
  setFocusProxy(view_);
  placement_ = new TSubWindowPlacement(this, TStationSettings::kTerminalWindow);
  SettingsChanged();
  resize(480, 240);
  view_->scrollToBottom();
}

QStringList TTerminalForm::ShownLines() const {
  QStringList out;
  for (int i = 0; i < lines_->rowCount(); ++i) out << lines_->index(i).data(Qt::AccessibleTextRole).toString();
  return out;
}

void TTerminalForm::ModelDestroyed() {
  lines_->Forget();
  TMDIChildForm::ModelDestroyed();
}

bool TTerminalForm::HasLines() const { return Model() && Model()->TerminalLineCount() > 0; }

void TTerminalForm::DoCommand(int32_t command, QObject*) {
  if (!IsCommandEnabled(command)) return;
  if (command == cmd::kCopy)
    Model()->CopyTerminal();
  else if (command == cmd::kClearContents)
    Model()->ClearTerminal();
}

bool TTerminalForm::IsCommandEnabled(int32_t command) {
  return (command == cmd::kCopy || command == cmd::kClearContents) && HasLines();
}

void TTerminalForm::Update(int32_t code, int64_t data, const TChangeRecord*) {
  if (code != notify::kTerminalLine) return;
  lines_->LineChanged(static_cast<int>(data));
  view_->scrollToBottom();
}

void TTerminalForm::SettingsChanged() {
  const TStationSettings& s = TStationSettings::Current();
  auto* delegate = static_cast<TerminalDelegate*>(view_->itemDelegate());
  delegate->font = simpictures::SettingsFont(TStationSettings::kTerminalFont);
  delegate->text = tcolor::ToQColor(s.colors[TStationSettings::kTerminalText]);
  delegate->background = tcolor::ToQColor(s.colors[TStationSettings::kTerminalBackgnd]);
  QPalette pal = view_->palette();
  pal.setColor(QPalette::Base, delegate->background);
  pal.setColor(QPalette::Text, delegate->text);
  view_->setPalette(pal);
  // Uniform rows: a new size hint needs a new layout.
  view_->reset();
  view_->scrollToBottom();
}

void TTerminalForm::showEvent(QShowEvent* event) {
  TMDIChildForm::showEvent(event);
  placement_->Attach();
}
