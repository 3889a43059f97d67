// The compiler window as a user meets it: compile only, tables, compile
// errors, downloads to the emulated unit with every result, port errors,
// port selection and the enabling rule, on the real model and engine.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

#include <cerrno>

#include "CompileTestSupport.h"
#include "Commands.h"
#include "Notifications.h"
#include "RecordingUserInterface.h"
#include "TSerialPort.h"
#include "TStationSettings.h"

using TSound = TUserInterface::Sound;

namespace {

QString SoundName(TSound s) { return QString::number(static_cast<int>(s)); }

class ErrorMarks : public TModelView {
 public:
  void ModelChanged(int32_t code, int64_t data, const TChangeRecord*) override {
    if (code == notify::kErrorMark) seen << QStringLiteral("%1:%2").arg(code).arg(data);
  }
  QStringList seen;
};

}  // namespace

class CompilerFormTest : public QObject {
  Q_OBJECT

  RecordingUserInterface ui;
  QTemporaryDir dir;
  QString oldCwd;

  QStringList Beeps() const { return ui.Texts("Beep"); }
  // Settings with COM1 on the given device.
  static void UsePort(const QString& device) {
    TStationSettings& s = TStationSettings::Current();
    s.com = 1;
    s.comDevices[0] = device;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir.isValid());
    oldCwd = QDir::currentPath();
    // The engine writes CODE.TXT into the current directory.
    QVERIFY(QDir::setCurrent(dir.path()));
  }
  void cleanupTestCase() { QDir::setCurrent(oldCwd); }
  void init() {
    ui.calls.clear();
    TStationSettings::Current() = TStationSettings{};
    QFile::remove(QStringLiteral("CODE.TXT"));
  }

  void compileOnlyNeverOpensThePort() {
    auto model = ct::OpenProject(dir, ct::PrintSeven());
    QVERIFY(model);
    UsePort(QStringLiteral("/dev/vorblen-no-such-port"));
    model->SetErrorBlockId(65538);  // an old mark the successful run clears
    ct::Driver driver;
    QString accessibleLength;
    driver.whenFinished = [&](TCompilerForm& form) {
      QAccessibleInterface* label = QAccessible::queryAccessibleInterface(form.findChild<QLabel*>("lStatus1"));
      accessibleLength = label ? label->text(QAccessible::Name) : QString();
      ct::Shot(form, "compiler-compiled.png");
    };
    const ct::Run run = driver.Compile(*model, false);
    QVERIFY(run.finished);
    QCOMPARE(run.stages, (QList<int>{1, 4, 0}));
    QCOMPARE(run.actions.first(), QStringLiteral("Compiliere..."));
    QCOMPARE(run.action, QStringLiteral("Compiliere...fertig"));
    QCOMPARE(run.status1, QStringLiteral("Programmlänge 9 bytes"));
    QCOMPARE(accessibleLength, run.status1);
    QVERIFY(!run.status1Red);
    QVERIFY(run.status2.isEmpty());
    QCOMPARE(run.button, QStringLiteral("OK"));
    QCOMPARE(Beeps(), QStringList{SoundName(TSound::Information)});
    QCOMPARE(ui.Count("ErrorBox"), 0);
    QCOMPARE(model->SimState(), TSimState::Ready);
    QCOMPARE(model->ErrorBlockId(), -1);
    QCOMPARE(ct::Listing().size(), size_t{9});
  }

  void tables_data() {
    QTest::addColumn<QStringList>("data");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("accepted") << QStringList{"0 1 4 9", "16 25  "} << true;
    QTest::newRow("refused") << QStringList{"0 1 vier 9"} << false;
  }
  void tables() {
    QFETCH(QStringList, data);
    QFETCH(bool, accepted);
    auto model = ct::OpenProject(dir, ct::Table("Quadrat", data) + ct::Lookup());
    QVERIFY(model);
    const ct::Run run = ct::Driver().Compile(*model, false);
    QCOMPARE(run.finished, true);
    QVERIFY(run.stages.size() >= 2);
    QCOMPARE(run.stages[1], 2);
    QCOMPARE(run.actions[1], QStringLiteral("Lade Tabellen..."));
    QCOMPARE(run.button, QStringLiteral("OK"));
    if (accepted) {
      QCOMPARE(run.stages, (QList<int>{1, 2, 4, 0}));
      QCOMPARE(run.action, QStringLiteral("Lade Tabellen...fertig"));
      QCOMPARE(Beeps(), QStringList{SoundName(TSound::Information)});
      QCOMPARE(model->SimState(), TSimState::Ready);
    } else {
      QVERIFY(!run.stages.contains(4) && !run.stages.contains(0) && !run.stages.contains(5));
      QCOMPARE(run.action, QStringLiteral("Lade Tabellen..."));
      QCOMPARE(run.status1, QStringLiteral("Fehler in Tabelle"));
      QVERIFY(run.status1Red);
      QCOMPARE(Beeps(), QStringList{SoundName(TSound::Warning)});
      QCOMPARE(model->SimState(), TSimState::NotReady);
    }
  }

  void failures_data() {
    QTest::addColumn<QStringList>("project");
    QTest::addColumn<bool>("fullDisk");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("errorBlock");
    QTest::newRow("missing input") << ct::CellSection(1, "Start", ct::Block(65537, 700, "7") + ct::Block(65538, 203, {}, {ct::In(0, 65537)}) +
                                                                   ct::Block(65539, 900, "2", {ct::In(0, 65538)}))
                                   << false << QStringLiteral("fehlende Eingangsverbindung") << 65538;
    QTest::newRow("CODE.TXT on a full disk")
        << ct::PrintSeven() << true << QStringLiteral("Die Datei CODE.TXT konnte nicht geschrieben werden") << -1;
  }
  void failures() {
    QFETCH(QStringList, project);
    QFETCH(bool, fullDisk);
    QFETCH(QString, message);
    QFETCH(int, errorBlock);
    auto model = ct::OpenProject(dir, project);
    QVERIFY(model);
    // A full disk, as the listing meets it: writes beyond a few bytes fail.
    struct FileSizeLimit {
      explicit FileSizeLimit(bool on) : on(on) {
        if (!on) return;
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &small);
      }
      ~FileSizeLimit() {
        if (on) setrlimit(RLIMIT_FSIZE, &saved);
      }
      bool on;
      rlimit saved{};
    };
    ErrorMarks marks;
    model->AddView(&marks);
    ct::Run run;
    {
      FileSizeLimit limit(fullDisk);
      run = ct::Driver().Compile(*model, false);
    }
    model->RemoveView(&marks);
    QFile::remove(QStringLiteral("CODE.TXT"));
    QVERIFY(run.finished);
    QCOMPARE(run.stages.last(), 5);
    QCOMPARE(run.action, QStringLiteral("Fertig"));
    QCOMPARE(run.status1, message);
    QVERIFY(run.status1Red);
    QCOMPARE(Beeps(), QStringList{SoundName(TSound::Warning)});
    QCOMPARE(model->ErrorBlockId(), errorBlock);
    // The cell editors hear of the mark before and after it changes.
    QCOMPARE(marks.seen, (QStringList{"2050:0", "2050:1"}));
    QCOMPARE(model->SimState(), TSimState::NotReady);
  }

  void downloadSucceeds() {
    ct::Unit unit;
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::Table("Quadrat", {"0 1 4 9 16"}) + ct::Lookup());
    QVERIFY(model);
    UsePort(unit.Path());
    const ct::Run run = ct::Driver().Compile(*model, true);
    QVERIFY(run.finished);
    QCOMPARE(run.stages, (QList<int>{1, 2, 4, 3, 6, 0}));
    QCOMPARE(run.actions[3], QStringLiteral("Übertrage in Tarvix-Unit..."));
    QCOMPARE(run.action, QStringLiteral("Übertrage in Tarvix-Unit...fertig"));
    const std::vector<uint8_t> image = ct::Listing();
    QVERIFY(!image.empty());
    QCOMPARE(run.status1, QStringLiteral("Programmlänge %1 bytes").arg(image.size()));
    QCOMPARE(run.status2, QStringLiteral("%1 bytes übertragen").arg(image.size()));
    QVERIFY(!run.status2Red);
    QCOMPARE(Beeps(), QStringList{SoundName(TSound::Information)});
    QTRY_COMPARE(unit.Downloads().size(), size_t{1});
    QVERIFY(unit.Downloads()[0] == image);
    // The line is given back whole: exclusive mode and lock are gone.
    TSerialPort again;
    QVERIFY2(again.Open(unit.Path()), qPrintable(QString::number(again.Error())));
  }

  void downloadFailures_data() {
    QTest::addColumn<int>("silentFrom");
    QTest::addColumn<int>("wrongEchoAt");
    QTest::addColumn<int>("hangUpAfter");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("no answer") << 0 << -1 << -1 << QStringList{"Die Tarvix-Unit antwortet nicht!"};
    QTest::newRow("wrong echo") << -1 << 3 << -1 << QStringList{"Es trat ein Übertragungsfehler auf!"};
    QTest::newRow("adapter pulled") << -1 << -1 << 4
                                    << QStringList{"Die Tarvix-Unit antwortet nicht!",
                                                   "Es trat ein Fehler beim Schreiben auf die serielle Schnittstelle auf!"};
  }
  void downloadFailures() {
    QFETCH(int, silentFrom);
    QFETCH(int, wrongEchoAt);
    QFETCH(int, hangUpAfter);
    QFETCH(QStringList, messages);
    UnitOptions options;
    options.SilentFrom = silentFrom;
    options.WrongEchoAt = wrongEchoAt;
    options.HangUpAfter = hangUpAfter;
    ct::Unit unit(options);
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::PrintSeven());
    QVERIFY(model);
    UsePort(unit.Path());
    ct::Driver driver;
    driver.whenFinished = [](TCompilerForm& form) { ct::Shot(form, "compiler-download-failed.png"); };
    const ct::Run run = driver.Compile(*model, true);
    QVERIFY(run.finished);
    QCOMPARE(run.action, QStringLiteral("Übertrage in Tarvix-Unit...abgebrochen"));
    QVERIFY2(messages.contains(run.status2), qPrintable(run.status2));
    QVERIFY(run.status2Red);
    QCOMPARE(run.status1, QStringLiteral("Programmlänge 9 bytes"));
    QVERIFY(!run.stages.contains(0));
    // A failed download sounds the warning only.
    QCOMPARE(Beeps(), QStringList{SoundName(TSound::Warning)});
    QCOMPARE(model->SimState(), TSimState::Ready);
  }

  void abortDuringTheTransferAndNoCloseMeanwhile() {
    UnitOptions slow;
    slow.DelayUs = 3000;
    ct::Unit unit(slow);
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::LargeProject());
    QVERIFY(model);
    UsePort(unit.Path());
    ct::Driver driver;
    bool refused = false, aborted = false, enabledWhileRunning = false;
    driver.whileRunning = [&](TCompilerForm& form) {
      enabledWhileRunning = enabledWhileRunning || CanCompileProject(model.get());
      if (aborted || form.findChild<QProgressBar*>("ctrlProgress")->value() < 2) return;
      if (form.findChild<QLabel*>("lAction")->text() != QStringLiteral("Übertrage in Tarvix-Unit...")) return;
      // System close, Escape and a direct reject are all refused while the worker runs.
      form.close();
      QTest::keyClick(&form, Qt::Key_Escape);
      form.reject();
      refused = form.isVisible();
      ct::Shot(form, "compiler-downloading.png");
      QTest::mouseClick(form.findChild<QPushButton*>("bClose"), Qt::LeftButton);
      aborted = true;
    };
    const ct::Run run = driver.Compile(*model, true);
    QVERIFY(aborted);
    QVERIFY(refused);
    QVERIFY(!enabledWhileRunning);
    QVERIFY(CanCompileProject(model.get()));
    QVERIFY(run.finished);
    QCOMPARE(run.action, QStringLiteral("Übertrage in Tarvix-Unit...abgebrochen"));
    QCOMPARE(run.status2, QStringLiteral("Der Download wurde durch den Anwender abgebrochen!"));
    QVERIFY(run.status2Red);
    QCOMPARE(Beeps(), QStringList{SoundName(TSound::Warning)});
  }

  void portErrors_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("error");
    QTest::newRow("missing") << "missing" << ENOENT;
    QTest::newRow("no terminal") << "file" << ENOTTY;
    QTest::newRow("second station") << "busy" << EBUSY;
  }
  void portErrors() {
    QFETCH(QString, kind);
    QFETCH(int, error);
    ct::Unit unit;
    QVERIFY(unit.IsOpen());
    TSerialPort otherStation;
    QString device = unit.Path();
    if (kind == "missing") device = dir.filePath("ttyGone");
    if (kind == "file") {
      device = dir.filePath("plain.txt");
      QFile f(device);
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    if (kind == "busy") QVERIFY(otherStation.Open(device));
    auto model = ct::OpenProject(dir, ct::PrintSeven());
    QVERIFY(model);
    UsePort(device);
    const ct::Run run = ct::Driver().Compile(*model, true);
    QVERIFY(!run.finished);
    QVERIFY(run.stages.isEmpty());
    const QStringList boxes = ui.Texts("ErrorBox");
    QCOMPARE(boxes.size(), 1);
    QVERIFY2(boxes[0].startsWith(QStringLiteral("Fehler beim Öffnen der Schnittstelle COM1: %1\r").arg(error)),
             qPrintable(boxes[0]));
    QVERIFY(boxes[0].contains(device));
    QCOMPARE(model->SimState(), TSimState::NotReady);
    QVERIFY(!QFile::exists(QStringLiteral("CODE.TXT")));
    QVERIFY(unit.Downloads().empty());
  }

  void portSelection_data() {
    QTest::addColumn<bool>("choose");
    QTest::newRow("cancelled") << false;
    QTest::newRow("COM2 chosen") << true;
  }
  void portSelection() {
    QFETCH(bool, choose);
    ct::Unit unit;
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::PrintSeven());
    QVERIFY(model);
    TStationSettings::Current().com = -1;
    TStationSettings::Current().autoTiming = true;
    ct::Driver driver;
    bool modeRight = false, okRefused = false, answered = false;
    driver.onOptions = [&](TEnvOptionDlg& dlg) {
      answered = true;
      auto* pages = dlg.findChild<QTabWidget*>("Pages");
      auto* ok = dlg.findChild<QPushButton*>("bOk");
      modeRight = dlg.PortSelection() && !pages->isTabVisible(0) && !pages->isTabVisible(1) &&
                  pages->isTabVisible(2) && pages->currentIndex() == 2 &&
                  !dlg.findChild<QCheckBox*>("CBAutoTiming")->isEnabled() &&
                  !dlg.findChild<QCheckBox*>("CBSaveAnalogInPorts")->isEnabled() && !ok->isEnabled();
      dlg.accept();  // refused: no port yet
      okRefused = dlg.isVisible();
      ct::Shot(dlg, "options-port-selection.png");
      if (!choose) {
        QTest::mouseClick(dlg.findChild<QPushButton*>("bCancel"), Qt::LeftButton);
        return;
      }
      auto* device = dlg.findChild<QComboBox*>("COM2Device");
      device->setCurrentText(unit.Path());
      QTest::mouseClick(dlg.findChild<QRadioButton*>("COM2"), Qt::LeftButton);
      QVERIFY(ok->isEnabled());
      QTest::mouseClick(ok, Qt::LeftButton);
    };
    const ct::Run run = driver.Compile(*model, true);
    QVERIFY(answered);
    QVERIFY(modeRight);
    QVERIFY(okRefused);
    if (!choose) {
      QVERIFY(!run.finished);
      QVERIFY(run.stages.isEmpty());
      QCOMPARE(TStationSettings::Current().com, -1);
      QCOMPARE(model->SimState(), TSimState::NotReady);
      return;
    }
    QVERIFY(run.finished);
    QCOMPARE(run.status2, QStringLiteral("9 bytes übertragen"));
    QCOMPARE(TStationSettings::Current().com, 2);
    QCOMPARE(TStationSettings::Current().comDevices[1], unit.Path());
    QVERIFY(TStationSettings::Current().autoTiming);
  }

  void windowWithoutModel() {
    TCompilerForm form;
    QTimer::singleShot(3000, &form, [&] { form.done(QDialog::Accepted); });  // a hang would end here
    QCOMPARE(form.exec(), int(QDialog::Rejected));
    QCOMPARE(ui.Texts("ErrorBox"), QStringList{"Interner Fehler: Model nicht gesetzt!"});
  }

  void enablingRule() {
    QVERIFY(!CanCompileProject(nullptr));
    auto empty = ct::OpenProject(dir, {});
    QVERIFY(empty && !CanCompileProject(empty.get()));
    auto blockless = ct::OpenProject(dir, ct::CellSection(1, "Leer", {}));
    QVERIFY(blockless && !CanCompileProject(blockless.get()));
    auto model = ct::OpenProject(dir, ct::CellSection(1, "Leer", {}) + ct::CellSection(2, "Voll", ct::Block(131073, 700, "1")));
    QVERIFY(model && CanCompileProject(model.get()));
    QVERIFY(ct::Driver().Compile(*model, false).finished);
    QVERIFY(CanCompileProject(model.get()));  // Ready
    model->RunCommand(cmd::kRun);
    QVERIFY(!CanCompileProject(model.get()));
    model->RunCommand(cmd::kStop);
    QVERIFY(!CanCompileProject(model.get()));  // halted is still a simulation
  }

  void missingExternalTableShowsNoWindow() {
    auto model = ct::OpenProject(dir, QStringList{"#TABLE_START", "Name=Quadrat", "Extern=" + dir.filePath("fehlt.tab"),
                                                  "#TABLE_END", ""} + ct::Lookup());
    QVERIFY(model);
    ui.calls.clear();
    const ct::Run run = ct::Driver().Compile(*model, false);
    QVERIFY(!run.finished);
    QVERIFY(!run.sawForm);
    QCOMPARE(ui.Count("ErrorBox"), 1);
    QVERIFY(ui.Texts("ErrorBox")[0].startsWith(QStringLiteral("Fehler beim Laden der externen Tabellendatei:")));
  }
};

QTEST_MAIN(CompilerFormTest)
#include "CompilerFormTest.moc"
