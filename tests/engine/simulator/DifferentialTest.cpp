// The interpreter against the reference interpreter it replaced: random
// programs made of the unit's instructions (and some raw bytes), stepped
// with station input in between, must give the same step results and leave
// the same unit state after every step, in both timing modes.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "OpcodeTable.h"
#include "ReferenceInterpreter.h"
#include "SimTestUtil.h"
#include "UnitInterpreter.h"

namespace {

// Every field of the unit the interpreter may change.
void ExpectSameUnit(const CUnitModel& a, const CUnitModel& b, int step) {
  SCOPED_TRACE(step);
  ASSERT_EQ(std::memcmp(a.Memory, b.Memory, sizeof a.Memory), 0);
  ASSERT_EQ(a.PC, b.PC);
  ASSERT_EQ(std::memcmp(a.Stack, b.Stack, sizeof a.Stack), 0);
  ASSERT_EQ(std::memcmp(a.UserCells, b.UserCells, sizeof a.UserCells), 0);
  ASSERT_EQ(std::memcmp(a.Returns, b.Returns, sizeof a.Returns), 0);
  ASSERT_EQ(std::memcmp(a.Snapshot, b.Snapshot, sizeof a.Snapshot), 0);
  ASSERT_EQ(a.OutputLength, b.OutputLength);
  ASSERT_EQ(std::memcmp(a.OutputText, b.OutputText, static_cast<size_t>(a.OutputLength)), 0);
  ASSERT_EQ(a.Marker, b.Marker);
  ASSERT_EQ(a.PendingInput, b.PendingInput);
  ASSERT_EQ(a.WaitingForInput, b.WaitingForInput);
  ASSERT_EQ(a.Ports, b.Ports);
  ASSERT_EQ(a.PortOutputs, b.PortOutputs);
  ASSERT_EQ(std::memcmp(a.AnalogOut, b.AnalogOut, sizeof a.AnalogOut), 0);
  ASSERT_EQ(a.Seed, b.Seed);
  ASSERT_EQ(a.Timer, b.Timer);
  ASSERT_EQ(a.Sound, b.Sound);
  ASSERT_EQ(a.Year, b.Year);
  ASSERT_EQ(a.Hour, b.Hour);
  ASSERT_EQ(a.Second, b.Second);
  ASSERT_EQ(a.FileStart, b.FileStart);
  ASSERT_EQ(a.FilePosition, b.FilePosition);
  ASSERT_EQ(a.FileLength, b.FileLength);
}

// A random program: mostly instructions with random operands, jumps into
// the program, some raw bytes; sometimes placed near the end of memory.
void RandomProgram(std::mt19937& rng, CUnitModel& u) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<uint8_t> named;
  for (int c = 0; c < 256; ++c)
    if (!Opcode(static_cast<uint8_t>(c)).Mnemonic.empty()) named.push_back(static_cast<uint8_t>(c));
  const int length = std::uniform_int_distribution<int>(1, 300)(rng);
  const bool nearEnd = rng() % 8 == 0;
  const int start = nearEnd ? kUnitMemorySize - length - 16 : 4;
  auto address = [&] { return std::uniform_int_distribution<int>(start, start + length)(rng); };
  std::vector<uint8_t> code;
  while (static_cast<int>(code.size()) < length) {
    if (rng() % 10 == 0) {
      code.push_back(static_cast<uint8_t>(byte(rng)));
      continue;
    }
    const uint8_t c = named[rng() % named.size()];
    code.push_back(c);
    switch (Opcode(c).Operand) {
      case OperandForm::None:
        break;
      case OperandForm::Byte:
        code.push_back(static_cast<uint8_t>(rng() % 2 ? byte(rng) : byte(rng) % 24));
        break;
      case OperandForm::Word:
        code.push_back(static_cast<uint8_t>(byte(rng) % 4 ? 0 : byte(rng)));
        code.push_back(static_cast<uint8_t>(byte(rng)));
        break;
      case OperandForm::Address:
      case OperandForm::ByteAddress: {
        if (Opcode(c).Operand == OperandForm::ByteAddress) code.push_back(static_cast<uint8_t>(byte(rng) % 24));
        const int to = address();
        code.push_back(static_cast<uint8_t>(to >> 8));
        code.push_back(static_cast<uint8_t>(to));
        break;
      }
      case OperandForm::String:
        for (int n = byte(rng) % 6; n > 0; --n) code.push_back(static_cast<uint8_t>(1 + byte(rng) % 255));
        code.push_back(0);
        break;
    }
  }
  // Near the end, half the programs are cut inside an instruction, the
  // others end with a whole instruction that has a lasting effect, right at
  // the last address: its operand read must not count as a fetch past it.
  int at = start;
  if (nearEnd && rng() % 2) {
    const uint8_t last[][3] = {{op::STWORD, 1, 0}, {op::TGLPIN, 3, 0}, {op::JMP, 0, 0}, {op::STBIT, 9, 0}};
    const auto& l = last[rng() % 4];
    code.push_back(l[0]);
    code.push_back(l[0] == op::JMP ? static_cast<uint8_t>(start >> 8) : l[1]);
    if (l[0] == op::JMP) code.push_back(static_cast<uint8_t>(start));
    at = kUnitMemorySize - static_cast<int>(code.size());
  } else {
    code.resize(static_cast<size_t>(length));
  }
  std::memcpy(u.Memory + at, code.data(), code.size());
  u.Memory[0] = static_cast<uint8_t>(length >> 8);
  u.Memory[1] = static_cast<uint8_t>(length);
  u.ImageLength = length;
  u.InitialPorts = static_cast<uint16_t>(rng());
  u.Seed = static_cast<uint16_t>(rng());
  if (nearEnd) {
    // Start there with a jump, so that fetches run into the end of memory.
    u.Memory[4] = op::JMP;
    u.Memory[5] = static_cast<uint8_t>(at >> 8);
    u.Memory[6] = static_cast<uint8_t>(at);
  }
}

