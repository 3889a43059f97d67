// The main window while a program runs in real time: its pauses never hold
// the event loop, Esc is answered at once, and the serial output arrives
// when it is due. The bounds are generous (a loaded test machine), yet a
// step that slept in the interface thread would miss each by seconds.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>
#include <vector>

#include "Commands.h"
#include "Notifications.h"
#include "RecordingUserInterface.h"
#include "TModelView.h"
#include "TSimulatedInputs.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"

namespace {

// When each terminal line was completed.
class LineClock : public TModelView {
 public:
  explicit LineClock(const QElapsedTimer& clock) : clock_(clock) {}
  void ModelChanged(int32_t code, int64_t data, const TChangeRecord*) override {
    if (code == notify::kTerminalLine && data > lastLine_) {
      lastLine_ = data;
      times.push_back(clock_.elapsed());
    }
  }
  void ModelGone() override {}
  std::vector<qint64> times;

 private:
  const QElapsedTimer& clock_;
  int64_t lastLine_ = 0;
};

}  // namespace

class ResponsiveRunTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingUserInterface> ui_;
  std::unique_ptr<TTarvixForm> frame_;

  // The counter example with its half-second pause set to `ticks`.
  QString Counter(const QByteArray& ticks) {
    QFile in(QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"));
    if (!in.open(QIODevice::ReadOnly)) return {};
    QByteArray text = in.readAll();
    text.replace("#DLLDATA_START\r\n25\r\n#DLLDATA_END", "#DLLDATA_START\r\n" + ticks + "\r\n#DLLDATA_END");
    const QString name = dir_->filePath(QStringLiteral("counter%1.tvp").arg(QString::fromLatin1(ticks)));
    QFile out(name);
    if (!out.open(QIODevice::WriteOnly)) return {};
    out.write(text);
    return name;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    qputenv("VORBLEN_SETTINGS", dir_->filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    TStationSettings::Current() = TStationSettings::Defaults(dir_->path());
    ui_ = std::make_unique<RecordingUserInterface>();
    frame_ = std::make_unique<TTarvixForm>();
    frame_->resize(1000, 700);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    TSimulatedInputs& in = TSimulatedInputs::Current();
    in.AutoTiming = true;
    in.VirtualTime = false;
    in.AutoTimingChanged = true;
  }

  void cleanup() {
    frame_.reset();
    ui_.reset();
    QDir::setCurrent(QDir::tempPath());
    dir_.reset();
  }

  void pausesKeepTheWindowAnswering_data() {
    QTest::addColumn<QByteArray>("ticks");
    QTest::newRow("counter, half a second") << QByteArray("25");
    QTest::newRow("pauses of 150 ticks") << QByteArray("150");
  }

  void pausesKeepTheWindowAnswering() {
    QFETCH(QByteArray, ticks);
    frame_->OpenProject(Counter(ticks));
    TTarvixPlusModel* project = frame_->Project();
    QVERIFY(project);
    PlexorHandle e = project->Engine();
    QVERIFY(PlexorCompilerInit(e) && PlexorCompile(e) == 0 && PlexorCompilerDone(e));
    project->SetCompiled(true);

    QElapsedTimer clock;
    clock.start();
    LineClock lines(clock);
    project->AddView(&lines);
    // A 10 ms timer stands for everything else the event loop serves.
    qint64 last = 0, worstGap = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    connect(&tick, &QTimer::timeout, this, [&] {
      worstGap = std::max(worstGap, clock.elapsed() - last);
      last = clock.elapsed();
    });
    tick.start(10);
    last = clock.elapsed();
    QTest::keyClick(frame_.get(), Qt::Key_F9);
    QCOMPARE(project->SimState(), TSimState::Running);
    const int pauseMs = ticks.toInt() * 20;
    QTest::qWait(std::min(1700, pauseMs * 3 + 200));
    QVERIFY2(worstGap < 50, qPrintable(QStringLiteral("event loop stood still for %1 ms").arg(worstGap)));
    QVERIFY(!lines.times.empty());
    // Each line after the first comes one pause after the one before it.
    for (size_t i = 1; i < lines.times.size(); ++i) {
      const qint64 late = lines.times[i] - lines.times[i - 1] - pauseMs;
      QVERIFY2(late > -5 && late < 50, qPrintable(QStringLiteral("line %1 off by %2 ms").arg(i).arg(late)));
    }
    // Esc in the middle of a pause ends it at once, with its message.
    QTRY_COMPARE_WITH_TIMEOUT(project->SimState(), TSimState::Pausing, 1000);
    clock.restart();
    QTest::keyClick(frame_.get(), Qt::Key_Escape);
    QCOMPARE(project->SimState(), TSimState::Halted);
    QVERIFY(clock.elapsed() < 100);
    QCOMPARE(ui_->Texts("InfoBox"), QStringList{QStringLiteral("PAUSE: Abbruch durch Anwender")});
    project->RemoveView(&lines);
  }

  // "Zeitraffer" from the tool bar checks it in the menu too, and the
  // traffic light's 5 s of red pass at once; "Echtzeit" from the menu
  // brings the wall clock back.
  void timeLapseFromToolBarAndMenu() {
    QFile::copy(QStringLiteral(VORBLEN_EXAMPLES "/traffic.tvp"), dir_->filePath(QStringLiteral("traffic.tvp")));
    frame_->OpenProject(dir_->filePath(QStringLiteral("traffic.tvp")));
    TTarvixPlusModel* project = frame_->Project();
    QVERIFY(project);
    PlexorHandle e = project->Engine();
    QVERIFY(PlexorCompilerInit(e) && PlexorCompile(e) == 0 && PlexorCompilerDone(e));
    project->SetCompiled(true);
    QCOMPARE(frame_->Action(QStringLiteral("SimulatorRealTimeItem"))->isChecked(), true);
    frame_->Action(QStringLiteral("VirtualTimeButton"))->trigger();
    QVERIFY(TSimulatedInputs::Current().VirtualTime);
    QVERIFY(frame_->Action(QStringLiteral("SimulatorVirtualTimeItem"))->isChecked());
    QVERIFY(!frame_->Action(QStringLiteral("RealTimeButton"))->isChecked());
    frame_->DoChildCommand(cmd::kRun);
    QTRY_VERIFY_WITH_TIMEOUT(project->TerminalLines().contains(QStringLiteral("Grün")), 2000);
    QVERIFY(project->Simulation().UnitTicks() >= 290);  // red and red-yellow: 6 s of the unit's time
    frame_->Action(QStringLiteral("SimulatorRealTimeItem"))->trigger();
    QVERIFY(!TSimulatedInputs::Current().VirtualTime);
    QVERIFY(frame_->Action(QStringLiteral("RealTimeButton"))->isChecked());
    frame_->DoChildCommand(cmd::kStop);
  }
};

QTEST_MAIN(ResponsiveRunTest)
#include "ResponsiveRunTest.moc"
