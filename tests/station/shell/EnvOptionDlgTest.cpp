// The environment options dialog: every control reads and writes its
// setting, the block-index switch reaches the open project, help, the port
// devices, and the list of serial devices offered.
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QSpinBox>
#include <QtTest>

#include "CellEditorSettings.h"
#include "Notifications.h"
#include "RecordingUserInterface.h"
#include "SerialDevices.h"
#include "TEnvOptionDlg.h"
#include "TSimulatedInputs.h"
#include "TTarvixPlusModel.h"

namespace {

class Notes : public TModelView {
 public:
  void ModelChanged(int32_t code, int64_t, const TChangeRecord*) override { codes << code; }
  QList<int> codes;
};

// Flips one switch of the settings.
using Flip = void (*)(TStationSettings&);

}  // namespace

class EnvOptionDlgTest : public QObject {
  Q_OBJECT
  RecordingUserInterface ui;

  // Runs Edit with `act` playing the user on the shown dialog.
  bool EditWith(TStationSettings& settings, TTarvixPlusModel* project, std::function<void(TEnvOptionDlg&)> act) {
    QTimer::singleShot(0, [act] {
      auto* dlg = qobject_cast<TEnvOptionDlg*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      act(*dlg);
    });
    return TEnvOptionDlg::Edit(settings, project, nullptr);
  }

 private slots:
  void init() {
    ui.calls.clear();
    CellEditorSettings::Current().blockIndicesVisible = false;
    TSimulatedInputs::Current().AutoTiming = true;
    TSimulatedInputs::Current().AutoTimingChanged = false;
  }

