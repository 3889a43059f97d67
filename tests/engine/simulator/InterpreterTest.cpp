// The byte-code interpreter on hand-made images: every instruction, every
// step status and the roll-back on run-time errors.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "SimTestUtil.h"
#include "UnitInterpreter.h"

namespace {

using st::Asm;
using st::Info;
using st::Load;
using st::R;
using st::Status;

// Runs the code (followed by END) for one step from a reset and returns the
// unit afterwards.
const CUnitModel& RunOnce(vt::Engine& e, Asm a, int expectStatus = PLEXOR_STEP_END) {
  a.Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  int32_t r = PlexorStep(e);
  EXPECT_EQ(Status(r), expectStatus) << "result " << std::hex << r;
  return e.get()->Unit;
}

int16_t Eval(Asm a) {
  vt::Engine e;
  return RunOnce(e, a).Stack[0];
}

TEST(Step, ExampleImageWalksThroughEveryOrdinaryStatus) {
  vt::Engine e;
  const uint8_t image[] = {0, 9, 0, 0, 254, 0, 1, 20, 0, 5, 30, 31, 13, 10, 0, 255};
  std::memcpy(e.get()->Unit.Memory, image, sizeof image);
  e.get()->Unit.ImageLength = 12;
  PlexorResetProgram(e);
  st::ExpectPrintsFiveWithLineFeed(e);
  EXPECT_STREQ(PlexorGetOutputString(e), "");
}

TEST(Step, PageMarkerKeepsItsIdForTheFollowingStatuses) {
  vt::Engine e;
  Asm a;
  a.OpW(op::PAGEMARK, 0x1234).Ldi(1).Op(op::PUTCH).Op(op::GETB).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 0x1234));
  EXPECT_EQ(e.get()->Unit.Marker, 0x1234);
  EXPECT_EQ(PlexorStep(e), R(3, 0x1234));
  EXPECT_EQ(PlexorStep(e), R(2, 0x1234));
  // Still waiting: the step repeats the request and runs nothing.
  EXPECT_EQ(PlexorStep(e), R(2, 0x1234));
  PlexorSetInputValue(e, 7);
  EXPECT_EQ(PlexorStep(e), R(0, 0x1234));
  EXPECT_EQ(e.get()->Unit.Stack[0], 7);
  // Reset forgets the marker.
  PlexorResetProgram(e);
  EXPECT_EQ(e.get()->Unit.Marker, 0);
}

TEST(Step, WaitMarkCountsOnlyRightAfterAJz) {
  vt::Engine e;
  // PAD; L: WAITMARK; LDBIT 0; JZ L; END -- the wait block as compiled.
  Asm a;
  a.Op(op::PAD);
  int loop = a.Here();
  a.Op(op::WAITMARK).Op(op::LDBIT, 0).OpW(op::JZ, loop).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  // The first WAITMARK follows PAD: no pass yet; the JZ back makes one.
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(e.get()->Unit.PC, loop + 1);
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  e.get()->Unit.UserCells[0] = 1;
  EXPECT_EQ(PlexorStep(e), R(0, 0));

  // A JZ in the previous step does not count: every step starts afresh.
  Asm b;
  b.Ldi(0).OpW(op::JZ, 4 + 6).Op(op::WAITMARK).Op(op::END);
  Load(e, b);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(PlexorStep(e), R(0, 0));
}

TEST(Step, BudgetEndsARunawayStepAndTheNextOneContinues) {
  CUnitModel u;
  Asm a;
  a.OpW(op::PAGEMARK, 9);
  int loop = a.Here();
  a.Ldi(1).Op(op::ADDSTWORDJMP, 0).Word(loop);  // WORD[1] := A + B; jump back
  std::memcpy(u.Memory + 4, a.b.data(), a.b.size());
  CUnitInterpreter sim(u, 0, 1000);
  sim.Reset();
  EXPECT_EQ(sim.Step(), CUnitInterpreter::Result(1, 9));
  EXPECT_EQ(sim.Step(), CUnitInterpreter::Result(4, 9));
  uint16_t pc = u.PC;
  EXPECT_GE(pc, loop);
  EXPECT_EQ(sim.Step(), CUnitInterpreter::Result(4, 9));
  EXPECT_EQ(u.Returns[0], 0);
  // The exported step has the large budget and still comes back.
  vt::Engine e;
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 9));
  EXPECT_EQ(PlexorStep(e), R(4, 9));
}

