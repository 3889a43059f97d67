// Recovery copies in the real main window (offscreen): a typed change gets
// its copy after the interval and at once before a compile, a clean save,
// "Nein" at the close question and closing an unmodified project remove
// it, "Abbrechen" keeps it; the dialog "Wiederherstellung" lists copies of
// ended stations, discards and saves elsewhere on the user's word only, and
// opens one as the modified project under its file's name.
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "Commands.h"
#include "RecordingUserInterface.h"
#include "TProjectController.h"
#include "TRecoveryController.h"
#include "TRecoveryDlg.h"
#include "TRecoveryWriter.h"
#include "TStationServices.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"

class RecoveryWindowTest : public QObject {
  Q_OBJECT

 private:
  // A compiler that only counts.
  struct : TStationServices {
    bool HasCompiler() const override { return true; }
    void Compile(TTarvixPlusModel&, bool, QWidget*) override { ++compiles; }
    int compiles = 0;
  } services_;
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<RecordingUserInterface> ui_;
  std::unique_ptr<TTarvixForm> frame_;
  QString states_;

  QStringList Copies() {
    frame_->Recovery().Writer().Flush();
    return QDir(states_).entryList({QStringLiteral("*.vrc")}, QDir::Files);
  }
  QString Example(const QString& name) {
    const QString target = dir_->filePath(name);
    QFile::copy(QStringLiteral(VORBLEN_EXAMPLES "/") + name, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    return target;
  }
  // Inserts a cell as the user does: Insert in the project tree.
  void TypeAChange() {
    TProjectController* tree = frame_->Tree();
    tree->setFocus();
    tree->setCurrentItem(tree->CellsGroup());
    const size_t before = frame_->Project()->Cells().size();
    QTest::keyClick(tree, Qt::Key_Insert);
    QCOMPARE(frame_->Project()->Cells().size(), before + 1);
  }
  static QByteArray Read(const QString& name) {
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // A copy left by a station that has ended.
  QString LeftCopy(const QString& name, const QString& project, const QByteArray& body) {
    TRecoveryCopy copy;
    copy.header.projectFile = project;
    copy.header.time = 1700000000000;
    copy.header.writer = TProcessIdentity::Self();
    copy.header.writer.pid = 0x7FFFFFF0;
    TRecoveryHeader::FileState(project, copy.header.fileTime, copy.header.fileSize);
    copy.body = body;
    QDir().mkpath(states_);
    const QString path = QDir(states_).filePath(name);
    QString problem;
    TRecoveryWriter::WriteFile(path, copy.Encode(), problem);
    return path;
  }
  // Plays the user on the dialog once it shows.
  void OnDialog(std::function<void(TRecoveryDlg&)> act) {
    QTimer::singleShot(0, this, [act] {
      auto* dlg = qobject_cast<TRecoveryDlg*>(QApplication::activeModalWidget());
      QVERIFY(dlg);
      act(*dlg);
    });
  }
  static void Select(TRecoveryDlg& dlg, const QString& project) {
    auto* list = dlg.findChild<QTreeWidget*>(QStringLiteral("RecoveryList"));
    const QList<QTreeWidgetItem*> items = list->findItems(project, Qt::MatchExactly, 0);
    QVERIFY(!items.isEmpty());
    list->setCurrentItem(items.first());
  }
  static void Click(TRecoveryDlg& dlg, const char* button) {
    auto* b = dlg.findChild<QPushButton*>(QLatin1String(button));
    QVERIFY(b && b->isEnabled());
    QTest::mouseClick(b, Qt::LeftButton);
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QDir::setCurrent(dir_->path());
    qputenv("VORBLEN_SETTINGS", dir_->filePath(QStringLiteral("settings.ini")).toLocal8Bit());
    qputenv("XDG_STATE_HOME", dir_->filePath(QStringLiteral("state")).toLocal8Bit());
    states_ = dir_->filePath(QStringLiteral("state/vorblen/recovery"));
    TStationSettings::Current() = TStationSettings::Defaults(dir_->path());
    TStationSettings::Current().showTipsOfDay = false;
    TStationSettings::Current().autoOpenFirstCell = false;
    ui_ = std::make_unique<RecordingUserInterface>();
    frame_ = std::make_unique<TTarvixForm>(&services_);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
  }
  void cleanup() {
    frame_.reset();
    ui_.reset();
  }

  void aChangeIsCopiedAfterTheIntervalAndACleanSaveRemovesIt() {
    TStationSettings::Current().recoveryInterval = 1;
    QVERIFY(frame_->OpenProject(Example(QStringLiteral("counter.tvp"))));
    QCOMPARE(Copies(), QStringList());
    TypeAChange();
    QCOMPARE(Copies(), QStringList());  // not at once
    QTRY_COMPARE_WITH_TIMEOUT(Copies().size(), qsizetype(1), 10000);
    TRecoveryCopy copy;
    QString problem;
    QVERIFY(TRecoveryCopy::Read(QDir(states_).filePath(Copies().first()), copy, problem));
    QCOMPARE(copy.body, frame_->Project()->SaveToBytes());
    QCOMPARE(copy.header.projectFile, frame_->Project()->FileName());

    QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!frame_->Project()->Modified());
    QCOMPARE(Copies(), QStringList());
  }

  void aCompileCopiesAtOnce() {
    TStationSettings::Current().recoveryInterval = 600;
    QVERIFY(frame_->OpenProject(Example(QStringLiteral("counter.tvp"))));
    TypeAChange();
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(services_.compiles > 0, true);
    QCOMPARE(Copies().size(), qsizetype(1));
  }

  void aCopyThatCannotBeWrittenIsSaid() {
    QFile blocker(dir_->filePath(QStringLiteral("state")));  // where the directory belongs
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(frame_->OpenProject(Example(QStringLiteral("counter.tvp"))));
    TypeAChange();
    frame_->DoChildCommand(cmd::kCompile);
    QVERIFY2(frame_->StatusPanel(1).contains(QStringLiteral("lässt sich nicht anlegen")), qPrintable(frame_->StatusPanel(1)));
  }

  void theCloseQuestionDecides_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("kept");
    QTest::newRow("Nein") << int(TUserInterface::Answer::No) << false;
    QTest::newRow("Abbrechen") << int(TUserInterface::Answer::Cancel) << true;
    QTest::newRow("Ja") << int(TUserInterface::Answer::Yes) << false;
  }
  void theCloseQuestionDecides() {
    QFETCH(int, answer);
    QFETCH(bool, kept);
    TStationSettings::Current().recoveryInterval = 600;
    const QString file = Example(QStringLiteral("counter.tvp"));
    QVERIFY(frame_->OpenProject(file));
    TypeAChange();
    frame_->DoChildCommand(cmd::kCompile);
    QCOMPARE(Copies().size(), qsizetype(1));
    RecordingUserInterface::Reply reply;
    reply.answer = static_cast<TUserInterface::Answer>(answer);
    ui_->replies.push_back(reply);
    QCOMPARE(frame_->CloseProject(), !kept);
    QCOMPARE(Copies().size(), qsizetype(kept ? 1 : 0));
  }

