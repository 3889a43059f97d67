// vorblen-cli recover as a user runs it, on a state directory of the test's
// own: which copies are listed, writing one back, a damaged one refused and
// kept, discarding, and a running station's copy left alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "TRecoveryCopy.h"
#include "TRecoveryWriter.h"

namespace {

class CliRecover : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir().mkpath(states_));
  }
  struct Result {
    int exitCode = -1;
    QString out;
    QString err;
  };
  Result Run(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_STATE_HOME"), dir_.filePath(QStringLiteral("state")));
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(dir_.path());
    p.start(QStringLiteral(VORBLEN_CLI), QStringList{QStringLiteral("recover")} + args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
  // A copy of the counter example by the given process.
  QString Copy(const QString& name, const TProcessIdentity& writer, QByteArray* encoded = nullptr) {
    QFile example(QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"));
    EXPECT_TRUE(example.open(QIODevice::ReadOnly));
    TRecoveryCopy copy;
    copy.header.projectFile = dir_.filePath(QStringLiteral("counter.tvp"));
    copy.header.time = 1700000000000;
    copy.header.writer = writer;
    copy.body = example.readAll();
    const QString path = QDir(states_).filePath(name);
    QString problem;
    EXPECT_TRUE(TRecoveryWriter::WriteFile(path, copy.Encode(), problem));
    if (encoded) *encoded = copy.Encode();
    body_ = copy.body;
    return path;
  }
  static TProcessIdentity Ended() {
    TProcessIdentity ended = TProcessIdentity::Self();
    ended.pid = 0x7FFFFFF0;
    return ended;
  }

  QTemporaryDir dir_;
  QString states_ = dir_.filePath(QStringLiteral("state/vorblen/recovery"));
  QByteArray body_;
};

TEST_F(CliRecover, ListsTheCopiesOfEndedStationsAndWritesOneBack) {
  const QString ended = Copy(QStringLiteral("a.vrc"), Ended());
  const QString mine = Copy(QStringLiteral("b.vrc"), TProcessIdentity::Self());  // this test runs
  Result r = Run({QStringLiteral("--list")});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(ended)) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains(QStringLiteral("Projekt: counter")));
  EXPECT_TRUE(r.out.contains(QStringLiteral("Datei seitdem: fehlt")));
  EXPECT_FALSE(r.out.contains(mine));

  r = Run({QStringLiteral("a.vrc"), QStringLiteral("-o"), QStringLiteral("back.tvp")});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  QFile back(dir_.filePath(QStringLiteral("back.tvp")));
  ASSERT_TRUE(back.open(QIODevice::ReadOnly));
  EXPECT_EQ(back.readAll(), body_);
  EXPECT_TRUE(QFileInfo::exists(ended));

  EXPECT_EQ(Run({ended, QStringLiteral("--discard")}).exitCode, 0);
  EXPECT_FALSE(QFileInfo::exists(ended));
  EXPECT_EQ(Run({mine, QStringLiteral("--discard")}).exitCode, 1);
  EXPECT_TRUE(QFileInfo::exists(mine));
  EXPECT_EQ(Run({QStringLiteral("--list")}).out, QStringLiteral("Keine Wiederherstellungskopien in %1.\n").arg(states_));
}

TEST_F(CliRecover, ADamagedCopyIsReportedAndKept) {
  QByteArray bytes;
  const QString path = Copy(QStringLiteral("cut.vrc"), Ended(), &bytes);
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes.chopped(100));
  file.close();
  Result r = Run({QStringLiteral("--list")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains(QStringLiteral("beschädigt: Die Kopie ist abgeschnitten"))) << r.out.toStdString();
  r = Run({path, QStringLiteral("-o"), QStringLiteral("back.tvp")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains(QStringLiteral("abgeschnitten"))) << r.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(dir_.filePath(QStringLiteral("back.tvp"))));
  EXPECT_TRUE(QFileInfo::exists(path));
}

TEST_F(CliRecover, AFileThatIsNoCopyIsNotDiscarded) {
  const QString other = dir_.filePath(QStringLiteral("precious.tvp"));
  QFile file(other);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  EXPECT_EQ(Run({other, QStringLiteral("--discard")}).exitCode, 1);
  EXPECT_TRUE(QFileInfo::exists(other));
  EXPECT_EQ(Run({QStringLiteral("--what")}).exitCode, 1);
}

}  // namespace
