#include "TBlockPalette.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QToolButton>

#include "Commands.h"
#include "TBlockCatalogue.h"
#include "UserInterface.h"

namespace {

// Draws a group as its picture and caption, on the highlight colour when selected.
class GroupDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& pal = option.palette;
    painter->fillRect(option.rect, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
    const QPixmap picture = index.data(Qt::DecorationRole).value<QPixmap>();
    if (!picture.isNull()) painter->drawPixmap(option.rect.left() + 2, option.rect.top(), picture);
    painter->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
    painter->drawText(QRect(option.rect.left() + 32, option.rect.top() + 2, option.rect.width() - 32, option.rect.height() - 2),
                      Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    return {s.width() + 32, 18};
  }
};

QIcon CommentIcon() {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  QFont f = p.font();
  f.setBold(true);
  f.setPixelSize(12);
  p.setFont(f);
  p.setPen(Qt::black);
  p.drawText(pm.rect(), Qt::AlignCenter, QStringLiteral("Ab"));
  p.setPen(Qt::darkGray);
  p.drawLine(1, 14, 14, 14);
  return QIcon(pm);
}

}  // namespace

TBlockPalette::TBlockPalette(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("BlockPalette"));
  setAccessibleName(QStringLiteral("Blockpalette"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);

  groups_ = new QComboBox(this);
  groups_->setObjectName(QStringLiteral("CBBlockKategorie"));
  groups_->setAccessibleName(QStringLiteral("Blockgruppe"));
  groups_->setItemDelegate(new GroupDelegate(groups_));
  groups_->setIconSize(QSize(24, 16));
  groups_->setMinimumWidth(160);
  layout->addWidget(groups_);
  connect(groups_, &QComboBox::currentIndexChanged, this, &TBlockPalette::SelectGroup);

  auto makeButton = [this, layout](const QString& name) {
    auto* b = new QToolButton(this);
    b->setObjectName(name);
    b->setAutoRaise(true);
    b->setIconSize(QSize(24, 24));
    b->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(b);
    return b;
  };
  backward_ = makeButton(QStringLiteral("BlockBackwardButton"));
  backward_->setArrowType(Qt::LeftArrow);
  backward_->setToolTip(QStringLiteral("Vorige Blöcke"));
  backward_->setAccessibleName(QStringLiteral("Vorige Blöcke"));
  connect(backward_, &QToolButton::clicked, this, [this] { Scroll(-1); });
  for (int i = 0; i < kButtons; ++i) {
    QToolButton* b = makeButton(QStringLiteral("BlockButton%1").arg(i + 1));
    buttons_[static_cast<size_t>(i)] = b;
    connect(b, &QToolButton::clicked, this, [this, b] {
      const int32_t tag = b->property("tag").toInt();
      if (tag > 0) emit CommandTriggered(tag);
    });
  }
  forward_ = makeButton(QStringLiteral("BlockForwardButton"));
  forward_->setArrowType(Qt::RightArrow);
  forward_->setToolTip(QStringLiteral("Weitere Blöcke"));
  forward_->setAccessibleName(QStringLiteral("Weitere Blöcke"));
  connect(forward_, &QToolButton::clicked, this, [this] { Scroll(1); });
  textBlock_ = makeButton(QStringLiteral("TextBlockButton"));
  textBlock_->setIcon(CommentIcon());
  textBlock_->setToolTip(QStringLiteral("Kommentar"));
  textBlock_->setAccessibleName(QStringLiteral("Kommentar"));
  textBlock_->setProperty("tag", static_cast<int>(cmd::kInsertTextBlock));
  connect(textBlock_, &QToolButton::clicked, this, [this] { emit CommandTriggered(cmd::kInsertTextBlock); });
  layout->addStretch(1);

  Reload();
}

void TBlockPalette::Reload() {
  const QSignalBlocker block(groups_);
  groups_->clear();
  for (const auto& g : TBlockCatalogue::Instance().Groups()) {
    QPixmap picture;
    if (!g->bitmap.isNull()) picture = QPixmap::fromImage(TBlockCatalogue::MagentaToTransparent(g->bitmap));
    groups_->addItem(QIcon(picture), g->caption);
    groups_->setItemData(groups_->count() - 1, picture, Qt::DecorationRole);
  }
  groups_->setCurrentIndex(groups_->count() > 0 ? 0 : -1);
  SelectGroup(groups_->currentIndex());
}

