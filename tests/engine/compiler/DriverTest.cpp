#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "CompilerTestUtil.h"

namespace {

using vt::Add;
using vt::Bid;
using vt::Bytes;
using vt::Engine;
using vt::Image;
using vt::Wire;

std::string ReadFile(const char* name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

TEST(CompilerDriver, EmptyPageGivesEndAndMarker) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  ASSERT_EQ(vt::CompileAll(e), 0);
  EXPECT_EQ(Image(e, false), (vt::Asm({"END"})));
  EXPECT_EQ(Image(e, true), (vt::Asm({"PAGEMARK 1", "END"})));
  EXPECT_EQ(PlexorGetCodeLength(e), 1);
  EXPECT_EQ(PlexorGetProgress(e), 100);
}

TEST(CompilerDriver, ConstantPrintedWithLineFeedAndListing) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  int32_t c = Add(e, 700, 1, 1, "5");
  int32_t p = Add(e, 900, 1, 2, "2");
  Wire(e, c, p);
  ASSERT_EQ(vt::CompileAll(e), 0);
  EXPECT_EQ(Image(e, false), (vt::Asm({"LDI 5", "PRINTNUM", R"(PRINTSTR "\r\n")", "END"})));
  EXPECT_EQ(Image(e, true), (vt::Asm({"PAGEMARK 1", "LDI 5", "PRINTNUM", R"(PRINTSTR "\r\n")", "END"})));
  EXPECT_EQ(PlexorGetCodeLength(e), 9);
  EXPECT_EQ(ReadFile("CODE.TXT"), "20 0 5 30 31 13 10 0 255 ");
  const uint8_t* m = e.get()->Unit.Memory;
  // Header: download length 9, file length 0; then the simulation image.
  EXPECT_EQ(Bytes(m, m + 16),
            vt::Concat({0, 9, 0, 0}, vt::Asm({"PAGEMARK 1", "LDI 5", "PRINTNUM", R"(PRINTSTR "\r\n")", "END"})));
  EXPECT_EQ(e.get()->DownloadLength, 9);
  EXPECT_EQ(e.get()->DownloadImage[0], 20);
}

TEST(CompilerDriver, JumpTargetsResolveToUnitAddresses) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorAddPage(e, 2, 1);
  PlexorSetPageName(e, 1, "Eins");
  PlexorSetPageName(e, 2, "Zwei");
  Add(e, 1000, 1, 1, "Zwei");
  Add(e, 1001, 2, 1, "Eins");
  ASSERT_EQ(vt::CompileAll(e), 0);
  // Page 2 starts at offset 3, unit address 7; page 1 at unit address 4.
  EXPECT_EQ(Image(e, false), (vt::Asm({"JMP 0x0007", "CALL 0x0004", "END"})));
  // In the simulation image a jump lands on the page marker.
  EXPECT_EQ(Image(e, true), (vt::Asm({"PAGEMARK 1", "JMP 0x000A", "PAGEMARK 2", "CALL 0x0004", "END"})));
}

TEST(CompilerDriver, PageLabelsShadowTablesAndNamesAreCaseSensitive) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorSetPageName(e, 1, "T");
  int32_t v = Add(e, 700, 1, 1, "0");
  int32_t tab = Add(e, 209, 1, 2, "T");
  int32_t p = Add(e, 900, 1, 3);
  Wire(e, v, tab);
  Wire(e, tab, p);
  ASSERT_EQ(vt::CompileAll(e, {{"T", "1 2"}}), 0);
  // LOOKUP addresses the page (unit address 4), not the table behind END.
  EXPECT_EQ(Image(e, false), (vt::Asm({"LDI 0", "LOOKUP 0x0004", "PRINTNUM", "END", "DW 1, 2"})));

  Engine f;
  PlexorAddPage(f, 1, 0);
  PlexorSetPageName(f, 1, "Start");
  Add(f, 1000, 1, 1, "start");
  ASSERT_EQ(PlexorCompilerInit(f), 1);
  ASSERT_EQ(PlexorCompile(f), 0);
  EXPECT_EQ(PlexorCompilerDone(f), 0);
  EXPECT_STREQ(PlexorGetErrorMessage(f), "Sprungziel/Tabelle nicht definiert: start");
}

