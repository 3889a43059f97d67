// Fuzz target: any bytes as the unit's memory, stepped many times with
// station calls in between. The unit model must never read or write
// outside itself, and its state must stay within its documented ranges.
//
// Input layout: byte 0 options, byte 1 number of steps / 4, bytes 2..3
// image length, 4..5 initial ports, then the memory image from address 0
// (the rest of memory stays zero).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "Plexor.h"
#include "UnitClock.h"
#include "UnitInterpreter.h"
#include "plexor.h"

namespace {

// Time that never passes by itself: real-time mode without sleeping.
class FrozenClock : public CUnitClock {
 public:
  uint32_t Milliseconds() override { return ms; }
  CLocalTime LocalTime() override { return CLocalTime{2099, 12, 31, 6, 23, 59, 59}; }
  void Sleep(uint32_t milliseconds) override { ms += milliseconds; }
  uint32_t ms = 0;
};

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 6) return 0;
  PlexorHandle e = PlexorCreate();
  if (!e) return 0;
  FrozenClock clock;
  CUnitModel& u = e->Unit;
  u.Clock = &clock;
  PlexorSetOptions(e, data[0] & 0x0F);  // real time, pauses to the caller, virtual time, fixed date
  const int steps = 4 * (data[1] + 1);
  u.ImageLength = ((data[2] << 8) | data[3]) - 0x1000;  // also negative and oversized
  PlexorSetInitialPortState(e, (data[4] << 8) | data[5]);
  size_t image = size - 6 < static_cast<size_t>(kUnitMemorySize) ? size - 6 : kUnitMemorySize;
  std::memcpy(u.Memory, data + 6, image);
  PlexorResetProgram(e);

  // A small budget keeps runaway loops cheap; the exported step uses the same code.
  CUnitInterpreter sim(u, e->Options, 20000);
  std::vector<uint16_t> words;
  size_t cursor = 6;
  auto next = [&]() -> uint8_t { return cursor < size ? data[cursor++] : 0; };
  for (int i = 0; i < steps; ++i) {
    uint16_t before[9];
    before[0] = u.PC;
    for (int k = 0; k < 7; ++k) before[1 + k] = static_cast<uint16_t>(u.Stack[k]);
    before[8] = u.Seed;
    uint32_t r = sim.Step();
    uint16_t status = static_cast<uint16_t>(r);
    Check(status <= kStepFile || status == kStepError);
    Check(u.OutputLength >= 0 && u.OutputLength < kOutputTextSize);
    if (status == kStepError) {
      Check(u.PC == before[0] && u.Seed == before[8]);
      for (int k = 0; k < 7; ++k) Check(static_cast<uint16_t>(u.Stack[k]) == before[1 + k]);
    }
    switch (status) {
      case kStepInput: PlexorSetInputValue(e, (next() << 8) | next()); break;
      case kStepOutput: Check(std::strlen(PlexorGetOutputString(e)) < kOutputTextSize); break;
      case kStepFile:
        words.assign(static_cast<size_t>(PlexorGetFileLength(e)) + 1, 0);
        PlexorDumpFile(e, words.data());
        break;
      default: break;
    }
    // The station's panels between steps: map codes and port writes from the input.
    int32_t code = static_cast<int32_t>((uint32_t{next()} << 24) | (uint32_t{next()} << 16) | (uint32_t{next()} << 8) | next());
    PlexorGetValue(e, code);
    PlexorSetValue(e, code, static_cast<int16_t>((next() << 8) | next()));
    PlexorSetPort(e, next() & 31, next() & 1);
    if (next() == 0xA5) PlexorResetProgram(e);
  }
  // One exported step as the station makes it (full budget only when cheap).
  if (size < 64) PlexorStep(e);
  PlexorDestroy(e);
  return 0;
}