  void theDialogDiscardsSavesElsewhereAndOpens() {
    const QString file = Example(QStringLiteral("counter.tvp"));
    const QString other = Example(QStringLiteral("traffic.tvp"));
    // The bodies: each project with a change, as a station would have copied it.
    QVERIFY(frame_->OpenProject(file));
    TypeAChange();
    const QByteArray edited = frame_->Project()->SaveToBytes();
    ui_->replies.push_back(RecordingUserInterface::Reply{});  // AskYesNoCancel: "Nein"
    ui_->replies.back().answer = TUserInterface::Answer::No;
    QVERIFY(frame_->OpenProject(other));
    const QByteArray otherBody = frame_->Project()->SaveToBytes();
    QVERIFY(frame_->OpenProject(QString()));
    const QString copyOfFile = LeftCopy(QStringLiteral("a.vrc"), file, edited);
    const QString copyOfOther = LeftCopy(QStringLiteral("b.vrc"), other, otherBody);
    const QString damaged = LeftCopy(QStringLiteral("c.vrc"), file, edited);
    QFile::resize(damaged, QFileInfo(damaged).size() - 10);
    const QString mine = LeftCopy(QStringLiteral("d.vrc"), file, edited);
    {  // a copy of this very process: a running station's
      TRecoveryCopy copy;
      QString problem;
      QVERIFY(TRecoveryCopy::Read(mine, copy, problem));
      copy.header.writer = TProcessIdentity::Self();
      QVERIFY(TRecoveryWriter::WriteFile(mine, copy.Encode(), problem));
    }

    QStringList rows;
    bool damagedOpenable = true;
    OnDialog([&](TRecoveryDlg& dlg) {
      QCOMPARE(dlg.windowTitle(), QStringLiteral("Wiederherstellung"));
      auto* list = dlg.findChild<QTreeWidget*>(QStringLiteral("RecoveryList"));
      for (int i = 0; i < list->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = list->topLevelItem(i);
        rows << item->text(0) + QLatin1Char('|') + item->text(3);
      }
      Select(dlg, QStringLiteral("c.vrc"));
      damagedOpenable = dlg.findChild<QPushButton*>(QStringLiteral("bOpen"))->isEnabled();
      Click(dlg, "bDiscard");
      Select(dlg, QStringLiteral("traffic"));
      RecordingUserInterface::Reply name;
      name.text = dir_->filePath(QStringLiteral("elsewhere.tvp"));
      ui_->replies.push_back(name);
      Click(dlg, "bSaveAs");
      Select(dlg, QStringLiteral("counter"));
      Click(dlg, "bOpen");
    });
    frame_->Recovery().OfferCopies();

    QCOMPARE(rows.size(), 3);  // not the running station's
    QVERIFY2(rows.contains(QStringLiteral("counter|unverändert")), qPrintable(rows.join(", ")));
    QVERIFY(rows.contains(QStringLiteral("traffic|unverändert")));
    QVERIFY(rows.filter(QStringLiteral("c.vrc|Kopie beschädigt: Die Kopie ist abgeschnitten")).size() == 1);
    QVERIFY(!damagedOpenable);
    QVERIFY(!QFile::exists(damaged));
    QCOMPARE(Read(dir_->filePath(QStringLiteral("elsewhere.tvp"))), otherBody);
    QVERIFY(!QFile::exists(copyOfOther));
    QVERIFY(QFile::exists(mine));

    // Opened as the modified project under its file's name; the old copy
    // gave way to this station's own.
    QCOMPARE(frame_->Project()->FileName(), file);
    QVERIFY(frame_->Project()->Modified());
    QCOMPARE(frame_->Project()->SaveToBytes(), edited);
    QCOMPARE(Copies().size(), qsizetype(2));  // its own and the running station's
    QVERIFY(!QFile::exists(copyOfFile));
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    QTest::keyClick(frame_.get(), Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!frame_->Project()->Modified());
    QCOMPARE(Read(file), edited);
    QCOMPARE(Copies(), QStringList{QStringLiteral("d.vrc")});
  }

  void closingTheDialogKeepsEveryCopy() {
    const QString file = Example(QStringLiteral("counter.tvp"));
    const QString copy = LeftCopy(QStringLiteral("a.vrc"), file, Read(file));
    OnDialog([](TRecoveryDlg& dlg) { QTest::keyClick(&dlg, Qt::Key_Escape); });
    frame_->Recovery().OfferCopies();
    QVERIFY(QFile::exists(copy));
  }
};

QTEST_MAIN(RecoveryWindowTest)
#include "RecoveryWindowTest.moc"
