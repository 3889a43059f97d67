// Whole downloads through the export with the unit's real time-outs, and
// against the vorblen-unit program as a user would run it.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "LoaderHarness.h"

extern char** environ;

using lt::UnitOnLine;
using lt::WireBytes;

namespace {

// The compiler's example: a constant 5 printed with a line feed.
void CompileExample(PlexorHandle e) {
  ASSERT_EQ(PlexorAddPage(e, 1, 0), 1);
  int32_t value = vt::Add(e, 700, 1, 1, "5");
  int32_t print = vt::Add(e, 900, 1, 2, "2");
  ASSERT_NE(value, 0);
  ASSERT_NE(print, 0);
  vt::Wire(e, value, print);
  ASSERT_EQ(vt::CompileAll(e), 0);
  ASSERT_EQ(std::vector<uint8_t>(e->DownloadImage, e->DownloadImage + e->DownloadLength), lt::kExampleImage);
}

// vorblen-unit run as a child process; its standard output is read line by line.
class UnitProgram {
 public:
  explicit UnitProgram(std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    args.insert(args.begin(), VORBLEN_UNIT_PROGRAM);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawn(&Pid, VORBLEN_UNIT_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) Pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    OutFd = out[0];
  }
  ~UnitProgram() {
    if (Pid > 0) {
      ::kill(Pid, SIGTERM);
      Wait();
    }
    if (OutFd >= 0) ::close(OutFd);
  }

  // The next line of output, or "" when none comes within a few seconds.
  std::string ReadLine() {
    for (;;) {
      size_t eol = Buffer.find('\n');
      if (eol != std::string::npos) {
        std::string line = Buffer.substr(0, eol);
        Buffer.erase(0, eol + 1);
        return line;
      }
      pollfd p{OutFd, POLLIN, 0};
      if (::poll(&p, 1, 5000) <= 0) return "";
      char chunk[256];
      ssize_t n = ::read(OutFd, chunk, sizeof chunk);
      if (n <= 0) return "";
      Buffer.append(chunk, static_cast<size_t>(n));
    }
  }

  int Wait() {
    int status = 0;
    if (Pid > 0 && ::waitpid(Pid, &status, 0) == Pid) Pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  bool Started() const { return Pid > 0 && OutFd >= 0; }

 private:
  pid_t Pid = -1;
  int OutFd = -1;
  std::string Buffer;
};

int OpenLine(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_NOCTTY); }

TEST(LoaderEndToEnd, CompiledExampleReachesTheEmulatedUnit) {
  vt::Engine engine;
  CompileExample(engine);
  UnitOptions options;
  options.StaleBytes = 40;
  UnitOnLine line(options);
  ASSERT_TRUE(line.Ready());
  EXPECT_EQ(PlexorDownload(engine, line.Fd()), 9);
  EXPECT_EQ(PlexorGetProgress(engine), 100);
  line.Stop();
  EXPECT_EQ(line.Received(), WireBytes(lt::kExampleImage));
  ASSERT_EQ(line.Downloads.size(), 1u);
  EXPECT_EQ(line.Downloads[0].Checksum, 364);
}

TEST(LoaderEndToEnd, UnitProgramReportsAndSavesTheDownload) {
  vt::Engine engine;
  CompileExample(engine);
  const std::string saved = "unit-download.bin";
  std::remove(saved.c_str());
  UnitProgram unit({"--once", "--stale", "20", "--save", saved});
  ASSERT_TRUE(unit.Started());
  std::string path = unit.ReadLine();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  int fd = OpenLine(path);
  ASSERT_GE(fd, 0);
  ASSERT_TRUE(lt::WaitPending(fd, 20));
  EXPECT_EQ(PlexorDownload(engine, fd), 9);
  EXPECT_EQ(unit.ReadLine(), "download: 9 bytes, checksum 0x016C");
  EXPECT_EQ(unit.ReadLine(), "saved: " + saved);
  EXPECT_EQ(unit.Wait(), 0);
  ::close(fd);
  std::ifstream in(saved, std::ios::binary);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, lt::kExampleImage);
}

// The program's fault options, each giving the loader the result it exists for.
TEST(LoaderEndToEnd, UnitProgramFaultsGiveEachFailureCode) {
  struct Case { std::vector<std::string> args; int32_t result; int32_t progress; };
  const Case cases[] = {
      {{"--silent-from", "0"}, PLEXOR_DL_NO_ANSWER, 0},
      {{"--wrong-echo", "5"}, PLEXOR_DL_WRONG_ECHO, 3},
      {{"--loopback"}, PLEXOR_DL_WRONG_ECHO, 0},
      {{"--chatter", "3"}, PLEXOR_DL_DRAIN, 0},
      {{"--delay-us", "2000"}, 9, 9},
  };
  for (const Case& c : cases) {
    UnitProgram unit(c.args);
    ASSERT_TRUE(unit.Started());
    int fd = OpenLine(unit.ReadLine());
    ASSERT_GE(fd, 0);
    lt::EngineWithImage engine(lt::kExampleImage);
    LoaderTimeouts t = lt::QuickTimeouts();
    t.DrainLimitMs = 500;
    EXPECT_EQ(engine.Download(fd, t), c.result) << c.args[0];
    EXPECT_EQ(engine.Progress(), c.progress) << c.args[0];
    ::close(fd);
  }
  {
    UnitProgram unit({"--hang-up-after", "4"});
    ASSERT_TRUE(unit.Started());
    int fd = OpenLine(unit.ReadLine());
    ASSERT_GE(fd, 0);
    lt::EngineWithImage engine(lt::kExampleImage);
    int32_t r = engine.Download(fd);
    EXPECT_TRUE(r == PLEXOR_DL_WRITE || r == PLEXOR_DL_NO_ANSWER) << r;
    EXPECT_EQ(engine.Progress(), 2);
    EXPECT_EQ(unit.ReadLine(), "hung up after 4 bytes");
    EXPECT_EQ(unit.Wait(), 0);
    ::close(fd);
  }
}

TEST(LoaderEndToEnd, UnitProgramRefusesBadOptions) {
  for (std::vector<std::string> args : {std::vector<std::string>{"--wrong-echo", "x"}, {"--delay-us", "-3"},
                                        {"--chatter", "0"}, {"--bogus"}, {"stray"}}) {
    UnitProgram unit(args);
    ASSERT_TRUE(unit.Started());
    EXPECT_EQ(unit.Wait(), 2) << args[0];
  }
}

}  // namespace
