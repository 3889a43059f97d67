// vorblen-unit's --link: only a symbolic link (or nothing) is replaced, a
// file or directory at the path survives; the link goes away on exit only
// while it is still ours. And both tools answer --version.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "TerminalLink.h"

namespace {

std::string ReadLink(const std::string& path) {
  char buffer[512];
  ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer);
  return n < 0 ? std::string() : std::string(buffer, static_cast<size_t>(n));
}

TEST(TerminalLink, ReplacesOnlyASymbolicLink) {
  enum class Before { Nothing, Link, DanglingLink, File, Directory };
  struct Row {
    Before before;
    bool created;
  };
  const Row rows[] = {
      {Before::Nothing, true}, {Before::Link, true},       {Before::DanglingLink, true},
      {Before::File, false},   {Before::Directory, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.before));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("unit").toStdString();
    const std::string other = dir.filePath("other").toStdString();
    std::ofstream(other) << "keep";
    switch (row.before) {
      case Before::Nothing:
        break;
      case Before::Link:
        ASSERT_EQ(::symlink(other.c_str(), path.c_str()), 0);
        break;
      case Before::DanglingLink:
        ASSERT_EQ(::symlink("/nonexistent/x", path.c_str()), 0);
        break;
      case Before::File:
        std::ofstream(path) << "precious";
        break;
      case Before::Directory:
        ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
        break;
    }
    std::string error;
    EXPECT_EQ(TerminalLink::Create(path, "/dev/pts/77", &error), row.created) << error;
    struct stat st {};
    ASSERT_EQ(::lstat(path.c_str(), &st), 0);
    if (row.created) {
      EXPECT_EQ(ReadLink(path), "/dev/pts/77");
      TerminalLink::RemoveIfOurs(path, "/dev/pts/77");
      EXPECT_NE(::lstat(path.c_str(), &st), 0);
    } else {
      EXPECT_FALSE(error.empty());
      EXPECT_EQ(S_ISDIR(st.st_mode), row.before == Before::Directory);
      if (row.before == Before::File) {
        std::string text;
        std::ifstream(path) >> text;
        EXPECT_EQ(text, "precious");
      }
      TerminalLink::RemoveIfOurs(path, "/dev/pts/77");
      EXPECT_EQ(::lstat(path.c_str(), &st), 0);
    }
    std::string kept;
    std::ifstream(other) >> kept;
    EXPECT_EQ(kept, "keep");  // a replaced link's target is untouched
  }
}

TEST(TerminalLink, ExitLeavesALinkSomeoneElseMadeSince) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath("unit").toStdString();
  std::string error;
  ASSERT_TRUE(TerminalLink::Create(path, "/dev/pts/1", &error));
  ASSERT_EQ(::unlink(path.c_str()), 0);
  ASSERT_EQ(::symlink("/dev/pts/2", path.c_str()), 0);
  TerminalLink::RemoveIfOurs(path, "/dev/pts/1");
  EXPECT_EQ(ReadLink(path), "/dev/pts/2");
}

TEST(ToolVersion, BothToolsAnswerVersion) {
  for (const char* tool : {VORBLEN_CLI, VORBLEN_UNIT}) {
    SCOPED_TRACE(tool);
    QProcess p;
    p.start(QString::fromUtf8(tool), {"--version"});
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromUtf8(p.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(out.endsWith(" " VORBLEN_VERSION)) << out.toStdString();
  }
}

}  // namespace