TEST(CompilerDriver, TablesReadSigned16BitWords) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  std::string three_hundred;
  for (int i = 0; i < 300; ++i) three_hundred += std::to_string(i - 150) + (i % 7 ? " " : "\r\n");
  ASSERT_EQ(vt::CompileAll(e, {{"Gross", three_hundred}, {"Leer", "  \r\n "}, {"Rand", "+32767\t-32768"}}), 0);
  Bytes image = Image(e, false);
  ASSERT_EQ(image.size(), 1u + 512u + 4u);
  EXPECT_EQ(image[1], 0xFF);  // -150
  EXPECT_EQ(image[2], 0x6A);
  EXPECT_EQ(Bytes(image.end() - 4, image.end()), vt::Asm({"DW 32767, -32768"}));

  for (const char* bad : {"1 2 x", "1.5", "32768", "-32769", "99999999999999999999", "--1", "\xE4"}) {
    SCOPED_TRACE(bad);
    Engine g;
    PlexorAddPage(g, 1, 0);
    PlexorCompilerInit(g);
    ASSERT_EQ(PlexorCompile(g), 0);
    EXPECT_EQ(PlexorLoadTable(g, "T", bad), 0);
    EXPECT_STREQ(PlexorGetErrorMessage(g), "Fehler in Tabelle");
  }
}

TEST(CompilerDriver, RecursionAndMissingInputsNameTheBlock) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  int32_t add = Add(e, 200, 1, 1);
  int32_t one = Add(e, 700, 1, 2, "1");
  int32_t p = Add(e, 900, 1, 3);
  Wire(e, one, add, 0);
  Wire(e, add, add, 1);
  Wire(e, add, p);
  PlexorCompilerInit(e);
  EXPECT_EQ(PlexorCompile(e), add);
  EXPECT_STREQ(PlexorGetErrorMessage(e), "ung\xFCltige Rekursion");

  Engine f;
  PlexorAddPage(f, 3, 0);
  int32_t sub = Add(f, 201, 3, 1);
  int32_t c = Add(f, 700, 3, 2);
  int32_t q = Add(f, 900, 3, 3);
  Wire(f, c, sub, 0);
  Wire(f, sub, q);
  PlexorCompilerInit(f);
  EXPECT_EQ(PlexorCompile(f), sub);
  EXPECT_STREQ(PlexorGetErrorMessage(f), "fehlende Eingangsverbindung");
  // An unused calculator missing inputs is no error.
  PlexorSplitBlockConnection(f, q, 0);
  PlexorCompilerInit(f);
  EXPECT_EQ(PlexorCompile(f), 0);
  // The message stays after successful calls.
  EXPECT_STREQ(PlexorGetErrorMessage(f), "fehlende Eingangsverbindung");
}

TEST(CompilerDriver, MissingParametersAndConnections) {
  struct Case {
    int32_t type;
    const char* param;
    bool wireCondition;
    const char* message;
  };
  const Case cases[] = {
      {1000, "", false, "fehlender Parameter"},      {1001, "", true, "fehlender Parameter"},
      {1003, "", true, "fehlender Parameter"},       {1004, "", true, "fehlender Parameter"},
      {209, "", true, "fehlender Parameter"},        {1003, "a", false, "fehlende Eingangsverbindung"},
      {1005, nullptr, false, "fehlende Eingangsverbindung"},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.type);
    Engine e;
    PlexorAddPage(e, 1, 0);
    PlexorSetPageName(e, 1, "a");
    int32_t b = Add(e, k.type, 1, 1, k.param);
    if (k.wireCondition) Wire(e, Add(e, 700, 1, 2), b);
    if (k.type == 209) Wire(e, b, Add(e, 900, 1, 3));
    PlexorCompilerInit(e);
    EXPECT_EQ(PlexorCompile(e), b);
    EXPECT_STREQ(PlexorGetErrorMessage(e), k.message);
  }
}

TEST(CompilerDriver, ProgramAndTablesLongerThanTheBufferFail) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  // 2100 constants printed: 4 bytes each in the download image.
  int32_t n = 0;
  for (int i = 0; i < 2100; ++i) {
    int32_t c = Add(e, 700, 1, ++n, "7");
    Wire(e, c, Add(e, 900, 1, ++n));
  }
  PlexorCompilerInit(e);
  EXPECT_EQ(PlexorCompile(e), -1);
  EXPECT_STREQ(PlexorGetErrorMessage(e), "Programm zu lang");

  Engine f;
  PlexorAddPage(f, 1, 0);
  PlexorCompilerInit(f);
  ASSERT_EQ(PlexorCompile(f), 0);
  std::string table;
  for (int i = 0; i < 256; ++i) table += "1 ";
  int loaded = 0;
  while (PlexorLoadTable(f, ("T" + std::to_string(loaded)).c_str(), table.c_str())) ++loaded;
  EXPECT_EQ(loaded, 15);  // 15 × 512 bytes fit behind the END byte, the 16th does not
  EXPECT_STREQ(PlexorGetErrorMessage(f), "Programm zu lang");
  EXPECT_EQ(PlexorCompilerDone(f), 0);  // the failed job cannot be finished
}

