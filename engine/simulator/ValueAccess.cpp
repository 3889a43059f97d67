#include "ValueAccess.h"

#include "DataFile.h"
#include "Opcodes.h"

namespace valueaccess {
namespace {

enum Width : uint32_t { kWord = 1, kByte = 2, kBit = 3 };
enum Area : uint32_t { kUserCells = 1, kPorts = 2, kAnalogIn = 3, kAnalogOut = 4, kSystem = 5 };

struct CMapCode {
  uint32_t width, area, index;
};

CMapCode Decode(int32_t mapCode) {
  uint32_t code = static_cast<uint32_t>(mapCode);
  return {code >> 24, (code >> 16) & 0xFF, code & 0xFFFF};
}

constexpr uint32_t kCellBytes = sizeof(CUnitModel::UserCells);

// The system register a map code names, or null for the computed and
// unknown ones.
uint8_t* ClockByte(CUnitModel& u, uint32_t index) {
  switch (index) {
    case sysreg::YEAR: return &u.Year;
    case sysreg::MONTH: return &u.Month;
    case sysreg::DAY: return &u.Day;
    case sysreg::WEEKDAY: return &u.Weekday;
    case sysreg::HOUR: return &u.Hour;
    case sysreg::MINUTE: return &u.Minute;
    case sysreg::SECOND: return &u.Second;
    default: return nullptr;
  }
}

uint16_t* SystemWord(CUnitModel& u, uint32_t index) {
  switch (index) {
    case sysreg::TIMER: return &u.Timer;
    case sysreg::SOUND: return &u.Sound;
    case sysreg::SPARE: return &u.Spare;
    case sysreg::FREQUENCY: return &u.Frequency;
    default: return nullptr;
  }
}

int32_t GetSystem(const CUnitModel& u, uint32_t index) {
  switch (index) {
    case sysreg::YEAR: return u.Year;
    case sysreg::MONTH: return u.Month;
    case sysreg::DAY: return u.Day;
    case sysreg::WEEKDAY: return u.Weekday;
    case sysreg::HOUR: return u.Hour;
    case sysreg::MINUTE: return u.Minute;
    case sysreg::SECOND: return u.Second;
    case sysreg::TIMER: return u.Timer;
    case sysreg::SOUND: return u.Sound;
    case sysreg::SPARE: return u.Spare;
    case sysreg::FREQUENCY: return u.Frequency;
    case sysreg::FILE_FREE: return static_cast<uint16_t>(datafile::FreeWords(u));
    case sysreg::FILE_LENGTH: return u.FileLength;  // bytes, unlike LDSYS 12
    default: return 0;
  }
}

}  // namespace

int32_t Get(const CUnitModel& u, int32_t mapCode) {
  CMapCode c = Decode(mapCode);
  if (c.width < kWord || c.width > kBit) return 0;
  switch (c.area) {
    case kUserCells: {
      uint32_t i = c.index & 0xFF;
      if (c.width == kWord) return 2 * i + 1 < kCellBytes ? (u.UserCells[2 * i] | (u.UserCells[2 * i + 1] << 8)) : 0;
      if (c.width == kByte) return i < kCellBytes ? u.UserCells[i] : 0;
      return (i >> 3) < kCellBytes && ((u.UserCells[i >> 3] >> (i & 7)) & 1) ? -1 : 0;
    }
    case kPorts: {
      uint32_t i = c.index & 0xFF;
      if (c.width == kWord) return u.Ports;
      if (c.width == kByte) return i < 2 ? (u.Ports >> (8 * i)) & 0xFF : 0;
      return i < 16 ? (u.Ports >> i) & 1 : 0;
    }
    case kAnalogIn:
      return c.index < 8 ? u.Analog[c.index] : 0;
    case kAnalogOut:
      return c.index < 2 ? u.AnalogOut[c.index] : 0;
    case kSystem:
      return GetSystem(u, c.index);
    default:
      return 0;
  }
}

bool Set(CUnitModel& u, int32_t mapCode, int32_t value) {
  CMapCode c = Decode(mapCode);
  if (c.width < kWord || c.width > kBit) return false;
  if (c.width == kByte && (value < 0 || value > 255)) return false;
  if (c.width == kBit && value != 0 && value != 1) return false;
  const uint16_t word = static_cast<uint16_t>(value);
  const uint8_t low = static_cast<uint8_t>(value);
  switch (c.area) {
    case kUserCells: {
      uint32_t i = c.index & 0xFF;
      if (c.width == kWord) {
        if (2 * i + 1 >= kCellBytes) return false;
        u.UserCells[2 * i] = static_cast<uint8_t>(word);
        u.UserCells[2 * i + 1] = static_cast<uint8_t>(word >> 8);
      } else if (c.width == kByte) {
        if (i >= kCellBytes) return false;
        u.UserCells[i] = low;
      } else {
        if ((i >> 3) >= kCellBytes) return false;
        uint8_t mask = static_cast<uint8_t>(1u << (i & 7));
        u.UserCells[i >> 3] = static_cast<uint8_t>(value ? (u.UserCells[i >> 3] | mask) : (u.UserCells[i >> 3] & ~mask));
      }
      return true;
    }
    case kPorts: {
      uint32_t i = c.index & 0xFF;
      if (c.width == kWord) {
        u.Ports = word;
      } else if (c.width == kByte) {
        if (i >= 2) return false;
        uint16_t mask = static_cast<uint16_t>(0xFF << (8 * i));
        u.Ports = static_cast<uint16_t>((u.Ports & ~mask) | (low << (8 * i)));
      } else {
        if (i >= 16) return false;
        uint16_t mask = static_cast<uint16_t>(1u << i);
        u.Ports = static_cast<uint16_t>(value ? (u.Ports | mask) : (u.Ports & ~mask));
      }
      return true;  // PortOutputs stays: the station drives inputs only
    }
    case kAnalogIn:
      if (c.index >= 8) return false;
      u.Analog[c.index] = low;
      return true;
    case kAnalogOut:
      if (c.index >= 2) return false;
      u.AnalogOut[c.index] = low;
      return true;
    case kSystem:
      if (c.index == sysreg::YEAR) {
        u.Year = static_cast<uint8_t>(low % 100);
      } else if (uint8_t* b = ClockByte(u, c.index)) {
        *b = low;
      } else if (uint16_t* w = SystemWord(u, c.index)) {
        *w = word;
      } else if (c.index != sysreg::FILE_FREE && c.index != sysreg::FILE_LENGTH) {
        return false;
      }
      return true;  // the file registers are read-only and ignore writes
    default:
      return false;
  }
}

}  // namespace valueaccess
