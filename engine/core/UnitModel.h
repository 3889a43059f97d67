// CUnitModel: the state of the simulated Tarvix plus unit.
//
// Plain data held inside the engine object; the interpreter that works on it
// lives in the simulator. Every field is zero when the engine is created.
#pragma once

#include <cstdint>

class CUnitClock;

constexpr int kUnitMemorySize = 8180;  // addresses 0..8179 as on the unit
constexpr int kOutputTextSize = 256;   // 255 characters and the terminator

// The header names the download image, which is shorter than the simulation
// image in Memory (page and wait markers). The unit keeps its data file right
// behind the download image; the simulator moves it behind the simulation
// image instead, so logging never overwrites the program being simulated.
// The moved file can reach past address 8179 by at most the length of the
// image, so Memory has that much room behind the unit's own bytes. Programs
// never see the spill area: fetches stop at kUnitMemorySize.
constexpr int kFileSpillSize = kUnitMemorySize;

struct CUnitModel {
  int32_t Marker = 0;          // id of the last page marker passed
  uint8_t PendingInput = 0;    // opcode (34 or 35) waiting for its value
  int32_t WaitingForInput = 0;
  uint8_t Memory[kUnitMemorySize + kFileSpillSize] = {};
  uint16_t PC = 0;
  uint16_t Ports = 0;
  uint16_t InitialPorts = 0;
  uint16_t PortOutputs = 0;
  uint8_t Analog[8] = {};
  uint8_t AnalogOut[2] = {};
  uint8_t UserCells[24] = {};
  int16_t Stack[7] = {};
  uint16_t Seed = 0;
  uint16_t Snapshot[9] = {};   // PC, Stack[0..6], Seed at the start of a step
  uint16_t InputValue = 0;
  char OutputText[kOutputTextSize] = {};
  int32_t OutputLength = 0;
  uint16_t Timer = 0;
  uint16_t Sound = 0;
  uint16_t Spare = 0;
  uint16_t Frequency = 0;
  uint8_t Hour = 0, Minute = 0, Second = 0, Weekday = 0, Day = 0, Month = 0, Year = 0;
  uint16_t Returns[4] = {};
  uint16_t FileStart = 0, FilePosition = 0, FileLength = 0;

  // Virtual time: 20 ms ticks since reset, the calendar second the clock
  // started from (seconds since 1970, read as local time), and the ticks at
  // the start of the step, for the roll-back of a failed step.
  uint64_t VirtualTicks = 0;
  int64_t VirtualStart = 0;
  uint64_t VirtualTicksAtStep = 0;

  // Length of the simulation image loaded at address 4 (0: no program yet).
  int32_t ImageLength = 0;

  // Source of local time, milliseconds and sleeping in real-time mode;
  // null selects the system clock. Tests put a scripted clock here.
  CUnitClock* Clock = nullptr;
};
