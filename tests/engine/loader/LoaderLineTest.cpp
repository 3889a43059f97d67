// The line as the loader leaves it, and descriptors and engines the loader
// must refuse or survive.
#include <gtest/gtest.h>
#include <pthread.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "LoaderHarness.h"

using lt::EngineWithImage;
using lt::UnitOnLine;

namespace {

TEST(LoaderLine, SettingsReadBackFromTheDescriptorMatchTheDownloadLine) {
  UnitOnLine line;
  ASSERT_TRUE(line.Ready());
  // Start from a cooked, odd line with settings the loader must keep.
  termios before{};
  ASSERT_EQ(tcgetattr(line.Fd(), &before), 0);
  before.c_cflag = (before.c_cflag & ~CSIZE) | CS7 | PARENB | PARODD | CSTOPB | HUPCL;
  before.c_iflag |= INPCK | ISTRIP | IXON | IXOFF | ICRNL;
  before.c_oflag |= OPOST | ONLCR;
  before.c_lflag |= ICANON | ISIG | IEXTEN;
  before.c_cc[VINTR] = 0x11;
  before.c_cc[VMIN] = 1;
  cfsetispeed(&before, B19200);
  cfsetospeed(&before, B19200);
  ASSERT_EQ(tcsetattr(line.Fd(), TCSANOW, &before), 0);

  EngineWithImage engine(lt::kExampleImage);
  ASSERT_EQ(engine.Download(line.Fd()), 9);

  termios after{};
  ASSERT_EQ(tcgetattr(line.Fd(), &after), 0);
  EXPECT_EQ(cfgetispeed(&after), static_cast<speed_t>(B9600));
  EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B9600));
  EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_FALSE(after.c_cflag & (PARENB | CSTOPB | CRTSCTS));
  EXPECT_TRUE(after.c_cflag & CREAD);
  EXPECT_FALSE(after.c_iflag & (INPCK | ISTRIP | IXON | IXOFF | IXANY | ICRNL | INLCR | IGNCR | BRKINT | PARMRK));
  EXPECT_FALSE(after.c_oflag & OPOST);
  EXPECT_FALSE(after.c_lflag & (ICANON | ECHO | ISIG | IEXTEN));
  EXPECT_EQ(after.c_cc[VMIN], 0);
  EXPECT_EQ(after.c_cc[VTIME], 0);
  // Untouched settings keep the values read from the port.
  EXPECT_TRUE(after.c_cflag & HUPCL);
  EXPECT_EQ(after.c_cc[VINTR], 0x11);
}

TEST(LoaderLine, DescriptorModeIsGivenBackAfterTheDownload) {
  for (int extra : {0, O_NONBLOCK}) {
    UnitOnLine line({}, O_RDWR | extra);
    ASSERT_TRUE(line.Ready());
    int flags = fcntl(line.Fd(), F_GETFL);
    EngineWithImage engine(lt::kExampleImage);
    EXPECT_EQ(engine.Download(line.Fd()), 9);
    EXPECT_EQ(fcntl(line.Fd(), F_GETFL), flags);
    line.Stop();
    // A failed download gives it back too.
    UnitOptions wrong;
    wrong.WrongEchoAt = 0;
    UnitOnLine failing(wrong, O_RDWR | extra);
    ASSERT_TRUE(failing.Ready());
    EXPECT_EQ(engine.Download(failing.Fd()), PLEXOR_DL_WRONG_ECHO);
    EXPECT_EQ(fcntl(failing.Fd(), F_GETFL), flags);
  }
}

void Ignore(int) {}