TEST(Step, ResetClearsTheUnitButKeepsMemoryAndSeed) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Load(e, Asm().Op(op::END));
  u.Memory[100] = 0xAB;
  u.Seed = 77;
  u.Returns[2] = 50;
  u.PendingInput = op::GETB;
  u.WaitingForInput = 1;
  u.Ports = 0xFFFF;
  u.PortOutputs = 3;
  u.InitialPorts = 0x0100;
  u.Analog[3] = 9;
  u.AnalogOut[1] = 9;
  u.Stack[6] = 5;
  u.UserCells[23] = 5;
  u.Sound = u.Spare = u.Frequency = u.Timer = 5;
  u.Hour = u.Year = 5;
  u.InputValue = 5;
  u.OutputLength = 5;
  u.FileStart = u.FilePosition = u.FileLength = 5;
  u.PC = 99;
  PlexorResetProgram(e);
  EXPECT_EQ(u.Memory[100], 0xAB);
  EXPECT_EQ(u.Seed, 77);
  EXPECT_EQ(u.Returns[2], 0);
  EXPECT_EQ(u.PendingInput, 0);
  EXPECT_EQ(u.WaitingForInput, 0);
  EXPECT_EQ(PlexorGetPortState(e), 0x0100);
  EXPECT_EQ(u.Analog[3] + u.AnalogOut[1] + u.Stack[6] + u.UserCells[23], 0);
  EXPECT_EQ(u.Sound + u.Spare + u.Frequency + u.Timer + u.Hour + u.Year, 0);
  EXPECT_EQ(u.InputValue + u.OutputLength, 0);
  EXPECT_EQ(u.FileStart + u.FilePosition + u.FileLength, 0);
  EXPECT_EQ(u.PC, 4);
}

struct BinaryCase {
  int b, a;
  uint8_t code;
  int16_t expected;
};

TEST(Instructions, TwoOperandArithmeticAndLogic) {
  const BinaryCase cases[] = {
      {7, 2, op::SUB, 5}, {7, 2, op::DIV, 3}, {-7, 2, op::MOD, -1}, {7, -2, op::MOD, 1},
      {-7, 2, op::DIV, -3}, {-32768, -1, op::DIV, -32768}, {-32768, -1, op::MOD, 0},
      {32767, 1, op::ADD, -32768}, {-32768, 1, op::SUB, 32767}, {300, 300, op::MUL, 24464},
      {-3, 5, op::MUL, -15}, {0x0F0F, 0x00FF, op::AND, 0x000F}, {0x0F0F, 0x00FF, op::NAND, -16},
      {0x0F0F, 0x00FF, op::OR, 0x0FFF}, {0x0F0F, 0x00FF, op::NOR, -4096},
      {0x0F0F, 0x00FF, op::XOR, 0x0FF0}, {1, 4, op::SHL, 16}, {1, 15, op::SHL, -32768},
      {1, 16, op::SHL, 0}, {3, 33, op::SHL, 6}, {1, -31, op::SHL, 2}, {-16, 2, op::SHR, -4},
      {-1, 31, op::SHR, -1}, {0x4000, 14, op::SHR, 1}, {0x4000, 46, op::SHR, 1},
      {3, 9, op::MAX, 9}, {-3, -9, op::MAX, -3}, {3, 9, op::MIN, 3}, {-3, -9, op::MIN, -9},
      {2, 1, op::GT, -1}, {1, 1, op::GT, 0}, {1, 1, op::GE, -1}, {0, 1, op::GE, 0},
      {-1, 0, op::LT, -1}, {0, 0, op::LT, 0}, {0, 0, op::LE, -1}, {1, 0, op::LE, 0},
      {5, 5, op::EQ, -1}, {5, 4, op::EQ, 0}, {5, 4, op::NE, -1}, {5, 5, op::NE, 0},
      {-32768, 32767, op::LT, -1},
  };
  for (const BinaryCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.b << " op " << int(c.code) << " " << c.a);
    vt::Engine e;
    const CUnitModel& u = RunOnce(e, Asm().Ldi(11).Ldi(c.b).Ldi(c.a).Op(c.code));
    EXPECT_EQ(u.Stack[0], c.expected);
    EXPECT_EQ(u.Stack[1], 11);  // one word taken away
  }
}

