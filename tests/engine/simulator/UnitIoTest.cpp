// The unit's inputs and outputs as the station sees them: value access by
// map code, ports with their output marks, and real-time mode driven by a
// scripted clock.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SimTestUtil.h"

namespace {

using st::Asm;
using st::Load;
using st::R;

constexpr int32_t Code(int width, int area, int index) { return PLEXOR_MAPCODE(width, area, index); }

TEST(ValueAccess, ReadsEveryAreaAndWidth) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  u.UserCells[0] = 0xFE;  // WORD[1] = 0xFFFE, read unsigned
  u.UserCells[1] = 0xFF;
  u.UserCells[23] = 0x80;
  u.Ports = 0x8102;
  u.Analog[7] = 200;
  u.AnalogOut[1] = 17;
  u.Year = 26; u.Month = 12; u.Day = 7; u.Weekday = 1; u.Hour = 13; u.Minute = 45; u.Second = 30;
  u.Timer = 0xFFFF; u.Sound = 440; u.Spare = 3; u.Frequency = 50000;
  u.FileStart = 100; u.FileLength = 10;
  struct Row {
    int32_t code;
    int32_t value;
  };
  const Row rows[] = {
      {Code(1, 1, 0), 0xFFFE}, {Code(1, 1, 11), 0x8000}, {Code(2, 1, 0), 0xFE}, {Code(2, 1, 23), 0x80},
      {Code(3, 1, 1), -1}, {Code(3, 1, 0), 0}, {Code(3, 1, 191), -1}, {Code(3, 1, 0x100 + 1), -1},
      {Code(1, 2, 0), 0x8102}, {Code(2, 2, 0), 0x02}, {Code(2, 2, 1), 0x81}, {Code(3, 2, 1), 1},
      {Code(3, 2, 15), 1}, {Code(3, 2, 14), 0},
      {Code(1, 3, 7), 200}, {Code(2, 3, 7), 200}, {Code(3, 3, 7), 200}, {Code(1, 4, 1), 17},
      {Code(3, 4, 1), 17},
      {Code(1, 5, 0), 26}, {Code(1, 5, 1), 12}, {Code(1, 5, 2), 7}, {Code(1, 5, 3), 1}, {Code(1, 5, 4), 13},
      {Code(1, 5, 5), 45}, {Code(2, 5, 6), 30}, {Code(1, 5, 7), 0xFFFF}, {Code(1, 5, 8), 440},
      {Code(1, 5, 9), 3}, {Code(1, 5, 10), 50000}, {Code(1, 5, 11), (8180 - 110) / 2}, {Code(1, 5, 12), 10},
      // Outside the table: 0, never a read outside the unit.
      {Code(1, 1, 12), 0}, {Code(2, 1, 24), 0}, {Code(3, 1, 192), 0}, {Code(2, 2, 2), 0}, {Code(3, 2, 16), 0},
      {Code(1, 3, 8), 0}, {Code(1, 3, 0xFFFF), 0}, {Code(1, 4, 2), 0}, {Code(1, 5, 13), 0}, {Code(1, 5, 0xFFFF), 0},
      {Code(0, 1, 0), 0}, {Code(4, 1, 0), 0}, {Code(1, 0, 0), 0}, {Code(1, 6, 0), 0}, {-1, 0}, {0, 0},
  };
  for (const Row& row : rows) EXPECT_EQ(PlexorGetValue(e, row.code), row.value) << std::hex << row.code;
  EXPECT_EQ(PlexorGetValue(nullptr, Code(1, 1, 0)), 0);
}

