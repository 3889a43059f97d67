#include "UnitInterpreter.h"

#include <ctime>
#include <initializer_list>
#include <utility>

#include "DataFile.h"
#include "OpcodeTable.h"
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

// Runs data-file operation `operation` with A = a; true when it read a word
// into *read, which the caller pushes.
bool FileOperation(CUnitModel& u, uint8_t operation, int16_t a, int16_t& read) {
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
      const uint16_t word = static_cast<uint16_t>(a);
      FileByte(u, at) = static_cast<uint8_t>(word >> 8);
      FileByte(u, at + 1) = static_cast<uint8_t>(word);
      u.FilePosition = static_cast<uint16_t>(u.FilePosition + 2);
      u.FileLength = u.FilePosition;
      break;
    }
    case fileop::READ: {
      uint32_t at = uint32_t{u.FileStart} + u.FilePosition;
      uint8_t hi = FileByte(u, at);
      uint8_t lo = FileByte(u, at + 1);
      read = static_cast<int16_t>((hi << 8) | lo);
      u.FilePosition = static_cast<uint16_t>(u.FilePosition + 2);
      return true;
    }
    default:
      break;
  }
  return false;
}

}  // namespace

CUnitInterpreter::CUnitInterpreter(CUnitModel& unit, int32_t options, uint32_t budget)
    : unit_(unit), options_(options), budget_(budget == 0 ? 1 : budget) {}

CUnitClock& CUnitInterpreter::Clock() const { return unit_.Clock ? *unit_.Clock : SystemUnitClock(); }