struct UnaryCase {
  int a;
  uint8_t code;
  int16_t expected;
};

TEST(Instructions, OneOperandOperations) {
  const UnaryCase cases[] = {
      {5, op::NEG, -5}, {-32768, op::NEG, -32768}, {0, op::NEG, 0}, {-5, op::ABS, 5},
      {5, op::ABS, 5}, {-32768, op::ABS, -32768}, {0, op::NOT, -1}, {0x00FF, op::NOT, -256},
      {32767, op::SQRT, 181}, {100, op::SQRT, 10}, {-5, op::SQRT, 0}, {0, op::SQRT, 0},
      {1, op::SQRT, 1}, {2, op::SQRT, 1}, {99, op::SQRT, 10}, {-9, op::SGN, -1}, {0, op::SGN, 0},
      {9, op::SGN, 1},
  };
  for (const UnaryCase& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.code) << " of " << c.a);
    vt::Engine e;
    const CUnitModel& u = RunOnce(e, Asm().Ldi(11).Ldi(c.a).Op(c.code));
    EXPECT_EQ(u.Stack[0], c.expected);
    EXPECT_EQ(u.Stack[1], 11);  // nothing popped
  }
}

TEST(Instructions, StackIsAShiftRegister) {
  vt::Engine e;
  Asm a;
  for (int i = 1; i <= 8; ++i) a.Ldi(i);
  const CUnitModel& u = RunOnce(e, a);
  const int16_t pushed[7] = {8, 7, 6, 5, 4, 3, 2};  // 1 fell off the bottom
  for (int i = 0; i < 7; ++i) EXPECT_EQ(u.Stack[i], pushed[i]);

  Asm b;
  for (int i = 1; i <= 7; ++i) b.Ldi(i);
  for (int i = 0; i < 7; ++i) b.Op(op::ADD);  // seven pops
  const CUnitModel& v = RunOnce(e, b);
  // The sum of all seven, and the bottom word repeated upward.
  const int16_t popped[7] = {29, 1, 1, 1, 1, 1, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(v.Stack[i], popped[i]) << i;

  const CUnitModel& w = RunOnce(e, Asm().Ldi(1).Ldi(2).Op(op::CLRSTK).Op(op::PUSHTRUE).Op(op::RXREADY));
  const int16_t cleared[7] = {-1, -1, 0, 0, 0, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(w.Stack[i], cleared[i]);
}

TEST(Instructions, JumpsAndSubroutines) {
  // JZ leaves A; a taken and an untaken jump.
  EXPECT_EQ(Eval(Asm().Ldi(0).OpW(op::JZ, 4 + 9).Ldi(5).Ldi(6)), 6);
  EXPECT_EQ(Eval(Asm().Ldi(1).OpW(op::JZ, 4 + 9).Ldi(5).Ldi(6)), 6);
  {
    vt::Engine e;
    const CUnitModel& u = RunOnce(e, Asm().Ldi(0).OpW(op::JZ, 4 + 9).Ldi(5).Ldi(6));
    EXPECT_EQ(u.Stack[1], 0);  // jumped over LDI 5
  }
  // Five nested calls: the fifth return address is lost, so the matching
  // RET goes back to the fourth caller.
  vt::Engine e;
  Asm a;
  // 4: CALL s1; END.  Each subroutine k pushes k, calls the next, returns.
  int base = 4;
  int sub[6];
  for (int k = 1; k <= 5; ++k) sub[k] = base + 4 + (k - 1) * 7;
  a.OpW(op::CALL, sub[1]).Op(op::END);
  for (int k = 1; k <= 4; ++k) a.Ldi(k).OpW(op::CALL, sub[k + 1]).Op(op::RET);
  a.Ldi(5).Op(op::RET).Op(op::NOP).Op(op::NOP).Op(op::NOP);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  const CUnitModel& u = e.get()->Unit;
  // The RET of s5 goes back into s3 (the fourth caller), whose RET goes on
  // to s2, s1 and the main program.
  for (uint16_t slot : u.Returns) EXPECT_EQ(slot, 0);
  EXPECT_EQ(u.Stack[0], 5);
  EXPECT_EQ(u.Stack[1], 4);
}

TEST(Instructions, CallTableIsBoundedAndRetWithoutCallerIsHarmless) {
  vt::Engine e;
  const CUnitModel& u = RunOnce(e, Asm().Op(op::RET).Ldi(3));
  EXPECT_EQ(u.Stack[0], 3);
  // Four calls fill the slots in order; the fifth is dropped.
  Asm a;
  for (int i = 0; i < 5; ++i) a.OpW(op::CALL, 4 + 3 * (i + 1));
  a.OpW(op::PAGEMARK, 1);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 1));
  const uint16_t expected[4] = {7, 10, 13, 16};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(u.Returns[i], expected[i]);
}