TEST(Differential, RandomProgramsStepLikeTheReference) {
  std::mt19937 rng(20261207);
  auto fast = std::make_unique<CUnitModel>();
  auto slow = std::make_unique<CUnitModel>();
  int errors = 0, outputs = 0, budgets = 0;
  for (int program = 0; program < 400; ++program) {
    SCOPED_TRACE(program);
    *fast = CUnitModel{};
    RandomProgram(rng, *fast);
    *slow = *fast;
    st::ScriptedClock fastClock, slowClock;
    const int32_t options = program % 3 == 0 ? 1 : 0;
    if (options) {
      fast->Clock = &fastClock;
      slow->Clock = &slowClock;
    }
    // Small budgets in some runs: a step that ends on its budget resumes.
    const uint32_t budget = program % 4 == 0 ? 1 + rng() % 50 : 5000;
    CUnitInterpreter f(*fast, options, budget);
    CReferenceInterpreter s(*slow, options, budget);
    f.Reset();
    s.Reset();
    for (int step = 0; step < 60; ++step) {
      const uint32_t r = f.Step();
      ASSERT_EQ(r, s.Step()) << "step " << step;
      ExpectSameUnit(*fast, *slow, step);
      if (HasFatalFailure()) return;
      const uint16_t status = r & 0xFFFF;
      errors += status == kStepError;
      outputs += status == kStepOutput;
      budgets += status == kStepWait;
      if (status == kStepInput) {
        const uint16_t value = static_cast<uint16_t>(rng());
        fast->InputValue = slow->InputValue = value;
        fast->WaitingForInput = slow->WaitingForInput = 0;
      }
      if (status == kStepOutput) fast->OutputLength = slow->OutputLength = 0;
      if (step % 7 == 3) {
        const uint8_t level = static_cast<uint8_t>(rng());
        fast->Analog[step % 8] = slow->Analog[step % 8] = level;
        fast->Ports = slow->Ports = static_cast<uint16_t>(fast->Ports ^ (1u << (rng() % 16)));
      }
    }
  }
  // The programs reach the interesting ends of a step.
  EXPECT_GT(errors, 20);
  EXPECT_GT(outputs, 100);
  EXPECT_GT(budgets, 50);
}

}  // namespace