TEST(ValueAccess, WritesEveryAreaAndRefusesWhatDoesNotFit) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  EXPECT_EQ(PlexorSetValue(e, Code(1, 1, 1), 0x1234), 1);
  EXPECT_EQ(u.UserCells[2], 0x34);
  EXPECT_EQ(u.UserCells[3], 0x12);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 1, 1), -1), 1);
  EXPECT_EQ(PlexorGetValue(e, Code(1, 1, 1)), 0xFFFF);
  EXPECT_EQ(PlexorSetValue(e, Code(2, 1, 4), 255), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(2, 1, 4), 256), 0);
  EXPECT_EQ(PlexorSetValue(e, Code(2, 1, 4), -1), 0);
  EXPECT_EQ(u.UserCells[4], 255);
  EXPECT_EQ(PlexorSetValue(e, Code(3, 1, 40), 0), 1);  // byte 5, bit 0
  EXPECT_EQ(PlexorSetValue(e, Code(3, 1, 41), 1), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(3, 1, 41), 2), 0);
  EXPECT_EQ(PlexorSetValue(e, Code(3, 1, 41), -1), 0);
  EXPECT_EQ(u.UserCells[5], 2);

  u.PortOutputs = 0x00F0;
  EXPECT_EQ(PlexorSetValue(e, Code(1, 2, 0), 0x1234), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(2, 2, 1), 0xAB), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(3, 2, 0), 1), 1);
  EXPECT_EQ(u.Ports, 0xAB35);
  EXPECT_EQ(u.PortOutputs, 0x00F0);  // the station's writes are no program outputs

  EXPECT_EQ(PlexorSetValue(e, Code(1, 3, 2), 0x1FF), 1);
  EXPECT_EQ(u.Analog[2], 0xFF);
  EXPECT_EQ(PlexorSetValue(e, Code(3, 4, 1), 1), 1);
  EXPECT_EQ(u.AnalogOut[1], 1);

  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 0), 2026 & 0xFF), 1);  // low byte 0xEA = 234, mod 100
  EXPECT_EQ(u.Year, 34);
  EXPECT_EQ(PlexorSetValue(e, Code(2, 5, 4), 23), 1);
  EXPECT_EQ(u.Hour, 23);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 7), 0x12345), 1);
  EXPECT_EQ(u.Timer, 0x2345);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 8), 880), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 9), 9), 1);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 10), 1000), 1);
  EXPECT_EQ(u.Sound + u.Spare, 889);
  EXPECT_EQ(PlexorGetFreq(e), 1000);
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 11), 5), 1);  // read-only: ignored
  EXPECT_EQ(PlexorSetValue(e, Code(1, 5, 12), 5), 1);
  EXPECT_EQ(u.FileLength, 0);

  // Codes outside the table are refused and change nothing.
  CUnitModel before = u;
  for (int32_t code : {Code(1, 1, 12), Code(2, 1, 24), Code(3, 1, 192), Code(2, 2, 2), Code(3, 2, 16),
                       Code(1, 3, 8), Code(1, 4, 2), Code(1, 5, 13), Code(0, 1, 0), Code(4, 1, 0),
                       Code(1, 0, 0), Code(1, 9, 0), -1}) {
    EXPECT_EQ(PlexorSetValue(e, code, 1), 0) << std::hex << code;
  }
  EXPECT_EQ(std::memcmp(&before, &u, sizeof u), 0);
  EXPECT_EQ(PlexorSetValue(nullptr, Code(1, 1, 0), 1), 0);
}

TEST(Ports, InitialStateAndProgramOutputs) {
  vt::Engine e;
  PlexorSetInitialPortState(e, 0x0100);
  Load(e, Asm().Op(op::LDPIN, 8).Op(op::NOT).Ldi(1).Op(op::STPIN, 0).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorGetPortState(e), 256);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(e.get()->Unit.Stack[1], 0);  // a key on port 9 reads released
  EXPECT_EQ(static_cast<uint32_t>(PlexorGetPortState(e)), 0x00010101u);
  PlexorSetPort(e, 8, 0);  // pressing the key does not mark an output
  EXPECT_EQ(static_cast<uint32_t>(PlexorGetPortState(e)), 0x00010001u);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorGetPortState(e), 256);
}

TEST(RealTime, ClockRegistersTimerAndPauses) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  st::ScriptedClock clock;
  u.Clock = &clock;
  clock.time = CLocalTime{2026, 12, 7, 1, 13, 45, 30};
  clock.ms = 123456;
  EXPECT_EQ(PlexorSetOptions(e, 1), 1);
  Asm a;
  a.Ldi(10).Op(op::PAUSE).Op(op::LDSYS, sysreg::TIMER).Ldi(151).Op(op::PAUSE).Op(op::LDSYS, sysreg::TIMER)
      .Ldi(0).Op(op::RANDSEED).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(u.Year, 26);
  EXPECT_EQ(u.Month, 12);
  EXPECT_EQ(u.Day, 7);
  EXPECT_EQ(u.Weekday, 1);
  EXPECT_EQ(u.Hour, 13);
  EXPECT_EQ(u.Minute, 45);
  EXPECT_EQ(u.Second, 30);
  EXPECT_EQ(u.Timer, 123456 / 20);

  clock.time.Second = 31;
  clock.ms = 200000;
  // A short pause sleeps inside the step; a long one is left to the caller.
  EXPECT_EQ(PlexorStep(e), R(5, 151));
  EXPECT_EQ(clock.sleeps, std::vector<uint32_t>{200});
  EXPECT_EQ(u.Second, 31);
  EXPECT_EQ(u.Stack[1], 10000 + 10);  // timer after the short pause
  EXPECT_EQ(u.Timer, 10000 + 10 + 151);
  EXPECT_EQ(u.Stack[0], 151);
  // The next step reloads the timer from the clock (the caller waited).
  clock.ms = 203020;
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[1], 10151);
  EXPECT_EQ(u.Seed, 10151);  // a zero seed takes the timer
  EXPECT_EQ(clock.sleeps.size(), 1u);
}

