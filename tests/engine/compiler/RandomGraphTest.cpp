// Arbitrary graphs built through the exported interface either compile or
// fail with one of the compiler's messages; they never crash, overrun or hang.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "BlockFactory.h"
#include "CompilerTestUtil.h"

namespace {

const std::set<std::string> kMessages = {
    "ung\xFCltige Rekursion", "fehlende Eingangsverbindung", "fehlender Parameter", "Programm zu lang",
    "Fehler in Tabelle",     "Abbruch durch Anwender",      "unbekannter Compilerfehler",
};

std::string RandomText(std::mt19937& rng) {
  static const char* const kSamples[] = {"", "0", "1", "-1", "12", "25", "32767", "-32768", "99999", "a", "b",
                                         "Start", "T1", "'x'", "23:59", "31.12", "1 2 3", "a\r\nb\r\n",
                                         "\xFF\xFE\x01", "440 10 5", "4", "8", "3"};
  std::uniform_int_distribution<int> pick(0, 30);
  int k = pick(rng);
  if (k < 23) return kSamples[k];
  std::string s(std::uniform_int_distribution<int>(0, 700)(rng), ' ');
  for (char& c : s) c = static_cast<char>(std::uniform_int_distribution<int>(1, 255)(rng));
  return s;
}

TEST(RandomGraphs, CompileOrFailWithAKnownMessage) {
  std::mt19937 rng(20261207);
  const auto& types = KnownBlockTypes();
  int compiled = 0;
  for (int round = 0; round < 300; ++round) {
    vt::Engine e;
    int pages = std::uniform_int_distribution<int>(1, 4)(rng);
    std::vector<std::vector<int32_t>> blocks(pages + 1);
    for (int p = 1; p <= pages; ++p) {
      PlexorAddPage(e, p, p - 1);
      std::string name = RandomText(rng);
      PlexorSetPageName(e, p, name.c_str());
      int count = std::uniform_int_distribution<int>(0, round % 10 == 0 ? 400 : 40)(rng);
      for (int b = 1; b <= count; ++b) {
        int32_t type = types[std::uniform_int_distribution<size_t>(0, types.size() - 1)(rng)];
        int32_t id = vt::Add(e, type, p, b);
        ASSERT_NE(id, 0);
        std::string param = RandomText(rng);
        PlexorSetBlockParam(e, id, param.c_str());
        blocks[p].push_back(id);
      }
      // Wires, loops and fan-out included; half of them ignore can-connect.
      int wires = blocks[p].empty() ? 0 : std::uniform_int_distribution<int>(0, count * 2)(rng);
      for (int w = 0; w < wires; ++w) {
        auto any = std::uniform_int_distribution<size_t>(0, blocks[p].size() - 1);
        int32_t from = blocks[p][any(rng)], to = blocks[p][any(rng)];
        if (w % 2 == 0 && !PlexorCanConnectBlocks(e, from, to)) continue;
        PlexorConnectBlocks(e, from, to, std::uniform_int_distribution<int>(-1, 21)(rng));
      }
    }
    ASSERT_EQ(PlexorCompilerInit(e), 1);
    int32_t r = PlexorCompile(e);
    EXPECT_LE(e.get()->DownloadCompiler->Length(), 8100);
    EXPECT_LE(e.get()->SimulationCompiler->Length(), 8100);
    if (r != 0) {
      EXPECT_TRUE(kMessages.count(PlexorGetErrorMessage(e))) << PlexorGetErrorMessage(e);
      EXPECT_TRUE(r == -1 || e.get()->FindBlock(r)) << r;
      continue;
    }
    std::string table = RandomText(rng);
    if (PlexorLoadTable(e, "T1", table.c_str()) && PlexorCompilerDone(e)) ++compiled;
    EXPECT_FALSE(std::string(PlexorGetErrorMessage(e)).empty() && !e.get()->DownloadImage);
  }
  EXPECT_GT(compiled, 10);
}

TEST(RandomGraphs, DeepChainsFailInsteadOfExhaustingTheStack) {
  vt::Engine e;
  PlexorAddPage(e, 1, 0);
  // 5000 one-input adders in a chain emit nothing of their own.
  int32_t prev = vt::Add(e, 700, 1, 1);
  for (int i = 2; i <= 5000; ++i) {
    int32_t add = vt::Add(e, 200, 1, i);
    vt::Wire(e, prev, add);
    prev = add;
  }
  vt::Wire(e, prev, vt::Add(e, 900, 1, 5001));
  PlexorCompilerInit(e);
  EXPECT_NE(PlexorCompile(e), 0);
  EXPECT_STREQ(PlexorGetErrorMessage(e), "Programm zu lang");
  // The marks of the aborted generation are gone: a short program compiles.
  PlexorClearPage(e, 1);
  vt::Wire(e, vt::Add(e, 700, 1, 1), vt::Add(e, 900, 1, 2));
  EXPECT_EQ(vt::CompileAll(e), 0);
}

}  // namespace
