// The interpreter as it was before its dispatch was rewritten for speed: a
// plain switch over the opcode with checked byte fetches. Kept verbatim as
// the oracle of the differential test; only the class name differs.
#include "ReferenceInterpreter.h"

#include "DataFile.h"
#include "Opcodes.h"
#include "UnitClock.h"

namespace {

// Thrown inside a step only; the step turns it into an error status.
struct CRunTimeError {
  uint16_t code;
};

[[noreturn]] void Fail(uint16_t code) { throw CRunTimeError{code}; }

constexpr uint32_t kMemoryEnd = kUnitMemorySize;
constexpr uint16_t kSeedFallback = 1808;
constexpr int16_t kTrue = -1;

// The expression stack is a shift register: pushing drops the bottom word,
// popping repeats it. Kept in a local copy during a run so that the words
// can live in registers.
struct CShiftStack {
  int16_t w[7];

  void Push(int16_t v) {
    w[6] = w[5]; w[5] = w[4]; w[4] = w[3]; w[3] = w[2]; w[2] = w[1]; w[1] = w[0];
    w[0] = v;
  }
  // Removes B; the caller then overwrites A with the result.
  void Pop() { w[1] = w[2]; w[2] = w[3]; w[3] = w[4]; w[4] = w[5]; w[5] = w[6]; }
  // A := f(B, A), pop.
  void Binary(int32_t result) {
    Pop();
    w[0] = static_cast<int16_t>(result);
  }
  int16_t A() const { return w[0]; }
  int16_t B() const { return w[1]; }
};

int16_t Truth(bool b) { return b ? kTrue : 0; }

void AppendChar(CUnitModel& u, char c) {
  // Characters sent while 255 are waiting are dropped.
  if (u.OutputLength < 0 || u.OutputLength >= kOutputTextSize - 1) return;
  u.OutputText[u.OutputLength++] = c;
}

void AppendNumber(CUnitModel& u, int16_t value) {
  char digits[8];
  int n = 0;
  int32_t v = value;
  if (v < 0) {
    AppendChar(u, '-');
    v = -v;
  }
  do {
    digits[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n > 0) AppendChar(u, digits[--n]);
}

// Port bit operands use the low five bits; bits 16..31 address nothing.
uint16_t PortMask(uint8_t operand) {
  uint32_t bit = operand & 31u;
  return bit < 16 ? static_cast<uint16_t>(1u << bit) : 0;
}
uint16_t PortByteMask(uint8_t operand) { return operand != 0 ? 0xFF00 : 0x00FF; }
int PortByteShift(uint8_t operand) { return operand != 0 ? 8 : 0; }

// User cells: BIT n is bit n mod 8 of byte n div 8, WORD n is bytes 2n and
// 2n+1, low byte first. Cells beyond the 24 bytes read 0 and ignore stores.
constexpr uint32_t kCellBytes = sizeof(CUnitModel::UserCells);

int16_t LoadBit(const CUnitModel& u, uint8_t n) {
  uint32_t byte = n >> 3;
  return byte < kCellBytes && (u.UserCells[byte] >> (n & 7)) & 1 ? kTrue : 0;
}
void StoreBit(CUnitModel& u, uint8_t n, bool set) {
  uint32_t byte = n >> 3;
  if (byte >= kCellBytes) return;
  uint8_t mask = static_cast<uint8_t>(1u << (n & 7));
  u.UserCells[byte] = static_cast<uint8_t>(set ? (u.UserCells[byte] | mask) : (u.UserCells[byte] & ~mask));
}
int16_t LoadByte(const CUnitModel& u, uint8_t n) { return n < kCellBytes ? u.UserCells[n] : 0; }
void StoreByte(CUnitModel& u, uint8_t n, int16_t v) {
  if (n < kCellBytes) u.UserCells[n] = static_cast<uint8_t>(v);
}
int16_t LoadWord(const CUnitModel& u, uint8_t n) {
  uint32_t at = 2u * n;
  if (at + 1 >= kCellBytes) return 0;
  return static_cast<int16_t>(u.UserCells[at] | (u.UserCells[at + 1] << 8));
}
void StoreWord(CUnitModel& u, uint8_t n, int16_t v) {
  uint32_t at = 2u * n;
  if (at + 1 >= kCellBytes) return;
  u.UserCells[at] = static_cast<uint8_t>(v);
  u.UserCells[at + 1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

// LDSYS: false for registers that push nothing (8 and above 12).
bool LoadSystem(const CUnitModel& u, uint8_t r, int16_t& out) {
  switch (r) {
    case sysreg::YEAR: out = u.Year; return true;
    case sysreg::MONTH: out = u.Month; return true;
    case sysreg::DAY: out = u.Day; return true;
    case sysreg::WEEKDAY: out = u.Weekday; return true;
    case sysreg::HOUR: out = u.Hour; return true;
    case sysreg::MINUTE: out = u.Minute; return true;
    case sysreg::SECOND: out = u.Second; return true;
    case sysreg::TIMER: out = static_cast<int16_t>(u.Timer); return true;
    case sysreg::SPARE: out = static_cast<int16_t>(u.Spare); return true;
    case sysreg::FREQUENCY: out = static_cast<int16_t>(u.Frequency); return true;
    case sysreg::FILE_FREE: out = static_cast<int16_t>(datafile::FreeWords(u)); return true;
    case sysreg::FILE_LENGTH: out = static_cast<int16_t>(u.FileLength / 2); return true;
    default: return false;
  }
}

void StoreSystem(CUnitModel& u, uint8_t r, int16_t a) {
  uint8_t low = static_cast<uint8_t>(a);
  switch (r) {
    case sysreg::YEAR: u.Year = low; break;
    case sysreg::MONTH: u.Month = low; break;
    case sysreg::DAY: u.Day = low; break;
    case sysreg::WEEKDAY: u.Weekday = low; break;
    case sysreg::HOUR: u.Hour = low; break;
    case sysreg::MINUTE: u.Minute = low; break;
    case sysreg::SECOND: u.Second = low; break;
    case sysreg::SOUND: u.Sound = static_cast<uint16_t>(a); break;
    default: break;  // the timer and the read-only registers stay
  }
}

int16_t SquareRoot(int16_t a) {
  if (a == 0) return 0;
  if (a < 0) return 0;
  int32_t x = 1;
  for (int i = 0; i < 10; ++i) x = (x + a / x) / 2;
  return static_cast<int16_t>(x);
}

// Data-file byte at the file-relative unit address; beyond the unit's
// memory is the end-of-memory error.
uint8_t& FileByte(CUnitModel& u, uint32_t address) {
  int32_t index = datafile::ByteIndex(u, u.FileStart, address);
  if (index < 0) Fail(kErrorEndOfMemory);
  return u.Memory[index];
}

void FileOperation(CUnitModel& u, uint8_t operation, CShiftStack& st) {
  switch (operation) {
    case fileop::OPEN_READ:
      u.FileStart = datafile::StartFromHeader(u);
      u.FileLength = datafile::StoredLength(u);
      u.FilePosition = 0;
      break;
    case fileop::OPEN_WRITE:
      u.FileStart = datafile::StartFromHeader(u);
      u.FileLength = 0;
      u.FilePosition = 0;
      break;
    case fileop::OPEN_APPEND:
      u.FileStart = datafile::StartFromHeader(u);
      u.FileLength = u.FilePosition = datafile::StoredLength(u);
      break;
    case fileop::CLOSE:
      u.Memory[2] = static_cast<uint8_t>(u.FileLength >> 8);
      u.Memory[3] = static_cast<uint8_t>(u.FileLength);
      break;
    case fileop::WRITE: {
      // Computed without 16-bit wrap-around: a position past the end of
      // memory is the end-of-memory error, never a write over the program.
      uint32_t at = uint32_t{u.FileStart} + u.FilePosition;
      uint16_t a = static_cast<uint16_t>(st.A());
      FileByte(u, at) = static_cast<uint8_t>(a >> 8);
      FileByte(u, at + 1) = static_cast<uint8_t>(a);
      u.FilePosition = static_cast<uint16_t>(u.FilePosition + 2);
      u.FileLength = u.FilePosition;
      break;
    }
    case fileop::READ: {
      uint32_t at = uint32_t{u.FileStart} + u.FilePosition;
      uint8_t hi = FileByte(u, at);
      uint8_t lo = FileByte(u, at + 1);
      st.Push(static_cast<int16_t>((hi << 8) | lo));
      u.FilePosition = static_cast<uint16_t>(u.FilePosition + 2);
      break;
    }
    default:
      break;
  }
}

}  // namespace

CReferenceInterpreter::CReferenceInterpreter(CUnitModel& unit, int32_t options, uint32_t budget)
    : unit_(unit), options_(options), budget_(budget == 0 ? 1 : budget) {}

CUnitClock& CReferenceInterpreter::Clock() const { return unit_.Clock ? *unit_.Clock : SystemUnitClock(); }

void CReferenceInterpreter::LoadClock() {
  CUnitClock& clock = Clock();
  CLocalTime t = clock.LocalTime();
  unit_.Year = static_cast<uint8_t>(((t.Year % 100) + 100) % 100);
  unit_.Month = static_cast<uint8_t>(t.Month);
  unit_.Day = static_cast<uint8_t>(t.Day);
  unit_.Weekday = static_cast<uint8_t>(t.Weekday);
  unit_.Hour = static_cast<uint8_t>(t.Hour);
  unit_.Minute = static_cast<uint8_t>(t.Minute);
  unit_.Second = static_cast<uint8_t>(t.Second);
  unit_.Timer = static_cast<uint16_t>(clock.Milliseconds() / 20);
}

void CReferenceInterpreter::Reset() {
  CUnitModel& u = unit_;
  for (auto& r : u.Returns) r = 0;
  u.PendingInput = 0;
  u.Marker = 0;
  u.Ports = u.InitialPorts;
  u.PortOutputs = 0;
  for (auto& a : u.Analog) a = 0;
  u.AnalogOut[0] = u.AnalogOut[1] = 0;
  for (auto& s : u.Stack) s = 0;
  for (auto& c : u.UserCells) c = 0;
  u.Sound = u.Spare = u.Frequency = 0;
  if (RealTime()) {
    LoadClock();
  } else {
    u.Timer = 0;
    u.Hour = u.Minute = u.Second = u.Weekday = u.Day = u.Month = u.Year = 0;
  }
  u.InputValue = 0;
  u.WaitingForInput = 0;
  u.OutputLength = 0;
  u.FileStart = u.FilePosition = u.FileLength = 0;
  u.PC = 4;
}

void CReferenceInterpreter::TakeSnapshot() {
  unit_.Snapshot[0] = unit_.PC;
  for (int i = 0; i < 7; ++i) unit_.Snapshot[1 + i] = static_cast<uint16_t>(unit_.Stack[i]);
  unit_.Snapshot[8] = unit_.Seed;
}

void CReferenceInterpreter::RestoreSnapshot() {
  unit_.PC = unit_.Snapshot[0];
  for (int i = 0; i < 7; ++i) unit_.Stack[i] = static_cast<int16_t>(unit_.Snapshot[1 + i]);
  unit_.Seed = unit_.Snapshot[8];
}

uint32_t CReferenceInterpreter::Step() {
  CUnitModel& u = unit_;
  TakeSnapshot();
  if (RealTime()) LoadClock();
  const uint8_t pendingAtStart = u.PendingInput;
  try {
    if (u.PendingInput != 0) {
      if (u.WaitingForInput) return Result(kStepInput, static_cast<uint16_t>(u.Marker));
      int16_t value = u.PendingInput == op::GETB ? static_cast<int16_t>(u.InputValue & 0xFF)
                                                 : static_cast<int16_t>(u.InputValue);
      CShiftStack st;
      for (int i = 0; i < 7; ++i) st.w[i] = u.Stack[i];
      st.Push(value);
      for (int i = 0; i < 7; ++i) u.Stack[i] = st.w[i];
      u.PendingInput = 0;
    }
    return Run();
  } catch (const CRunTimeError& e) {
    RestoreSnapshot();
    // An input consumed by the failed step is consumed again when the step
    // is repeated, so the repetition fails the same way.
    u.PendingInput = pendingAtStart;
    return Result(kStepError, e.code);
  } catch (...) {
    RestoreSnapshot();
    u.PendingInput = pendingAtStart;
    return Result(kStepError, kErrorOther);
  }
}

uint32_t CReferenceInterpreter::Run() {
  CUnitModel& u = unit_;
  const uint8_t* const mem = u.Memory;
  uint32_t pc = u.PC;
  CShiftStack st;
  for (int i = 0; i < 7; ++i) st.w[i] = u.Stack[i];
  uint8_t last = op::PAD;  // no JZ yet in this step
  uint32_t sleptTicks = 0;

  auto fetch = [&]() -> uint8_t {
    if (pc >= kMemoryEnd) Fail(kErrorEndOfMemory);
    return mem[pc++];
  };
  auto fetchWord = [&]() -> uint16_t {
    uint16_t hi = fetch();
    return static_cast<uint16_t>((hi << 8) | fetch());
  };
  // Leaves the step with PC and the stack written back.
  auto leave = [&](uint16_t status, uint16_t info) -> uint32_t {
    u.PC = static_cast<uint16_t>(pc);
    for (int i = 0; i < 7; ++i) u.Stack[i] = st.w[i];
    return Result(status, info);
  };
  auto marker = [&]() { return static_cast<uint16_t>(u.Marker); };

  for (uint32_t remaining = budget_; remaining != 0; --remaining) {
    const uint8_t code = fetch();
    switch (code) {
      case op::END:
        pc = 4;
        return leave(kStepEnd, marker());
      case op::PAGEMARK:
        u.Marker = fetchWord();
        return leave(kStepPage, marker());
      case op::WAITMARK:
        if (last == op::JZ) return leave(kStepWait, marker());
        break;

      case op::CLRSTK:
        for (auto& w : st.w) w = 0;
        break;
      case op::PAUSE: {
        if (!RealTime()) break;
        uint16_t ticks = static_cast<uint16_t>(st.A());
        if (ticks > 150) {
          u.Timer = static_cast<uint16_t>(u.Timer + ticks);
          return leave(kStepPause, ticks);
        }
        Clock().Sleep(20u * ticks);
        u.Timer = static_cast<uint16_t>(u.Timer + ticks);
        sleptTicks += ticks;
        if (sleptTicks >= kSleepTicksPerStep) return leave(kStepWait, marker());
        break;
      }
      case op::JMP:
        pc = fetchWord();
        break;
      case op::JZ: {
        uint16_t target = fetchWord();
        if (st.A() == 0) pc = target;
        break;
      }
      case op::CALL: {
        uint16_t target = fetchWord();
        for (auto& slot : u.Returns)
          if (slot == 0) {
            slot = static_cast<uint16_t>(pc);
            break;
          }
        pc = target;
        break;
      }
      case op::RET:
        for (int i = 3; i >= 0; --i)
          if (u.Returns[i] != 0) {
            pc = u.Returns[i];
            u.Returns[i] = 0;
            break;
          }
        break;
      case op::SKIP8:
      case op::SKIP73:
        fetchWord();
        break;
      case op::SKIP9:
      case op::SKIP36:
      case op::BAUD:
        fetch();
        break;

      case op::LDPIN:
        st.Push(Truth(u.Ports & PortMask(fetch())));
        break;
      case op::LDPORTB: {
        uint8_t b = fetch();
        st.Push(static_cast<int16_t>((u.Ports >> PortByteShift(b)) & 0xFF));
        break;
      }
      case op::LDPORTW:
        st.Push(static_cast<int16_t>(u.Ports));
        break;
      case op::STPIN: {
        uint16_t mask = PortMask(fetch());
        u.Ports = static_cast<uint16_t>((st.A() & 0xFF) ? (u.Ports | mask) : (u.Ports & ~mask));
        u.PortOutputs |= mask;
        break;
      }
      case op::STPORTB: {
        uint8_t b = fetch();
        uint16_t mask = PortByteMask(b);
        uint16_t value = static_cast<uint16_t>((st.A() & 0xFF) << PortByteShift(b));
        u.Ports = static_cast<uint16_t>((u.Ports & ~mask) | value);
        u.PortOutputs |= mask;
        break;
      }
      case op::STPORTW:
        u.Ports = static_cast<uint16_t>(st.A());
        u.PortOutputs = 0xFFFF;
        break;
      case op::LDADC: {
        uint8_t ch = fetch();
        st.Push(ch < 8 ? u.Analog[ch] : 0);
        break;
      }
      case op::STDAC: {
        uint8_t i = fetch();
        if (i < 2) u.AnalogOut[i] = static_cast<uint8_t>(st.A());
        break;
      }

      case op::LDI:
        st.Push(static_cast<int16_t>(fetchWord()));
        break;
      case op::LDBIT:
        st.Push(LoadBit(u, fetch()));
        break;
      case op::LDBYTE:
        st.Push(LoadByte(u, fetch()));
        break;
      case op::LDWORD:
        st.Push(LoadWord(u, fetch()));
        break;
      case op::STBIT:
        StoreBit(u, fetch(), st.A() != 0);
        break;
      case op::STBYTE:
        StoreByte(u, fetch(), st.A());
        break;
      case op::STWORD:
        StoreWord(u, fetch(), st.A());
        break;
      case op::LOOKUP: {
        // The unit computes the address in its 16-bit address register.
        uint16_t base = fetchWord();
        uint32_t at = static_cast<uint16_t>(base + 2 * st.A());
        if (at >= kMemoryEnd) Fail(kErrorEndOfMemory);
        uint8_t hi = mem[at];
        if (at + 1 >= kMemoryEnd) Fail(kErrorEndOfMemory);
        st.Push(static_cast<int16_t>((hi << 8) | mem[at + 1]));
        break;
      }
      case op::LDSYS: {
        int16_t value;
        if (LoadSystem(u, fetch(), value)) st.Push(value);
        break;
      }
      case op::STSYS:
        StoreSystem(u, fetch(), st.A());
        break;

      case op::PRINTNUM:
        AppendNumber(u, st.A());
        return leave(kStepOutput, marker());
      case op::PRINTSTR:
        for (uint8_t c = fetch(); c != 0; c = fetch()) AppendChar(u, static_cast<char>(c));
        return leave(kStepOutput, marker());
      case op::PUTCH:
        AppendChar(u, static_cast<char>(st.A()));
        return leave(kStepOutput, marker());
      case op::RXREADY:
      case op::PUSHTRUE:
        st.Push(kTrue);
        break;
      case op::GETB:
      case op::GETW:
        u.PendingInput = code;
        u.WaitingForInput = 1;
        return leave(kStepInput, marker());

      case op::NOT: st.w[0] = static_cast<int16_t>(~st.A()); break;
      case op::AND: st.Binary(st.B() & st.A()); break;
      case op::NAND: st.Binary(~(st.B() & st.A())); break;
      case op::OR: st.Binary(st.B() | st.A()); break;
      case op::NOR: st.Binary(~(st.B() | st.A())); break;
      case op::XOR: st.Binary(st.B() ^ st.A()); break;
      case op::SHL:
        st.Binary(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(st.B())) << (st.A() & 31)));
        break;
      case op::SHR:
        st.Binary(int32_t{st.B()} >> (st.A() & 31));
        break;
      case op::RANDSEED: {
        uint16_t seed = static_cast<uint16_t>(st.A());
        if (seed == 0) seed = u.Timer;
        if (seed == 0) seed = kSeedFallback;
        u.Seed = seed;
        break;
      }
      case op::RAND:
        u.Seed = static_cast<uint16_t>(u.Seed * 251u);
        st.Push(static_cast<int16_t>(u.Seed));
        break;
      case op::NEG: st.w[0] = static_cast<int16_t>(-int32_t{st.A()}); break;
      case op::ADD: st.Binary(int32_t{st.B()} + st.A()); break;
      case op::SUB: st.Binary(int32_t{st.B()} - st.A()); break;
      case op::MUL: st.Binary(int32_t{st.B()} * st.A()); break;
      case op::DIV:
        if (st.A() == 0) Fail(kErrorDivision);
        st.Binary(int32_t{st.B()} / st.A());  // -32768 / -1 wraps to -32768
        break;
      case op::MOD:
        if (st.A() == 0) Fail(kErrorDivision);
        st.Binary(int32_t{st.B()} % st.A());
        break;
      case op::ABS:
        if (st.A() < 0) st.w[0] = static_cast<int16_t>(-int32_t{st.A()});
        break;
      case op::SQRT: st.w[0] = SquareRoot(st.A()); break;
      case op::MAX: st.Binary(st.B() > st.A() ? st.B() : st.A()); break;
      case op::MIN: st.Binary(st.B() < st.A() ? st.B() : st.A()); break;
      case op::GT: st.Binary(Truth(st.B() > st.A())); break;
      case op::GE: st.Binary(Truth(st.B() >= st.A())); break;
      case op::LT: st.Binary(Truth(st.B() < st.A())); break;
      case op::LE: st.Binary(Truth(st.B() <= st.A())); break;
      case op::EQ: st.Binary(Truth(st.B() == st.A())); break;
      case op::NE: st.Binary(Truth(st.B() != st.A())); break;
      case op::SGN: st.w[0] = static_cast<int16_t>(st.A() > 0 ? 1 : st.A() < 0 ? -1 : 0); break;

      case op::FILE: {
        uint8_t operation = fetch();
        uint16_t before = u.FileLength;
        FileOperation(u, operation, st);
        if (u.FileLength != before) return leave(kStepFile, marker());
        break;
      }
      case op::EOFTEST:
        st.Push(Truth(u.FilePosition >= u.FileLength));
        break;

      case op::LDBYTEJEQ:
      case op::LDWORDJEQ: {
        uint8_t cell = fetch();
        uint16_t target = fetchWord();
        st.Push(code == op::LDBYTEJEQ ? LoadByte(u, cell) : LoadWord(u, cell));
        if (st.A() == st.B()) pc = target;
        break;
      }
      case op::ADDSTBYTEJMP:
      case op::ADDSTWORDJMP: {
        uint8_t cell = fetch();
        uint16_t target = fetchWord();
        st.Binary(int32_t{st.B()} + st.A());
        if (code == op::ADDSTBYTEJMP) StoreByte(u, cell, st.A());
        else StoreWord(u, cell, st.A());
        pc = target;
        break;
      }

      case op::TGLPIN:
        u.Ports ^= PortMask(fetch());
        break;
      case op::OUTPIN:
        u.PortOutputs |= PortMask(fetch());
        break;
      case op::INPIN:
        u.PortOutputs = static_cast<uint16_t>(u.PortOutputs & ~PortMask(fetch()));
        break;
      case op::INPORTB:
        u.PortOutputs = static_cast<uint16_t>(u.PortOutputs & ~PortByteMask(fetch()));
        break;
      case op::INPORTW:
        u.PortOutputs = 0;
        break;

      default:  // PAD, NOP and every opcode without a meaning
        break;
    }
    last = code;
  }
  // Budget used up: hand control back as a wait pass; the next step goes on.
  return leave(kStepWait, marker());
}
