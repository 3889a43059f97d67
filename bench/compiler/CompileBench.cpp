// A full compile job (Init, Compile, a table, Done) of a project that fills
// most of the 8100-byte image with every block family.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "Plexor.h"
#include "PlexorCompiler.h"
#include "plexor.h"

namespace {

int32_t Id(int page, int n) { return page << 16 | n; }

int32_t Add(PlexorHandle e, int32_t type, int page, int& n, const char* param = nullptr) {
  int32_t id = Id(page, ++n);
  PlexorAddBlock(e, type, id);
  if (param) PlexorSetBlockParam(e, id, param);
  return id;
}

void Wire(PlexorHandle e, int32_t a, int32_t b, int input = -1) { PlexorConnectBlocks(e, a, b, input); }

// One page with calculators, sources, memory cells, sinks, control blocks.
void FillPage(PlexorHandle e, int page) {
  int n = 0;
  int32_t cell = Add(e, 602, page, n, "1");
  int32_t add = Add(e, 200, page, n);
  Wire(e, cell, add);
  Wire(e, Add(e, 700, page, n, "1"), add);
  Wire(e, add, cell);
  int32_t sw = Add(e, 214, page, n);
  Wire(e, Add(e, 124, page, n), sw, 0);
  int32_t tab = Add(e, 209, page, n, "Kennlinie");
  Wire(e, Add(e, 120, page, n), tab);
  Wire(e, tab, sw, 1);
  int32_t cmp = Add(e, 402, page, n);
  Wire(e, cell, cmp);
  Wire(e, Add(e, 700, page, n, "100"), cmp);
  Wire(e, cmp, sw, 2);
  Wire(e, sw, Add(e, 900, page, n, "2"));
  Wire(e, Add(e, 702, page, n, "Messwert"), Add(e, 900, page, n, "4"));
  int32_t led = Add(e, 116, page, n);
  int32_t nand = Add(e, 302, page, n);
  Wire(e, Add(e, 112, page, n), nand);
  Wire(e, Add(e, 130, page, n), nand);
  Wire(e, nand, led);
  Wire(e, Add(e, 804, page, n), Add(e, 803, page, n));
  Add(e, 108, page, n, "478 10 5 426 10 5 379 10 5");
  int32_t wait = Add(e, 1005, page, n);
  Wire(e, Add(e, 905, page, n), wait);
  int32_t go = Add(e, 1000, page, n, page % 2 ? "Seite 1" : "Seite 2");
  Wire(e, cmp, go);
}

void BM_CompileJob(benchmark::State& state) {
  PlexorHandle e = PlexorCreate();
  const int pages = 50;
  for (int p = 1; p <= pages; ++p) {
    PlexorAddPage(e, p, p - 1);
    PlexorSetPageName(e, p, ("Seite " + std::to_string(p)).c_str());
    FillPage(e, p);
  }
  std::string table;
  for (int i = 0; i < 256; ++i) table += std::to_string(i * 3 - 200) + " ";
  // The listing goes to a scratch directory, measured with the rest.
  char dir[] = "/tmp/vorblen-bench-XXXXXX";
  if (!mkdtemp(dir) || chdir(dir) != 0) state.SkipWithError("no scratch directory");
  for (auto _ : state) {
    PlexorCompilerInit(e);
    if (PlexorCompile(e) != 0 || !PlexorLoadTable(e, "Kennlinie", table.c_str()) || !PlexorCompilerDone(e)) {
      state.SkipWithError(PlexorGetErrorMessage(e));
      break;
    }
  }
  state.counters["image_bytes"] = e->SimulationCompiler->Length();
  state.counters["download_bytes"] = PlexorGetCodeLength(e);
  PlexorDestroy(e);
}
BENCHMARK(BM_CompileJob)->Unit(benchmark::kMicrosecond);

void BM_CompileWithoutListing(benchmark::State& state) {
  PlexorHandle e = PlexorCreate();
  for (int p = 1; p <= 50; ++p) {
    PlexorAddPage(e, p, p - 1);
    PlexorSetPageName(e, p, ("Seite " + std::to_string(p)).c_str());
    FillPage(e, p);
  }
  for (auto _ : state) {
    PlexorCompilerInit(e);
    PlexorCompile(e);
    e->DownloadCompiler->LoadTable("Kennlinie", "1 2 3");
    e->SimulationCompiler->LoadTable("Kennlinie", "1 2 3");
    e->DownloadCompiler->ResolveFixups();
    e->SimulationCompiler->ResolveFixups();
  }
  PlexorDestroy(e);
}
BENCHMARK(BM_CompileWithoutListing)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
