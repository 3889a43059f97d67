// vorblen-unit: plays a Tarvix plus unit on a pseudo-terminal, so downloads
// can be tried without hardware. The first line on standard output is the
// path of the terminal to download to.
#include <getopt.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "EmulatedUnit.h"
#include "PseudoTerminal.h"
#include "TerminalLink.h"

namespace {

std::atomic<bool> g_stop{false};

void OnSignal(int) { g_stop.store(true); }

const char kUsage[] =
    "usage: vorblen-unit [options]\n"
    "Plays a Tarvix plus unit on a pseudo-terminal and prints its path.\n"
    "Download to that path; each complete download is reported with its\n"
    "program length and checksum (sum of the bytes modulo 65536).\n"
    "\n"
    "  --save FILE        write each received image to FILE\n"
    "  --link PATH        also make PATH a symbolic link to the terminal\n"
    "                     (replaces only a symbolic link, never a file)\n"
    "  --once             exit after the first complete download\n"
    "  --loopback         be a loop-back wire instead of a unit\n"
    "Faults (byte K counts the bytes after the start byte from 0;\n"
    "0 and 1 are the length, 2 is the first image byte):\n"
    "  --silent-from K    stop answering from byte K on (0: never answer)\n"
    "  --wrong-echo K     answer byte K with a wrong value\n"
    "  --hang-up-after K  hang up after answering K bytes, then exit\n"
    "  --delay-us N       wait N microseconds before each answer\n"
    "  --stale N          send N leftover bytes at start\n"
    "  --chatter MS       while idle, send a byte every MS milliseconds\n"
    "  --version          print the version and exit\n";

bool ParseCount(const char* text, int32_t max, int32_t* out) {
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < 0 || v > max) return false;
  *out = static_cast<int32_t>(v);
  return true;
}

bool SaveImage(const std::string& path, const UnitDownload& d) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(d.Image.data(), 1, d.Image.size(), f) == d.Image.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  enum { kSave = 1, kLink, kOnce, kLoopback, kSilent, kWrong, kHangUp, kDelay, kStale, kChatter, kHelp, kVersion };
  static const option kOptions[] = {
      {"save", required_argument, nullptr, kSave},         {"link", required_argument, nullptr, kLink},
      {"once", no_argument, nullptr, kOnce},               {"loopback", no_argument, nullptr, kLoopback},
      {"silent-from", required_argument, nullptr, kSilent}, {"wrong-echo", required_argument, nullptr, kWrong},
      {"hang-up-after", required_argument, nullptr, kHangUp}, {"delay-us", required_argument, nullptr, kDelay},
      {"stale", required_argument, nullptr, kStale},       {"chatter", required_argument, nullptr, kChatter},
      {"help", no_argument, nullptr, kHelp},               {"version", no_argument, nullptr, kVersion},
      {nullptr, 0, nullptr, 0}};
  UnitOptions options;
  std::string savePath, linkPath;
  int32_t maxDownloads = 0;
  constexpr int32_t kMaxByte = 0x10001;  // two length bytes plus the longest image
  for (int c; (c = getopt_long(argc, argv, "", kOptions, nullptr)) != -1;) {
    bool ok = true;
    switch (c) {
      case kSave: savePath = optarg; break;
      case kLink: linkPath = optarg; break;
      case kOnce: maxDownloads = 1; break;
      case kLoopback: options.Loopback = true; break;
      case kSilent: ok = ParseCount(optarg, kMaxByte, &options.SilentFrom); break;
      case kWrong: ok = ParseCount(optarg, kMaxByte, &options.WrongEchoAt); break;
      case kHangUp: ok = ParseCount(optarg, kMaxByte, &options.HangUpAfter); break;
      case kDelay: ok = ParseCount(optarg, 10000000, &options.DelayUs); break;
      case kStale: ok = ParseCount(optarg, 4096, &options.StaleBytes); break;
      case kChatter: ok = ParseCount(optarg, 60000, &options.ChatterMs) && options.ChatterMs > 0; break;
      case kHelp: std::fputs(kUsage, stdout); return 0;
      case kVersion: std::puts("vorblen-unit " VORBLEN_VERSION); return 0;
      default: ok = false; break;
    }
    if (!ok) {
      std::fprintf(stderr, "vorblen-unit: bad option value%s%s\n%s", optarg ? ": " : "", optarg ? optarg : "", kUsage);
      return 2;
    }
  }
  if (optind < argc) {
    std::fprintf(stderr, "vorblen-unit: unexpected argument %s\n%s", argv[optind], kUsage);
    return 2;
  }

  struct sigaction sa{};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);

  CPseudoTerminal line;
  if (!line.Open()) {
    std::fprintf(stderr, "vorblen-unit: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
    return 1;
  }
  if (!linkPath.empty()) {
    std::string error;
    if (!TerminalLink::Create(linkPath, line.Path(), &error)) {
      std::fprintf(stderr, "vorblen-unit: cannot link %s: %s\n", linkPath.c_str(), error.c_str());
      return 1;
    }
  }
  std::printf("%s\n", line.Path().c_str());
  std::fflush(stdout);

  int exitCode = 0;
  CEmulatedUnit unit(line, options);
  auto report = [&](const UnitDownload& d) {
    std::printf("download: %zu bytes, checksum 0x%04X\n", d.Image.size(), static_cast<unsigned>(d.Checksum));
    if (!savePath.empty()) {
      if (SaveImage(savePath, d)) {
        std::printf("saved: %s\n", savePath.c_str());
      } else {
        std::fprintf(stderr, "vorblen-unit: cannot write %s: %s\n", savePath.c_str(), std::strerror(errno));
        exitCode = 1;
      }
    }
    std::fflush(stdout);
  };
  switch (unit.Serve(g_stop, maxDownloads, report)) {
    case CEmulatedUnit::End::HungUp:
      std::printf("hung up after %d bytes\n", unit.BytesInTransfer());
      break;
    case CEmulatedUnit::End::LineFailed:
      std::fprintf(stderr, "vorblen-unit: the line failed\n");
      exitCode = 1;
      break;
    case CEmulatedUnit::End::Stopped:
    case CEmulatedUnit::End::Done:
      break;
  }
  std::fflush(stdout);
  if (!linkPath.empty()) TerminalLink::RemoveIfOurs(linkPath, line.Path());
  // Closing the line throws away answers the loader has not read yet.
  if (line.IsOpen()) ::usleep(options.LingerMs * 1000);
  return exitCode;
}
