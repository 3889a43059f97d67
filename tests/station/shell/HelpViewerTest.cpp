// The help: every context the windows open and every block type of the
// catalogue lead to a page, every link on every page leads somewhere, and
// the viewer finds pages through its contents and its index.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "TBlockCatalogue.h"
#include "THelpPages.h"
#include "THelpViewer.h"
#include "TImagesCatalogueSource.h"
#include "dialogs/QtAppEnvironment.h"

namespace {

class HelpTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>()); }
  static void TearDownTestSuite() { TBlockCatalogue::Instance().Clear(); }

  static std::vector<const TBlockTyp*> AllTypes() {
    std::vector<const TBlockTyp*> types;
    for (const auto& group : TBlockCatalogue::Instance().Groups())
      for (const auto& entry : group->types) types.push_back(entry.second);
    return types;
  }
};

TEST_F(HelpTest, EveryContextTheWindowsOpenHasItsOwnPage) {
  const int32_t contexts[] = {9000, 10000, 12000, 13000, 14000, 15000, 17000, 20000, 7000};
  QSet<QString> seen;
  for (int32_t context : contexts) {
    const QUrl url = THelpPages::UrlFor(context);
    EXPECT_TRUE(url.toString().startsWith("help:page/")) << context;
    const QString html = THelpPages::Html(url);
    EXPECT_TRUE(html.contains("<h1>")) << context;
    EXPECT_FALSE(THelpPages::Title(url).isEmpty()) << context;
    seen.insert(url.toString());
  }
  EXPECT_EQ(seen.size(), 9) << "each context its own page";
  EXPECT_EQ(THelpPages::UrlFor(12345), THelpPages::ContentsUrl());
  EXPECT_EQ(THelpPages::UrlFor(0), THelpPages::ContentsUrl());
  EXPECT_TRUE(THelpPages::Html(QUrl("help:page/gibtsnicht")).isEmpty());
  EXPECT_TRUE(THelpPages::Html(QUrl("help:block/99999")).isEmpty());
}

TEST_F(HelpTest, EveryBlockTypeHasAGeneratedPage) {
  const auto types = AllTypes();
  ASSERT_GT(types.size(), 90u);
  for (const TBlockTyp* type : types) {
    SCOPED_TRACE(type->typeId);
    const QUrl url = THelpPages::UrlFor(type->typeId);
    EXPECT_EQ(url, QUrl(QStringLiteral("help:block/%1").arg(type->typeId)));
    const QString html = THelpPages::Html(url);
    EXPECT_TRUE(html.contains(type->name.toHtmlEscaped()));
    EXPECT_FALSE(THelpPages::BlockDescription(type->typeId).isEmpty());
    EXPECT_TRUE(html.contains(QString::fromUtf8("<h2>Eingänge</h2>")));
    EXPECT_EQ(html.contains(QStringLiteral("help:picture/%1").arg(type->typeId)), !type->pictureName.isEmpty());
    if (!type->pictureName.isEmpty()) {
      EXPECT_FALSE(THelpPages::Image(QUrl(QStringLiteral("help:picture/%1").arg(type->typeId))).isNull());
    }
  }
  // What the engine tells: input names, output and parameter.
  const QString sub = THelpPages::Html(THelpPages::UrlFor(201));
  EXPECT_TRUE(sub.contains("<li>a</li>") && sub.contains("<li>b</li>"));
  EXPECT_TRUE(sub.contains("liefert einen Wert"));
  const QString constant = THelpPages::Html(THelpPages::UrlFor(700));
  EXPECT_TRUE(constant.contains("Vorgabe bei einem neuen Block: <tt>0</tt>"));
  EXPECT_TRUE(constant.contains("keine Eingänge"));
  const QString end = THelpPages::Html(THelpPages::UrlFor(1007));
  EXPECT_TRUE(end.contains("liefert keinen Wert"));
  EXPECT_TRUE(end.contains("keinen Parameter"));
  // A single input has no menu and is still an input (the port P1 is an
  // output once its input is wired).
  const QString p1 = THelpPages::Html(THelpPages::UrlFor(130));
  EXPECT_TRUE(p1.contains("Der Block hat einen Eingang.")) << p1.toStdString();
}

