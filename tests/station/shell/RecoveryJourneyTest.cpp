// Nothing lost when the station dies, on a real X server (Xvfb): a station
// in a process of its own edits a project and is killed with SIGKILL once
// its recovery copy is on disk; the next start offers the copy in the
// dialog "Wiederherstellung", the user opens it and saves with Ctrl+S, and
// the project file is byte for byte the edited project. The save removes
// the copy.
//
// The killed station is this program started again with
// VORBLEN_JOURNEY_STATION naming the project to edit.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <csignal>

#include "RecordingUserInterface.h"
#include "TProjectController.h"
#include "TRecoveryController.h"
#include "TRecoveryCopy.h"
#include "TRecoveryDlg.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"

namespace {

void UseSettings(const QString& dir) {
  TStationSettings::Current() = TStationSettings::Defaults(dir + QLatin1Char('/'));
  TStationSettings::Current().showTipsOfDay = false;
  TStationSettings::Current().autoOpenFirstCell = false;
  TStationSettings::Current().recoveryInterval = 1;
}

QByteArray Read(const QString& name) {
  QFile f(name);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The station that dies: opens the project, inserts two cells from the
// keyboard, writes what saving would write beside it, and runs until killed.
int RunStation(const QString& project) {
  RecordingUserInterface ui;
  UseSettings(QFileInfo(project).absolutePath());
  TTarvixForm frame;
  frame.show();
  if (!QTest::qWaitForWindowExposed(&frame) || !frame.OpenProject(project)) return 2;
  TProjectController* tree = frame.Tree();
  for (int i = 0; i < 2; ++i) {
    tree->setFocus();
    tree->setCurrentItem(tree->CellsGroup());
    QTest::keyClick(tree, Qt::Key_Insert);
  }
  QSaveFile expected(project + QStringLiteral(".expected"));
  const QByteArray bytes = frame.Project()->SaveToBytes();
  if (!expected.open(QIODevice::WriteOnly) || expected.write(bytes) != bytes.size() || !expected.commit()) return 3;
  return QApplication::exec();
}

}  // namespace

class RecoveryJourneyTest : public QObject {
  Q_OBJECT

 private slots:
  void killedStationIsRestoredByteForByte() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QDir::setCurrent(dir.path());
    qputenv("VORBLEN_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    const QString states = dir.filePath(QStringLiteral("state/vorblen/recovery"));
    const QString project = dir.filePath(QStringLiteral("counter.tvp"));
    QVERIFY(QFile::copy(QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"), project));
    QFile::setPermissions(project, QFile::ReadOwner | QFile::WriteOwner);
    const QByteArray original = Read(project);

    // The first station: edit, wait for the copy, kill -9.
    QProcess station;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VORBLEN_JOURNEY_STATION"), project);
    station.setProcessEnvironment(env);
    station.setProcessChannelMode(QProcess::ForwardedChannels);
    station.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(station.waitForStarted());
    const QString expectedFile = project + QStringLiteral(".expected");
    auto copies = [&] { return QDir(states).entryList({QStringLiteral("*.vrc")}, QDir::Files); };
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(expectedFile) && copies().size() == 1, 60000);
    const QByteArray expected = Read(expectedFile);
    QVERIFY(expected != original);
    TRecoveryCopy copy;
    QString problem;
    QVERIFY2(TRecoveryCopy::Read(QDir(states).filePath(copies().first()), copy, problem), qPrintable(problem));
    QCOMPARE(copy.body, expected);
    QCOMPARE(copy.header.writer.pid, static_cast<int64_t>(station.processId()));
    ::kill(static_cast<pid_t>(station.processId()), SIGKILL);
    QVERIFY(station.waitForFinished(10000));
    QCOMPARE(station.exitStatus(), QProcess::CrashExit);
    QCOMPARE(Read(project), original);  // the edits live only in the copy

    // The next start: the dialog offers the copy, the user opens it.
    RecordingUserInterface ui;
    UseSettings(dir.path());
    TTarvixForm frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QStringList rows;
    QTimer::singleShot(0, this, [&rows] {
      auto* dlg = qobject_cast<TRecoveryDlg*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      QVERIFY(QTest::qWaitForWindowExposed(dlg));
      auto* list = dlg->findChild<QTreeWidget*>(QStringLiteral("RecoveryList"));
      for (int i = 0; i < list->topLevelItemCount(); ++i)
        for (int c = 0; c < 4; ++c) rows << list->topLevelItem(i)->text(c);
      auto* open = dlg->findChild<QPushButton*>(QStringLiteral("bOpen"));
      QTest::mouseClick(open, Qt::LeftButton);
    });
    frame.Recovery().OfferCopies();
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], QStringLiteral("counter"));
    QCOMPARE(rows[1], project);
    QCOMPARE(rows[3], QStringLiteral("unverändert"));
    QVERIFY(frame.Project()->Modified());
    QCOMPARE(frame.Project()->FileName(), project);

    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!frame.Project()->Modified());
    QCOMPARE(Read(project), expected);
    frame.Recovery().Writer().Flush();
    QCOMPARE(copies(), QStringList());
  }
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString station = qEnvironmentVariable("VORBLEN_JOURNEY_STATION");
  if (!station.isEmpty()) return RunStation(station);
  RecoveryJourneyTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "RecoveryJourneyTest.moc"
