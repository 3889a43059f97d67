// The download protocol against the emulated unit: the bytes on the wire,
// each failure code, abort, progress and the drain.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LoaderHarness.h"

using lt::EngineWithImage;
using lt::UnitOnLine;
using lt::WireBytes;

namespace {

std::vector<uint8_t> Sequence(size_t n) {
  std::vector<uint8_t> image(n);
  for (size_t i = 0; i < n; ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
  image.back() = 255;
  return image;
}

TEST(LoaderProtocol, SendsStartLengthAndImageWithEveryByteEchoed) {
  for (const auto& image : {std::vector<uint8_t>{255}, lt::kExampleImage, Sequence(300)}) {
    UnitOnLine line;
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(image);
    EXPECT_EQ(engine.Download(line.Fd()), static_cast<int32_t>(image.size()));
    line.Stop();
    EXPECT_EQ(line.Received(), WireBytes(image));
    ASSERT_EQ(line.Downloads.size(), 1u);
    EXPECT_EQ(line.Downloads[0].Image, image);
    EXPECT_EQ(PlexorGetProgress(engine.Raw()), 100);
  }
}

TEST(LoaderProtocol, OneByteImageGoesOutAsStartZeroOneAndTheEndByte) {
  UnitOnLine line;
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine({255});
  EXPECT_EQ(engine.Download(line.Fd()), 1);
  line.Stop();
  EXPECT_EQ(line.Received(), (std::vector<uint8_t>{2, 0, 1, 255}));
}

TEST(LoaderProtocol, StaleOutputOfTheUnitIsDrainedBeforeTheStartByte) {
  UnitOptions options;
  options.StaleBytes = 200;  // holds start bytes and length-like bytes
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(lt::kExampleImage);
  EXPECT_EQ(engine.Download(line.Fd()), 9);
  line.Stop();
  EXPECT_EQ(line.Received(), WireBytes(lt::kExampleImage));
}

// A unit that answers nothing: -3 at the length high byte, nothing more sent.
// A unit that goes quiet later: -3 at that byte, progress where it stopped.
TEST(LoaderProtocol, MissingAnswerEndsWithNoAnswerAndSendsNothingMore) {
  struct Case { int32_t silentFrom; int32_t progress; size_t received; };
  for (Case c : {Case{0, 0, 2}, Case{1, 0, 3}, Case{5, 3, 7}}) {
    UnitOptions options;
    options.SilentFrom = c.silentFrom;
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(lt::kExampleImage);
    EXPECT_EQ(engine.Download(line.Fd()), PLEXOR_DL_NO_ANSWER) << c.silentFrom;
    EXPECT_EQ(engine.Progress(), c.progress);
    line.Stop();
    EXPECT_EQ(line.Received().size(), c.received) << c.silentFrom;
  }
}

TEST(LoaderProtocol, WrongEchoEndsWithTransferErrorAtThatByte) {
  struct Case { int32_t at; int32_t progress; };
  for (Case c : {Case{0, 0}, Case{6, 4}, Case{10, 8}}) {
    UnitOptions options;
    options.WrongEchoAt = c.at;
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(lt::kExampleImage);
    EXPECT_EQ(engine.Download(line.Fd()), PLEXOR_DL_WRONG_ECHO) << c.at;
    EXPECT_EQ(engine.Progress(), c.progress);
    line.Stop();
    EXPECT_EQ(line.Received().size(), static_cast<size_t>(c.at + 2)) << c.at;
    // Only the last byte's answer was wrong: the unit has it all.
    EXPECT_EQ(line.Downloads.size(), c.at == 10 ? 1u : 0u);
  }
}

// A loop-back wire returns the unanswered start byte first, so every echo
// lags one byte behind: the download fails at the first byte that differs
// from the one sent before it.
TEST(LoaderProtocol, LoopBackLineFailsAtTheFirstByteThatDiffersFromItsPredecessor) {
  UnitOptions options;
  options.Loopback = true;
  {
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(lt::kExampleImage);
    EXPECT_EQ(engine.Download(line.Fd()), PLEXOR_DL_WRONG_ECHO);
    EXPECT_EQ(engine.Progress(), 0);
    line.Stop();
    EXPECT_EQ(line.Received(), (std::vector<uint8_t>{2, 0}));
  }
  {
    // Length 0x0202 and a run of 2s: only the 7 breaks the pattern.
    std::vector<uint8_t> image(0x0202, 2);
    image[400] = 7;
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(image);
    EXPECT_EQ(engine.Download(line.Fd()), PLEXOR_DL_WRONG_ECHO);
    EXPECT_EQ(engine.Progress(), 400);
    line.Stop();
    EXPECT_EQ(line.Received().size(), 3u + 401u);
  }
}

TEST(LoaderProtocol, WriteFailureEndsWithWriteErrorBeforeAnythingIsSent) {
  UnitOnLine line({}, O_RDONLY);
  ASSERT_TRUE(line.Ready());
  EngineWithImage engine(lt::kExampleImage);
  EXPECT_EQ(engine.Download(line.Fd()), PLEXOR_DL_WRITE);
  EXPECT_EQ(engine.Progress(), 0);
  line.Stop();
  EXPECT_TRUE(line.Received().empty());
}

// A hang-up must end the download as soon as it happens, not after a read
// time-out; the long echo time-out makes a missed hang-up plain.
LoaderTimeouts SlowEchoes() {
  LoaderTimeouts t = lt::QuickTimeouts();
  t.ReadConstantMs = 30000;
  return t;
}

TEST(LoaderProtocol, HangUpMidTransferEndsTheDownloadAtOnce) {
  struct Case { int32_t silentFrom, hangUpAfter, progress; };
  // Hang-up right after an answer (the next write or read sees it), and
  // hang-up instead of an answer (the echo wait sees it).
  for (Case c : {Case{-1, 0, 0}, Case{-1, 1, 0}, Case{-1, 5, 3}, Case{0, 1, 0}, Case{6, 7, 4}}) {
    UnitOptions options;
    options.SilentFrom = c.silentFrom;
    options.HangUpAfter = c.hangUpAfter;
    UnitOnLine line(options);
    ASSERT_TRUE(line.Ready());
    EngineWithImage engine(Sequence(50));
    auto start = std::chrono::steady_clock::now();
    int32_t r = engine.Download(line.Fd(), SlowEchoes());
    EXPECT_TRUE(r == PLEXOR_DL_WRITE || r == PLEXOR_DL_NO_ANSWER) << c.hangUpAfter << " -> " << r;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.hangUpAfter;
    EXPECT_EQ(engine.Progress(), c.progress) << c.hangUpAfter;
    line.Stop();
    EXPECT_EQ(line.Ended, CEmulatedUnit::End::HungUp);
  }
}

// A read that fails ends the drain like a quiet line; the start byte then
// cannot be written.
TEST(LoaderProtocol, HangUpBeforeTheDownloadFailsTheStartByte) {
  UnitOnLine line;
  ASSERT_TRUE(line.Ready());
  line.Stop();
  line.Pty.HangUp();
  EngineWithImage engine(lt::kExampleImage);
  LoaderTimeouts slow = SlowEchoes();
  slow.DrainQuietMs = 30000;
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(engine.Download(line.Fd(), slow), PLEXOR_DL_WRITE);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
