// vorblen-cli test as a CI job calls it: the logger example played for one
// million simulator steps, start of the process, loading and compiling
// included. The target is below 0.5 s; the child's CPU time is reported
// too, since on a busy machine the wall time mostly measures the others.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// The logger ends after 54 steps; a run after its end starts it again.
constexpr int kStepsPerPass = 54;
constexpr int kSteps = 1000000;

QByteArray MillionStepScenario() {
  QByteArray text = "set adc 1 = 100\n";
  // The first pass proves the pass length, so the total stays exact.
  text += "run 53 steps\nexpect status running\nrun 1 steps\nexpect status end\n";
  for (int steps = kStepsPerPass; steps < kSteps; steps += kStepsPerPass) text += "run 54 steps\n";
  text += "expect status end\nexpect output contains \"Messung beendet\\r\\n\"\n";
  return text;
}

double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_CliTestLoggerMillionSteps(benchmark::State& state) {
  QTemporaryDir dir;
  QFile scenario(dir.filePath("million.scenario"));
  if (!scenario.open(QIODevice::WriteOnly) || scenario.write(MillionStepScenario()) < 0) {
    state.SkipWithError("cannot write the scenario");
    return;
  }
  scenario.close();
  const double cpuBefore = ChildCpuSeconds();
  for (auto _ : state) {
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    cli.start(QStringLiteral(VORBLEN_CLI),
              {"test", QStringLiteral(VORBLEN_EXAMPLES "/logger.tvp"), scenario.fileName()});
    if (!cli.waitForFinished(60000) || cli.exitCode() != 0) {
      state.SkipWithError(cli.readAllStandardOutput().constData());
      return;
    }
  }
  state.counters["child_cpu_s"] =
      benchmark::Counter((ChildCpuSeconds() - cpuBefore) / static_cast<double>(state.iterations()));
  state.counters["steps"] = kSteps;
}
BENCHMARK(BM_CliTestLoggerMillionSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
