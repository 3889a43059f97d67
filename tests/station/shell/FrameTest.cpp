// The main window against a real project and engine: command enabling in
// every project state, routing to the tree or the active document window,
// the tree's editing, keys, drops and notifications, the most-recently-used
// list, closing a modified project and the desktop file.
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>
#include <sys/stat.h>

#include <QScreen>
#include <QtTest>

#include "Commands.h"
#include "TCommandTable.h"
#include "TWindowClass.h"
#include "Notifications.h"
#include "RecordingUserInterface.h"
#include "TBlockList.h"
#include "TClipboard.h"
#include "TCommentEditForm.h"
#include "TDigitalPortForm.h"
#include "TPlexorFileForm.h"
#include "TStartPage.h"
#include "TTextEditor.h"
#include "TGraphBlock.h"
#include "TMDIChildForm.h"
#include "TMruList.h"
#include "TProjectController.h"
#include "TStationServices.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "TWidgetUserInterface.h"
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
  void keyPressEvent(QKeyEvent* event) override { keys.push_back(event->key()); }
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
  std::vector<int> keys;
  qint32 shown = 0;
  qint32 restoredMagic = 0;
};

// Stands in for the cell editor, under its class name.
class TProgramCellForm : public TFakeDocForm {
  Q_OBJECT

 public:
  TProgramCellForm(TTarvixPlusModel* model, QWidget* parent = nullptr) : TFakeDocForm(model, parent) {}
};

// A compiler that counts, and a palette a test may set.
class TTestServices : public TStationServices {
 public:
  bool HasCompiler() const override { return true; }
  void Compile(TTarvixPlusModel&, bool, QWidget*) override { ++compiles; }
  void FillPalette(TTarvixForm& frame, QToolBar& bar) override {
    if (palette) palette(frame, bar);
  }
  int compiles = 0;
  std::function<void(TTarvixForm&, QToolBar&)> palette;
};

class FrameTest : public QObject {
  Q_OBJECT

 private:
  TTestServices services_;
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingUserInterface> ui_;
  std::unique_ptr<TTarvixForm> frame_;

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
    frame_ = std::make_unique<TTarvixForm>(&services_);
    frame_->resize(1000, 700);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  bool Enabled(int32_t command) { return frame_->IsCommandEnabled(command); }
  // A picture to look at, where VORBLEN_DIALOG_SHOTS names a folder.
  static void Shot(QWidget* widget, const QString& name) {
    const QString dir = qEnvironmentVariable("VORBLEN_DIALOG_SHOTS");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QApplication::processEvents();
    widget->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
  }
  void CompileProject() {
    PlexorHandle e = Project().Engine();
    QVERIFY(PlexorCompilerInit(e));
    QCOMPARE(PlexorCompile(e), 0);
    QVERIFY2(PlexorCompilerDone(e), PlexorGetErrorMessage(e));
    Project().SetCompiled(true);
  }
  // Opens a menu of the menu bar with the mouse and closes it again: what
  // refreshes its items.
  void OpenAndCloseMenu(const char* name) {
    QMenu* menu = frame_->findChild<QMenu*>(QString::fromLatin1(name));
    QVERIFY(menu);
    QMenuBar* bar = frame_->menuBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(menu->menuAction()).center());
    QTRY_VERIFY(menu->isVisible());
    menu->close();
    QTRY_VERIFY(!menu->isVisible());
    // The offscreen platform does not hand the activation back by itself.
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  TFakeDocForm* OpenFake() {
    return qobject_cast<TFakeDocForm*>(frame_->ShowWindow(QStringLiteral("TFakeDocForm"), true));
  }