TEST(RealTime, ManyShortPausesDoNotHoldTheStation) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  st::ScriptedClock clock;
  u.Clock = &clock;
  PlexorSetOptions(e, 1);
  Asm a;
  for (int i = 0; i < 4; ++i) a.Ldi(100).Op(op::PAUSE);
  a.Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  // 150 ticks (3 s) of sleeping end a step with a wait pass.
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(clock.sleeps, (std::vector<uint32_t>{2000, 2000}));
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(clock.sleeps.size(), 4u);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  // Switching real time off: the clock registers are cleared at reset and
  // pauses do nothing.
  PlexorSetOptions(e, 2);
  PlexorResetProgram(e);
  EXPECT_EQ(u.Timer + u.Hour + u.Year, 0);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(clock.sleeps.size(), 4u);
}

// With the pause bit every real-time pause ends the step with its ticks and
// nothing sleeps; a pause of no ticks has nothing to hand over.
TEST(RealTime, PausesGoToTheCallerWithTheirBit) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  st::ScriptedClock clock;
  u.Clock = &clock;
  clock.ms = 20000;
  EXPECT_EQ(PlexorSetOptions(e, PLEXOR_OPTION_REALTIME | PLEXOR_OPTION_PAUSE_TO_CALLER), 3);
  Asm a;
  a.Ldi(10).Op(op::PAUSE).Ldi(0).Op(op::PAUSE).Ldi(150).Op(op::PAUSE).Ldi(151).Op(op::PAUSE).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  for (int ticks : {10, 150, 151}) {
    EXPECT_EQ(PlexorStep(e), R(5, ticks));
    EXPECT_EQ(u.Timer, 1000 + ticks);  // advanced before the caller waits
  }
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_TRUE(clock.sleeps.empty());
}

namespace {

// Runs until END or the step count and returns the serial output.
std::string RunOutput(PlexorHandle e, int maxSteps) {
  std::string out;
  for (int i = 0; i < maxSteps; ++i) {
    const int32_t r = PlexorStep(e);
    if (st::Status(r) == PLEXOR_STEP_OUTPUT) out += PlexorGetOutputString(e);
    if (st::Status(r) == PLEXOR_STEP_END || st::Status(r) == PLEXOR_STEP_ERROR) break;
  }
  return out;
}

}  // namespace

// Virtual time from the fixed date: pauses advance the clock without
// sleeping, each wait pass adds a tick, and the clock registers follow.
TEST(VirtualTime, PausesAndWaitPassesAdvanceTheClock) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  st::ScriptedClock clock;
  u.Clock = &clock;
  // Real time is overridden.
  PlexorSetOptions(e, PLEXOR_OPTION_VIRTUAL_TIME | PLEXOR_OPTION_FIXED_DATE | PLEXOR_OPTION_REALTIME |
                          PLEXOR_OPTION_PAUSE_TO_CALLER);
  Asm a;
  a.Ldi(3000).Op(op::PAUSE);  // one minute
  const int loop = a.Here();
  a.Op(op::WAITMARK).Ldi(0).OpW(op::JZ, loop).Op(op::END);
  Load(e, a);
  PlexorResetProgram(e);
  EXPECT_EQ(u.Year, 24);
  EXPECT_EQ(u.Month, 1);
  EXPECT_EQ(u.Day, 1);
  EXPECT_EQ(u.Weekday, 1);
  EXPECT_EQ(u.Hour + u.Minute + u.Second + u.Timer, 0);
  EXPECT_EQ(PlexorStep(e), R(4, 0));  // the pause passed inside the step
  EXPECT_EQ(u.Minute, 1);
  EXPECT_EQ(u.Timer, 3000);
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(u.Timer, 3001);  // read at the next step
  for (int i = 0; i < 3000; ++i) PlexorStep(e);  // a minute of wait passes
  EXPECT_EQ(u.Minute, 2);
  EXPECT_EQ(u.Second, 0);
  EXPECT_TRUE(clock.sleeps.empty());
  // Without the fixed date the clock starts at the computer's local time.
  clock.time = CLocalTime{2026, 12, 31, 4, 23, 59, 30};
  PlexorSetOptions(e, PLEXOR_OPTION_VIRTUAL_TIME);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(4, 0));
  EXPECT_EQ(u.Year, 27);  // one minute later it is a new year
  EXPECT_EQ(u.Month, 1);
  EXPECT_EQ(u.Day, 1);
  EXPECT_EQ(u.Weekday, 5);
  EXPECT_EQ(u.Minute, 0);
  EXPECT_EQ(u.Second, 30);
}