TEST(Instructions, RandomGenerator) {
  vt::Engine e;
  const CUnitModel& u = RunOnce(e, Asm().Ldi(0).Op(op::RANDSEED).Op(op::RAND));
  EXPECT_EQ(u.Seed, static_cast<uint16_t>(1808 * 251));
  EXPECT_EQ(u.Stack[0], -4944);
  EXPECT_EQ(u.Stack[1], 0);  // RANDSEED leaves A
  const CUnitModel& v = RunOnce(e, Asm().Ldi(3).Op(op::RANDSEED).Op(op::RAND).Op(op::RAND));
  EXPECT_EQ(v.Stack[1], 753);
  EXPECT_EQ(v.Stack[0], static_cast<int16_t>(753 * 251));
  // A zero seed takes the timer when it runs.
  Asm a = Asm().Ldi(0).Op(op::RANDSEED);
  a.Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  e.get()->Unit.Timer = 42;
  PlexorStep(e);
  EXPECT_EQ(e.get()->Unit.Seed, 42);
  // Seed survives a reset.
  PlexorResetProgram(e);
  EXPECT_EQ(e.get()->Unit.Seed, 42);
}

TEST(Instructions, SerialOutputTextAndItsCap) {
  struct Case {
    int value;
    const char* text;
  };
  for (Case c : {Case{-32768, "-32768"}, Case{0, "0"}, Case{1005, "1005"}, Case{32767, "32767"}, Case{-7, "-7"}}) {
    vt::Engine e;
    Load(e, Asm().Ldi(c.value).Op(op::PRINTNUM).Op(op::END));
    PlexorResetProgram(e);
    EXPECT_EQ(PlexorStep(e), R(3, 0));
    EXPECT_STREQ(PlexorGetOutputString(e), c.text);
    EXPECT_EQ(e.get()->Unit.Stack[0], c.value);  // A stays
  }
  vt::Engine e;
  Load(e, Asm().Ldi(0x141).Op(op::PUTCH).Str("xyz").Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(3, 0));
  EXPECT_EQ(PlexorStep(e), R(3, 0));
  EXPECT_STREQ(PlexorGetOutputString(e), "Axyz");
  EXPECT_STREQ(PlexorGetOutputString(e), "");

  // 300 characters within a step (text not fetched between them) leave 255.
  std::string text(150, 'a');
  Load(e, Asm().Str(text).Str(std::string(150, 'b')).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(3, 0));
  EXPECT_EQ(PlexorStep(e), R(3, 0));
  EXPECT_EQ(e.get()->Unit.OutputLength, 255);
  std::string out = PlexorGetOutputString(e);
  EXPECT_EQ(out, text + std::string(105, 'b'));
}

TEST(Instructions, SerialInputHandshake) {
  vt::Engine e;
  Load(e, Asm().Op(op::GETB).Op(op::GETW).Op(op::RXREADY).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(2, 0));
  EXPECT_EQ(e.get()->Unit.PendingInput, op::GETB);
  EXPECT_EQ(PlexorStep(e), R(2, 0));
  PlexorSetInputValue(e, 0x12345);
  EXPECT_EQ(PlexorStep(e), R(2, 0));  // GETB ran, GETW asks
  EXPECT_EQ(e.get()->Unit.Stack[0], 0x45);
  PlexorSetInputValue(e, -2);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  const CUnitModel& u = e.get()->Unit;
  EXPECT_EQ(u.Stack[0], -1);
  EXPECT_EQ(u.Stack[1], -2);
  EXPECT_EQ(u.Stack[2], 0x45);
  EXPECT_EQ(u.PendingInput, 0);
}