 private slots:
  void initTestCase() {
    TWindowFactory::Register<TFakeDocForm>(TWindowFactory::Kind::Document);
    TWindowFactory::Register<TDigitalPortForm>(TWindowFactory::Kind::Tool);
    TWindowFactory::Register<TPlexorFileForm>(TWindowFactory::Kind::Document);
    TWindowFactory::Register<TCommentEditForm>(TWindowFactory::Kind::Document);
    TWindowFactory::Register<TProgramCellForm>(TWindowFactory::Kind::Document);
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

  // Every entry of the command table is in the window as listed: menus and
  // tool bars by name, items in table order with caption, key, tag and
  // check mark, buttons with their hint as tool tip and accessible name.
  // The window items are enabled exactly for the registered windows and
  // open them.
  void menusAndToolBarsFollowTheCommandTable() {
    QMenu* menu = nullptr;
    QToolBar* bar = nullptr;
    qsizetype last = -1;
    for (const TCommand& c : CommandTable()) {
      const QString name = QString::fromLatin1(c.name);
      const QString caption = QString::fromUtf8(c.caption);
      QAction* a = frame_->Action(name);
      switch (c.kind) {
        case TCommand::Kind::Menu:
          menu = frame_->findChild<QMenu*>(name);
          QVERIFY2(menu && menu->title() == caption, c.name);
          last = -1;
          break;
        case TCommand::Kind::ToolBar:
          bar = frame_->findChild<QToolBar*>(name);
          QVERIFY2(bar && bar->accessibleName() == caption, c.name);
          menu = nullptr;
          last = -1;
          break;
        case TCommand::Kind::Item:
        case TCommand::Kind::Button: {
          QVERIFY2(a && a->text() == caption, c.name);
          QCOMPARE(a->shortcut(), QKeySequence(c.key));
          QCOMPARE(a->data().toInt(), c.tag);
          QCOMPARE(a->isCheckable(), c.check != TCommand::Check::None);
          const QList<QAction*> siblings = menu ? menu->actions() : bar->actions();
          QVERIFY2(siblings.indexOf(a) > last, c.name);
          last = siblings.indexOf(a);
          if (bar) {
            QCOMPARE(a->toolTip(), caption);
            QVERIFY2(!a->icon().isNull(), c.name);
            QCOMPARE(bar->widgetForAction(a)->accessibleName(), caption);
          }
          break;
        }
        case TCommand::Kind::Palette:
          QVERIFY2(bar && bar->findChild<QWidget*>(name), c.name);
          break;
        default:
          break;
      }
    }
    QVERIFY(frame_->OpenProject(QString()));
    frame_->UpdateButtons();
    for (const TCommand& c : CommandTable()) {
      if (c.action != TFrameAction::ShowWindow) continue;
      QAction* a = frame_->Action(QString::fromLatin1(c.name));
      const QString window = windowclass::Name(c.window);
      QCOMPARE(a->isEnabled(), TWindowFactory::Has(window));
      a->trigger();
      QCOMPARE(frame_->FindWindow(window) != nullptr, TWindowFactory::Has(window));
    }
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
    frame_->IdlePass(false);
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Simulation läuft"));
    QCOMPARE(frame_->StatusPanel(0), QStringLiteral("Geändert"));
    frame_->IdlePass();  // the one-block program runs to its end and resets
    QCOMPARE(Project().SimState(), TSimState::Ready);
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
    frame_->DoChildCommand(cmd::kRun);
    frame_->DoChildCommand(cmd::kStop);
    check({"halted", true, true, false, true, true, false});
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(services_.compiles, 0);  // disabled while simulating
    frame_->DoChildCommand(cmd::kReset);
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(services_.compiles, 1);
    Project().NewCell(-1);  // an edit: the program is stale again
    check({"edited", true, true, true, false, false, false});
  }

  // A menu opened in another state must leave no shortcut dead, and no
  // stale item may take a key from the window that has the focus.
  void menuShortcutsFollowTheCommandStates() {
    OpenAndCloseMenu("FileMenu");  // no project: "Speichern" disabled
    OpenAndCloseMenu("EditMenu");
    OpenAndCloseMenu("SimulatorMenu");
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    TProjectController* tree = frame_->Tree();
    tree->setFocus();
    QVERIFY(tree->hasFocus());
    const int32_t cell = Project().Cells().front()->CellId();
    const QString name = Project().FindCell(cell)->Name();
    Project().RenameCell(cell, QStringLiteral("Neu"));
    QTest::keyClick(tree, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!Project().Modified());
    QVERIFY(QFile(Project().FileName()).size() > 0);
    // Between keys the idle cycle keeps the items current too.
    QTRY_VERIFY(!frame_->Action(QStringLiteral("FileSaveItem"))->isEnabled());
    Project().RenameCell(cell, QStringLiteral("Neu2"));
    QTRY_VERIFY(frame_->Action(QStringLiteral("FileSaveItem"))->isEnabled());
    QTest::keyClick(tree, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Project().FindCell(cell)->Name(), QStringLiteral("Neu"));
    Project().RenameCell(cell, name);

    OpenAndCloseMenu("SimulatorMenu");  // not compiled: every run item disabled
    CompileProject();
    QTest::keyClick(tree, Qt::Key_F9);
    QCOMPARE(Project().SimState(), TSimState::Running);
    QTest::keyClick(tree, Qt::Key_Escape);
    QCOMPARE(Project().SimState(), TSimState::Halted);
    QTest::keyClick(tree, Qt::Key_F2, Qt::ControlModifier);
    QCOMPARE(Project().SimState(), TSimState::Ready);
    QTest::keyClick(tree, Qt::Key_F8);
    QCOMPARE(Project().SimState(), TSimState::SingleStep);
    Project().Reset();

    // "Anhalten" was enabled when the menu opened during a run; the run is
    // over, so Esc belongs to the window with the focus.
    frame_->DoChildCommand(cmd::kRun);
    OpenAndCloseMenu("SimulatorMenu");
    Project().RunCommand(cmd::kStop);
    Project().Reset();
    TFakeDocForm* doc = OpenFake();
    doc->setFocusPolicy(Qt::StrongFocus);
    doc->setFocus();
    QVERIFY(doc->hasFocus());
    QTest::keyClick(doc, Qt::Key_Escape);
    QCOMPARE(doc->keys, std::vector<int>{Qt::Key_Escape});
  }

  // F4 in the tree runs to the selected cell; a caption cannot be opened
  // for editing while a simulation runs.
  void treeRunsToTheCellAndRefusesEditsWhileSimulating() {
    frame_->OpenProject(Copy(QStringLiteral("traffic.tvp")));
    QVERIFY(Project().Cells().size() >= 2);
    TProjectController* tree = frame_->Tree();
    tree->setFocus();
    const int32_t target = Project().Cells()[1]->CellId();
    QTreeWidgetItem* node = tree->FindNode(TProjectController::NodeValue(TProjectController::kCells, target));
    tree->setCurrentItem(node);
    QTest::keyClick(tree, Qt::Key_F4);  // not compiled: nothing happens
    QCOMPARE(Project().SimState(), TSimState::NotReady);
    CompileProject();
    QTest::keyClick(tree, Qt::Key_F4);
    QCOMPARE(Project().SimState(), TSimState::Running);
    QCOMPARE(Project().Simulation().RunToCellId(), target);
    tree->editItem(node);
    QVERIFY(!tree->IsEditingLabel());
    QTest::keyClick(tree, Qt::Key_F2);
    QVERIFY(!tree->IsEditingLabel());
    Project().Reset();
    QCOMPARE(Project().SimState(), TSimState::Ready);
    tree->editItem(node);
    QVERIFY(tree->IsEditingLabel());
  }

  // "Drucker einrichten..." sets up the printer that printing uses; the
  // block tool bar has one comment button, the palette's when it has one.
  void printerSetupAndTheCommentButton() {
    frame_->findChild<QAction*>(QStringLiteral("FilePrintSetupItem"))->trigger();
    QCOMPARE(ui_->Count("PrinterSetup"), 1);
    auto comments = [this] {
      int n = 0;
      for (QWidget* w : frame_->findChild<QToolBar*>(QStringLiteral("BlockToolbar"))->findChildren<QWidget*>())
        n += w->accessibleName() == QLatin1String("Kommentar");
      return n;
    };
    QCOMPARE(comments(), 1);
    services_.palette = [](TTarvixForm&, QToolBar& bar) {
      auto* button = new QToolButton(&bar);
      button->setObjectName(QStringLiteral("TextBlockButton"));
      button->setAccessibleName(QStringLiteral("Kommentar"));
      bar.addWidget(button);
    };
    NewFrame();
    services_.palette = nullptr;
    QCOMPARE(comments(), 1);

    // The widget answers: the set-up dialog and the print dialog work on
    // one printer, so what was set up is what prints.
    TWidgetUserInterface widgets;
    auto dialogPrinter = [](QPrinter** seen) {
      auto* timer = new QTimer;
      QObject::connect(timer, &QTimer::timeout, [timer, seen] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        *seen = dialog->printer();
        dialog->reject();
        timer->deleteLater();
      });
      timer->start(10);
    };
    QPrinter* setUp = nullptr;
    dialogPrinter(&setUp);
    widgets.PrinterSetup();
    QVERIFY(setUp);
    QPrinter* printing = nullptr;
    dialogPrinter(&printing);
    QVERIFY(!widgets.PrintDialog());
    QCOMPARE(printing, setUp);
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

  // A file dropped on the main window opens as the project; what is not
  // a local file is refused.
  void aFileDroppedOnTheWindowOpensIt() {
    const QString path = Copy(QStringLiteral("counter.tvp"));
    const struct {
      QUrl url;
      bool opens;
    } drops[] = {{QUrl(QStringLiteral("https://example.org/counter.tvp")), false}, {QUrl::fromLocalFile(path), true}};
    for (const auto& d : drops) {
      QMimeData mime;
      mime.setUrls({d.url});
      const QPoint at = frame_->rect().center();
      QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(frame_.get(), &enter);
      QVERIFY(enter.isAccepted());
      QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(frame_.get(), &drop);
      QCOMPARE(drop.isAccepted(), d.opens);
      if (d.opens) {
        QTRY_VERIFY(frame_->Project());
        QCOMPARE(Project().FileName(), path);
      } else {
        QTest::qWait(20);
        QVERIFY(!frame_->Project());
      }
    }
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
    // What the reader refuses is its own test's (DesktopFileTest); here: one
    // error box, and the start goes on.
    frame_.reset();
    QFile f(desktop);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a desktop file");
    f.close();
    ui_->Clear();
    NewFrame();
    QCOMPARE(ui_->Texts("ErrorBox").size(), 1);
    QVERIFY(ui_->Texts("ErrorBox").first().startsWith(QStringLiteral("Konnte die Desktopdatei nicht lesen!")));
    QVERIFY(frame_->OpenProject(QString()));
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

  // A desktop file cut short opens nothing of it: not its project either.
  void aCutDesktopFileIsNotHalfApplied() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    QVERIFY(frame_->close());
    frame_.reset();
    QFile file(TTarvixForm::DesktopFileName());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() - 4));
    file.close();
    ui_->Clear();
    NewFrame();
    QCOMPARE(ui_->Texts("ErrorBox").size(), 1);
    QVERIFY(ui_->Texts("ErrorBox").first().startsWith(QStringLiteral("Konnte die Desktopdatei nicht lesen!")));
    QVERIFY(!frame_->Project());
  }

  void desktopFileThatIsAFifoNeitherBlocksNorIsReplaced() {
    const QString desktop = TTarvixForm::DesktopFileName();
    frame_.reset();
    QFile::remove(desktop);
    QCOMPARE(::mkfifo(QFile::encodeName(desktop).constData(), 0600), 0);
    ui_->Clear();
    NewFrame();  // opening it blocked the start for ever
    QCOMPARE(ui_->Texts("ErrorBox").size(), 1);
    QVERIFY(ui_->Texts("ErrorBox").first().startsWith(QStringLiteral("Konnte die Desktopdatei nicht lesen!")));
    QVERIFY(ui_->Texts("ErrorBox").first().contains(QStringLiteral("keine gewöhnliche Datei")));
    // Saving at the end: no reader, so refused at once; the FIFO stays.
    QVERIFY(frame_->close());
    QVERIFY(ui_->Texts("ErrorBox").last().startsWith(QStringLiteral("Konnte die Desktopdatei nicht erstellen!")));
    struct stat info {};
    QCOMPARE(::lstat(QFile::encodeName(desktop).constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode));
    QFile::remove(desktop);
  }

  void mainWindowIsClampedToTheScreen() {
    TStationSettings::Current().mainWindow = TRect{10, 10, 40010, 40010};
    NewFrame();
    const QRect area = frame_->screen()->availableGeometry();
    QVERIFY2(frame_->width() <= area.width() && frame_->height() <= area.height(),
             qPrintable(QStringLiteral("%1 x %2").arg(frame_->width()).arg(frame_->height())));
    // And so it is saved back.
    QVERIFY(frame_->close());
    QVERIFY(TStationSettings::Current().mainWindow.Width() <= area.width());
    QVERIFY(TStationSettings::Current().mainWindow.Height() <= area.height());
  }

  // The state text follows the run: a breakpoint or Esc halts it, and the
  // hint panel says so even when no further idle pass comes.
  void statusTextFollowsAHalt() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    CompileProject();
    const int32_t cell = Project().Cells().front()->CellId();
    Project().ToggleBreakpoint(cell);
    frame_->DoChildCommand(cmd::kRun);
    frame_->IdlePass(false);
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Simulation läuft"));
    for (int i = 0; i < 50 && Project().SimState() != TSimState::Halted; ++i) frame_->IdlePass();
    QCOMPARE(Project().SimState(), TSimState::Halted);
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
    QVERIFY(Enabled(cmd::kRun) && !Enabled(cmd::kStop));

    Project().ToggleBreakpoint(cell);
    frame_->DoChildCommand(cmd::kRun);
    frame_->IdlePass();
    QTest::qWait(150);  // past the refresh interval of a running simulation
    frame_->IdlePass();
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Simulation läuft"));
    frame_->DoChildCommand(cmd::kStop);  // Esc
    QCOMPARE(Project().SimState(), TSimState::Halted);
    QTRY_COMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
  }

  // A text editor's caret position has a panel of its own: it never hides
  // the state text and goes when the editor loses the keyboard.
  void caretPositionBesideTheStateText() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    frame_->OpenComment();
    auto* comment = qobject_cast<TCommentEditForm*>(frame_->FindWindow(QStringLiteral("TCommentEditForm")));
    QVERIFY(comment);
    comment->Editor()->setFocus();
    QTest::keyClick(comment->Editor(), Qt::Key_End);
    QTRY_VERIFY(frame_->StatusPanel(2).startsWith(QStringLiteral("Zeile 1, Spalte ")));
    QCOMPARE(frame_->StatusPanel(1), QStringLiteral("Bereit"));
    Shot(frame_->statusBar(), QStringLiteral("frame-statusbar-position"));
    frame_->Tree()->setFocus();
    QTRY_COMPARE(frame_->StatusPanel(2), QString());
    QVERIFY(!frame_->findChild<QLabel*>(QStringLiteral("StatusPanel2"))->isVisible());
  }

  // Where panels appear: a stored rectangle wins (moved back onto the
  // screen when it lies off it); only a panel without one goes to the right
  // edge of the document area.
  void panelPlacements_data() {
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("expected");  // empty: at the right edge
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    const QSize z(192, 73);
    QTest::newRow("none") << QRect() << QRect();
    QTest::newRow("inside") << QRect(QPoint(40, 50), z) << QRect(QPoint(40, 50), z);
    QTest::newRow("far below") << QRect(QPoint(60, s.bottom() + 500), z) << QRect(QPoint(60, s.bottom() + 1 - z.height()), z);
    QTest::newRow("left of it") << QRect(QPoint(-900, 70), z) << QRect(QPoint(s.left(), 70), z);
    QTest::newRow("right of it") << QRect(QPoint(s.right() + 300, 80), z) << QRect(QPoint(s.right() + 1 - z.width(), 80), z);
  }
  void panelPlacements() {
    QFETCH(QRect, stored);
    QFETCH(QRect, expected);
    TWindowPlacement& slot = TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow];
    slot.rect = stored.isNull() ? kNoPlacement : TRect::FromQRect(stored);
    QWidget* panel = frame_->ShowWindow(QStringLiteral("TDigitalPortForm"));
    QVERIFY(panel && panel->isVisible());
    if (expected.isNull()) {
      const QPoint corner = frame_->MdiArea()->mapToGlobal(QPoint(frame_->MdiArea()->width(), 0));
      QCOMPARE(panel->pos(), QPoint(corner.x() - panel->width() - 24, corner.y() + 8));
    } else {
      QCOMPARE(panel->geometry(), expected);
    }
    QTRY_COMPARE(slot.rect, TRect::FromQRect(panel->geometry()));
    QVERIFY(slot.visible);
  }

  // A panel left open is open again after the next start, where it was.
  void panelsLeftOpenComeBackAtStart() {
    QWidget* panel = frame_->ShowWindow(QStringLiteral("TDigitalPortForm"));
    panel->move(123, 234);
    QVERIFY(frame_->close());
    frame_.reset();
    QVERIFY(TStationSettings::Current().windows[TStationSettings::kDigitalPortWindow].visible);
    NewFrame();
    QTRY_VERIFY(frame_->FindWindow(QStringLiteral("TDigitalPortForm")) &&
                frame_->FindWindow(QStringLiteral("TDigitalPortForm"))->isVisible());
    QCOMPARE(frame_->FindWindow(QStringLiteral("TDigitalPortForm"))->pos(), QPoint(123, 234));
    // Closed by the user: not reopened.
    frame_->FindWindow(QStringLiteral("TDigitalPortForm"))->close();
    QVERIFY(frame_->close());
    frame_.reset();
    NewFrame();
    QTest::qWait(600);
    QVERIFY(!frame_->FindWindow(QStringLiteral("TDigitalPortForm")));
  }

  // New document windows, "Überlappend" and restored ones lie wholly inside
  // the document area, at a size worth working in.
  void documentWindowsInsideTheArea() {
    frame_->OpenProject(QString());
    const QRect area(QPoint(), frame_->MdiArea()->viewport()->size());
    std::vector<QMdiSubWindow*> subs;
    for (int i = 0; i < 12; ++i) {
      QMdiSubWindow* sub = frame_->AddDocument(new TFakeDocForm(frame_->Project()));
      sub->show();
      subs.push_back(sub);
      QVERIFY2(area.contains(sub->geometry()), qPrintable(QString::number(i)));
    }
    QVERIFY(subs[1]->pos() != subs[0]->pos());
    frame_->Action(QStringLiteral("WindowCascadeItem"))->trigger();
    for (QMdiSubWindow* sub : subs) {
      QVERIFY(area.contains(sub->geometry()));
      QVERIFY(sub->width() >= std::min(300, area.width()) && sub->height() >= std::min(200, area.height()));
    }
    // A stored data-log rectangle half outside the area comes wholly inside.
    TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect = TRect{area.width() - 100, 10, area.width() + 300, 210};
    QWidget* log = frame_->ShowWindow(QStringLiteral("TPlexorFileForm"));
    QMdiSubWindow* logSub = qobject_cast<TMDIChildForm*>(log)->SubWindow();
    QCOMPARE(logSub->geometry(), QRect(area.width() - 400, 10, 400, 200));
    Shot(frame_.get(), QStringLiteral("frame-cascade"));
  }

  // The data-log view keeps its rectangle as it moves, and a stale one in
  // the settings does not override what the desktop file restores.
  void dataLogPlacementFollowsTheDesktopFile() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    QWidget* log = frame_->ShowWindow(QStringLiteral("TPlexorFileForm"));
    QMdiSubWindow* sub = qobject_cast<TMDIChildForm*>(log)->SubWindow();
    sub->setGeometry(20, 30, 380, 190);
    QCOMPARE(TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect, TRect::FromQRect(QRect(20, 30, 380, 190)));
    QVERIFY(frame_->close());
    frame_.reset();
    TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect = TRect{200, 150, 400, 250};  // stale
    NewFrame();
    log = frame_->FindWindow(QStringLiteral("TPlexorFileForm"));
    QVERIFY(log);
    QCOMPARE(qobject_cast<TMDIChildForm*>(log)->SubWindow()->geometry(), QRect(20, 30, 380, 190));
    QCOMPARE(TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect, TRect::FromQRect(QRect(20, 30, 380, 190)));
  }

  void minimisedMainWindowStartsMinimised() {
    TStationSettings::Current().mainWindow = TRect{40, 50, 740, 550};
    TStationSettings::Current().windowState = 1;
    frame_.reset();
    frame_ = std::make_unique<TTarvixForm>(&services_);
    frame_->show();
    QTRY_VERIFY(frame_->isMinimized());
    QCOMPARE(frame_->normalGeometry().size(), QSize(700, 500));
    QVERIFY(frame_->close());
    QCOMPARE(TStationSettings::Current().windowState, 1);
  }

  // The tree shows expand arrows, opens and closes a group with one
  // double-click, tells long names in a tool tip and is wide enough for
  // its longest fixed caption.
  void treeArrowsDoubleClickToolTipsAndWidth() {
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    TProjectController* tree = frame_->Tree();
    QVERIFY(tree->rootIsDecorated());
    QTreeWidgetItem* cells = tree->CellsGroup();
    const bool open = cells->isExpanded();
    const QPoint at = tree->visualItemRect(cells).center();
    // What a widget gets of a double-click: press, release, press, the
    // double-click event, release.
    auto doubleClick = [tree, at] {
      QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
      QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, at);
      QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(at), tree->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                         Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(tree->viewport(), &second);
      QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick();
    QCOMPARE(cells->isExpanded(), !open);
    doubleClick();
    QCOMPARE(cells->isExpanded(), open);
    QTreeWidgetItem* first = cells->child(0);
    QCOMPARE(first->toolTip(0), Project().Cells().front()->Name());
    QCOMPARE(tree->topLevelItem(0)->toolTip(0), QStringLiteral("Kommentar zum Programm"));
    const int needed = tree->fontMetrics().horizontalAdvance(QStringLiteral("Kommentar zum Programm")) + tree->indentation() +
                       tree->iconSize().width();
    QVERIFY2(tree->width() >= needed, qPrintable(QStringLiteral("%1 < %2").arg(tree->width()).arg(needed)));
    Shot(frame_.get(), QStringLiteral("frame-tree"));
  }

  // Without a project the document area says how to begin and lists the
  // recent projects; one click there opens one.
  void startPageWithRecentFiles() {
    TStartPage* page = frame_->StartPage();
    QVERIFY(page->isVisible());
    QCOMPARE(page->geometry(), frame_->MdiArea()->viewport()->rect());
    QTest::mouseClick(page->NewButton(), Qt::LeftButton);
    QVERIFY(frame_->Project());
    QVERIFY(!page->isVisible());
    const QString file = Copy(QStringLiteral("counter.tvp"));
    frame_->OpenProject(file);
    QVERIFY(frame_->CloseProject());
    QVERIFY(page->isVisible());
    QCOMPARE(page->RecentList()->count(), 1);
    QCOMPARE(page->RecentList()->item(0)->toolTip(), file);
    QVERIFY(!page->RecentList()->accessibleName().isEmpty());
    Shot(frame_.get(), QStringLiteral("frame-startpage"));
    emit page->RecentList()->itemActivated(page->RecentList()->item(0));
    QVERIFY(frame_->Project());
    QCOMPARE(Project().FileName(), file);
    QVERIFY(!page->isVisible());
  }

  void windowsHaveIcons() {
    QVERIFY(!frame_->windowIcon().isNull());
    frame_->OpenProject(Copy(QStringLiteral("counter.tvp")));
    for (const char* cls : {"TPlexorFileForm", "TCommentEditForm"}) {
      auto* doc = qobject_cast<TMDIChildForm*>(frame_->ShowWindow(QString::fromLatin1(cls)));
      QVERIFY(doc);
      const QImage icon = doc->SubWindow()->windowIcon().pixmap(32, 32).toImage();
      QVERIFY2(!icon.isNull() && qAlpha(icon.pixel(16, 16)) > 0, cls);
      QVERIFY2(doc->SubWindow()->windowIcon().cacheKey() != frame_->windowIcon().cacheKey(), cls);
    }
    Shot(frame_.get(), QStringLiteral("frame-icons"));
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
