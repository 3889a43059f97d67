// The main window against a real project and engine: command enabling in
// every project state, routing to the tree or the active document window,
// the tree's editing, keys, drops and notifications, the most-recently-used
// list, closing a modified project and the desktop file.
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

#include "Commands.h"
#include "Notifications.h"
#include "RecordingUserInterface.h"
#include "TBlockList.h"
#include "TClipboard.h"
#include "TGraphBlock.h"
#include "TMDIChildForm.h"
#include "TMruList.h"
#include "TProjectController.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "TWindowFactory.h"

// A document window that records what the frame asks of it.
class TFakeDocForm : public TMDIChildForm {
  Q_OBJECT

 public:
  TFakeDocForm(TTarvixPlusModel* model, QWidget* parent = nullptr) : TMDIChildForm(model, parent) {
    SetCaption(QStringLiteral("Fake"));
    resize(200, 150);
  }
  void DoCommand(int32_t command, QObject*) override { commands.push_back(command); }
  bool IsCommandEnabled(int32_t command) override { return command == cmd::kCopy || command == cmd::kToggleBreakpoint; }
  int32_t ShownElement() const override { return shown; }
  void ShowElement(int32_t id) override { shown = id; }
  void WriteDesktop(QDataStream& out) const override { out << qint32(shown) << qint32(4711); }
  void ReadDesktop(QDataStream& in) override {
    qint32 magic = 0;
    in >> shown >> magic;
    restoredMagic = magic;
  }
  std::vector<int32_t> commands;
  qint32 shown = 0;
  qint32 restoredMagic = 0;
};

// Stands in for the cell editor, under its class name.
class TProgramCellForm : public TFakeDocForm {
  Q_OBJECT

 public:
  TProgramCellForm(TTarvixPlusModel* model, QWidget* parent = nullptr) : TFakeDocForm(model, parent) {}
};

class FrameTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingUserInterface> ui_;
  std::unique_ptr<TTarvixForm> frame_;
  int compiles_ = 0;

  TTarvixPlusModel& Project() { return *frame_->Project(); }
  QString Copy(const QString& example) {
    const QString target = dir_->filePath(example);
    QFile::remove(target);
    QFile::copy(QStringLiteral(VORBLEN_EXAMPLES "/") + example, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  void NewFrame() {
    frame_.reset();
    frame_ = std::make_unique<TTarvixForm>();
    frame_->resize(1000, 700);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  bool Enabled(int32_t command) { return frame_->IsCommandEnabled(command); }
  void CompileProject() {
    PlexorHandle e = Project().Engine();
    QVERIFY(PlexorCompilerInit(e));
    QCOMPARE(PlexorCompile(e), 0);
    QVERIFY2(PlexorCompilerDone(e), PlexorGetErrorMessage(e));
    Project().SetCompiled(true);
  }
  TFakeDocForm* OpenFake() {
    return qobject_cast<TFakeDocForm*>(frame_->ShowWindow(QStringLiteral("TFakeDocForm"), true));
  }

 private slots:
  void initTestCase() {
    TWindowFactory::Register<TFakeDocForm>(TWindowFactory::Kind::Document);
    TWindowFactory::Register<TProgramCellForm>(TWindowFactory::Kind::Document);
    TTarvixForm::SetCompileHook([this](TTarvixPlusModel&, bool, QWidget*) { ++compiles_; });
  }

  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    qputenv("VORBLEN_SETTINGS", dir_->filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    TStationSettings::Current() = TStationSettings::Defaults(dir_->path());
    ui_ = std::make_unique<RecordingUserInterface>();
    NewFrame();
  }

  void cleanup() {
    frame_.reset();
    ui_.reset();
    QDir::setCurrent(QDir::tempPath());
    dir_.reset();
  }

  void startsWithoutAProjectAndEverythingDisabled() {
    QVERIFY(!frame_->Project());
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Marlix Tarvix Station"));
    for (int32_t c : {cmd::kSave, cmd::kSaveAs, cmd::kPrint, cmd::kUndo, cmd::kCompile, cmd::kRun, cmd::kReset, cmd::kStop,
                      cmd::kClearBreakpoints, cmd::kOpen, cmd::kInsertCell, cmd::kCopy})
      QVERIFY2(!Enabled(c), qPrintable(QString::number(c)));
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
  }

  // Enabling of the frame's own commands through a project's life.
  void enablingFollowsTheProjectState() {
    QVERIFY(frame_->OpenProject(QString()));
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Marlix Tarvix Station - Unbenannte Programmdatei"));
    struct Row {
      const char* state;
      bool save, saveAs, compile, run, reset, stop;
    };
    auto check = [&](const Row& r) {
      QVERIFY2(Enabled(cmd::kSave) == r.save, r.state);
      QVERIFY2(Enabled(cmd::kSaveAs) == r.saveAs, r.state);
      QVERIFY2(Enabled(cmd::kCompile) == r.compile && Enabled(cmd::kDownload) == r.compile, r.state);
      QVERIFY2(Enabled(cmd::kRun) == r.run && Enabled(cmd::kSingleStep) == r.run, r.state);
      QVERIFY2(Enabled(cmd::kReset) == r.reset, r.state);
      QVERIFY2(Enabled(cmd::kStop) == r.stop, r.state);
    };
    check({"empty", false, true, false, false, false, false});
    Project().NewCell(-1);
    const int32_t cell = Project().Cells().front()->CellId();
    QVERIFY(Project().InsertBlock(cell, 700, TRect{0, 0, 400, 300}));
    check({"blocks", true, true, true, false, false, false});
    CompileProject();
    check({"compiled", true, true, true, true, false, false});
    frame_->DoChildCommand(cmd::kRun);
    QCOMPARE(Project().SimState(), TSimState::Running);
    check({"running", true, true, false, false, false, true});
    frame_->RunIdleOnce();
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Simulation läuft"));
    QCOMPARE(frame_->StatusPanel(0), QStringLiteral("Geändert"));
    frame_->IdlePass();  // the one-block program runs to its end and resets
    QCOMPARE(Project().SimState(), TSimState::Ready);
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
    frame_->DoChildCommand(cmd::kRun);
    frame_->DoChildCommand(cmd::kStop);
    check({"halted", true, true, false, true, true, false});
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(compiles_, 0);  // disabled while simulating
    frame_->DoChildCommand(cmd::kReset);
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(compiles_, 1);
    Project().NewCell(-1);  // an edit: the program is stale again
    check({"edited", true, true, true, false, false, false});
  }

  void routesToTheTreeWithFocusElseToTheActiveWindow() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    TFakeDocForm* doc = OpenFake();
    QVERIFY(doc);
    TProjectController* tree = frame_->Tree();
    const int32_t cell = Project().Cells().front()->CellId();
    tree->SelectValue(TProjectController::NodeValue(TProjectController::kCells, cell));
    tree->setFocus();
    QVERIFY(tree->hasFocus());
    QVERIFY(Enabled(cmd::kCopy));
    frame_->DoChildCommand(cmd::kCopy);
    QVERIFY(TClipboard::Has(TClipboard::kCell));
    QVERIFY(doc->commands.empty());
    doc->setFocus();
    QVERIFY(!Enabled(cmd::kPaste));  // the document decides now
    frame_->DoChildCommand(cmd::kCopy);
    QCOMPARE(doc->commands, std::vector<int32_t>{cmd::kCopy});
    // Frame commands are executed by the frame and still passed on where it says so.
    frame_->DoChildCommand(cmd::kToggleBreakpoint);
    QCOMPARE(doc->commands.back(), cmd::kToggleBreakpoint);
  }

  void treeEditingKeysAndDrops() {
    frame_->OpenProject(QString());
    TProjectController* tree = frame_->Tree();
    tree->setFocus();
    // Ins on the cells group inserts a cell, on the tables group a table.
    tree->setCurrentItem(tree->CellsGroup());
    QTest::keyClick(tree, Qt::Key_Insert);
    QCOMPARE(frame_->Documents().size(), size_t(1));  // the new cell opened in a cell editor
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Insert);
    QCOMPARE(Project().Cells().size(), size_t(2));
    QCOMPARE(tree->CellsGroup()->childCount(), 2);
    tree->setCurrentItem(tree->TablesGroup());
    QTest::keyClick(tree, Qt::Key_Insert);
    QCOMPARE(Project().Tables().size(), size_t(1));
    QCOMPARE(tree->TablesGroup()->childCount(), 1);
    // Renaming through the node's caption: accepted, then refused with a beep.
    const int32_t first = Project().Cells()[0]->CellId();
    const int32_t second = Project().Cells()[1]->CellId();
    QTreeWidgetItem* node = tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, first));
    node->setText(0, QStringLiteral("Ampel"));
    QCOMPARE(Project().FindCell(first)->Name(), QStringLiteral("Ampel"));
    const QString secondName = Project().FindCell(second)->Name();
    QTreeWidgetItem* other = tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, second));
    other->setText(0, QStringLiteral("Ampel"));
    QCOMPARE(Project().FindCell(second)->Name(), secondName);
    QCOMPARE(other->text(0), secondName);
    QCOMPARE(ui_->Count("Beep"), 1);
    // Dropping moves a cell; with Ctrl it inserts a copy before the target.
    QVERIFY(tree->DropCell(second, node, false));
    QCOMPARE(Project().Cells()[0]->CellId(), second);
    QCOMPARE(tree->CellsGroup()->child(0)->text(0), secondName);
    QVERIFY(!tree->DropCell(second, tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, second)), false));
    QVERIFY(tree->DropCell(second, tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, first)), true));
    QCOMPARE(Project().Cells().size(), size_t(3));
    QCOMPARE(tree->CellsGroup()->childCount(), 3);
    // Del removes the selected cell.
    tree->SelectValue(TProjectController::NodeValue(TProjectController::kCells, first));
    QTest::keyClick(tree, Qt::Key_Delete);
    QCOMPARE(Project().Cells().size(), size_t(2));
    QVERIFY(!tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, first)));
  }

  void treeFollowsNotifications() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    TProjectController* tree = frame_->Tree();
    const int32_t cell = Project().Cells().front()->CellId();
    QTreeWidgetItem* node = tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, cell));
    Project().ToggleBreakpoint(cell);
    QVERIFY(node->data(0, Qt::AccessibleDescriptionRole).toString().endsWith(QStringLiteral("[Haltepunkt]")));
    const QString name = Project().FindCell(cell)->Name();
    Project().RenameCell(cell, QStringLiteral("Zaehler"));
    QCOMPARE(node->text(0), QStringLiteral("Zaehler"));
    Project().RenameCell(cell, name);  // jumps name it
    Project().NewTable(true);
    QCOMPARE(tree->TablesGroup()->childCount(), 1);
    Project().DeleteTable(1);
    QCOMPARE(tree->TablesGroup()->childCount(), 0);
    // The halted cell is marked and selected.
    CompileProject();
    frame_->DoChildCommand(cmd::kSingleStep);
    frame_->IdlePass();
    QCOMPARE(Project().HaltedCell(), cell);
    QVERIFY(node->data(0, Qt::AccessibleDescriptionRole).toString().endsWith(QStringLiteral("[angehalten]")));
    QCOMPARE(tree->currentItem(), node);
    // A notification the tree does not know leaves it alone: a debug line,
    // no box.
    const int nodes = tree->CellsGroup()->childCount();
    QTest::ignoreMessage(QtDebugMsg, "project tree: notification 9999 ignored");
    Project().UpdateViews(9999, 0);
    QVERIFY(ui_->Texts("ErrorBox").isEmpty());
    QCOMPARE(tree->CellsGroup()->childCount(), nodes);
  }

  void mostRecentlyUsedList() {
    TMruList list;
    for (int i = 1; i <= 10; ++i) list.Add(QStringLiteral("/p/%1.tvp").arg(i));
    QCOMPARE(list.Names().size(), 8);
    QCOMPARE(list.Names().front(), QStringLiteral("/p/10.tvp"));
    list.Add(QStringLiteral("/p/5.tvp"));
    QCOMPARE(list.Names().front(), QStringLiteral("/p/5.tvp"));
    QCOMPARE(list.Names().count(QStringLiteral("/p/5.tvp")), 1);
    const QString longName = QStringLiteral("/home/anwender/projekte/steuerungen/halle3/ampel_nord.tvp");
    QCOMPARE(TMruList::Caption(0, longName), QStringLiteral("&1 /home.../ampel_nord.tvp"));
    QCOMPARE(TMruList::Caption(4, QStringLiteral("C:\\Daten\\Projekte\\Tarvix\\Beispiele\\Grosse Anlage\\Ampel.tvp")),
             QStringLiteral("&5 C:...\\Ampel.tvp"));
    QCOMPARE(TMruList::Caption(1, QStringLiteral("/a/R&D.tvp")), QStringLiteral("&2 /a/R&&D.tvp"));
    // The frame: a closed project joins the list, an opened one leaves it.
    const QString a = Copy(QStringLiteral("counter.tvp"));
    const QString b = Copy(QStringLiteral("traffic.tvp"));
    frame_->OpenProject(a);
    TTarvixPlusModel* open = frame_->Project();
    QVERIFY(frame_->OpenProject(a));  // the open file again: nothing happens
    QCOMPARE(frame_->Project(), open);
    frame_->OpenProject(b);
    QCOMPARE(frame_->Mru().Names().front(), a);
    frame_->OpenProject(a);
    QCOMPARE(frame_->Mru().Names().front(), b);
    QVERIFY(!frame_->Mru().Names().contains(a));
    QAction* first = frame_->findChild<QAction*>(QStringLiteral("MRUFile1"));
    QVERIFY(first && frame_->findChild<QMenu*>(QStringLiteral("FileMenu"))->actions().contains(first));
    QVERIFY(!frame_->findChild<QMenu*>(QStringLiteral("FileMenu"))->actions().contains(frame_->findChild<QAction*>(QStringLiteral("MRUFile3"))));
    QVERIFY(first->text().endsWith(QStringLiteral("traffic.tvp")));
  }

  void closingAModifiedProjectAsks() {
    frame_->OpenProject(QString());
    Project().NewCell(-1);
    ui_->replies.push_back([] {
      RecordingUserInterface::Reply r;
      r.answer = TUserInterface::Answer::Cancel;
      return r;
    }());
    QVERIFY(!frame_->CloseProject());
    QVERIFY(frame_->Project());
    QCOMPARE(ui_->Texts("AskYesNoCancel").last(), QStringLiteral("Unbenannte Programmdatei wurde geändert. Speichern?"));
    QVERIFY(!frame_->close());  // the program keeps running
    QVERIFY(frame_->isVisible());
    RecordingUserInterface::Reply no;
    no.answer = TUserInterface::Answer::No;
    ui_->replies.push_back(no);
    QVERIFY(frame_->OpenProject(QString()));
    QVERIFY(Project().Cells().empty());
    // Yes saves under the chosen name before closing.
    Project().NewCell(-1);
    RecordingUserInterface::Reply yes;
    yes.answer = TUserInterface::Answer::Yes;
    ui_->replies.push_back(yes);
    RecordingUserInterface::Reply name;
    name.text = dir_->filePath(QStringLiteral("neu.tvp"));
    ui_->replies.push_back(name);
    QVERIFY(frame_->CloseProject());
    QVERIFY(QFile::exists(dir_->filePath(QStringLiteral("neu.tvp"))));
  }

  void desktopFileRoundTrip() {
    const QString path = Copy(QStringLiteral("counter.tvp"));
    frame_->OpenProject(path);
    const int32_t cell = Project().Cells().front()->CellId();
    Project().ToggleBreakpoint(cell);
    int32_t watched = 0;
    for (int i = 0; i < Project().Cells().front()->Count() && !watched; ++i) {
      const int32_t id = Project().Cells().front()->Items(i)->Id();
      if (PlexorGetSymbolicName(Project().Engine(), id)) watched = id;
    }
    QVERIFY(watched);
    Project().AddWatch(watched);
    TFakeDocForm* doc = OpenFake();
    doc->shown = 77;
    doc->SubWindow()->setGeometry(20, 30, 300, 200);
    frame_->Tree()->CellsGroup()->setExpanded(false);
    QVERIFY(frame_->close());
    QVERIFY(QFile::exists(TTarvixForm::DesktopFileName()));

    NewFrame();  // reads the desktop file at its first showing
    QVERIFY(frame_->Project());
    QCOMPARE(Project().FileName(), path);
    QVERIFY(Project().HasBreakpoint(cell));
    QCOMPARE(Project().Watches().size(), size_t(1));
    QVERIFY(!frame_->Tree()->CellsGroup()->isExpanded());
    auto* restored = qobject_cast<TFakeDocForm*>(frame_->FindWindow(QStringLiteral("TFakeDocForm")));
    QVERIFY(restored);
    QCOMPARE(restored->shown, 77);
    QCOMPARE(restored->restoredMagic, 4711);
    QCOMPARE(restored->SubWindow()->geometry(), QRect(20, 30, 300, 200));
    QVERIFY(ui_->Texts("ErrorBox").isEmpty());
  }

  void damagedOrStaleDesktopFilesNeverStopTheStart() {
    const QString desktop = TTarvixForm::DesktopFileName();
    const QByteArray garbage[] = {QByteArray("not a desktop file"), QByteArray(), QByteArray(3, '\xff')};
    for (const QByteArray& bytes : garbage) {
      frame_.reset();
      QFile f(desktop);
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(bytes);
      f.close();
      ui_->Clear();
      NewFrame();
      QCOMPARE(ui_->Texts("ErrorBox").size(), 1);
      QVERIFY(ui_->Texts("ErrorBox").first().startsWith(QStringLiteral("Konnte die Desktopdatei nicht lesen!")));
      QVERIFY(frame_->OpenProject(QString()));
    }
    // A desktop file whose project is gone: an empty project under that name.
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    const QString name = Project().FileName();
    QVERIFY(frame_->close());
    QFile::remove(name);
    ui_->Clear();
    NewFrame();
    QVERIFY(frame_->Project());
    QCOMPARE(Project().FileName(), name);
    QVERIFY(Project().Cells().empty());
    QVERIFY(ui_->Texts("ErrorBox").isEmpty());
  }

  void everyTaggedControlHasAnAccessibleName() {
    for (QAction* action : frame_->findChildren<QAction*>()) {
      if (action->isSeparator() || action->text().isEmpty()) continue;
      QVERIFY2(!action->text().contains(QLatin1Char('|')), qPrintable(action->text()));
    }
    for (QToolButton* button : frame_->findChildren<QToolButton*>()) {
      if (!button->defaultAction() || button->defaultAction()->data().toInt() == 0) continue;
      QVERIFY2(!button->accessibleName().isEmpty(), qPrintable(button->objectName()));
      QCOMPARE(button->accessibleName(), button->defaultAction()->toolTip());
    }
    QCOMPARE(frame_->findChild<QAction*>(QStringLiteral("GoButton"))->text(), QStringLiteral("Ausführen"));
    QCOMPARE(frame_->findChild<QAction*>(QStringLiteral("FileSaveButton"))->text(), QStringLiteral("Projekt speichern"));
  }
};

QTEST_MAIN(FrameTest)
#include "FrameTest.moc"
