// vorblen-cli disasm: the listing of every example re-assembles to exactly
// the bytes the compile writes to CODE.TXT, and shows the example's cells.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <vector>

#include "CodeListing.h"
#include "cp1252.h"

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out;
  QString err;
};

Result RunCli(const QString& dir, const QStringList& args) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.start(QStringLiteral(VORBLEN_CLI), args);
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

std::vector<uint8_t> CodeTxt(const QString& dir) {
  QFile f(dir + "/CODE.TXT");
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  std::vector<uint8_t> bytes;
  for (const QByteArray& number : f.readAll().split(' '))
    if (!number.trimmed().isEmpty()) bytes.push_back(static_cast<uint8_t>(number.trimmed().toInt()));
  return bytes;
}

TEST(CliDisasm, ExamplesReassembleToTheirCompiledBytes) {
  struct Row {
    const char* project;
    std::vector<const char*> lines;  // lines the listing must contain (UTF-8)
  };
  const Row rows[] = {
      {"counter.tvp", {"0004 <Z\xC3\xA4hlen>:", "PRINTSTR \"Z\xC3\xA4hlerstand: \"", "PRINTSTR \"\\r\\n\"", "; WORD[1]",
                       "-> Z\xC3\xA4hlen"}},
      {"traffic.tvp", {"0004 <Rot>:", "<Gr\xC3\xBCn>:", "; P7", "; Timer", "JZ 0x0023"}},
      {"logger.tvp",
       {"<Messen>:",
        "; \xC3\xB6"
        "ffnen zum Schreiben",
        "; Tabellen", "<Kennlinie>:", "DW -200, -195"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.project);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString project = QStringLiteral(VORBLEN_EXAMPLES "/%1").arg(QLatin1String(row.project));
    Result listing = RunCli(dir.path(), {"disasm", project});
    ASSERT_EQ(listing.exitCode, 0) << listing.err.toStdString();
    std::vector<uint8_t> assembled;
    int bad = 0;
    // The listing is in the terminal's encoding; the unit's texts are Windows-1252.
    const QString text = QString::fromUtf8(listing.out);
    const std::string unitText = cp1252::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
    ASSERT_TRUE(AssembleListing(unitText, assembled, &bad)) << "line " << bad;
    // Only compile leaves CODE.TXT.
    EXPECT_FALSE(QFile::exists(dir.path() + "/CODE.TXT"));
    // The compile alone writes the same image.
    ASSERT_EQ(RunCli(dir.path(), {"compile", project}).exitCode, 0);
    EXPECT_EQ(assembled, CodeTxt(dir.path()));
    for (const char* line : row.lines)
      EXPECT_TRUE(listing.out.contains(line)) << line << "\n" << listing.out.toStdString();
  }
}

TEST(CliDisasm, FailuresExitOne) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Result missing = RunCli(dir.path(), {"disasm", dir.filePath("fehlt.tvp")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(missing.out.isEmpty());
  EXPECT_TRUE(missing.err.contains("fehlt.tvp"));
  Result extra = RunCli(dir.path(), {"disasm", QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"), "--steps"});
  EXPECT_EQ(extra.exitCode, 1);
}

}  // namespace