void CUnitInterpreter::LoadClock() {
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

void CUnitInterpreter::LoadVirtualClock() {
  CUnitModel& u = unit_;
  // Whole seconds only: the unit's clock has no finer register than Timer.
  const std::time_t now = static_cast<std::time_t>(u.VirtualStart + static_cast<int64_t>(u.VirtualTicks / 50));
  std::tm tm{};
  gmtime_r(&now, &tm);
  u.Year = static_cast<uint8_t>(tm.tm_year % 100);
  u.Month = static_cast<uint8_t>(tm.tm_mon + 1);
  u.Day = static_cast<uint8_t>(tm.tm_mday);
  u.Weekday = static_cast<uint8_t>(tm.tm_wday);
  u.Hour = static_cast<uint8_t>(tm.tm_hour);
  u.Minute = static_cast<uint8_t>(tm.tm_min);
  u.Second = static_cast<uint8_t>(tm.tm_sec);
  u.Timer = static_cast<uint16_t>(u.VirtualTicks);
}

void CUnitInterpreter::StartVirtualClock() {
  CUnitModel& u = unit_;
  int64_t now = kFixedStart;
  if ((options_ & kFixedDate) == 0) {
    // The local date and time as calendar seconds, so that gmtime_r gives
    // them back without a time zone in between.
    const CLocalTime t = Clock().LocalTime();
    std::tm tm{};
    tm.tm_year = t.Year - 1900;
    tm.tm_mon = t.Month - 1;
    tm.tm_mday = t.Day;
    tm.tm_hour = t.Hour;
    tm.tm_min = t.Minute;
    tm.tm_sec = t.Second;
    now = static_cast<int64_t>(timegm(&tm));
  }
  u.VirtualStart = now - static_cast<int64_t>(u.VirtualTicks / 50);
  LoadVirtualClock();
}

void CUnitInterpreter::SwitchToVirtualTime() {
  // Timer goes on from where it stands, so waits in progress keep their
  // meaning; the clock registers show the start time.
  unit_.VirtualTicks = unit_.Timer;
  StartVirtualClock();
}

void CUnitInterpreter::Reset() {
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
  u.VirtualTicks = 0;
  if (VirtualTime()) {
    StartVirtualClock();
  } else if (RealTime()) {
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

void CUnitInterpreter::TakeSnapshot() {
  unit_.VirtualTicksAtStep = unit_.VirtualTicks;
  unit_.Snapshot[0] = unit_.PC;
  for (int i = 0; i < 7; ++i) unit_.Snapshot[1 + i] = static_cast<uint16_t>(unit_.Stack[i]);
  unit_.Snapshot[8] = unit_.Seed;
}

void CUnitInterpreter::RestoreSnapshot() {
  // The virtual clock goes back too, so that repeating the step repeats it.
  unit_.VirtualTicks = unit_.VirtualTicksAtStep;
  unit_.PC = unit_.Snapshot[0];
  for (int i = 0; i < 7; ++i) unit_.Stack[i] = static_cast<int16_t>(unit_.Snapshot[1 + i]);
  unit_.Seed = unit_.Snapshot[8];
}

uint32_t CUnitInterpreter::Step() {
  CUnitModel& u = unit_;
  TakeSnapshot();
  if (VirtualTime()) LoadVirtualClock();
  else if (RealTime()) LoadClock();
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

// The dispatch loop. Each handler decodes its operand once, and the stack
// lives in seven locals (A = s0 ... s6) so that the shift register stays in
// machine registers. Operand bytes are read without a check of their own:
// Memory has the file spill area behind address 8179, and one comparison
// after the operand (pc > end) raises the end-of-memory error exactly where
// the unit's byte fetch would, before the instruction has any effect.
// With GCC and Clang every handler jumps straight to the next one through a
// table of label addresses; other compilers get the same handlers as a switch.
#if defined(__GNUC__) && !defined(VORBLEN_NO_COMPUTED_GOTO)
#define VORBLEN_COMPUTED_GOTO 1
#endif

// Every opcode that has a handler of its own; all others run as PAD.
#define VORBLEN_HANDLERS(X)                                                                                        \
  X(PAD) X(CLRSTK) X(PAUSE) X(JMP) X(JZ) X(CALL) X(RET) X(NOP) X(SKIP8) X(SKIP9) X(LDPIN) X(LDPORTB) X(LDPORTW)     \
  X(STPIN) X(STPORTB) X(STPORTW) X(LDADC) X(STDAC) X(LDI) X(LDBIT) X(LDBYTE) X(LDWORD) X(STBIT) X(STBYTE) X(STWORD) \
  X(LOOKUP) X(LDSYS) X(STSYS) X(PRINTNUM) X(PRINTSTR) X(PUTCH) X(RXREADY) X(GETB) X(GETW) X(SKIP36) X(PUSHTRUE)   \
  X(NOT) X(AND) X(NAND) X(OR) X(NOR) X(XOR) X(SHL) X(SHR) X(RANDSEED) X(RAND) X(NEG) X(ADD) X(SUB) X(MUL) X(DIV)   \
  X(MOD) X(ABS) X(SQRT) X(MAX) X(MIN) X(GT) X(GE) X(LT) X(LE) X(EQ) X(NE) X(SGN) X(FILE) X(EOFTEST) X(BAUD)       \
  X(SKIP73) X(LDBYTEJEQ) X(LDWORDJEQ) X(ADDSTBYTEJMP) X(ADDSTWORDJMP) X(TGLPIN) X(OUTPIN) X(INPIN) X(INPORTB)      \
  X(INPORTW) X(WAITMARK) X(PAGEMARK) X(END)

namespace {

#define VORBLEN_AS_CODE(name) op::name,
constexpr uint8_t kHandled[] = {VORBLEN_HANDLERS(VORBLEN_AS_CODE)};
#undef VORBLEN_AS_CODE

// The handlers and the opcode table name the same instructions.
constexpr bool HandlersMatchTheTable() {
  int named = 0;
  for (int code = 0; code < 256; ++code)
    if (!Opcode(static_cast<uint8_t>(code)).Mnemonic.empty()) ++named;
  bool seen[256] = {};
  for (uint8_t code : kHandled) {
    if (seen[code] || Opcode(code).Mnemonic.empty()) return false;
    seen[code] = true;
  }
  return named == static_cast<int>(sizeof kHandled);
}
static_assert(HandlersMatchTheTable(), "every instruction of the opcode table has a handler, and only those");
static_assert(OperandBytes(Opcode(op::LDBYTEJEQ).Operand) == 3 && OperandBytes(Opcode(op::LDI).Operand) == 2,
              "operand sizes the handlers read");

#if VORBLEN_COMPUTED_GOTO
struct DispatchTables {
  const void* normal[256];
  const void* afterJz[256];  // as normal, but WAITMARK ends the step with a wait pass
};
#endif

}  // namespace

uint32_t CUnitInterpreter::Run() {
  CUnitModel& u = unit_;
  const uint8_t* const mem = u.Memory;
  uint32_t pc = u.PC;
  int16_t s0 = u.Stack[0], s1 = u.Stack[1], s2 = u.Stack[2], s3 = u.Stack[3], s4 = u.Stack[4], s5 = u.Stack[5],
          s6 = u.Stack[6];
  uint32_t remaining = budget_;
  uint32_t sleptTicks = 0;
  uint8_t code = 0;

#define PUSH(value)                                                        \
  do {                                                                     \
    const int16_t v_ = static_cast<int16_t>(value);                        \
    s6 = s5; s5 = s4; s4 = s3; s3 = s2; s2 = s1; s1 = s0; s0 = v_;         \
  } while (0)
  // A := f(B, A) with B and A read before the words move up.
#define BINARY(expr)                                                       \
  do {                                                                     \
    const int32_t r_ = (expr);                                             \
    s1 = s2; s2 = s3; s3 = s4; s4 = s5; s5 = s6; s0 = static_cast<int16_t>(r_); \
  } while (0)
#define OPERAND_BYTE() (mem[pc++])
#define OPERAND_WORD() (pc += 2, static_cast<uint16_t>((mem[pc - 2] << 8) | mem[pc - 1]))
#define OPERANDS_READ() \
  if (pc > kMemoryEnd) Fail(kErrorEndOfMemory)
#define LEAVE(status, info)                                                                                    \
  do {                                                                                                         \
    const uint16_t info_ = (info);                                                                             \
    u.PC = static_cast<uint16_t>(pc);                                                                          \
    u.Stack[0] = s0; u.Stack[1] = s1; u.Stack[2] = s2; u.Stack[3] = s3; u.Stack[4] = s4; u.Stack[5] = s5;      \
    u.Stack[6] = s6;                                                                                           \
    return Result(status, info_);                                                                              \
  } while (0)
#define MARKER static_cast<uint16_t>(u.Marker)

#if VORBLEN_COMPUTED_GOTO
#define VORBLEN_AS_ENTRY(name) {op::name, &&op_##name},
  static const DispatchTables tables = [](std::initializer_list<std::pair<uint8_t, const void*>> handlers,
                                          const void* waitAfterJz) {
    DispatchTables t{};
    for (auto& entry : t.normal) entry = handlers.begin()->second;  // PAD comes first
    for (const auto& [c, label] : handlers) t.normal[c] = label;
    for (int c = 0; c < 256; ++c) t.afterJz[c] = t.normal[c];
    t.afterJz[op::WAITMARK] = waitAfterJz;
    return t;
  }({VORBLEN_HANDLERS(VORBLEN_AS_ENTRY)}, &&wait_after_jz);
#undef VORBLEN_AS_ENTRY
#define OP(name) op_##name:
#define DISPATCH(table)                        \
  do {                                         \
    if (pc >= kMemoryEnd) Fail(kErrorEndOfMemory); \
    code = mem[pc++];                          \
    goto* tables.table[code];                  \
  } while (0)
#define NEXT()                                 \
  do {                                         \
    if (--remaining == 0) goto budget_used;    \
    DISPATCH(normal);                          \
  } while (0)
#define NEXT_AFTER_JZ()                        \
  do {                                         \
    if (--remaining == 0) goto budget_used;    \
    DISPATCH(afterJz);                         \
  } while (0)
  DISPATCH(normal);
#else
  bool afterJz = false;
#define OP(name) case op::name:
#define NEXT()                                 \
  do {                                         \
    if (--remaining == 0) goto budget_used;    \
    afterJz = false;                           \
    goto dispatch;                             \
  } while (0)
#define NEXT_AFTER_JZ()                        \
  do {                                         \
    if (--remaining == 0) goto budget_used;    \
    afterJz = true;                            \
    goto dispatch;                             \
  } while (0)
dispatch:
  if (pc >= kMemoryEnd) Fail(kErrorEndOfMemory);
  code = mem[pc++];
  if (afterJz && code == op::WAITMARK) goto wait_after_jz;
  switch (code) {
    default:
#endif

  OP(PAD) OP(NOP) NEXT();
  OP(WAITMARK) NEXT();  // a pass is counted only right after a JZ
  OP(END) pc = 4; LEAVE(kStepEnd, MARKER);
  OP(PAGEMARK) {
    const uint16_t id = OPERAND_WORD();
    OPERANDS_READ();
    u.Marker = id;
    LEAVE(kStepPage, MARKER);
  }
  OP(CLRSTK) s0 = s1 = s2 = s3 = s4 = s5 = s6 = 0; NEXT();
  OP(PAUSE) {
    if (VirtualTime()) {
      u.VirtualTicks += static_cast<uint16_t>(s0);
      LoadVirtualClock();
      NEXT();
    }
    if (!RealTime()) NEXT();
    const uint16_t ticks = static_cast<uint16_t>(s0);
    // A caller that must not sleep gets every pause; one of no ticks has
    // nothing to wait for.
    if (ticks == 0 && PausesToCaller()) NEXT();
    if (ticks > 150 || PausesToCaller()) {
      u.Timer = static_cast<uint16_t>(u.Timer + ticks);
      LEAVE(kStepPause, ticks);
    }
    Clock().Sleep(20u * ticks);
    u.Timer = static_cast<uint16_t>(u.Timer + ticks);
    sleptTicks += ticks;
    if (sleptTicks >= kSleepTicksPerStep) LEAVE(kStepWait, MARKER);
    NEXT();
  }
  OP(JMP) {
    const uint16_t target = OPERAND_WORD();
    OPERANDS_READ();
    pc = target;
    NEXT();
  }
  OP(JZ) {
    const uint16_t target = OPERAND_WORD();
    OPERANDS_READ();
    if (s0 == 0) pc = target;
    NEXT_AFTER_JZ();
  }
  OP(CALL) {
    const uint16_t target = OPERAND_WORD();
    OPERANDS_READ();
    for (auto& slot : u.Returns)
      if (slot == 0) {
        slot = static_cast<uint16_t>(pc);
        break;
      }
    pc = target;
    NEXT();
  }
  OP(RET) {
    for (int i = 3; i >= 0; --i)
      if (u.Returns[i] != 0) {
        pc = u.Returns[i];
        u.Returns[i] = 0;
        break;
      }
    NEXT();
  }
  OP(SKIP8) OP(SKIP73) pc += 2; OPERANDS_READ(); NEXT();
  OP(SKIP9) OP(SKIP36) OP(BAUD) pc += 1; OPERANDS_READ(); NEXT();

  OP(LDPIN) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH(Truth(u.Ports & PortMask(b)));
    NEXT();
  }
  OP(LDPORTB) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH((u.Ports >> PortByteShift(b)) & 0xFF);
    NEXT();
  }
  OP(LDPORTW) PUSH(u.Ports); NEXT();
  OP(STPIN) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    const uint16_t mask = PortMask(b);
    u.Ports = static_cast<uint16_t>((s0 & 0xFF) ? (u.Ports | mask) : (u.Ports & ~mask));
    u.PortOutputs |= mask;
    NEXT();
  }
  OP(STPORTB) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    const uint16_t mask = PortByteMask(b);
    const uint16_t value = static_cast<uint16_t>((s0 & 0xFF) << PortByteShift(b));
    u.Ports = static_cast<uint16_t>((u.Ports & ~mask) | value);
    u.PortOutputs |= mask;
    NEXT();
  }
  OP(STPORTW) u.Ports = static_cast<uint16_t>(s0); u.PortOutputs = 0xFFFF; NEXT();
  OP(LDADC) {
    const uint8_t ch = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH(ch < 8 ? u.Analog[ch] : 0);
    NEXT();
  }
  OP(STDAC) {
    const uint8_t i = OPERAND_BYTE();
    OPERANDS_READ();
    if (i < 2) u.AnalogOut[i] = static_cast<uint8_t>(s0);
    NEXT();
  }

  OP(LDI) {
    const uint16_t w = OPERAND_WORD();
    OPERANDS_READ();
    PUSH(w);
    NEXT();
  }
  OP(LDBIT) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH(LoadBit(u, n));
    NEXT();
  }
  OP(LDBYTE) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH(LoadByte(u, n));
    NEXT();
  }
  OP(LDWORD) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    PUSH(LoadWord(u, n));
    NEXT();
  }
  OP(STBIT) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    StoreBit(u, n, s0 != 0);
    NEXT();
  }
  OP(STBYTE) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    StoreByte(u, n, s0);
    NEXT();
  }
  OP(STWORD) {
    const uint8_t n = OPERAND_BYTE();
    OPERANDS_READ();
    StoreWord(u, n, s0);
    NEXT();
  }
  OP(LOOKUP) {
    // The unit computes the address in its 16-bit address register.
    const uint16_t base = OPERAND_WORD();
    OPERANDS_READ();
    const uint32_t at = static_cast<uint16_t>(base + 2 * s0);
    if (at >= kMemoryEnd) Fail(kErrorEndOfMemory);
    const uint8_t hi = mem[at];
    if (at + 1 >= kMemoryEnd) Fail(kErrorEndOfMemory);
    PUSH((hi << 8) | mem[at + 1]);
    NEXT();
  }
  OP(LDSYS) {
    const uint8_t r = OPERAND_BYTE();
    OPERANDS_READ();
    int16_t value;
    if (LoadSystem(u, r, value)) PUSH(value);
    NEXT();
  }
  OP(STSYS) {
    const uint8_t r = OPERAND_BYTE();
    OPERANDS_READ();
    StoreSystem(u, r, s0);
    NEXT();
  }

  OP(PRINTNUM) AppendNumber(u, s0); LEAVE(kStepOutput, MARKER);
  OP(PRINTSTR) {
    // Byte by byte: characters before a fetch past the end stay sent.
    for (;;) {
      if (pc >= kMemoryEnd) Fail(kErrorEndOfMemory);
      const uint8_t c = mem[pc++];
      if (c == 0) break;
      AppendChar(u, static_cast<char>(c));
    }
    LEAVE(kStepOutput, MARKER);
  }
  OP(PUTCH) AppendChar(u, static_cast<char>(s0)); LEAVE(kStepOutput, MARKER);
  OP(RXREADY) OP(PUSHTRUE) PUSH(kTrue); NEXT();
  OP(GETB) OP(GETW) {
    u.PendingInput = code;
    u.WaitingForInput = 1;
    LEAVE(kStepInput, MARKER);
  }

  OP(NOT) s0 = static_cast<int16_t>(~s0); NEXT();
  OP(AND) BINARY(s1 & s0); NEXT();
  OP(NAND) BINARY(~(s1 & s0)); NEXT();
  OP(OR) BINARY(s1 | s0); NEXT();
  OP(NOR) BINARY(~(s1 | s0)); NEXT();
  OP(XOR) BINARY(s1 ^ s0); NEXT();
  OP(SHL) BINARY(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(s1)) << (s0 & 31))); NEXT();
  OP(SHR) BINARY(int32_t{s1} >> (s0 & 31)); NEXT();
  OP(RANDSEED) {
    uint16_t seed = static_cast<uint16_t>(s0);
    if (seed == 0) seed = u.Timer;
    if (seed == 0) seed = kSeedFallback;
    u.Seed = seed;
    NEXT();
  }
  OP(RAND) u.Seed = static_cast<uint16_t>(u.Seed * 251u); PUSH(u.Seed); NEXT();
  OP(NEG) s0 = static_cast<int16_t>(-int32_t{s0}); NEXT();
  OP(ADD) BINARY(int32_t{s1} + s0); NEXT();
  OP(SUB) BINARY(int32_t{s1} - s0); NEXT();
  OP(MUL) BINARY(int32_t{s1} * s0); NEXT();
  OP(DIV) {
    if (s0 == 0) Fail(kErrorDivision);
    BINARY(int32_t{s1} / s0);  // -32768 / -1 wraps to -32768
    NEXT();
  }
  OP(MOD) {
    if (s0 == 0) Fail(kErrorDivision);
    BINARY(int32_t{s1} % s0);
    NEXT();
  }
  OP(ABS) if (s0 < 0) s0 = static_cast<int16_t>(-int32_t{s0}); NEXT();
  OP(SQRT) s0 = SquareRoot(s0); NEXT();
  OP(MAX) BINARY(s1 > s0 ? s1 : s0); NEXT();
  OP(MIN) BINARY(s1 < s0 ? s1 : s0); NEXT();
  OP(GT) BINARY(Truth(s1 > s0)); NEXT();
  OP(GE) BINARY(Truth(s1 >= s0)); NEXT();
  OP(LT) BINARY(Truth(s1 < s0)); NEXT();
  OP(LE) BINARY(Truth(s1 <= s0)); NEXT();
  OP(EQ) BINARY(Truth(s1 == s0)); NEXT();
  OP(NE) BINARY(Truth(s1 != s0)); NEXT();
  OP(SGN) s0 = static_cast<int16_t>(s0 > 0 ? 1 : s0 < 0 ? -1 : 0); NEXT();

  OP(FILE) {
    const uint8_t operation = OPERAND_BYTE();
    OPERANDS_READ();
    const uint16_t before = u.FileLength;
    int16_t read;
    if (FileOperation(u, operation, s0, read)) PUSH(read);
    if (u.FileLength != before) LEAVE(kStepFile, MARKER);
    NEXT();
  }
  OP(EOFTEST) PUSH(Truth(u.FilePosition >= u.FileLength)); NEXT();

  OP(LDBYTEJEQ) OP(LDWORDJEQ) {
    const uint8_t cell = OPERAND_BYTE();
    const uint16_t target = OPERAND_WORD();
    OPERANDS_READ();
    PUSH(code == op::LDBYTEJEQ ? LoadByte(u, cell) : LoadWord(u, cell));
    if (s0 == s1) pc = target;
    NEXT();
  }
  OP(ADDSTBYTEJMP) OP(ADDSTWORDJMP) {
    const uint8_t cell = OPERAND_BYTE();
    const uint16_t target = OPERAND_WORD();
    OPERANDS_READ();
    BINARY(int32_t{s1} + s0);
    if (code == op::ADDSTBYTEJMP) StoreByte(u, cell, s0);
    else StoreWord(u, cell, s0);
    pc = target;
    NEXT();
  }

  OP(TGLPIN) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    u.Ports ^= PortMask(b);
    NEXT();
  }
  OP(OUTPIN) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    u.PortOutputs |= PortMask(b);
    NEXT();
  }
  OP(INPIN) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    u.PortOutputs = static_cast<uint16_t>(u.PortOutputs & ~PortMask(b));
    NEXT();
  }
  OP(INPORTB) {
    const uint8_t b = OPERAND_BYTE();
    OPERANDS_READ();
    u.PortOutputs = static_cast<uint16_t>(u.PortOutputs & ~PortByteMask(b));
    NEXT();
  }
  OP(INPORTW) u.PortOutputs = 0; NEXT();

#if !VORBLEN_COMPUTED_GOTO
  }
#endif

wait_after_jz:
  // In virtual time a wait-loop pass lasts one tick.
  if (VirtualTime()) ++u.VirtualTicks;
  LEAVE(kStepWait, MARKER);
budget_used:
  // Budget used up: hand control back as a wait pass; the next step goes on.
  LEAVE(kStepWait, MARKER);

#undef PUSH
#undef BINARY
#undef OPERAND_BYTE
#undef OPERAND_WORD
#undef OPERANDS_READ
#undef LEAVE
#undef MARKER
#undef OP
#undef NEXT
#undef NEXT_AFTER_JZ
#undef DISPATCH
}
