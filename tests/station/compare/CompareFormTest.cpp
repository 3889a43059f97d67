// The "Vergleich" window against a real project and engine: picking the
// other file, the list grouped by cell, Enter opening the cell editor with
// the changed blocks selected, following edits, an unreadable file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest/QTest>

#include "SmallProjects.h"
#include "RecordingUserInterface.h"
#include "TBlockList.h"
#include "TCompareForm.h"
#include "TMouseTool.h"
#include "TProgramCellForm.h"
#include "TStationFrame.h"
#include "TTarvixPlusModel.h"

namespace {

void EnsureApp() {
  if (QApplication::instance()) return;
  static int argc = 1;
  static char name[] = "compareform_test";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

// The frame's window services over an MDI area, as the main window keeps them.
class Frame : public TStationFrame {
 public:
  explicit Frame(TTarvixPlusModel* project) : project_(project) {
    SetCurrent(this);
    area.resize(1000, 800);
    area.show();
  }
  ~Frame() override {
    area.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetCurrent(nullptr);
  }
  TTarvixPlusModel* Project() const override { return project_; }
  QWidget* FindWindow(const QString& className) const override {
    for (QMdiSubWindow* sub : area.subWindowList())
      if (QString::fromLatin1(sub->widget()->metaObject()->className()) == className) return sub->widget();
    return nullptr;
  }
  QWidget* ShowWindow(const QString& className, bool) override {
    if (QWidget* w = FindWindow(className)) return w;
    if (className != QLatin1String("TCompareForm")) return nullptr;
    return Add(new TCompareForm(project_));
  }
  void OpenCell(int32_t cellId) override {
    auto* editor = qobject_cast<TProgramCellForm*>(FindWindow(QStringLiteral("TProgramCellForm")));
    if (!editor) editor = static_cast<TProgramCellForm*>(Add(new TProgramCellForm(project_)));
    editor->ShowElement(cellId);
    area.setActiveSubWindow(editor->SubWindow());
    ++opened;
  }
  void ShowStatusText(const QString&) override {}
  QWidget* Add(QWidget* w) {
    QMdiSubWindow* sub = area.addSubWindow(w);
    sub->show();
    area.setActiveSubWindow(sub);
    return w;
  }
  QMdiArea area;
  int opened = 0;

 private:
  TTarvixPlusModel* project_;
};

class CompareForm : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_TRUE(dir.isValid());
    before = dir.filePath("old.tvp");
    ASSERT_TRUE(small::Base().Write(before));
    small::Project after = small::Base();
    after.cells[0].Find(1)->param = "2";                        // changed
    after.cells[0].Find(3)->x = 300;                            // moved
    after.cells[0].Remove(4);                                   // removed, with its wire
    after.cells[0].Find(5)->inputs.clear();
    after.cells[0].blocks.push_back({7, 700, 400, 200, "9", {}});  // added
    after.cells[1].name = "Seite";                              // renamed only
    const QString now = dir.filePath("new.tvp");
    ASSERT_TRUE(after.Write(now));
    ASSERT_TRUE(model.LoadFromFile(now));
  }
  TCompareForm* Open(Frame& frame) {
    ui.replies.push_back([&] {
      RecordingUserInterface::Reply r;
      r.text = before;
      return r;
    }());
    TCompareForm::CompareWith(frame);
    return qobject_cast<TCompareForm*>(frame.FindWindow(QStringLiteral("TCompareForm")));
  }
  static QStringList TopLevel(QTreeWidget* list) {
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) out << list->topLevelItem(i)->text(0);
    return out;
  }
  RecordingUserInterface ui;
  QTemporaryDir dir;
  QString before;
  TTarvixPlusModel model;
};

TEST_F(CompareForm, ListsTheDifferencesByCell) {
  Frame frame(&model);
  TCompareForm* form = Open(frame);
  ASSERT_TRUE(form);
  EXPECT_EQ(form->windowTitle(), "Vergleich");
  EXPECT_EQ(ui.Count("OpenFileName"), 1);
  QTreeWidget* list = form->List();
  EXPECT_EQ(list->accessibleName(), "Unterschiede");
  EXPECT_EQ(form->RemovedList()->accessibleName(), "Entfernte Blöcke");
  EXPECT_EQ(TopLevel(list), (QStringList{"Zelle 1 \"Zählen\"", "Zelle 2 \"Seite\""}));
  ASSERT_EQ(list->topLevelItem(0)->childCount(), 5);
  EXPECT_EQ(list->topLevelItem(0)->child(0)->text(0), "Block 1 Typ 700 geändert: \"1\" → \"2\"");
  EXPECT_EQ(list->topLevelItem(1)->child(0)->text(0), "umbenannt, vorher \"Neben\"");
}

TEST_F(CompareForm, EnterSelectsTheChangedBlocksInTheCellEditor) {
  Frame frame(&model);
  TCompareForm* form = Open(frame);
  ASSERT_TRUE(form);
  QTreeWidget* list = form->List();
  list->setFocus();
  list->setCurrentItem(list->topLevelItem(0)->child(2));  // a line of the cell counts as the cell
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(frame.opened, 1);
  auto* editor = qobject_cast<TProgramCellForm*>(frame.FindWindow(QStringLiteral("TProgramCellForm")));
  ASSERT_TRUE(editor);
  EXPECT_EQ(editor->ShownElement(), 1);
  std::vector<int32_t> selected;
  for (const TBlock* b : editor->Tool().Selection()) selected.push_back(b->Id() & 0xFFFF);
  std::sort(selected.begin(), selected.end());
  EXPECT_EQ(selected, (std::vector<int32_t>{1, 3, 7}));  // changed, moved, added
  QStringList removed;
  for (int i = 0; i < form->RemovedList()->count(); ++i) removed << form->RemovedList()->item(i)->text();
  EXPECT_EQ(removed, (QStringList{"Block 4 Typ 702 entfernt: \"Stand: \" (20,100)",
                                  "Verbindung entfernt: Block 4 → Block 5, Eingang 1"}));
}

TEST_F(CompareForm, FollowsEditsOfTheProject) {
  Frame frame(&model);
  TCompareForm* form = Open(frame);
  ASSERT_TRUE(form);
  model.DeleteBlocks(1, {model.FindCell(1)->FindBlock(7)});  // the added block goes again
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->List()->topLevelItem(0)->childCount() == 4; }, 2000));
  model.Undo();
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->List()->topLevelItem(0)->childCount() == 5; }, 2000));
}

TEST_F(CompareForm, UnreadableFileKeepsTheWindowAsItWas) {
  Frame frame(&model);
  TCompareForm* form = Open(frame);
  ASSERT_TRUE(form);
  const QStringList shown = TopLevel(form->List());
  QFile bad(dir.filePath("bad.tvp"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("kein Projekt\n");
  bad.close();
  EXPECT_FALSE(form->SetOtherFile(bad.fileName()));
  EXPECT_FALSE(form->SetOtherFile(dir.filePath("missing.tvp")));
  EXPECT_EQ(ui.Count("ErrorBox"), 2);
  EXPECT_EQ(TopLevel(form->List()), shown);
  EXPECT_EQ(form->OtherFile(), before);
}

}  // namespace
