#include "THelpViewer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "TBlockCatalogue.h"
#include "THelpPages.h"

namespace {

QPointer<THelpViewer> gViewer;

// A browser that takes its pages and pictures from THelpPages.
class HelpBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  QVariant loadResource(int type, const QUrl& url) override {
    if (url.scheme() != QLatin1String("help")) return QTextBrowser::loadResource(type, url);
    if (type == QTextDocument::ImageResource) return THelpPages::Image(url);
    QString html = THelpPages::Html(url);
    if (html.isEmpty())
      html = QStringLiteral("<html><body><h1>Seite nicht gefunden</h1><p>Zu \"%1\" gibt es keine Hilfeseite. "
                            "<a href=\"help:contents\">Zum Inhalt</a></p></body></html>")
                 .arg(url.toString().toHtmlEscaped());
    return html;
  }
};

// Rows a little taller than the text: with rows exactly as high as the font,
// the dots of a capital umlaut are cut off ("Übertragen" read "Ubertragen").
class RoomyRows : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(std::max(size.height(), option.fontMetrics.height() + 6));
    return size;
  }
};

}  // namespace

void THelpViewer::Show(int32_t context, QWidget* parent) {
  if (!gViewer) {
    QWidget* owner = parent ? parent->window() : nullptr;
    gViewer = new THelpViewer(owner);
    gViewer->setAttribute(Qt::WA_DeleteOnClose);
    // Over the middle of the main window, and wholly on its screen.
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
      // Room for the window manager's frame around the client area.
      const QRect area = screen->availableGeometry().adjusted(8, 32, -8, -8);
      const QSize size = gViewer->size().boundedTo(area.size() * 9 / 10);
      QRect placed(QPoint(), size);
      placed.moveCenter(owner && owner->isVisible() ? owner->frameGeometry().center() : area.center());
      placed.moveLeft(std::clamp(placed.left(), area.left(), area.right() + 1 - size.width()));
      placed.moveTop(std::clamp(placed.top(), area.top(), area.bottom() + 1 - size.height()));
      gViewer->setGeometry(placed);
    }
  }
  gViewer->ShowPage(THelpPages::UrlFor(context));
  gViewer->show();
  gViewer->raise();
  gViewer->activateWindow();
}

THelpViewer* THelpViewer::Instance() { return gViewer; }

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Hilfe - Marlix Tarvix Station"));
  resize(860, 600);

  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  auto* back = new QPushButton(QStringLiteral("&Zurück"), this);
  auto* forward = new QPushButton(QStringLiteral("&Vorwärts"), this);
  auto* home = new QPushButton(QStringLiteral("&Inhalt"), this);
  back->setAccessibleName(QStringLiteral("Zurück"));
  forward->setAccessibleName(QStringLiteral("Vorwärts"));
  home->setAccessibleName(QStringLiteral("Inhalt"));
  bar->addWidget(back);
  bar->addWidget(forward);
  bar->addWidget(home);
  bar->addStretch();
  layout->addLayout(bar);

  auto* splitter = new QSplitter(this);
  auto* tabs = new QTabWidget(splitter);
  tabs->setAccessibleName(QStringLiteral("Inhalt und Index"));
  contents_ = new QTreeWidget(tabs);
  contents_->setHeaderHidden(true);
  contents_->setAccessibleName(QStringLiteral("Inhaltsverzeichnis"));
  contents_->setItemDelegate(new RoomyRows(contents_));
  tabs->addTab(contents_, QStringLiteral("Inhalt"));
  auto* indexPage = new QWidget(tabs);
  auto* indexLayout = new QVBoxLayout(indexPage);
  auto* indexLabel = new QLabel(QStringLiteral("&Suchbegriff:"), indexPage);
  indexFilter_ = new QLineEdit(indexPage);
  indexFilter_->setAccessibleName(QStringLiteral("Suchbegriff"));
  indexLabel->setBuddy(indexFilter_);
  index_ = new QListWidget(indexPage);
  index_->setAccessibleName(QStringLiteral("Index"));
  index_->setItemDelegate(new RoomyRows(index_));
  indexLayout->addWidget(indexLabel);
  indexLayout->addWidget(indexFilter_);
  indexLayout->addWidget(index_);
  tabs->addTab(indexPage, QStringLiteral("Index"));

  browser_ = new HelpBrowser(splitter);
  browser_->setAccessibleName(QStringLiteral("Hilfeseite"));
  browser_->setOpenLinks(true);
  splitter->addWidget(tabs);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({240, 620});
  layout->addWidget(splitter, 1);

  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home, &QPushButton::clicked, this, [this] { ShowPage(THelpPages::ContentsUrl()); });
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
  // The signal carries the new page; source() may still name the old one.
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
    setWindowTitle(QStringLiteral("Hilfe - %1").arg(THelpPages::Title(url)));
    SelectInContents(url);
  });
  connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    const QUrl url = item ? item->data(0, Qt::UserRole).toUrl() : QUrl();
    if (url.isValid() && url != browser_->source()) ShowPage(url);
  });
  connect(indexFilter_, &QLineEdit::textChanged, this, &THelpViewer::FilterIndex);
  connect(indexFilter_, &QLineEdit::returnPressed, this, [this] {
    for (int i = 0; i < index_->count(); ++i)
      if (!index_->item(i)->isHidden()) {
        ShowPage(index_->item(i)->data(Qt::UserRole).toUrl());
        return;
      }
  });
  connect(index_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toUrl()); });
  connect(index_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toUrl()); });
  back->setEnabled(false);
  forward->setEnabled(false);

  FillContents();
  FillIndex();
}

