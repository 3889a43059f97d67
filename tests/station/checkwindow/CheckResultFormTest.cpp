// The window "Prüfergebnis" as a user drives it: it lists the findings of
// mistakes.tvp; Enter and a double click open the finding's cell in the cell
// editor and select its block; the cell editor marks the blocks with
// findings; a new check follows an edit.
#include <QApplication>
#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

#include "RecordingUserInterface.h"
#include "TBlockList.h"
#include "TCellPainter.h"
#include "TCheckResultForm.h"
#include "TMouseTool.h"
#include "TProgramCellForm.h"
#include "TStationFrame.h"
#include "TTarvixPlusModel.h"

namespace {

// The main window's rule for OpenCell, reduced to the one cell editor of the test.
class Frame : public TStationFrame {
 public:
  Frame(TTarvixPlusModel* model, TProgramCellForm* editor) : model_(model), editor_(editor) { SetCurrent(this); }
  ~Frame() override { SetCurrent(nullptr); }
  TTarvixPlusModel* Project() const override { return model_; }
  QWidget* FindWindow(const QString&) const override { return nullptr; }
  QWidget* ShowWindow(const QString&, bool) override { return nullptr; }
  void OpenCell(int32_t cellId) override {
    ++opened;
    editor_->ShowElement(cellId);
  }
  void ShowStatusText(const QString&) override {}
  int opened = 0;

 private:
  TTarvixPlusModel* model_;
  TProgramCellForm* editor_;
};

int32_t CellNamed(const TTarvixPlusModel& m, const QString& name) {
  for (const auto& c : m.Cells())
    if (c->Name() == name) return c->CellId();
  return 0;
}

}  // namespace

class CheckResultFormTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    model_ = std::make_unique<TTarvixPlusModel>();
    QVERIFY(model_->LoadFromFile(QStringLiteral(VORBLEN_EXAMPLES "/mistakes.tvp")));
    editor_ = std::make_unique<TProgramCellForm>(model_.get());
    editor_->ShowElement(CellNamed(*model_, QStringLiteral("Alarm")));
    editor_->resize(600, 400);
    editor_->show();
    frame_ = std::make_unique<Frame>(model_.get(), editor_.get());
    form_ = std::make_unique<TCheckResultForm>(model_.get());
    form_->resize(700, 300);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }
  void cleanup() {
    form_.reset();
    frame_.reset();
    editor_.reset();
    model_.reset();
  }

  void ListsEveryFindingWithASummary() {
    QTreeWidget* list = form_->List();
    QCOMPARE(list->topLevelItemCount(), 9);
    QCOMPARE(form_->Summary()->text(), QStringLiteral("1 Fehler, 6 Warnungen, 2 Hinweise"));
    QCOMPARE(list->accessibleName(), QStringLiteral("Befunde"));
    QTreeWidgetItem* first = list->topLevelItem(0);
    QCOMPARE(first->text(0), QStringLiteral("Warnung"));
    QCOMPARE(first->text(1), QStringLiteral("W103"));
    QCOMPARE(first->text(2), QStringLiteral("Start"));
    QCOMPARE(first->text(3), QStringLiteral("3"));
  }

  void EnterOpensTheCellAndSelectsTheBlock() {
    QTreeWidget* list = form_->List();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);  // H101: WORD[3] in "Start"
    const TFinding wanted = form_->Shown()[1];
    QCOMPARE(wanted.code, QStringLiteral("H101"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(frame_->opened, 1);
    QCOMPARE(editor_->ShownElement(), CellNamed(*model_, QStringLiteral("Start")));
    QCOMPARE(editor_->Tool().Selection().size(), size_t{1});
    QCOMPARE(editor_->Tool().Selection()[0]->Id(), wanted.blockId);
  }

  void DoubleClickOpensTheCellAndSelectsTheBlock() {
    QTreeWidget* list = form_->List();
    int row = -1;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(1) == QLatin1String("W104")) row = i;
    QVERIFY(row >= 0);
    const QRect r = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(editor_->ShownElement(), CellNamed(*model_, QStringLiteral("Schleife")));
    QCOMPARE(editor_->Tool().Selection().size(), size_t{1});
    QCOMPARE(editor_->Tool().Selection()[0]->Id(), form_->Shown()[static_cast<size_t>(row)].blockId);
  }

  // The cell editor marks blocks with findings and tells assistive technology.
  void CellEditorMarksTheBlocks() {
    editor_->ShowElement(CellNamed(*model_, QStringLiteral("Start")));
    const std::vector<TFinding>& marks = editor_->Painter()->Findings();
    QCOMPARE(marks.size(), size_t{6});
    const TBlock* block = editor_->Cell()->FindBlock(marks[0].blockId);
    QVERIFY(block);
    const std::vector<TFinding> at = editor_->Painter()->FindingsAt(block->Bounds().ToQRect().center());
    QCOMPARE(at.size(), size_t{1});
    QCOMPARE(at[0].code, marks[0].code);
    QVERIFY(editor_->Painter()->accessibleDescription().contains(QStringLiteral("Warnung W103")));
    // A marked block looks different from the same block without marks.
    const QRect area = editor_->Painter()->ToWidget(block->Bounds().ToQRect());
    const QImage marked = editor_->Painter()->grab(area).toImage();
    editor_->Painter()->SetFindings({});
    const QImage plain = editor_->Painter()->grab(area).toImage();
    QVERIFY(marked != plain);
  }

  // A new check after an edit: the deleted constant's finding is gone.
  void RecheckFollowsEdits() {
    int32_t lone = 0;
    for (const TFinding& f : form_->Shown())
      if (f.code == QLatin1String("W101")) lone = f.blockId;
    QVERIFY(lone != 0);
    model_->DeleteBlock(lone);
    form_->Recheck();
    QCOMPARE(form_->List()->topLevelItemCount(), 8);
    QCOMPARE(form_->Summary()->text(), QStringLiteral("1 Fehler, 5 Warnungen, 2 Hinweise"));
  }

 private:
  RecordingUserInterface ui_;
  std::unique_ptr<TTarvixPlusModel> model_;
  std::unique_ptr<TProgramCellForm> editor_;
  std::unique_ptr<Frame> frame_;
  std::unique_ptr<TCheckResultForm> form_;
};

QTEST_MAIN(CheckResultFormTest)
#include "CheckResultFormTest.moc"
