// The recovery copy on disk: its format round trip, damaged and truncated
// copies, the list of copies with the running-process check and the state
// of the project file, and writing a copy's project elsewhere.
#include <QFile>
#include <QFileInfo>
#include <functional>

#include "RecoveryTestSupport.h"
#include "TRecoveryList.h"
#include "TRecoveryWriter.h"

namespace {

class RecoveryCopyTest : public ::testing::Test {
 protected:
  void SetUp() override { mt::EnsureApp(); }

  // Writes a copy of an edited project, saved before unless unnamed.
  QString WriteCopy(const QString& name, const TProcessIdentity& writer, bool unnamed = false) {
    const QString project = unnamed ? QString() : dir_.filePath(name + QStringLiteral(".tvp"));
    auto m = rt::EditedProject(project);
    if (!unnamed) mt::WriteFile(project, "saved before");
    TRecoveryCopy copy;
    copy.header.projectFile = project;
    copy.header.time = 1700000000000;
    copy.header.writer = writer;
    TRecoveryHeader::FileState(project, copy.header.fileTime, copy.header.fileSize);
    copy.body = m->SaveToBytes();
    const QString path = dir_.filePath(name + QStringLiteral(".vrc"));
    QString problem;
    EXPECT_TRUE(TRecoveryWriter::WriteFile(path, copy.Encode(), problem)) << problem.toStdString();
    return path;
  }

  QTemporaryDir dir_;
  RecordingUserInterface ui_;
};

TEST_F(RecoveryCopyTest, ACopyReadsBackAsTheProjectItWasMadeOf) {
  const QString path = WriteCopy(QStringLiteral("line\nbreak = 100%"), rt::EndedProcess());
  TRecoveryCopy copy;
  QString problem;
  ASSERT_TRUE(TRecoveryCopy::Read(path, copy, problem)) << problem.toStdString();
  EXPECT_EQ(copy.header.projectFile, dir_.filePath(QStringLiteral("line\nbreak = 100%.tvp")));
  EXPECT_EQ(copy.header.writer, rt::EndedProcess());
  EXPECT_EQ(copy.header.time, 1700000000000);

  // The body is a project file: loaded and saved again it is the same bytes.
  TTarvixPlusModel restored;
  ASSERT_TRUE(restored.LoadFromBytes(copy.body, copy.header.projectFile));
  EXPECT_EQ(restored.Cells().size(), 1u);
  EXPECT_EQ(restored.SaveToBytes(), copy.body);
  EXPECT_TRUE(ui_.Texts("ErrorBox").isEmpty());
  // No temporary file stays beside it.
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".tmp")), QStringList());
}

TEST_F(RecoveryCopyTest, ADamagedOrTruncatedCopyIsReportedAndKeptNeverLoadedHalf) {
  const QString path = WriteCopy(QStringLiteral("p"), rt::EndedProcess());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray whole = file.readAll();
  file.close();
  const qsizetype bodyStart = whole.indexOf("\n\n") + 2;

  struct Case {
    const char* what;
    std::function<QByteArray(QByteArray)> damage;
  };
  const Case cases[] = {
      {"empty", [](QByteArray) { return QByteArray(); }},
      {"header only", [&](QByteArray b) { return b.left(bodyStart); }},
      {"body cut by one byte", [](QByteArray b) { return b.chopped(1); }},
      {"body cut in the middle", [&](QByteArray b) { return b.left(bodyStart + (b.size() - bodyStart) / 2); }},
      {"header cut", [](QByteArray b) { return b.left(30); }},
      {"a byte of the body changed", [&](QByteArray b) { b[bodyStart + 40] = b[bodyStart + 40] ^ 0x20; return b; }},
      {"bytes appended", [](QByteArray b) { return b + "#CELL_START\r\n"; }},
      {"length garbled", [](QByteArray b) { return b.replace("length=", "length=x"); }},
      {"wrong magic", [](QByteArray b) { return b.replace("RECOVERY 1", "RECOVERY 9"); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QByteArray damaged = c.damage(whole);
    mt::WriteFile(path, damaged);
    const std::vector<TRecoveryEntry> entries = recovery::List(dir_.path());
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_FALSE(entries[0].Usable());
    EXPECT_FALSE(entries[0].problem.isEmpty());
    QString problem;
    const QString target = dir_.filePath(QStringLiteral("out.tvp"));
    EXPECT_FALSE(recovery::SaveProject(path, target, problem));
    EXPECT_FALSE(QFileInfo::exists(target));
    // Kept as it was.
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), damaged);
  }
}

