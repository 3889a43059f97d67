// The loader's own cost per byte: an 8000-byte image sent to an emulated
// unit that answers at once over a pseudo-terminal (which does not throttle
// to 9600 bit/s). A real line adds about 2.08 ms per byte on top.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "EmulatedUnit.h"
#include "Plexor.h"
#include "PseudoTerminal.h"
#include "SerialLoader.h"
#include "plexor.h"

namespace {

constexpr int32_t kImageBytes = 8000;

struct Rig {
  Rig() : Image(kImageBytes, 0x5A) {
    Image.back() = 255;
    Engine = PlexorCreate();
    Engine->DownloadImage = Image.data();
    Engine->DownloadLength = kImageBytes;
    Pty.Open();
    Fd = ::open(Pty.Path().c_str(), O_RDWR | O_NOCTTY);
    Unit = std::thread([this] { CEmulatedUnit(Pty, UnitOptions{}).Serve(Stop); });
  }
  ~Rig() {
    Stop = true;
    Unit.join();
    ::close(Fd);
    PlexorDestroy(Engine);
  }
  std::vector<uint8_t> Image;
  PlexorHandle Engine;
  CPseudoTerminal Pty;
  int Fd = -1;
  std::atomic<bool> Stop{false};
  std::thread Unit;
};

// The drain's quiet time is cut to 1 ms and taken off, so what is left is
// the per-byte exchange.
void BM_DownloadPerByte(benchmark::State& state) {
  Rig rig;
  LoaderTimeouts t;
  t.DrainQuietMs = 1;
  double exchangeUs = 0;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    int32_t r = CSerialLoader(*rig.Engine, t).Download(rig.Fd);
    auto us = std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    if (r != kImageBytes) state.SkipWithError("download failed");
    exchangeUs += us - 1000.0;
    state.SetIterationTime(us / 1e6);
  }
  state.SetBytesProcessed(state.iterations() * kImageBytes);
  state.counters["us_per_byte"] = exchangeUs / (static_cast<double>(state.iterations()) * kImageBytes);
}
BENCHMARK(BM_DownloadPerByte)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

// The export with the real time-outs: the one-second drain plus the bytes.
void BM_DownloadExport(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) {
    if (PlexorDownload(rig.Engine, rig.Fd) != kImageBytes) state.SkipWithError("download failed");
  }
  state.SetBytesProcessed(state.iterations() * kImageBytes);
}
BENCHMARK(BM_DownloadExport)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