TEST(Instructions, PortsAndTheirOutputMarks) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  PlexorSetInitialPortState(e, 1);
  RunOnce(e, Asm().Ldi(256).Op(op::STPIN, 0).Ldi(0).Op(op::STPIN, 1));
  // STPIN tests the low byte only: 256 clears.
  EXPECT_EQ(u.Ports & 1, 0);
  EXPECT_EQ(u.PortOutputs, 0x3);
  PlexorSetInitialPortState(e, 0);

  RunOnce(e, Asm().Ldi(1).Op(op::STPIN, 33).Op(op::STPIN, 16).Op(op::TGLPIN, 2).Op(op::LDPIN, 2)
             .Op(op::LDPIN, 34).Op(op::LDPIN, 3).Op(op::LDPIN, 20));
  EXPECT_EQ(u.Ports, 0x6);  // 33 mod 32 = 1; 16 addresses nothing; port 3 toggled
  EXPECT_EQ(u.PortOutputs, 0x2);
  EXPECT_EQ(u.Stack[3], -1);
  EXPECT_EQ(u.Stack[2], -1);
  EXPECT_EQ(u.Stack[1], 0);
  EXPECT_EQ(u.Stack[0], 0);

  RunOnce(e, Asm().Ldi(0x1A5).Op(op::STPORTB, 1).Op(op::LDPORTB, 1).Op(op::LDPORTB, 0).Op(op::LDPORTW));
  EXPECT_EQ(u.Ports, 0xA500);
  EXPECT_EQ(u.PortOutputs, 0xFF00);
  EXPECT_EQ(u.Stack[2], 0xA5);
  EXPECT_EQ(u.Stack[1], 0);
  EXPECT_EQ(u.Stack[0], static_cast<int16_t>(0xA500));

  RunOnce(e, Asm().Ldi(0x1234).Op(op::STPORTW).Op(op::INPIN, 0).Op(op::INPORTB, 1));
  EXPECT_EQ(u.Ports, 0x1234);
  EXPECT_EQ(u.PortOutputs, 0x00FE);
  RunOnce(e, Asm().Op(op::INPORTW).Op(op::OUTPIN, 15).Op(op::OUTPIN, 47).Op(op::OUTPIN, 31));
  EXPECT_EQ(u.PortOutputs, 0x8000);
  EXPECT_EQ(static_cast<uint32_t>(PlexorGetPortState(e)) >> 16, 0x8000u);
}

TEST(Instructions, UserCellsOverlayAndIgnoreOperandsBeyondThem) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  RunOnce(e, Asm().Ldi(0x1234).Op(op::STWORD, 0).Ldi(256).Op(op::STBIT, 10).Op(op::LDBYTE, 0)
             .Op(op::LDBYTE, 1).Op(op::LDBIT, 10).Op(op::LDBIT, 2).Op(op::LDWORD, 0));
  EXPECT_EQ(u.UserCells[0], 0x34);  // low byte first
  EXPECT_EQ(u.UserCells[1], 0x16);  // bit 10 (byte 1, bit 2) set by A = 256
  EXPECT_EQ(u.Stack[4], 0x34);
  EXPECT_EQ(u.Stack[3], 0x16);
  EXPECT_EQ(u.Stack[2], -1);
  EXPECT_EQ(u.Stack[1], -1);  // bit 2 of 0x34
  EXPECT_EQ(u.Stack[0], 0x1634);
  RunOnce(e, Asm().Ldi(-1).Op(op::STBYTE, 23).Op(op::STWORD, 11).Ldi(0).Op(op::STBIT, 191).Op(op::LDWORD, 11));
  EXPECT_EQ(u.UserCells[22], 0xFF);
  EXPECT_EQ(u.UserCells[23], 0x7F);
  EXPECT_EQ(u.Stack[0], 0x7FFF);

  // Operands past the 24 bytes: reads give 0, stores change nothing.
  const uint8_t zeros[24] = {};
  RunOnce(e, Asm().Ldi(-1).Op(op::STBYTE, 24).Op(op::STBYTE, 255).Op(op::STWORD, 12).Op(op::STWORD, 255)
             .Op(op::STBIT, 192).Op(op::STBIT, 255).Op(op::LDBYTE, 200).Op(op::LDWORD, 128).Op(op::LDBIT, 250));
  EXPECT_EQ(std::memcmp(zeros, u.UserCells, sizeof zeros), 0);
  EXPECT_EQ(u.Stack[0] | u.Stack[1] | u.Stack[2], 0);
  EXPECT_EQ(u.Analog[0] | u.AnalogOut[0] | u.Ports, 0);
}