  void everyControlRoundTrips_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<void*>("flip");
    auto row = [](const char* control, Flip f) { QTest::newRow(control) << QString::fromLatin1(control) << reinterpret_cast<void*>(f); };
    row("cbShowIndex", [](TStationSettings& s) { s.blockIndicesVisible = !s.blockIndicesVisible; });
    row("cbCheckBeforeCompile", [](TStationSettings& s) { s.checkBeforeCompile = !s.checkBeforeCompile; });
    row("cbSynchronizeCellsProject", [](TStationSettings& s) { s.autoSynchronize = !s.autoSynchronize; });
    row("cbExpandCells", [](TStationSettings& s) { s.autoExpandCells = !s.autoExpandCells; });
    row("cbExpandTables", [](TStationSettings& s) { s.autoExpandTables = !s.autoExpandTables; });
    row("cbOpenFirstCell", [](TStationSettings& s) { s.autoOpenFirstCell = !s.autoOpenFirstCell; });
    row("CBAutoTiming", [](TStationSettings& s) { s.autoTiming = !s.autoTiming; });
    row("CBSaveAnalogInPorts", [](TStationSettings& s) { s.adValuesSaved = !s.adValuesSaved; });
    row("COM3", [](TStationSettings& s) { s.com = 3; });
  }
  void everyControlRoundTrips() {
    QFETCH(QString, control);
    QFETCH(void*, flip);
    TStationSettings settings;
    settings.com = 2;
    TStationSettings expected = settings;
    reinterpret_cast<Flip>(flip)(expected);
    TTarvixPlusModel project;
    Notes notes;
    project.AddView(&notes);
    const bool ok = EditWith(settings, &project, [&](TEnvOptionDlg& dlg) {
      auto* pages = dlg.findChild<QTabWidget*>("Pages");
      QWidget* widget = dlg.findChild<QWidget*>(control);
      QVERIFY(widget);
      for (int i = 0; i < pages->count(); ++i)
        if (pages->widget(i)->isAncestorOf(widget)) pages->setCurrentIndex(i);
      QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(8, widget->height() / 2));
      QTest::mouseClick(dlg.findChild<QPushButton*>("bOk"), Qt::LeftButton);
    });
    project.RemoveView(&notes);
    QVERIFY(ok);
    QVERIFY(settings == expected);
    // Only the block-index switch tells the project; AutoTiming goes to the simulator.
    QCOMPARE(notes.codes, control == "cbShowIndex" ? QList<int>{notify::kBlockIndicesChanged} : QList<int>{});
    QCOMPARE(CellEditorSettings::Current().blockIndicesVisible, expected.blockIndicesVisible);
    QCOMPARE(TSimulatedInputs::Current().AutoTimingChanged, control == "CBAutoTiming");
    QCOMPARE(TSimulatedInputs::Current().AutoTiming, expected.autoTiming);
  }

  void cancelHelpAndNames() {
    TStationSettings settings;
    settings.com = -1;
    settings.comDevices[0] = QStringLiteral("/dev/ttyUSB0");
    QStringList unnamed;
    QStringList pageNames;
    const bool ok = EditWith(settings, nullptr, [&](TEnvOptionDlg& dlg) {
      auto* pages = dlg.findChild<QTabWidget*>("Pages");
      for (int i = 0; i < pages->count(); ++i) pageNames << pages->tabText(i);
      for (QWidget* w : dlg.findChildren<QWidget*>()) {
        if (!w->focusPolicy() || qobject_cast<QTabWidget*>(w->parentWidget())) continue;
        if (w->accessibleName().isEmpty() && !w->objectName().startsWith("qt_")) unnamed << w->metaObject()->className();
      }
      for (QRadioButton* r : dlg.findChildren<QRadioButton*>()) QVERIFY(!r->isChecked());
      QCOMPARE(dlg.findChild<QComboBox*>("COM1Device")->currentText(), QStringLiteral("/dev/ttyUSB0"));
      QCOMPARE(dlg.findChild<QComboBox*>("COM2Device")->currentText(), QStringLiteral("/dev/ttyS1"));
      pages->setCurrentIndex(2);
      dlg.findChild<QComboBox*>("COM2Device")->setCurrentText(QStringLiteral("/dev/ttyACM0"));
      QTest::mouseClick(dlg.findChild<QPushButton*>("bHelp"), Qt::LeftButton);
      const QByteArray shots = qgetenv("VORBLEN_SHOTS");
      if (!shots.isEmpty()) dlg.grab().save(QString::fromLocal8Bit(shots) + "/options-simulator.png");
      QTest::keyClick(&dlg, Qt::Key_Escape);
    });
    QVERIFY(!ok);
    QCOMPARE(settings.comDevices[1], QString());  // cancelled: nothing taken
    QCOMPARE(pageNames, (QStringList{"Projekt", "Projektübersichtsfenster", "Simulator und Lader", "Umgebung"}));
    QCOMPARE(ui.Texts("ShowHelp"), QStringList{"20000"});
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(", ")));
  }

  void recoveryIntervalIsTypedOnTheEnvironmentPage() {
    TStationSettings settings;
    QVERIFY(settings.recoveryInterval == 30);
    QVERIFY(EditWith(settings, nullptr, [](TEnvOptionDlg& dlg) {
      auto* pages = dlg.findChild<QTabWidget*>("Pages");
      auto* box = dlg.findChild<QSpinBox*>("seRecoveryInterval");
      QVERIFY(box);
      QCOMPARE(box->accessibleName(), QStringLiteral("Wiederherstellungskopie alle N s"));
      pages->setCurrentIndex(3);
      QCOMPARE(pages->tabText(3), QStringLiteral("Umgebung"));
      box->setFocus();
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(box, "0");
      QCOMPARE(box->value(), 0);  // shown as "aus"
      QCOMPARE(box->specialValueText(), QStringLiteral("aus"));
      QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(box, "90");
      QTest::mouseClick(dlg.findChild<QPushButton*>("bOk"), Qt::LeftButton);
    }));
    QCOMPARE(settings.recoveryInterval, 90);
  }

  void deviceOverrides() {
    TStationSettings settings;
    settings.com = 1;
    settings.comDevices[0] = QStringLiteral("/dev/ttyUSB3");
    QVERIFY(EditWith(settings, nullptr, [](TEnvOptionDlg& dlg) {
      dlg.findChild<QComboBox*>("COM1Device")->setCurrentText(QStringLiteral("/dev/ttyS0"));  // back to standard
      dlg.findChild<QComboBox*>("COM4Device")->setCurrentText(QStringLiteral("  /dev/serial/by-id/usb-FTDI-if00  "));
      dlg.accept();
    }));
    QCOMPARE(settings.comDevices[0], QString());
    QCOMPARE(settings.comDevices[3], QStringLiteral("/dev/serial/by-id/usb-FTDI-if00"));
  }

  void readingAgainClearsThePort() {
    TEnvOptionDlg dlg(nullptr, true);
    TStationSettings settings;
    settings.com = 3;
    dlg.ReadSettings(settings);
    QCOMPARE(dlg.ChosenPort(), 3);
    QVERIFY(dlg.findChild<QPushButton*>("bOk")->isEnabled());
    settings.com = -1;
    dlg.ReadSettings(settings);
    QCOMPARE(dlg.ChosenPort(), -1);
    QVERIFY(!dlg.findChild<QPushButton*>("bOk")->isEnabled());
  }

  void serialDevicesInTheirOrder() {
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QDir dev(root.path());
    QVERIFY(dev.mkpath("serial/by-id"));
    for (const char* name : {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB1", "ttyUSB0", "tty0", "null"}) {
      QFile f(dev.filePath(name));
      QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(dev.filePath("ttyUSB0"), dev.filePath("serial/by-id/usb-FTDI_FT232R-if00-port0")));
    const QStringList expected = {dev.filePath("serial/by-id/usb-FTDI_FT232R-if00-port0"), dev.filePath("ttyUSB0"),
                                  dev.filePath("ttyUSB1"), dev.filePath("ttyACM0"), dev.filePath("ttyS2"),
                                  dev.filePath("ttyS10")};
    QCOMPARE(SerialDevices(root.path()), expected);
    QCOMPARE(SerialDevices(root.filePath("nothing-here")), QStringList{});
  }
};

QTEST_MAIN(EnvOptionDlgTest)
#include "EnvOptionDlgTest.moc"
