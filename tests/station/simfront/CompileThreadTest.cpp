// The compile worker and the user-interface thread together: stages handed
// across while the window polls the progress, aborts at any moment, and a
// window freed while its worker is inside a download. Also run under
// ThreadSanitizer (label tsan).
#include <QElapsedTimer>
#include <QtTest>

#include "CompileTestSupport.h"
#include "RecordingUserInterface.h"
#include "TSerialPort.h"
#include "TStationSettings.h"

class CompileThreadTest : public QObject {
  Q_OBJECT

  RecordingUserInterface ui;
  QTemporaryDir dir;
  QString oldCwd;

  static void UsePort(const QString& device) {
    TStationSettings::Current() = TStationSettings{};
    TStationSettings::Current().com = 1;
    TStationSettings::Current().comDevices[0] = device;
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir.isValid());
    oldCwd = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
  }
  void cleanupTestCase() { QDir::setCurrent(oldCwd); }
  void init() { ui.calls.clear(); }

  // The user-interface thread keeps polling while about 8000 bytes go out:
  // the worker never holds it for longer than one stage.
  void largeDownloadKeepsTheWindowResponsive() {
    ct::Unit unit;
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::LargeProject());
    QVERIFY(model);
    UsePort(unit.Path());
    ct::Driver driver;
    QList<int> progress;
    driver.whileRunning = [&](TCompilerForm& form) {
      const int value = form.findChild<QProgressBar*>("ctrlProgress")->value();
      if (progress.isEmpty() || progress.last() != value) progress << value;
    };
    const ct::Run run = driver.Compile(*model, true);
    QVERIFY(run.finished);
    const std::vector<uint8_t> image = ct::Listing();
    QVERIFY2(image.size() > 7900 && image.size() <= 8100, qPrintable(QString::number(image.size())));
    QCOMPARE(run.status2, QStringLiteral("%1 bytes übertragen").arg(image.size()));
    QTRY_COMPARE(unit.Downloads().size(), size_t{1});
    QVERIFY(unit.Downloads()[0] == image);
    QVERIFY(progress.size() > 2);  // the bar moved while the bytes went out
    qInfo("longest pause between progress polls: %lld ms", static_cast<long long>(run.longestGap));
    // Sanitizer builds measure the same but run too slowly to hold the figure.
#if !defined(__SANITIZE_THREAD__) && !defined(__SANITIZE_ADDRESS__)
    QVERIFY2(run.longestGap < 100, qPrintable(QString::number(run.longestGap)));
#endif
  }

  // "Abbrechen" at different moments: whatever the worker is doing, the
  // run ends, the window finishes and closes, and nothing is left running.
  void abortAtAnyMoment_data() {
    QTest::addColumn<int>("afterPolls");
    for (int polls : {0, 1, 2, 3, 5, 8, 13, 40}) QTest::newRow(qPrintable(QString::number(polls))) << polls;
  }
  void abortAtAnyMoment() {
    QFETCH(int, afterPolls);
    UnitOptions options;
    options.DelayUs = 500;
    ct::Unit unit(options);
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::LargeProject());
    QVERIFY(model);
    UsePort(unit.Path());
    ct::Driver driver;
    int polls = 0;
    driver.whileRunning = [&](TCompilerForm& form) {
      if (polls++ == afterPolls) QTest::mouseClick(form.findChild<QPushButton*>("bClose"), Qt::LeftButton);
    };
    QElapsedTimer clock;
    clock.start();
    const ct::Run run = driver.Compile(*model, true);
    QVERIFY(run.finished);
    QCOMPARE(run.button, QStringLiteral("OK"));
    QVERIFY(!run.stages.contains(0));  // no success once aborted
    QVERIFY2(clock.elapsed() < 20000, qPrintable(QString::number(clock.elapsed())));
    // The line is free again.
    TSerialPort again;
    QVERIFY(again.Open(unit.Path()));
  }

  // A window freed while its worker waits for the unit's echo: the worker
  // is stopped and joined first, the line is released.
  void windowFreedDuringTheDownload() {
    UnitOptions options;
    options.DelayUs = 2000;
    ct::Unit unit(options);
    QVERIFY(unit.IsOpen());
    auto model = ct::OpenProject(dir, ct::LargeProject());
    QVERIFY(model);
    UsePort(unit.Path());
    model->SetErrorBlockId(65538);
    auto* form = new TCompilerForm;
    form->SetModel(model.get());
    form->SetDownload(true);
    form->show();
    QTRY_VERIFY_WITH_TIMEOUT(form->findChild<QProgressBar*>("ctrlProgress")->value() > 1 &&
                                 form->findChild<QLabel*>("lAction")->text().startsWith(QStringLiteral("Übertrage")),
                             20000);
    QVERIFY(!form->Finished());
    QElapsedTimer clock;
    clock.start();
    delete form;
    QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(model->ErrorBlockId(), -1);
    TSerialPort again;
    QVERIFY(again.Open(unit.Path()));
  }
};

QTEST_MAIN(CompileThreadTest)
#include "CompileThreadTest.moc"