TEST(Instructions, CombinedCellJumps) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  // Count WORD[1] up to 5 with ADDSTWORDJMP and leave the loop by LDWORDJEQ.
  Asm a;
  int loop = a.Here();
  int exit = loop + 14;
  a.Ldi(5).Op(op::LDWORDJEQ, 0).Word(exit).Ldi(1).Op(op::ADDSTWORDJMP, 0).Word(loop);
  ASSERT_EQ(a.Here(), exit);
  a.Op(op::LDBYTE, 0);
  RunOnce(e, a);
  EXPECT_EQ(u.UserCells[0], 5);
  EXPECT_EQ(u.Stack[0], 5);
  // The byte forms store the low byte.
  RunOnce(e, Asm().Ldi(250).Ldi(10).Op(op::ADDSTBYTEJMP, 3).Word(4 + 10).Op(op::LDBYTEJEQ, 3).Word(4).Op(op::NOP));
  EXPECT_EQ(u.UserCells[3], 4);
  EXPECT_EQ(u.Stack[0], 4);
  EXPECT_EQ(u.Stack[1], 260);
}

TEST(Instructions, AnalogAndSystemRegisters) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm a;
  a.Ldi(0x1C8).Op(op::STDAC, 0).Op(op::STDAC, 2).Op(op::STDAC, 255).Op(op::LDADC, 8).Op(op::LDADC, 255).Op(op::LDADC, 7);
  a.Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  PlexorSetADC(e, 7, 200);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.AnalogOut[0], 0xC8);
  EXPECT_EQ(u.AnalogOut[1], 0);
  EXPECT_EQ(u.Stack[0], 200);
  EXPECT_EQ(u.Stack[1], 0);
  EXPECT_EQ(u.Stack[2], 0);

  // STSYS writes the clock bytes (low byte) and the sound; the timer and
  // the computed registers stay.
  Asm s;
  s.Ldi(0x163);
  for (int r = 0; r <= 13; ++r) s.Op(op::STSYS, r);
  s.Op(op::STSYS, 255).Op(op::CLRSTK);
  for (int r = 0; r <= 6; ++r) s.Op(op::LDSYS, r);
  RunOnce(e, s);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(u.Stack[i], 0x63);
  EXPECT_EQ(u.Sound, 0x163);
  EXPECT_EQ(u.Timer, 0);
  EXPECT_EQ(u.Spare, 0);
  EXPECT_EQ(u.Frequency, 0);

  // Registers 8 and above 12 push nothing.
  u.Timer = 0xFFFF;
  u.Spare = 9;
  Asm t;
  t.Op(op::CLRSTK).Op(op::LDSYS, 7).Op(op::LDSYS, 8).Op(op::LDSYS, 9).Op(op::LDSYS, 10)
      .Op(op::LDSYS, 13).Op(op::LDSYS, 255).Op(op::LDSYS, 11).Op(op::LDSYS, 12).Op(op::END);
  Load(e, t);
  u.PC = 4;
  PlexorSetFreq(e, 50000);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[4], -1);  // timer
  EXPECT_EQ(u.Stack[3], 9);
  EXPECT_EQ(u.Stack[2], static_cast<int16_t>(50000));
  EXPECT_EQ(u.Stack[1], 4090);  // no file opened: (8180 - 0 - 0) / 2
  EXPECT_EQ(u.Stack[0], 0);
}

TEST(Instructions, SkipsAndUnknownOpcodesOnlyConsumeTheirOperands) {
  Asm a;
  a.Ldi(1).OpW(op::SKIP8, 0xFFFF).Op(op::SKIP9, 255).Op(op::SKIP36, 255).Op(op::BAUD, 192)
      .OpW(op::SKIP73, 0xFFFF).Op(op::NOP).Op(op::PAD);
  for (int code : {18, 19, 38, 39, 67, 68, 69, 78, 79, 85, 100, 200, 252}) a.Byte(code);
  a.Ldi(2);
  vt::Engine e;
  const CUnitModel& u = RunOnce(e, a);
  EXPECT_EQ(u.Stack[0], 2);
  EXPECT_EQ(u.Stack[1], 1);
  EXPECT_EQ(u.Stack[2], 0);
}