void TBlockPalette::SelectGroup(int index) {
  group_ = index;
  offset_ = 0;
  if (groups_->currentIndex() != index) {
    const QSignalBlocker block(groups_);
    groups_->setCurrentIndex(index);
  }
  ShowTypes();
}

void TBlockPalette::Scroll(int by) {
  const auto& groups = TBlockCatalogue::Instance().Groups();
  if (group_ < 0 || group_ >= static_cast<int>(groups.size())) return;
  const int count = static_cast<int>(groups[static_cast<size_t>(group_)]->types.size());
  const int n = std::min(count, kButtons);
  offset_ = std::clamp(offset_ + by, 0, std::max(0, count - n));
  ShowTypes();
}

QIcon TBlockPalette::GlyphIcon(int32_t typeId, const QString& glyphName) {
  const QImage glyph = TBlockCatalogue::Instance().Glyph(typeId);
  if (glyph.isNull()) {
    if (reported_.insert(glyphName).second)
      TUserInterface::Current().ErrorBox(QStringLiteral("Konnte Bitmap %1 nicht finden!").arg(glyphName));
    return {};
  }
  // Normal and disabled picture side by side; a single picture serves both.
  const bool pair = glyph.width() >= 2 * glyph.height();
  const int w = pair ? glyph.width() / 2 : glyph.width();
  QIcon icon;
  icon.addPixmap(QPixmap::fromImage(TBlockCatalogue::MagentaToTransparent(glyph.copy(0, 0, w, glyph.height()))), QIcon::Normal);
  if (pair)
    icon.addPixmap(QPixmap::fromImage(TBlockCatalogue::MagentaToTransparent(glyph.copy(w, 0, w, glyph.height()))), QIcon::Disabled);
  return icon;
}

void TBlockPalette::ShowTypes() {
  const auto& groups = TBlockCatalogue::Instance().Groups();
  const bool valid = group_ >= 0 && group_ < static_cast<int>(groups.size());
  const int count = valid ? static_cast<int>(groups[static_cast<size_t>(group_)]->types.size()) : 0;
  const int n = std::min(count, kButtons);
  for (int i = 0; i < kButtons; ++i) {
    QToolButton* b = buttons_[static_cast<size_t>(i)];
    if (!valid || i >= n || offset_ + i >= count) {
      b->hide();
      b->setProperty("tag", 0);
      continue;
    }
    const auto& [name, type] = groups[static_cast<size_t>(group_)]->types[static_cast<size_t>(offset_ + i)];
    const int32_t tag = cmd::kInsertBlockBase + type->typeId;
    b->setProperty("tag", tag);
    b->setToolTip(name);
    b->setAccessibleName(name);
    const QIcon icon = GlyphIcon(type->typeId, type->glyphName);
    b->setIcon(icon);
    b->setText(icon.isNull() ? name : QString());
    b->setToolButtonStyle(icon.isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
    b->show();
  }
  backward_->setEnabled(valid && n < count && offset_ > 0);
  forward_->setEnabled(valid && n < count && offset_ + n < count);
  UpdateCommandStates();
}

void TBlockPalette::UpdateCommandStates() {
  auto enabled = [this](int32_t tag) { return !enabler_ || enabler_(tag); };
  for (QToolButton* b : buttons_) {
    const int32_t tag = b->property("tag").toInt();
    if (tag > 0) b->setEnabled(enabled(tag));
  }
  textBlock_->setEnabled(enabled(cmd::kInsertTextBlock));
}

QMenu* TBlockPalette::BuildBlockMenu(QWidget* parent) {
  auto* menu = new QMenu(QStringLiteral("B&löcke"), parent);
  menu->setObjectName(QStringLiteral("BlocksMenu"));
  auto addItem = [this](QMenu* m, const QString& caption, int32_t tag) {
    QAction* a = m->addAction(caption);
    a->setData(tag);
    connect(a, &QAction::triggered, this, [this, tag] { emit CommandTriggered(tag); });
  };
  for (const auto& g : TBlockCatalogue::Instance().Groups()) {
    QMenu* sub = menu->addMenu(g->caption);
    sub->menuAction()->setData(static_cast<int>(cmd::kSubmenu));
    if (!g->bitmap.isNull()) sub->setIcon(QIcon(QPixmap::fromImage(TBlockCatalogue::MagentaToTransparent(g->bitmap))));
    for (const auto& [name, type] : g->types) addItem(sub, name, cmd::kInsertBlockBase + type->typeId);
  }
  menu->addSeparator();
  addItem(menu, QStringLiteral("Kommentar"), cmd::kInsertTextBlock);
  return menu;
}
