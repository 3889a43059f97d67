// The export boundary under memory exhaustion: this program replaces the
// global allocator with one that fails the n-th allocation, for every n a
// scenario makes, and checks that each export returns its failure value
// instead of letting std::bad_alloc unwind into the (C) caller. Under the
// sanitizer build LeakSanitizer checks that nothing leaks on those paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>

#include "EngineFixture.h"
#include "plexor.h"

namespace {

// Allocations left before the failing one; negative: never fail.
long g_allowed = -1;
long g_failures = 0;

void* Allocate(std::size_t size) {
  if (g_allowed == 0) {
    ++g_failures;
    return nullptr;
  }
  if (g_allowed > 0) --g_allowed;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* p = Allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Runs the scenario once for every allocation it makes, failing that one
// (and every later one), until a run completes without an injected failure.
template <typename Scenario>
void UnderEveryAllocationFailure(Scenario scenario) {
  long injected = 0;
  for (long n = 0; n < 100000; ++n) {
    SCOPED_TRACE(n);
    g_failures = 0;
    g_allowed = n;
    scenario();
    g_allowed = -1;
    injected += g_failures;
    if (g_failures == 0) break;
  }
  EXPECT_GT(injected, 0) << "the scenario allocated nothing";
}

TEST(AllocationFailure, CreateReturnsNullOrAWorkingEngine) {
  UnderEveryAllocationFailure([] {
    PlexorHandle e = PlexorCreate();
    bool failed = g_failures > 0;
    g_allowed = -1;
    if (failed) {
      EXPECT_EQ(e, nullptr);
      PlexorDestroy(e);
      return;
    }
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(PlexorAddPage(e, 1, 0), 1);
    PlexorDestroy(e);
  });
}

// Builds and runs a small program; every call must answer with a value of
// its contract, whatever allocation fails. Without failures the program
// compiles and prints its sum.
void BuildCompileAndRun(PlexorHandle e, bool mustSucceed) {
  using vt::Bid;
  int32_t added = PlexorAddPage(e, 1, 0);
  EXPECT_TRUE(added == 0 || added == 1);
  PlexorSetPageName(e, 1, "Zelle");
  PlexorAddBlock(e, 700, Bid(1, 1));
  PlexorSetBlockParam(e, Bid(1, 1), "42");
  PlexorAddBlock(e, 200, Bid(1, 2));
  PlexorAddBlock(e, 602, Bid(1, 3));
  PlexorSetBlockParam(e, Bid(1, 3), "2");
  PlexorAddBlock(e, 900, Bid(1, 4));
  PlexorGetBlockInputMenuFlags(e, Bid(1, 1), Bid(1, 2));
  int32_t r = PlexorConnectBlocks(e, Bid(1, 1), Bid(1, 2), -1);
  EXPECT_TRUE(r == -1 || PLEXOR_CONN_KIND(r) == PLEXOR_CONN_VALUE);
  PlexorConnectBlocks(e, Bid(1, 3), Bid(1, 2), -1);
  PlexorConnectBlocks(e, Bid(1, 2), Bid(1, 4), -1);
  PlexorGetSymbolicName(e, Bid(1, 3));
  PlexorGetBlockParam(e, Bid(1, 1));
  EXPECT_EQ(PlexorCompilerInit(e), 1);
  int32_t compiled = PlexorCompile(e);
  EXPECT_TRUE(compiled == 0 || compiled == -1 || (compiled >> 16) == 1) << compiled;
  int32_t table = PlexorLoadTable(e, "T", "1 2 3");
  EXPECT_TRUE(table == 0 || table == 1);
  int32_t done = PlexorCompilerDone(e);
  EXPECT_TRUE(done == 0 || done == 1);
  std::string output;
  if (done == 1) {
    PlexorResetProgram(e);
    for (int i = 0; i < 4; ++i) {
      PlexorStep(e);
      const char* text = PlexorGetOutputString(e);
      ASSERT_NE(text, nullptr);
      output += text;
    }
  }
  if (mustSucceed) {
    EXPECT_EQ(compiled, 0) << PlexorGetErrorMessage(e);
    EXPECT_EQ(done, 1) << PlexorGetErrorMessage(e);
    EXPECT_EQ(output, "42");
  }
  PlexorRemoveBlock(e, Bid(1, 2));
  PlexorClearPage(e, 1);
  PlexorRemovePage(e, 1);
}

TEST(AllocationFailure, EveryExportOfAProgramsLifeReturnsItsFailureValue) {
  long failing = 0;
  for (long n = 0; n < 100000; ++n) {
    SCOPED_TRACE(n);
    vt::Engine e;
    ASSERT_NE(e.get(), nullptr);
    g_failures = 0;
    g_allowed = n;
    BuildCompileAndRun(e, false);
    g_allowed = -1;
    long injected = g_failures;
    failing += injected;
    // The engine is still sound: the same program builds and runs afterwards.
    BuildCompileAndRun(e, true);
    if (injected == 0) break;
  }
  EXPECT_GT(failing, 0);
}

}  // namespace
