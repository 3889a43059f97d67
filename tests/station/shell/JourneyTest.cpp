// One user's journey through the real main window on a real X server
// (Xvfb): a new project, blocks from the palette, a wire drawn with the
// mouse, compile, run until the terminal shows the text, a breakpoint that
// halts the run in the tree, save, quit, and a new start that finds the
// project again through the desktop file. Also reports the idle CPU time.
#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <sys/resource.h>

#include "Commands.h"
#include "RecordingUserInterface.h"
#include "StationWindows.h"
#include "TBlockCatalogue.h"
#include "TBlockPalette.h"
#include "TImagesCatalogueSource.h"
#include "TMouseTool.h"
#include "TProgramCellForm.h"
#include "TCellPainter.h"
#include "TGraphBlock.h"
#include "TProjectController.h"
#include "TSettingsStore.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"
#include "TTerminalForm.h"
#include "TTarvixForm.h"
#include "TVorblenServices.h"
#include "TTarvixPlusModel.h"
#include "TWidgetUserInterface.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

class JourneyTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::unique_ptr<RecordingUserInterface> ui_;
  TWidgetUserInterface hooks_;  // carries the dialog hooks; boxes go to the recorder
  TVorblenServices services_;
  std::unique_ptr<TTarvixForm> frame_;

  void StartStation() {
    frame_ = std::make_unique<TTarvixForm>(&services_);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    frame_->activateWindow();
    QTest::qWait(500);  // the splash timer has fired
  }
  TTarvixPlusModel& Project() { return *frame_->Project(); }
  TProgramCellForm* CellEditor() { return qobject_cast<TProgramCellForm*>(frame_->FindWindow(QStringLiteral("TProgramCellForm"))); }

  // Clicks the palette button of a block type, choosing its group first.
  void ClickPalette(int32_t typeId) {
    auto* palette = frame_->findChild<TBlockPalette*>(QStringLiteral("BlockPalette"));
    QVERIFY(palette);
    const auto& groups = TBlockCatalogue::Instance().Groups();
    for (size_t g = 0; g < groups.size(); ++g)
      for (size_t t = 0; t < groups[g]->types.size(); ++t)
        if (groups[g]->types[t].second->typeId == typeId) {
          palette->GroupSelector()->setCurrentIndex(static_cast<int>(g));
          for (size_t page = 0; page * TBlockPalette::kButtons <= t; ++page) {
            for (int b = 0; b < TBlockPalette::kButtons; ++b) {
              QToolButton* button = palette->BlockButton(b);
              if (button->isVisible() && button->property("tag").toInt() == cmd::kInsertBlockBase + typeId) {
                QTRY_VERIFY(button->isEnabled());
                QTest::mouseClick(button, Qt::LeftButton);
                return;
              }
            }
            QTest::mouseClick(palette->ForwardButton(), Qt::LeftButton);
          }
        }
    QFAIL("block type not in the palette");
  }

  // Clicks the centre of a block on the cell surface.
  void ClickBlock(TBlock* block) {
    TProgramCellForm* editor = CellEditor();
    const QRect r = editor->Painter()->ToWidget(block->Bounds().ToQRect());
    QTest::mouseClick(editor->Painter(), Qt::LeftButton, {}, r.center());
  }

  // Waits for the compile window and presses its button once it says "OK".
  void CloseCompileWindowWhenDone() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [timer] {
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || QString::fromLatin1(w->metaObject()->className()) != QLatin1String("TCompilerForm")) continue;
        for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
          if (b->text() == QLatin1String("OK")) {
            b->click();
            timer->deleteLater();
            return;
          }
      }
    });
    timer->start(50);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    QDir::setCurrent(dir_.path());
    qputenv("VORBLEN_SETTINGS", dir_.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    TStationSettings::Current() = TStationSettings::Defaults(dir_.path() + QLatin1Char('/'));
    TStationSettings::Current().showTipsOfDay = false;
    TSimulatedInputs::Current().AutoTiming = false;
    TSimulatedInputs::Current().AutoTimingChanged = true;
    TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
    RegisterStationWindows();
    InstallStationHooks(hooks_);
    ui_ = std::make_unique<RecordingUserInterface>();
  }

  void cleanupTestCase() {
    frame_.reset();
    TBlockCatalogue::Instance().Clear();
  }

  void journey() {
    StartStation();
    QVERIFY(!frame_->Project());
    // The palette's comment button is the block tool bar's only one.
    int comments = 0;
    for (QWidget* w : frame_->findChild<QToolBar*>(QStringLiteral("BlockToolbar"))->findChildren<QWidget*>())
      comments += w->accessibleName() == QLatin1String("Kommentar");
    QCOMPARE(comments, 1);

    // A new project and a cell, from the menu and the tree.
    frame_->Action(QStringLiteral("FileNewItem"))->trigger();
    QVERIFY(frame_->Project());
    frame_->Tree()->setFocus();
    frame_->Tree()->setCurrentItem(frame_->Tree()->CellsGroup());
    QTest::keyClick(frame_->Tree(), Qt::Key_Insert);
    QTRY_VERIFY(CellEditor());
    TProgramCellForm* editor = CellEditor();
    editor->Painter()->setFocus();
    QTRY_VERIFY(frame_->IsCommandEnabled(cmd::kInsertBlockBase + 702));

    // A text constant and a print block from the palette.
    ClickPalette(702);
    ClickPalette(900);
    TBlockList& cell = *editor->Cell();
    QCOMPARE(cell.Count(), 2);
    TBlock* text = cell.Items(0);
    TBlock* print = cell.Items(1);
    QVERIFY(text->SetData(0, QStringLiteral("Hallo Tarvix")));

    // The wire: a click on the source, a click on the target.
    ClickBlock(text);
    QVERIFY(editor->Tool().DrawingWire());
    ClickBlock(print);
    QTRY_VERIFY(!editor->Tool().DrawingWire());
    QVERIFY(static_cast<TGraphBlock*>(print)->GetInput(0));

    // Compile (Ctrl+F9 routes to the compile window), then run.
    CloseCompileWindowWhenDone();
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(Project().SimState(), TSimState::Ready);
    QVERIFY(QFile::exists(dir_.filePath(QStringLiteral("CODE.TXT"))));
    frame_->DoChildCommand(cmd::kRun);
    QTRY_VERIFY(frame_->FindWindow(QStringLiteral("TTerminalForm")));
    auto* terminal = qobject_cast<TTerminalForm*>(frame_->FindWindow(QStringLiteral("TTerminalForm")));
    QVERIFY(terminal);
    // What a screen reader reads of the first terminal line.
    auto firstLine = [terminal] {
      const QAbstractItemModel* lines = terminal->View()->model();
      return lines->rowCount() > 0 ? lines->index(0, 0).data(Qt::AccessibleTextRole).toString() +
                                         lines->index(0, 0).data(Qt::DisplayRole).toString()
                                   : QString();
    };
    QTRY_VERIFY(firstLine().contains(QStringLiteral("Hallo Tarvix")));

    // A breakpoint in the cell: the next run halts there, marked in the tree.
    frame_->DoChildCommand(cmd::kStop);
    frame_->DoChildCommand(cmd::kReset);
    editor->Painter()->setFocus();
    QTest::keyClick(editor->Painter(), Qt::Key_F8, Qt::ControlModifier);
    const int32_t cellId = cell.CellId();
    QTRY_VERIFY(Project().HasBreakpoint(cellId));
    frame_->DoChildCommand(cmd::kRun);
    QTRY_COMPARE(Project().HaltedCell(), cellId);
    QTreeWidgetItem* node = frame_->Tree()->FindNode(TProjectController::NodeValue(TProjectController::kCells, cellId));
    QTRY_VERIFY(node->data(0, Qt::AccessibleDescriptionRole).toString().endsWith(QStringLiteral("[angehalten]")));
    QTRY_COMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));  // halted: nothing runs
    frame_->DoChildCommand(cmd::kReset);

    // Idle: the station sleeps.
    const double before = CpuSeconds();
    QTest::qWait(3000);
    const double idle = (CpuSeconds() - before) / 3.0 * 100.0;
    qInfo("idle CPU with the project open: %.2f %% of one core", idle);

    // The digital panel, moved by the user, stays open over the restart.
    frame_->Action(QStringLiteral("ViewDigitalItem"))->trigger();
    QWidget* panel = frame_->FindWindow(QStringLiteral("TDigitalPortForm"));
    QVERIFY(panel);
    QTRY_VERIFY(panel->isVisible());
    const QPoint panelAt(frame_->geometry().left() + 333, frame_->geometry().top() + 277);
    panel->move(panelAt);
    QTRY_COMPARE(panel->pos(), panelAt);

    // Save under a name, quit, start again: the desktop file brings it back.
    RecordingUserInterface::Reply name;
    name.text = dir_.filePath(QStringLiteral("reise.tvp"));
    ui_->replies.push_back(name);
    frame_->DoChildCommand(cmd::kSaveAs);
    QVERIFY(QFile::exists(name.text));
    QVERIFY(frame_->close());
    frame_.reset();
    QVERIFY(QFile::exists(TTarvixForm::DesktopFileName()));
    // A new start reads the settings file, as the program does.
    {
      TSettingsStore store;
      TStationSettings::Current() = store.Load(dir_.path() + QLatin1Char('/'));
    }

    StartStation();
    QVERIFY(frame_->Project());
    QCOMPARE(Project().FileName(), name.text);
    QCOMPARE(Project().Cells().size(), size_t(1));
    QVERIFY(Project().HasBreakpoint(cellId));
    QTRY_VERIFY(CellEditor());
    QCOMPARE(CellEditor()->Cell()->Count(), 2);
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Marlix Tarvix Station - reise"));
    QTRY_VERIFY(frame_->FindWindow(QStringLiteral("TDigitalPortForm")) &&
                frame_->FindWindow(QStringLiteral("TDigitalPortForm"))->isVisible());
    QCOMPARE(frame_->FindWindow(QStringLiteral("TDigitalPortForm"))->pos(), panelAt);
  }
};

QTEST_MAIN(JourneyTest)
#include "JourneyTest.moc"
