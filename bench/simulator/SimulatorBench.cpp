// Simulator speed: raw interpreter throughput on a long arithmetic and logic
// loop without stop conditions (byte-code instructions per second), and the
// cost of a step through the exported interface on a program that passes a
// page marker every few instructions (steps per second).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
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
      .Op(op::JZ).Word(c.Here() + 3)
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

}  // namespace

BENCHMARK_MAIN();