TEST(CompilerDriver, SimulationImageReachesTheLimitFirst) {
  Engine e;
  for (int32_t page = 1; page <= 2699; ++page) PlexorAddPage(e, page, page - 1);
  PlexorCompilerInit(e);
  // 1 byte download, 3 × 2699 + 1 = 8098 simulation bytes: fits.
  EXPECT_EQ(PlexorCompile(e), 0);
  PlexorAddPage(e, 2700, 2699);
  PlexorCompilerInit(e);
  EXPECT_EQ(PlexorCompile(e), -1);
  EXPECT_STREQ(PlexorGetErrorMessage(e), "Programm zu lang");
}

TEST(CompilerDriver, BreakStopsAtThePageBoundary) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorAddPage(e, 2, 1);
  PlexorCompilerInit(e);
  e.get()->BreakRequested = 1;
  try {
    e.get()->DownloadCompiler->CompilePages();
    FAIL() << "no abort";
  } catch (const CompileError& error) {
    EXPECT_EQ(error.BlockId, -1);
    EXPECT_EQ(error.Message, "Abbruch durch Anwender");
  }
  EXPECT_EQ(e.get()->DownloadCompiler->Length(), 0);
}

TEST(CompilerDriver, StepsOutOfOrderFailCleanly) {
  Engine e;
  PlexorAddPage(e, 1, 0);
  EXPECT_EQ(PlexorCompile(e), -1);
  EXPECT_STREQ(PlexorGetErrorMessage(e), "unbekannter Compilerfehler");
  EXPECT_EQ(PlexorLoadTable(e, "T", "1"), 0);
  EXPECT_EQ(PlexorCompilerDone(e), 0);
  ASSERT_EQ(vt::CompileAll(e), 0);
  EXPECT_EQ(PlexorCompilerDone(e), 0);  // done twice
  EXPECT_EQ(PlexorLoadTable(e, nullptr, nullptr), 0);
  PlexorCompilerInit(e);
  EXPECT_EQ(e.get()->DownloadImage, nullptr);
}

// A listing that cannot be written completely fails the compile and leaves
// no CODE.TXT at all (neither a partial one nor the one of an earlier
// compile) and no temporary file; a complete one replaces the old file.
TEST(CompilerDriver, ListingIsCompleteOrAbsent) {
  char dir[] = "/tmp/vorblen-listing-XXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  char old[PATH_MAX];
  ASSERT_NE(getcwd(old, sizeof old), nullptr);
  ASSERT_EQ(chdir(dir), 0);
  Engine e;
  PlexorAddPage(e, 1, 0);
  for (int i = 1; i <= 40; ++i) Wire(e, Add(e, 700, 1, 2 * i, "1000"), Add(e, 900, 1, 2 * i + 1, "1"));
  auto entries = [] {
    std::string names;
    for (const char* n : {"CODE.TXT"}) names += access(n, F_OK) == 0 ? n : "";
    return names;
  };
  auto tempFiles = [] { return std::system("ls | grep -q tmp") == 0; };
  enum Obstacle { kDirectory, kSizeLimit, kNone };
  for (Obstacle obstacle : {kDirectory, kSizeLimit, kNone}) {
    SCOPED_TRACE(obstacle);
    std::ofstream("CODE.TXT") << "old listing";
    if (obstacle == kDirectory) {
      ASSERT_EQ(unlink("CODE.TXT"), 0);
      ASSERT_EQ(mkdir("CODE.TXT", 0700), 0);
    }
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (obstacle == kSizeLimit) {
      rlimit small = saved;
      small.rlim_cur = 100;  // the listing is some 600 bytes
      ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    }
    PlexorCompilerInit(e);
    ASSERT_EQ(PlexorCompile(e), 0);
    const int32_t done = PlexorCompilerDone(e);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(tempFiles());
    if (obstacle == kNone) {
      EXPECT_EQ(done, 1);
      EXPECT_GT(ReadFile("CODE.TXT").size(), 400u);
      EXPECT_EQ(ReadFile("CODE.TXT").rfind("20 3 232 30 ", 0), 0u);
      continue;
    }
    EXPECT_EQ(done, 0);
    EXPECT_STREQ(PlexorGetErrorMessage(e), "Die Datei CODE.TXT konnte nicht geschrieben werden");
    EXPECT_EQ(e.get()->DownloadImage, nullptr);
    if (obstacle == kDirectory) {
      struct stat info {};
      EXPECT_TRUE(stat("CODE.TXT", &info) == 0 && S_ISDIR(info.st_mode));  // not the tool's to remove
      rmdir("CODE.TXT");
    } else {
      EXPECT_EQ(entries(), "");
    }
  }
  unlink("CODE.TXT");
  EXPECT_EQ(chdir(old), 0);
  rmdir(dir);
}

}  // namespace