// A clock program over 24 hours of unit time: every minute its hour and
// minute, as a real unit would print them, and the same on every run.
TEST(VirtualTime, ADayOfAClockProgramIsExactAndRepeatable) {
  Asm a;
  const int loop = a.Here();
  a.Ldi(3000).Op(op::PAUSE).Op(op::LDSYS, sysreg::HOUR).Op(op::PRINTNUM).Op(op::LDSYS, sysreg::MINUTE)
      .Op(op::PRINTNUM).Str("\r\n").Op(op::LDSYS, sysreg::DAY).Ldi(2).Op(op::EQ).OpW(op::JZ, loop).Op(op::END);
  std::string expected;
  for (int m = 1; m <= 24 * 60; ++m) expected += std::to_string(m / 60 % 24) + std::to_string(m % 60) + "\r\n";
  std::string first;
  for (int run = 0; run < 2; ++run) {
    vt::Engine e;
    PlexorSetOptions(e, PLEXOR_OPTION_VIRTUAL_TIME | PLEXOR_OPTION_FIXED_DATE);
    Load(e, a);
    PlexorResetProgram(e);
    const std::string out = RunOutput(e, 10 * 24 * 60);
    if (run == 0) first = out;
    EXPECT_EQ(out, run == 0 ? expected : first);
  }
}

// Switching time lapse on mid-run keeps Timer going from where it stood.
TEST(VirtualTime, SwitchingOnKeepsTheTimer) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  st::ScriptedClock clock;
  u.Clock = &clock;
  clock.ms = 40000;
  PlexorSetOptions(e, PLEXOR_OPTION_REALTIME);
  Load(e, Asm().Ldi(50).Op(op::PAUSE).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(u.Timer, 2000);
  PlexorSetOptions(e, PLEXOR_OPTION_VIRTUAL_TIME);
  EXPECT_EQ(u.Timer, 2000);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Timer, 2050);
  EXPECT_TRUE(clock.sleeps.empty());
}

TEST(RealTime, SystemClockIsUsedWhenNoneIsSet) {
  vt::Engine e;
  PlexorSetOptions(e, 1);
  Load(e, Asm().Ldi(0).Op(op::PAUSE).Op(op::END));
  PlexorResetProgram(e);
  const CUnitModel& u = e.get()->Unit;
  EXPECT_GE(u.Month, 1);
  EXPECT_LE(u.Month, 12);
  EXPECT_GE(u.Day, 1);
  EXPECT_LE(u.Year, 99);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
}

TEST(SerialText, OutputStringAndNullHandles) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  std::memset(u.OutputText, 'x', sizeof u.OutputText);
  u.OutputLength = 400;  // never trusted beyond the buffer
  EXPECT_EQ(std::strlen(PlexorGetOutputString(e)), 255u);
  EXPECT_EQ(u.OutputLength, 0);
  EXPECT_STREQ(PlexorGetOutputString(nullptr), "");
  EXPECT_EQ(PlexorStep(nullptr), 0xFFFF);
  PlexorResetProgram(nullptr);
  PlexorSetInputValue(nullptr, 1);
  EXPECT_EQ(PlexorGetFileLength(nullptr), 0);
  EXPECT_EQ(PlexorDumpFile(nullptr, nullptr), 0);
  EXPECT_EQ(PlexorSetOptions(nullptr, 1), 0);
}

}  // namespace