TEST_F(RecoveryCopyTest, CopiesOfRunningProcessesAreNotOffered) {
  TProcessIdentity self = TProcessIdentity::Self();
  TProcessIdentity reused = self;  // the id now belongs to a later process
  reused.startTicks = self.startTicks + 1;
  TProcessIdentity otherBoot = self;
  otherBoot.bootId = QStringLiteral("00000000-0000-0000-0000-000000000000");
  WriteCopy(QStringLiteral("mine"), self);
  WriteCopy(QStringLiteral("ended"), rt::EndedProcess());
  if (self.startTicks != 0) WriteCopy(QStringLiteral("reused"), reused);
  if (!self.bootId.isEmpty()) WriteCopy(QStringLiteral("rebooted"), otherBoot);

  QStringList offered;
  for (const TRecoveryEntry& e : recovery::List(dir_.path())) offered << QFileInfo(e.path).completeBaseName();
  offered.sort();
  QStringList expected{QStringLiteral("ended")};
  if (self.startTicks != 0) expected << QStringLiteral("reused");
  if (!self.bootId.isEmpty()) expected << QStringLiteral("rebooted");
  expected.sort();
  EXPECT_EQ(offered, expected);
  EXPECT_EQ(recovery::List(dir_.path(), true).size(), static_cast<size_t>(expected.size() + 1));
}

TEST_F(RecoveryCopyTest, TheListSaysWhetherTheProjectFileChangedSince) {
  WriteCopy(QStringLiteral("unchanged"), rt::EndedProcess());
  WriteCopy(QStringLiteral("changed"), rt::EndedProcess());
  mt::WriteFile(dir_.filePath(QStringLiteral("changed.tvp")), "saved again, by someone else");
  WriteCopy(QStringLiteral("missing"), rt::EndedProcess());
  QFile::remove(dir_.filePath(QStringLiteral("missing.tvp")));
  WriteCopy(QStringLiteral("never"), rt::EndedProcess(), true);

  std::map<QString, QString> states;
  for (const TRecoveryEntry& e : recovery::List(dir_.path())) states[e.ProjectName()] = e.FileStateText();
  const std::map<QString, QString> expected{{QStringLiteral("unchanged"), QStringLiteral("unverändert")},
                                            {QStringLiteral("changed"), QStringLiteral("geändert")},
                                            {QStringLiteral("missing"), QStringLiteral("fehlt")},
                                            {QStringLiteral("Unbenannte Programmdatei"), QStringLiteral("nie gespeichert")}};
  EXPECT_EQ(states, expected);
}

TEST_F(RecoveryCopyTest, SavingACopyElsewhereWritesExactlyTheProjectBytes) {
  const QString path = WriteCopy(QStringLiteral("p"), rt::EndedProcess());
  TRecoveryCopy copy;
  QString problem;
  ASSERT_TRUE(TRecoveryCopy::Read(path, copy, problem));
  const QString target = dir_.filePath(QStringLiteral("elsewhere.tvp"));
  ASSERT_TRUE(recovery::SaveProject(path, target, problem)) << problem.toStdString();
  QFile out(target);
  ASSERT_TRUE(out.open(QIODevice::ReadOnly));
  EXPECT_EQ(out.readAll(), copy.body);
  EXPECT_TRUE(QFileInfo::exists(path));
}

}  // namespace
