// Abort, progress and the bounded drain: the download must stay stoppable
// from the user-interface thread at every stage.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "LoaderHarness.h"

using lt::EngineWithImage;
using lt::UnitOnLine;

namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> Filler(size_t n) {
  std::vector<uint8_t> image(n, 0x55);
  image.back() = 255;
  return image;
}

TEST(LoaderAbort, BreakDuringTheImageStopsBeforeTheNextByteAndSendsNothingMore) {
  UnitOptions options;
  options.DelayUs = 1000;
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(Filler(2000));
  // The break comes at 40 bytes; a download that ends or stalls before
  // fails the test instead of leaving this thread waiting.
  std::atomic<bool> over{false};
  std::thread ui([&] {
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (engine.Progress() < 40 && !over.load() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(1ms);
    PlexorBreak(engine.Raw());
  });
  int32_t r = engine.Download(line.Fd());
  over = true;
  ui.join();
  EXPECT_EQ(r, PLEXOR_DL_ABORTED);
  int32_t progress = engine.Progress();
  EXPECT_GE(progress, 40);
  EXPECT_LT(progress, 2000);
  int32_t percent = PlexorGetProgress(engine.Raw());
  std::this_thread::sleep_for(50ms);
  line.Stop();
  // Start byte, two length bytes and exactly the bytes counted as sent.
  EXPECT_EQ(line.Received().size(), static_cast<size_t>(3 + progress));
  EXPECT_EQ(PlexorGetProgress(engine.Raw()), percent);
  EXPECT_TRUE(line.Downloads.empty());
}

// A unit running a program that prints keeps the line busy: the drain must
// give up after its limit, and a break must end it at once.
TEST(LoaderAbort, EndlessOutputFailsTheDrainAfterItsLimitWithoutSendingAnything) {
  UnitOptions options;
  options.ChatterMs = 5;
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(lt::kExampleImage);
  LoaderTimeouts t = lt::QuickTimeouts();
  t.DrainLimitMs = 400;
  EXPECT_EQ(engine.Download(line.Fd(), t), PLEXOR_DL_DRAIN);
  EXPECT_EQ(engine.Progress(), 0);
  line.Stop();
  EXPECT_TRUE(line.Received().empty());
}

TEST(LoaderAbort, BreakDuringTheDrainEndsItWithAbort) {
  for (int32_t chatter : {0, 5}) {
    UnitOptions options;
    options.ChatterMs = chatter;
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(lt::kExampleImage);
    LoaderTimeouts t = lt::QuickTimeouts();
    // Long enough that only the break can end the drain with chatter, and
    // that a quiet line is still draining when the break comes.
    t.DrainLimitMs = 60000;
    t.DrainQuietMs = 60000;
    std::atomic<bool> over{false};
    std::thread ui([&] {
      const auto deadline = std::chrono::steady_clock::now() + 20s;
      while (engine.Raw()->ProgressTotal.load() == 0 && !over.load() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
      std::this_thread::sleep_for(100ms);
      PlexorBreak(engine.Raw());
    });
    EXPECT_EQ(engine.Download(line.Fd(), t), PLEXOR_DL_ABORTED) << chatter;
    over = true;
    ui.join();
    line.Stop();
    EXPECT_TRUE(line.Received().empty()) << chatter;
  }
}

TEST(LoaderAbort, BreakBeforeTheDownloadIsForgottenWhenItStarts) {
  UnitOnLine line;
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(lt::kExampleImage);
  PlexorBreak(engine.Raw());
  EXPECT_EQ(engine.Download(line.Fd()), 9);
}

TEST(LoaderAbort, ProgressRisesSteadilyToOneHundred) {
  UnitOptions options;
  options.DelayUs = 300;
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(Filler(400));
  std::atomic<bool> done{false};
  std::vector<int32_t> seen;
  std::thread ui([&] {
    while (!done.load()) {
      seen.push_back(PlexorGetProgress(engine.Raw()));
      std::this_thread::sleep_for(200us);
    }
  });
  EXPECT_EQ(engine.Download(line.Fd()), 400);
  done = true;
  ui.join();
  EXPECT_EQ(PlexorGetProgress(engine.Raw()), 100);
  EXPECT_EQ(engine.Raw()->ProgressTotal.load(), 400);
  ASSERT_FALSE(seen.empty());
  for (size_t i = 1; i < seen.size(); ++i) EXPECT_LE(seen[i - 1], seen[i]);
  EXPECT_GE(seen.front(), 0);
  // Intermediate values were visible, not just 0 and 100.
  EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](int32_t p) { return p > 0 && p < 100; }));
}

}  // namespace
