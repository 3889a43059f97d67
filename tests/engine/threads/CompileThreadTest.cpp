// A compile on a worker thread while the user-interface thread polls the
// progress and requests a break, as the station does.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "EngineFixture.h"

namespace {

// Many pages of unused constants: slow to walk, small to emit.
void BuildLongProject(PlexorHandle e, int pages) {
  for (int p = 1; p <= pages; ++p) {
    PlexorAddPage(e, p, p - 1);
    for (int i = 1; i <= 40; ++i) vt::Add(e, 700, p, i);
  }
}

// A compile takes milliseconds; on a busy machine the polling thread may not
// run at all while one lasts, so the tests try again. Only behaviour that is
// wrong every time fails them.
constexpr int kAttempts = 300;

// Progress only rises, from 0 to exactly 100; the figures in between are
// caught on some attempt, each with a fresh engine whose progress starts at 0.
TEST(CompileThread, ProgressOnlyRisesWhileTheWorkerCompiles) {
  bool between = false;
  for (int attempt = 0; attempt < kAttempts && !between; ++attempt) {
    vt::Engine e;
    BuildLongProject(e, 2000);
    ASSERT_EQ(PlexorCompilerInit(e), 1);
    std::atomic<int32_t> result{1};
    std::thread worker([&] { result = PlexorCompile(e); });
    int32_t last = 0;
    bool rising = true;
    while (result.load() == 1) {
      const int32_t now = PlexorGetProgress(e);
      rising = rising && now >= last && now <= 100;
      between = between || (now > 0 && now < 100);
      last = now;
    }
    worker.join();
    EXPECT_TRUE(rising) << attempt;
    EXPECT_EQ(result.load(), 0);
    EXPECT_EQ(PlexorGetProgress(e), 100);
  }
  EXPECT_TRUE(between) << "no figure between 0 and 100 was ever seen";
}

// The compile clears the break flag when it starts, so the user-interface
// thread keeps asking for the break until the worker ends; the compile must
// then stop at a page boundary. A compile that always finishes fails.
TEST(CompileThread, BreakFromAnotherThreadStopsTheCompile) {
  vt::Engine e;
  BuildLongProject(e, 2000);
  bool stopped = false;
  for (int attempt = 0; attempt < kAttempts && !stopped; ++attempt) {
    ASSERT_EQ(PlexorCompilerInit(e), 1);
    std::atomic<int32_t> result{1};
    std::thread worker([&] { result = PlexorCompile(e); });
    while (result.load() == 1) PlexorBreak(e);
    worker.join();
    if (result.load() != -1) {
      EXPECT_EQ(result.load(), 0) << attempt;
      continue;
    }
    stopped = true;
    EXPECT_STREQ(PlexorGetErrorMessage(e), "Abbruch durch Anwender");
    EXPECT_LT(PlexorGetProgress(e), 100);
  }
  EXPECT_TRUE(stopped) << "the break never stopped the compile";
}

}  // namespace