THelpViewer::~THelpViewer() = default;

void THelpViewer::ShowPage(const QUrl& url) {
  if (browser_->source() != url) browser_->setSource(url, QTextDocument::HtmlResource);
}

QUrl THelpViewer::CurrentPage() const { return browser_->source(); }

void THelpViewer::FillContents() {
  auto add = [](QTreeWidgetItem* parent, const QString& text, const QUrl& url) {
    auto* item = new QTreeWidgetItem(parent, {text});
    item->setData(0, Qt::UserRole, url);
    return item;
  };
  auto* topics = new QTreeWidgetItem(contents_, {QStringLiteral("Themen")});
  topics->setData(0, Qt::UserRole, THelpPages::ContentsUrl());
  for (const THelpPages::Topic& topic : THelpPages::Topics()) {
    const QUrl url(QStringLiteral("help:page/%1").arg(QLatin1String(topic.name)));
    add(topics, THelpPages::Title(url), url);
  }
  auto* blocks = new QTreeWidgetItem(contents_, {QStringLiteral("Blocktypen")});
  blocks->setData(0, Qt::UserRole, THelpPages::ContentsUrl());
  for (const auto& group : TBlockCatalogue::Instance().Groups()) {
    auto* node = new QTreeWidgetItem(blocks, {group->caption});
    for (const auto& entry : group->types)
      if (entry.second) add(node, entry.first, QUrl(QStringLiteral("help:block/%1").arg(entry.second->typeId)));
    node->setData(0, Qt::UserRole, node->childCount() ? node->child(0)->data(0, Qt::UserRole) : QVariant());
  }
  topics->setExpanded(true);
  blocks->setExpanded(true);
}

void THelpViewer::SelectInContents(const QUrl& url) {
  // Group nodes lead to their first page too; the page's own entry wins.
  for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
    if ((*it)->childCount() == 0 && (*it)->data(0, Qt::UserRole).toUrl() == url) {
      const QSignalBlocker quiet(contents_);
      contents_->setCurrentItem(*it);
      contents_->scrollToItem(*it);
      return;
    }
  }
}

void THelpViewer::FillIndex() {
  for (const THelpPages::IndexEntry& entry : THelpPages::Index()) {
    auto* item = new QListWidgetItem(entry.keyword, index_);
    item->setData(Qt::UserRole, entry.url);
  }
}

void THelpViewer::FilterIndex(const QString& text) {
  QListWidgetItem* first = nullptr;
  for (int i = 0; i < index_->count(); ++i) {
    QListWidgetItem* item = index_->item(i);
    const bool match = item->text().startsWith(text, Qt::CaseInsensitive) ||
                       (text.size() > 2 && item->text().contains(text, Qt::CaseInsensitive));
    item->setHidden(!match);
    if (match && !first) first = item;
  }
  if (first) index_->setCurrentItem(first);
}