// The generated facts never contradict the description beside them.
TEST_F(HelpTest, BlockPagesAgreeWithTheirDescriptions) {
  for (const TBlockTyp* type : AllTypes()) {
    SCOPED_TRACE(type->typeId);
    const QString html = THelpPages::Html(THelpPages::UrlFor(type->typeId));
    const QString text = THelpPages::BlockDescription(type->typeId);
    if (text.contains(QStringLiteral("Eingang verbunden")) || text.contains(QStringLiteral("verbundenen Eingang")) ||
        text.contains(QStringLiteral("Eingangswert"))) {
      EXPECT_FALSE(html.contains(QString::fromUtf8("keine Eingänge"))) << text.toStdString();
    }
    if (text.startsWith(QStringLiteral("Liefert"))) {
      EXPECT_FALSE(html.contains(QStringLiteral("liefert keinen Wert"))) << text.toStdString();
    }
  }
}

TEST_F(HelpTest, EveryLinkOnEveryPageLeadsToAPage) {
  QList<QUrl> pages{THelpPages::ContentsUrl()};
  for (const THelpPages::Topic& topic : THelpPages::Topics())
    pages << QUrl(QStringLiteral("help:page/%1").arg(QLatin1String(topic.name)));
  for (const TBlockTyp* type : AllTypes()) pages << THelpPages::UrlFor(type->typeId);
  static const QRegularExpression kLink(QStringLiteral("href=\"([^\"]*)\""));
  int links = 0;
  for (const QUrl& page : pages) {
    auto it = kLink.globalMatch(THelpPages::Html(page));
    while (it.hasNext()) {
      const QUrl target(it.next().captured(1));
      ++links;
      EXPECT_FALSE(THelpPages::Html(target).isEmpty()) << page.toString().toStdString() << " -> " << target.toString().toStdString();
    }
  }
  EXPECT_GT(links, 200);
  // The index names every page it points to.
  const auto index = THelpPages::Index();
  EXPECT_GT(index.size(), 150);
  for (const auto& entry : index) EXPECT_FALSE(THelpPages::Html(entry.url).isEmpty()) << entry.keyword.toStdString();
}

TEST_F(HelpTest, ViewerOpensContextsAndFindsPagesThroughContentsAndIndex) {
  THelpViewer::Show(10000);
  THelpViewer* viewer = THelpViewer::Instance();
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(viewer->isVisible());
  EXPECT_EQ(viewer->CurrentPage(), THelpPages::UrlFor(10000));
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Programmzelleneditor"));
  // Wholly on the screen, never past its bottom.
  EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().contains(viewer->geometry()));

  THelpViewer::Show(201);  // a block's help: the same window
  EXPECT_EQ(THelpViewer::Instance(), viewer);
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Subtraktion"));
  auto* current = viewer->findChild<QTreeWidget*>()->currentItem();
  ASSERT_NE(current, nullptr);
  EXPECT_EQ(current->text(0), QString::fromLatin1("Subtraktion a - b"));
  EXPECT_FALSE(viewer->Browser()->document()->resource(QTextDocument::ImageResource, QUrl("help:picture/201")).isNull());

  // A link on the page.
  viewer->Browser()->setSource(QUrl("help:page/zelleneditor"));
  EXPECT_TRUE(viewer->Browser()->isBackwardAvailable());
  viewer->Browser()->backward();
  EXPECT_EQ(viewer->CurrentPage(), THelpPages::UrlFor(201));

  // Contents: the Themen branch lists the topic pages.
  auto* tree = viewer->findChild<QTreeWidget*>();
  QTreeWidgetItem* topics = tree->topLevelItem(0);
  ASSERT_EQ(topics->childCount(), THelpPages::Topics().size());
  tree->setCurrentItem(topics->child(2));
  EXPECT_EQ(viewer->CurrentPage(), THelpPages::UrlFor(12000));

  // Index: typing narrows the list, Enter opens the first match.
  QLineEdit* filter = nullptr;
  for (auto* e : viewer->findChildren<QLineEdit*>())
    if (e->accessibleName() == "Suchbegriff") filter = e;
  ASSERT_NE(filter, nullptr);
  QTest::keyClicks(filter, "Haltep");
  QTest::keyClick(filter, Qt::Key_Return);
  EXPECT_TRUE(viewer->Browser()->toPlainText().contains("Haltepunkt"));
  viewer->close();
  QTest::qWait(10);
}

}  // namespace

#include "ShellShotSupport.h"

namespace {

TEST_F(HelpTest, Screenshots) {
  for (int32_t context : {10000, 201, 0}) {
    shots::Take(QStringLiteral("help-%1").arg(context), [context] {
      auto* viewer = new THelpViewer;
      viewer->ShowPage(THelpPages::UrlFor(context));
      return viewer;
    });
  }
}

}  // namespace
