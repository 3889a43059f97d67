// The recovery copy of a project of 200 cells with 10 or 50 blocks each
// (the argument: constant and print pairs per cell): what the
// interface thread pays (serialising, framing, handing over), what the
// writer thread pays (the file through a temporary file, fsync and rename),
// and whether an edit gets slower while a copy is being written.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

#include "PrintProject.h"
#include "TRecoveryCopy.h"
#include "TRecoveryKeeper.h"
#include "TRecoveryWriter.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "recovery_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

struct BigProject {
  QTemporaryDir dir;
  TTarvixPlusModel model;
  explicit BigProject(int pairs = 25) {
    App();
    model.Open(BuildPrintProject(dir.filePath("big.tvp"), 200, pairs));
    model.SetModified(true);
  }
};

TRecoveryCopy CopyOf(const TTarvixPlusModel& m) {
  TRecoveryCopy copy;
  copy.header.projectFile = m.FileName();
  copy.header.writer = TProcessIdentity::Self();
  copy.body = m.SaveToBytes();
  return copy;
}

// Interface thread: the model into the bytes saving would write.
void BM_SerialiseProject(benchmark::State& state) {
  BigProject p(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(p.model.SaveToBytes());
  state.counters["bytes"] = static_cast<double>(p.model.SaveToBytes().size());
}
BENCHMARK(BM_SerialiseProject)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);

// Interface thread: the header with length and checksum around the body.
void BM_EncodeCopy(benchmark::State& state) {
  BigProject p(static_cast<int>(state.range(0)));
  const TRecoveryCopy copy = CopyOf(p.model);
  for (auto _ : state) benchmark::DoNotOptimize(copy.Encode());
}
BENCHMARK(BM_EncodeCopy)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);

// Interface thread, all of it: what a due copy costs the user's typing.
void BM_CopyOnInterfaceThread(benchmark::State& state) {
  BigProject p(static_cast<int>(state.range(0)));
  TRecoveryWriter writer;
  int64_t now = 0;
  TRecoveryKeeper keeper(p.dir.filePath("state"), writer, [&now] { return now; });
  keeper.Attach(&p.model);
  for (auto _ : state) {
    keeper.Changed();
    if (!keeper.WriteNow()) state.SkipWithError("no copy written");
  }
  writer.Flush();
}
BENCHMARK(BM_CopyOnInterfaceThread)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);

// Writer thread: temporary file, fsync, rename, fsync of the directory.
void BM_WriteCopyFile(benchmark::State& state) {
  BigProject p(static_cast<int>(state.range(0)));
  const QByteArray bytes = CopyOf(p.model).Encode();
  const QString path = p.dir.filePath("copy.vrc");
  QString problem;
  for (auto _ : state)
    if (!TRecoveryWriter::WriteFile(path, bytes, problem)) state.SkipWithError(problem.toUtf8().constData());
  state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_WriteCopyFile)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);

// Reading a copy back and checking it (the list at start reads every copy).
void BM_ReadCopy(benchmark::State& state) {
  BigProject p(static_cast<int>(state.range(0)));
  const QString path = p.dir.filePath("copy.vrc");
  QString problem;
  TRecoveryWriter::WriteFile(path, CopyOf(p.model).Encode(), problem);
  for (auto _ : state) {
    TRecoveryCopy copy;
    if (!TRecoveryCopy::Read(path, copy, problem)) state.SkipWithError("damaged");
  }
}
BENCHMARK(BM_ReadCopy)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);

// One edit of the interface thread (a block inserted and taken back), with
// the writer thread writing copies without pause (Arg 1) or idle (Arg 0):
// the difference is what writing costs typing.
void BM_EditWhileWriting(benchmark::State& state) {
  BigProject p;
  const QByteArray bytes = CopyOf(p.model).Encode();
  const QString path = p.dir.filePath("busy.vrc");
  std::atomic<bool> stop{false};
  std::atomic<int64_t> written{0};
  std::thread writer;
  if (state.range(0) != 0)
    writer = std::thread([&] {
      QString problem;
      while (!stop.load()) {
        TRecoveryWriter::WriteFile(path, bytes, problem);
        ++written;
      }
    });
  const int32_t cell = p.model.Cells().front()->CellId();
  for (auto _ : state) {
    p.model.InsertBlock(cell, 700, TRect{600, 20, 2000, 2000});
    p.model.Undo();
  }
  stop = true;
  if (writer.joinable()) writer.join();
  state.counters["copies"] = static_cast<double>(written.load());
}
BENCHMARK(BM_EditWhileWriting)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
