// Simulator speed: raw interpreter throughput on a long arithmetic and logic
// loop without stop conditions (byte-code instructions per second), and the
// cost of a step through the exported interface on a program that passes a
// page marker every few instructions (steps per second).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "Opcodes.h"
#include "Plexor.h"
#include "UnitInterpreter.h"
#include "plexor.h"

namespace {

class Code {
 public:
  Code& Op(uint8_t code) { b.push_back(code); return *this; }
  Code& Op(uint8_t code, int byte) { b.push_back(code); b.push_back(static_cast<uint8_t>(byte)); return *this; }
  Code& Word(int v) { b.push_back(static_cast<uint8_t>(v >> 8)); b.push_back(static_cast<uint8_t>(v)); return *this; }
  Code& Ldi(int v) { return Op(op::LDI).Word(v); }
  int Here() const { return 4 + static_cast<int>(b.size()); }
  std::vector<uint8_t> b;
};

void Load(CUnitModel& u, const Code& c) {
  u.Memory[0] = static_cast<uint8_t>(c.b.size() >> 8);
  u.Memory[1] = static_cast<uint8_t>(c.b.size());
  std::memcpy(u.Memory + 4, c.b.data(), c.b.size());
  u.ImageLength = static_cast<int32_t>(c.b.size());
}

// A loop of 24 instructions: loads, stores, arithmetic, logic, comparisons,
// shifts and a conditional jump, closed by ADDSTWORDJMP.
Code ArithmeticLoop() {
  Code c;
  int loop = c.Here();
  c.Op(op::LDWORD, 0).Ldi(3).Op(op::MUL).Ldi(7).Op(op::ADD).Op(op::STWORD, 1)
      .Ldi(0x00FF).Op(op::AND).Op(op::LDWORD, 1).Op(op::XOR).Ldi(2).Op(op::SHR)
      .Op(op::LDBYTE, 5).Op(op::OR).Op(op::NOT).Op(op::STBYTE, 6).Ldi(100).Op(op::GT)
      .Op(op::JZ).Word(c.Here() + 7)  // over its operand, LDWORD 2, SUB and STWORD 2
      .Op(op::LDWORD, 2).Op(op::SUB).Op(op::STWORD, 2).Ldi(1)
      .Op(op::ADDSTWORDJMP, 0).Word(loop);
  return c;
}

void BM_InterpreterThroughput(benchmark::State& state) {
  static CUnitModel unit;  // large; kept off the stack
  Load(unit, ArithmeticLoop());
  const uint32_t budget = 1'000'000;
  CUnitInterpreter sim(unit, 0, budget);
  sim.Reset();
  uint64_t instructions = 0;
  for (auto _ : state) {
    uint32_t r = sim.Step();  // runs the whole budget: the loop has no stop
    if ((r & 0xFFFF) != kStepWait) {
      state.SkipWithError("the loop stopped before its budget");
      break;
    }
    instructions += budget;
  }
  state.counters["instructions/s"] = benchmark::Counter(static_cast<double>(instructions), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_InterpreterThroughput)->Unit(benchmark::kMillisecond);

void BM_StepCost(benchmark::State& state) {
  PlexorHandle e = PlexorCreate();
  Code c;
  c.Op(op::PAGEMARK).Word(1).Op(op::LDWORD, 0).Ldi(1).Op(op::ADD).Op(op::STWORD, 0)
      .Op(op::PAGEMARK).Word(2).Ldi(5).Op(op::LDWORD, 0).Op(op::GT).Op(op::STBIT, 40)
      .Op(op::END);
  Load(e->Unit, c);
  PlexorResetProgram(e);
  uint64_t steps = 0;
  for (auto _ : state) {
    int32_t r = PlexorStep(e);
    benchmark::DoNotOptimize(r);
    ++steps;
  }
  state.counters["steps/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
  PlexorDestroy(e);
}
BENCHMARK(BM_StepCost);

// --loop-passes N: runs N passes of the loop in one step and prints the CPU
// seconds and the words WORD[1..3] and BYTE[7], for compare_lua.sh. In its
// steady state a pass runs 21 of the 24 instructions (the JZ is taken).
int LoopPasses(long passes) {
  static CUnitModel unit;
  const Code loop = ArithmeticLoop();
  Load(unit, loop);
  constexpr uint32_t kPerPass = 21;
  CUnitInterpreter sim(unit, 0, static_cast<uint32_t>(passes) * kPerPass);
  sim.Reset();
  std::timespec a{}, b{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &a);
  uint32_t r = sim.Step();
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &b);
  if ((r & 0xFFFF) != kStepWait || unit.PC != 4) {
    std::fprintf(stderr, "the loop did not run whole passes (PC %u)\n", unit.PC);
    return 1;
  }
  auto word = [&](int n) { return static_cast<int16_t>(unit.UserCells[2 * n] | (unit.UserCells[2 * n + 1] << 8)); };
  std::printf("%.6f %d %d %d %d\n", static_cast<double>(b.tv_sec - a.tv_sec) + (b.tv_nsec - a.tv_nsec) / 1e9, word(0),
              word(1), word(2), unit.UserCells[6]);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--loop-passes") == 0) return LoopPasses(std::atol(argv[2]));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
