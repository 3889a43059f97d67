// The project reader's peak memory per MB of input, for the shapes that
// cost the most per byte: empty lines (in the comment, in a cell), short
// block records, and a few very long lines. Each load runs in a child
// process, whose peak resident size less that of an idle child is the
// figure ("peak_per_MB": bytes of peak memory per byte of file).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <functional>

#include "TTarvixPlusModel.h"

namespace {

void App() {
  static int argc = 1;
  static char name[] = "reader_memory_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

const QByteArray kHeader = "MARLIX Tarvix plus - project file\r\nVersion=1.0\r\n1\r\n\r\n";

// The peak resident bytes of a child that runs work, or -1.
long PeakOfChild(const std::function<void()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    ::_exit(0);
  }
  int status = 0;
  rusage usage {};
  if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status)) return -1;
  return usage.ru_maxrss * 1024L;
}

void Measure(benchmark::State& state, const QByteArray& bytes) {
  App();
  QTemporaryDir dir;
  const QString name = dir.filePath("memory.tvp");
  {
    QFile f(name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) state.SkipWithError("cannot write");
  }
  double perMb = 0;
  for (auto _ : state) {
    const long idle = PeakOfChild([] {});
    const long loaded = PeakOfChild([&] {
      TTarvixPlusModel model;
      model.Open(name);
    });
    if (idle < 0 || loaded < 0) state.SkipWithError("child failed");
    perMb = static_cast<double>(loaded - idle) / static_cast<double>(bytes.size());
  }
  state.counters["input_MB"] = static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
  state.counters["peak_per_MB"] = perMb;
}

void BM_EmptyLinesInTheComment(benchmark::State& state) {
  QByteArray bytes = kHeader + "#COMMENT_START\r\n";
  bytes += QByteArray(990'000, '\n');
  Measure(state, bytes + "#COMMENT_END\r\n\r\n");
}
BENCHMARK(BM_EmptyLinesInTheComment)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EmptyLinesInACell(benchmark::State& state) {
  QByteArray bytes = kHeader + "#CELL_START\r\nID=1\r\nNAME=A\r\n";
  bytes += QByteArray(990'000, '\n');
  Measure(state, bytes + "#CELL_END\r\n\r\n");
}
BENCHMARK(BM_EmptyLinesInACell)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_BlockRecords(benchmark::State& state) {
  QByteArray bytes = kHeader + "#CELL_START\r\nID=1\r\nNAME=A\r\n\r\n";
  for (int n = 1; n <= 30000; ++n)
    bytes += QStringLiteral("#BLOCK_START\r\nGraphBlock\r\nID=%1\r\n%2,%3,%4,%5\r\nTYPE=700\r\n#DLLDATA_START\r\n1\r\n#DLLDATA_END\r\n#BLOCK_END\r\n\r\n")
                 .arg(65536 + n)
                 .arg(n % 20 * 90)
                 .arg(n / 20 % 40 * 45)
                 .arg(n % 20 * 90 + 60)
                 .arg(n / 20 % 40 * 45 + 20)
                 .toLatin1();
  Measure(state, bytes + "#CELL_END\r\n\r\n");
}
BENCHMARK(BM_BlockRecords)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_LongCommentLines(benchmark::State& state) {
  QByteArray bytes = kHeader + "#COMMENT_START\r\n";
  for (int i = 0; i < 8; ++i) bytes += QByteArray(4 * 1024 * 1024, 'x') + "\r\n";
  Measure(state, bytes + "#COMMENT_END\r\n\r\n");
}
BENCHMARK(BM_LongCommentLines)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