TEST(Instructions, PauseOutsideRealTimeDoesNothing) {
  vt::Engine e;
  const CUnitModel& u = RunOnce(e, Asm().Ldi(1000).Op(op::PAUSE).Ldi(5).Op(op::PAUSE));
  EXPECT_EQ(u.Timer, 0);
  EXPECT_EQ(u.Stack[0], 5);
  EXPECT_EQ(u.Stack[1], 1000);
}

TEST(Instructions, LookupReadsTablesAndStopsAtTheEndOfMemory) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm a;
  a.Ldi(2).OpW(op::LOOKUP, 0).Op(op::END);  // table placed right behind
  int table = a.Here();
  a.Word(100).Word(200).Word(-300);
  a.b[4] = static_cast<uint8_t>(table >> 8);
  a.b[5] = static_cast<uint8_t>(table);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[0], -300);
  EXPECT_EQ(u.Stack[1], 2);

  // A word at 8178 is the last one; 8179 reaches the end.
  u.Memory[8178] = 0x12;
  u.Memory[8179] = 0x34;
  Load(e, Asm().Ldi(0).OpW(op::LOOKUP, 8178).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[0], 0x1234);
  for (int index : {1, 5000, -32768}) {
    Load(e, Asm().Ldi(index).OpW(op::LOOKUP, 8179).Op(op::END));
    PlexorResetProgram(e);
    EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2)) << index;
    EXPECT_EQ(u.Stack[0], 0);  // rolled back
  }
  // A negative index wraps in the 16-bit address register.
  Load(e, Asm().Ldi(-2).OpW(op::LOOKUP, 8).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[0], static_cast<int16_t>((op::LDI << 8) | 0xFF));
}

TEST(RunTimeErrors, DivisionByZeroRollsBackAndRepeats) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm a;
  a.OpW(op::PAGEMARK, 3).Ldi(9).Op(op::RAND).Op(op::STWORD, 0).Ldi(0).Op(op::MOD).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  u.Seed = 5;
  EXPECT_EQ(PlexorStep(e), R(1, 3));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
    EXPECT_EQ(u.PC, 4 + 3);
    EXPECT_EQ(u.Stack[0], 0);
    EXPECT_EQ(u.Stack[1], 0);
    EXPECT_EQ(u.Seed, 5);  // the RAND of the failed step is undone
  }
  EXPECT_EQ(u.UserCells[0], static_cast<uint8_t>(5 * 251));  // cells keep their changes
  // DIV by zero too.
  Load(e, Asm().Ldi(1).Ldi(0).Op(op::DIV).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
}

TEST(RunTimeErrors, RunningOffTheEndOfMemory) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Load(e, Asm().Ldi(4).OpW(op::JMP, 8176));
  // 8176: LDI with its operand cut by the end of memory.
  u.Memory[8176] = op::NOP;
  u.Memory[8177] = op::NOP;
  u.Memory[8178] = op::LDI;
  u.Memory[8179] = 0x01;
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  EXPECT_EQ(u.PC, 4);
  EXPECT_EQ(u.Stack[0], 0);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  // Jumps far outside and strings without an end fail the same way.
  Load(e, Asm().OpW(op::JMP, 0xFFFF));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  Load(e, Asm().OpW(op::JMP, 8170));
  std::memset(u.Memory + 8170, 'x', 10);
  u.Memory[8170] = op::PRINTSTR;
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  EXPECT_EQ(u.OutputLength, 9);  // the text sent before the error stays
}

TEST(RunTimeErrors, ConsumedInputIsConsumedAgainWhenTheStepRepeats) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  // 100 / input: a zero input fails after the input was consumed.
  Load(e, Asm().Ldi(100).Op(op::GETW).Op(op::DIV).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(2, 0));
  PlexorSetInputValue(e, 0);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
  EXPECT_EQ(u.Stack[0], 100);  // the pushed input is rolled back with the stack
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
  // A new value lets the repeated step succeed.
  PlexorSetInputValue(e, 7);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[0], 14);
}

}  // namespace