// Signals interrupt poll, read and write; none of that may show as a
// failure or a missing answer.
TEST(LoaderLine, SignalsDuringTheDownloadAreRetriedNotReported) {
  struct sigaction sa{}, old{};
  sa.sa_handler = Ignore;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: calls really return EINTR
  ASSERT_EQ(sigaction(SIGUSR1, &sa, &old), 0);

  UnitOptions options;
  options.DelayUs = 200;
  options.StaleBytes = 30;
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  std::vector<uint8_t> image(300, 0xA5);
  image.back() = 255;
  EngineWithImage engine(image);
  std::atomic<bool> done{false};
  std::atomic<int32_t> result{0};
  std::thread loader([&] {
    result = engine.Download(line.Fd());
    done = true;
  });
  int sent = 0;
  while (!done.load()) {
    pthread_kill(loader.native_handle(), SIGUSR1);
    ++sent;
    std::this_thread::sleep_for(std::chrono::microseconds(300));
  }
  loader.join();
  sigaction(SIGUSR1, &old, nullptr);
  EXPECT_GT(sent, 20);
  EXPECT_EQ(result.load(), 300);
  line.Stop();
  ASSERT_EQ(line.Downloads.size(), 1u);
  EXPECT_EQ(line.Downloads[0].Image, image);
}

TEST(LoaderLine, UnusableDescriptorsAreRefusedWithoutTouchingThem) {
  EngineWithImage engine(lt::kExampleImage);
  EXPECT_EQ(engine.Download(-1), PLEXOR_DL_NOT_COMPILED);
  EXPECT_EQ(engine.Download(1 << 20), PLEXOR_DL_NOT_COMPILED);
  EXPECT_EQ(PlexorDownload(engine.Raw(), -7), PLEXOR_DL_NOT_COMPILED);

  int closed = ::open("/dev/null", O_RDWR);
  ASSERT_GE(closed, 0);
  ::close(closed);
  EXPECT_EQ(engine.Download(closed), PLEXOR_DL_NOT_COMPILED);

  int devnull = ::open("/dev/null", O_RDWR);
  EXPECT_EQ(engine.Download(devnull), PLEXOR_DL_NOT_COMPILED);
  ::close(devnull);

  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  EXPECT_EQ(engine.Download(pipeFds[1]), PLEXOR_DL_NOT_COMPILED);
  EXPECT_EQ(engine.Download(pipeFds[0]), PLEXOR_DL_NOT_COMPILED);
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);

  // Nothing may be written into an ordinary file handed over by mistake.
  FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(engine.Download(fileno(file)), PLEXOR_DL_NOT_COMPILED);
  struct stat st{};
  ASSERT_EQ(fstat(fileno(file), &st), 0);
  EXPECT_EQ(st.st_size, 0);
  std::fclose(file);
  EXPECT_EQ(engine.Progress(), 0);
}

TEST(LoaderLine, NothingIsSentWithoutACompiledImage) {
  UnitOnLine line;
  ASSERT_TRUE(line.Ready());
  EXPECT_EQ(PlexorDownload(nullptr, line.Fd()), PLEXOR_DL_NOT_COMPILED);

  vt::Engine fresh;
  EXPECT_EQ(PlexorDownload(fresh, line.Fd()), PLEXOR_DL_NOT_COMPILED);

  // A compile that has been started again but not finished has no image.
  vt::Engine engine;
  ASSERT_EQ(PlexorAddPage(engine, 1, 0), 1);
  ASSERT_EQ(vt::CompileAll(engine), 0);
  ASSERT_NE(engine.get()->DownloadImage, nullptr);
  ASSERT_EQ(PlexorCompilerInit(engine), 1);
  EXPECT_EQ(PlexorDownload(engine, line.Fd()), PLEXOR_DL_NOT_COMPILED);

  // Lengths the two length bytes cannot carry.
  for (int32_t bad : {0, -1, -100000, 0x10000, 0x7FFFFFFF}) {
    EngineWithImage odd(lt::kExampleImage);
    odd.Raw()->DownloadLength = bad;
    EXPECT_EQ(odd.Download(line.Fd()), PLEXOR_DL_NOT_COMPILED) << bad;
  }
  line.Stop();
  EXPECT_TRUE(line.Received().empty());
}

}  // namespace
