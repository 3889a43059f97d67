#include "TProjectChecker.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>

#include "CellBodyText.h"
#include "EngineText.h"
#include "RegularFile.h"
#include "TCheckRules.h"
#include "TGraphBlock.h"
#include "TTarvixPlusModel.h"
#include "plexor.h"

namespace {

// Block type ids the rules name; every other property comes from the engine.
namespace type {
constexpr int32_t kBeep = 108;
constexpr int32_t kRand = 208;
constexpr int32_t kDiv = 203, kMod = 204, kTab = 209, kShl = 212, kShr = 213;
constexpr int32_t kLower = 400, kNotEqual = 405, kZero = 406, kHigherZero = 409;
constexpr int32_t kSec = 500, kMinute = 501, kHour = 502, kDay = 504, kMonth = 506;
constexpr int32_t kBit = 600, kByte = 601;
constexpr int32_t kConstValue = 700, kConstChar = 701, kConstTime = 703, kConstDate = 704;
constexpr int32_t kWriteFile = 803, kPrint = 900, kInput = 901, kPut = 902, kGet = 903;
constexpr int32_t kGoto = 1000, kGosub = 1001, kReturn = 1002, kOnGoto = 1003, kOnGosub = 1004, kWait = 1005,
                  kPause = 1006, kEnd = 1007;
}  // namespace type

// What the compiler does with a block, from its output, input count and map code.
enum class Role : uint8_t {
  kSource,      // output, no inputs: compiled where used
  kMemory,      // a storage place: read without inputs, written with one
  kCalcAll,     // calculator with fixed inputs a, b, ...: all needed when used
  kCalcAny,     // folding calculator: unconnected inputs skipped, one needed
  kSink,        // consumes values; compiled once something is wired
  kControl,     // program flow; always compiled
  kStandalone,  // no inputs, no output; always compiled
};

struct Range {
  int32_t lo = -32768;
  int32_t hi = 32767;
  bool Full() const { return lo == -32768 && hi == 32767; }
};

struct Node {
  const TGraphBlock* block = nullptr;
  int32_t id = 0;
  int32_t type = 0;
  Role role = Role::kSource;
  int inputCount = 0;  // inputs of the engine block
  bool hasOutput = false;
  int32_t mapCode = 0;
  std::array<int, TGraphBlock::kSlots> in{};  // index of the source node, -1 when unwired
  int wired = 0;
  int consumers = 0;
  bool statement = false;
  bool compiled = false;
  std::string param;  // engine bytes
};

struct Jump {
  int target;  // cell index
  int32_t blockId;
  bool call;
};

struct Cell {
  const TBlockList* list = nullptr;
  std::vector<Node> nodes;
  bool fallsThrough = true;
  bool ownWait = false;
  std::vector<Jump> jumps;
};

// The numbers a table holds, read as the compiler reads them; false with the
// position of the first entry that is no 16-bit number.
bool ReadTableNumbers(const std::string& text, int& count, int& badEntry) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.c_str());
  auto space = [](unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  count = 0;
  while (space(*p)) ++p;
  while (*p && count < 256) {
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (*p < '0' || *p > '9') {
      badEntry = count + 1;
      return false;
    }
    int32_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
      v = v * 10 + (*p - '0');
      if (v > 32768) break;
    }
    if ((*p >= '0' && *p <= '9') || v > (negative ? 32768 : 32767)) {
      badEntry = count + 1;
      return false;
    }
    ++count;
    while (space(*p)) ++p;
  }
  return true;
}

// The cell names a (multi-)jump parameter lists, split as the compiler splits them.
std::vector<std::string> JumpNames(const Node& n) {
  if (n.type == type::kGoto || n.type == type::kGosub) return {n.param};
  std::vector<std::string> names;
  const auto* p = reinterpret_cast<const unsigned char*>(n.param.c_str());
  for (;;) {
    while (*p >= 1 && *p <= 32) ++p;
    if (*p == 0) break;
    const unsigned char* start = p;
    while (*p >= 32) ++p;
    names.emplace_back(reinterpret_cast<const char*>(start), static_cast<size_t>(p - start));
  }
  return names;
}

QString Quoted(const std::string& bytes) { return QLatin1Char('"') + enginetext::ToQString(bytes.c_str()) + QLatin1Char('"'); }

class Checker {
 public:
  explicit Checker(const TTarvixPlusModel& model) : model_(model), engine_(model.Engine()) {}

  std::vector<TFinding> Run() {
    CheckTables();
    ReadCells();
    for (size_t c = 0; c < cells_.size(); ++c) CheckBlocks(static_cast<int>(c));
    CheckFlow();
    CheckVariables();
    CheckOutputs();
    Sort();
    return std::move(findings_);
  }

 private:
  void Add(const char* code, int32_t cellId, int32_t blockId, const QString& text) {
    const TCheckRule* rule = checkrules::Find(QLatin1String(code));
    findings_.push_back(TFinding{QLatin1String(code), rule ? rule->severity : TSeverity::kFehler, cellId, blockId, text});
  }
  void Add(const char* code, const Cell& cell, const Node& n, const QString& text) {
    Add(code, cell.list->CellId(), n.id, text);
  }

  QString Symbol(const Node& n) const {
    const QString s = enginetext::ToQString(PlexorGetSymbolicName(engine_, n.id));
    return s.isEmpty() ? QStringLiteral("Der Block") : s;
  }

  // ---- tables: every table is loaded by the compile, used or not -------------
  void CheckTables() {
    for (const auto& table : model_.Tables()) {
      const std::string name = enginetext::ToBytes(table->Name);
      tableIndex_[name] = -1;
      QStringList lines = table->Data;
      if (!table->Internal) {
        const QString path = table->ResolvedFile();
        QByteArray bytes;
        QString problem;
        if (path.isEmpty()) {
          Add("E105", 0, 0, QStringLiteral("Tabelle \"%1\": Die Datei %2 wird nicht gefunden.").arg(table->Name, table->ExternalFile));
          continue;
        }
        if (!regularfile::Read(path, regularfile::kMaxTableBytes, bytes, problem)) {
          Add("E105", 0, 0, QStringLiteral("Tabelle \"%1\": %2").arg(table->Name, problem));
          continue;
        }
        lines = cellbody::LinesFromBytes(bytes);
      }
      TConversionTable copy;
      copy.Data = lines;
      int count = 0, bad = 0;
      if (!ReadTableNumbers(enginetext::ToBytes(TTarvixPlusModel::TableText(copy)), count, bad)) {
        Add("E105", 0, 0,
            QStringLiteral("Tabelle \"%1\": Eintrag %2 ist keine ganze Zahl von -32768 bis 32767.").arg(table->Name).arg(bad));
        continue;
      }
      tableIndex_[name] = count;
    }
  }

  // ---- the blocks and wires of every cell, as the engine sees them -----------
  void ReadCells() {
    const auto& lists = model_.Cells();
    cells_.resize(lists.size());
    for (size_t c = 0; c < lists.size(); ++c) {
      Cell& cell = cells_[c];
      cell.list = lists[c].get();
      if (!cell.list->Name().isEmpty()) cellIndex_.emplace(enginetext::ToBytes(cell.list->Name()), static_cast<int>(c));
      std::unordered_map<int32_t, int> index;
      for (int i = 0; i < cell.list->Count(); ++i) {
        const auto* g = dynamic_cast<const TGraphBlock*>(cell.list->Items(i));
        // A block of a type the engine does not know was reported at loading.
        if (!g || !g->InEngine()) continue;
        Node n;
        n.block = g;
        n.id = g->Id();
        n.type = g->TypeId();
        n.hasOutput = PlexorCanConnectBlocks(engine_, n.id, 0) != 0;
        const char* flags = PlexorGetBlockInputMenuFlags(engine_, n.id, n.id);
        n.inputCount = flags ? static_cast<int>(std::strlen(flags)) : 0;
        n.mapCode = PlexorGetMapCode(engine_, n.id);
        if (const char* p = PlexorGetBlockParam(engine_, n.id)) n.param = p;
        n.role = RoleOf(n);
        n.in.fill(-1);
        index.emplace(n.id & 0xFFFF, static_cast<int>(cell.nodes.size()));
        cell.nodes.push_back(std::move(n));
      }
      for (Node& n : cell.nodes)
        for (int s = 0; s < TGraphBlock::kSlots; ++s)
          if (const TInputLine* wire = n.block->GetInput(s)) {
            auto it = index.find(wire->source & 0xFFFF);
            if (it == index.end()) continue;
            n.in[static_cast<size_t>(s)] = it->second;
            ++n.wired;
            ++cell.nodes[static_cast<size_t>(it->second)].consumers;
          }
      for (Node& n : cell.nodes) n.statement = IsStatement(n);
      std::vector<int> stack;
      for (size_t i = 0; i < cell.nodes.size(); ++i)
        if (cell.nodes[i].statement) stack.push_back(static_cast<int>(i));
      while (!stack.empty()) {
        Node& n = cell.nodes[static_cast<size_t>(stack.back())];
        stack.pop_back();
        if (n.compiled) continue;
        n.compiled = true;
        for (int s : n.in)
          if (s >= 0 && !cell.nodes[static_cast<size_t>(s)].compiled) stack.push_back(s);
      }
    }
  }

  static Role RoleOf(const Node& n) {
    if (n.inputCount == 0) return n.hasOutput ? Role::kSource : Role::kStandalone;
    if (!n.hasOutput) {
      if (n.type >= type::kGoto && n.type <= type::kEnd && n.type != type::kPause) return Role::kControl;
      return Role::kSink;
    }
    // Storage places have a map code (ports, clock, user memory); the random
    // generator is read and seeded like one.
    if (n.mapCode != 0 || n.type == type::kRand) return Role::kMemory;
    return n.inputCount >= 20 ? Role::kCalcAny : Role::kCalcAll;
  }

  static bool IsStatement(const Node& n) {
    switch (n.role) {
      case Role::kSink: return n.type == type::kBeep || n.wired > 0;
      case Role::kControl:
      case Role::kStandalone: return true;
      case Role::kMemory: return n.wired > 0 && n.consumers == 0;
      default: return false;
    }
  }

  // ---- rules within one cell ---------------------------------------------------
  void CheckBlocks(int c) {
    Cell& cell = cells_[static_cast<size_t>(c)];
    for (const Node& n : cell.nodes) {
      CheckInputs(cell, n);
      CheckEffect(cell, n);
      CheckParameters(cell, n);
      if (n.compiled) {
        CheckConstants(cell, n);
        CheckComparison(cell, n);
      }
      if (n.role == Role::kControl) CollectFlow(cell, n);
      if (IsWaiting(n)) cell.ownWait = true;
    }
  }

  QString MissingInputs(const Node& n) const {
    QStringList names;
    const QString menu = enginetext::ToQString(PlexorGetBlockInputMenu(engine_, n.id));
    const QStringList labels = menu.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (int s = 0; s < n.inputCount && s < TGraphBlock::kSlots; ++s)
      if (n.in[static_cast<size_t>(s)] < 0) names << (s < labels.size() ? labels[s] : QString::number(s + 1));
    if (n.inputCount == 1) return QStringLiteral("Der Eingang des Blocks ist nicht verbunden.");
    if (names.size() == 1) return QStringLiteral("Eingang %1 ist nicht verbunden.").arg(names.first());
    return QStringLiteral("Die Eingänge %1 sind nicht verbunden.").arg(names.join(QStringLiteral(", ")));
  }

  void CheckInputs(const Cell& cell, const Node& n) {
    if (n.role == Role::kCalcAll && n.compiled && n.consumers > 0 && n.wired < n.inputCount)
      Add("E101", cell, n, MissingInputs(n));
    else if (n.role == Role::kCalcAny && n.compiled && n.consumers > 0 && n.wired == 0)
      Add("E101", cell, n, QStringLiteral("Keiner der Eingänge des Blocks ist verbunden."));
    else if (n.type == type::kWait && n.in[0] < 0)
      Add("E101", cell, n, QStringLiteral("Der Bedingungseingang des Wartens ist nicht verbunden."));
    else if ((n.type == type::kOnGoto || n.type == type::kOnGosub) && n.in[0] < 0)
      Add("E101", cell, n, QStringLiteral("Der Auswahleingang des Verteilers ist nicht verbunden."));
  }

  void CheckEffect(const Cell& cell, const Node& n) {
    if (n.hasOutput && !n.statement && n.consumers == 0) {
      Add("W101", cell, n,
          n.role == Role::kMemory && n.mapCode != 0
              ? QStringLiteral("%1 wird gelesen, aber der Wert wird nirgends verwendet.").arg(Symbol(n))
              : QStringLiteral("Das Ergebnis des Blocks wird nirgends verwendet."));
    } else if (n.role == Role::kSink && !n.statement) {
      Add("W101", cell, n, QStringLiteral("An diesem Block ist nichts angeschlossen; er wird nicht übersetzt."));
    }
  }

  void CheckParameters(const Cell& cell, const Node& n) {
    const bool jump = n.type == type::kGoto || n.type == type::kGosub || n.type == type::kOnGoto || n.type == type::kOnGosub;
    if (jump) {
      if (n.param.empty()) {
        Add("E103", cell, n, QStringLiteral("Der Block nennt keine Zelle."));
        return;
      }
      for (const std::string& name : JumpNames(n)) {
        if (cellIndex_.count(name)) continue;
        Add("E102", cell, n,
            tableIndex_.count(name) ? QStringLiteral("%1 ist eine Tabelle, keine Zelle.").arg(Quoted(name))
                                    : QStringLiteral("Die Zelle %1 gibt es nicht.").arg(Quoted(name)));
      }
    } else if (n.type == type::kTab && n.compiled) {
      if (n.param.empty()) Add("E103", cell, n, QStringLiteral("Der Block nennt keine Tabelle."));
      else if (!tableIndex_.count(n.param)) Add("E104", cell, n, QStringLiteral("Die Tabelle %1 gibt es nicht.").arg(Quoted(n.param)));
    }
  }

  // The value a constant block delivers, when n is one.
  static bool ConstantValue(const Node& n, int32_t& value) {
    switch (n.type) {
      case type::kConstValue: value = static_cast<int16_t>(std::atoi(n.param.c_str())); return true;
      case type::kConstChar:
        value = n.param.size() >= 2 ? static_cast<uint8_t>(n.param[1]) : 0;
        return true;
      case type::kConstTime:
      case type::kConstDate: {
        const int first = std::atoi(n.param.substr(0, 2).c_str());
        const int second = n.param.size() > 3 ? std::atoi(n.param.substr(3, 2).c_str()) : 0;
        value = n.type == type::kConstTime ? first * 60 + second : second * 31 + first;
        return true;
      }
      default: return false;
    }
  }

  const Node* Input(const Cell& cell, const Node& n, int slot) const {
    const int i = n.in[static_cast<size_t>(slot)];
    return i < 0 ? nullptr : &cell.nodes[static_cast<size_t>(i)];
  }

  void CheckConstants(const Cell& cell, const Node& n) {
    const Node* source = n.inputCount > 0 ? Input(cell, n, 0) : nullptr;
    int32_t v = 0;
    auto outside = [&](int32_t lo, int32_t hi, const QString& what) {
      if (v < lo || v > hi)
        Add("W105", cell, n, QStringLiteral("Die Konstante %1 liegt außerhalb von %2 bis %3 (%4).").arg(v).arg(lo).arg(hi).arg(what));
    };
    if ((n.type == type::kDiv || n.type == type::kMod) && n.inputCount > 1) {
      const Node* b = Input(cell, n, 1);
      if (b && ConstantValue(*b, v) && v == 0)
        Add("E106", cell, n, QStringLiteral("Der Teiler ist die Konstante 0; die Unit hält mit einem Laufzeitfehler an."));
      return;
    }
    if ((n.type == type::kShl || n.type == type::kShr) && n.inputCount > 1) {
      const Node* b = Input(cell, n, 1);
      if (b && ConstantValue(*b, v)) outside(0, 15, QStringLiteral("Schiebeweite"));
      return;
    }
    if (!source || !ConstantValue(*source, v)) return;
    if (n.role == Role::kMemory) {
      const uint32_t area = (static_cast<uint32_t>(n.mapCode) >> 16) & 0xFF;
      if (n.type == type::kByte) outside(0, 255, QStringLiteral("BYTE"));
      else if (n.type == type::kSec || n.type == type::kMinute) outside(0, 59, Symbol(n));
      else if (n.type == type::kHour) outside(0, 23, Symbol(n));
      else if (n.type == type::kDay) outside(1, 31, Symbol(n));
      else if (n.type == type::kMonth) outside(1, 12, Symbol(n));
      else if (area == 2 && v != 0 && (v & 0xFF) == 0)
        Add("W105", cell, n, QStringLiteral("Die Konstante %1 schaltet %2 aus: der Port wertet nur das niedrige Byte.").arg(v).arg(Symbol(n)));
    } else if (n.type == type::kPause) {
      outside(0, 32767, QStringLiteral("Pause in 20-ms-Schritten"));
    } else if (n.type == type::kTab) {
      auto it = tableIndex_.find(n.param);
      if (it != tableIndex_.end() && it->second > 0) outside(0, it->second - 1, QStringLiteral("Index der Tabelle"));
    } else if (n.type == type::kOnGoto || n.type == type::kOnGosub) {
      const int targets = static_cast<int>(JumpNames(n).size());
      if (targets > 0) outside(0, targets - 1, QStringLiteral("Ziele des Verteilers"));
    }
  }

  // The values a block can deliver, as far as its type tells.
  Range RangeOf(const Node& n) const {
    int32_t v = 0;
    if (ConstantValue(n, v)) return {v, v};
    if (n.role == Role::kMemory && n.wired == 0) {
      switch (n.type) {
        case type::kBit: return {0, 1};
        case type::kByte: return {0, 255};
        case type::kSec:
        case type::kMinute: return {0, 59};
        case type::kHour: return {0, 23};
        case type::kDay: return {1, 31};
        case type::kMonth: return {1, 12};
        default: return {};
      }
    }
    // Analog channels read one byte.
    if (n.role == Role::kSource && ((static_cast<uint32_t>(n.mapCode) >> 16) & 0xFF) == 3) return {0, 255};
    return {};
  }

  // A block whose value is the same at both inputs of one comparison.
  static bool Stable(const Node& n) {
    if (n.type == type::kConstValue || n.type == type::kConstChar || n.type == type::kConstTime ||
        n.type == type::kConstDate)
      return true;
    return n.role == Role::kMemory && n.wired == 0 && n.type != type::kRand;
  }

  void CheckComparison(const Cell& cell, const Node& n) {
    int answer = -1;  // 0 always false, 1 always true
    if (n.type >= type::kLower && n.type <= type::kNotEqual && n.inputCount >= 2) {
      const Node* a = Input(cell, n, 0);
      const Node* b = Input(cell, n, 1);
      if (!a || !b) return;
      if (a == b && Stable(*a)) {
        static constexpr int kSame[] = {0, 1, 0, 1, 1, 0};  // <, <=, >, >=, =, <>
        answer = kSame[n.type - type::kLower];
      } else {
        const Range x = RangeOf(*a), y = RangeOf(*b);
        if (x.Full() && y.Full()) return;
        switch (n.type - type::kLower) {
          case 0: answer = x.hi < y.lo ? 1 : x.lo >= y.hi ? 0 : -1; break;
          case 1: answer = x.hi <= y.lo ? 1 : x.lo > y.hi ? 0 : -1; break;
          case 2: answer = x.lo > y.hi ? 1 : x.hi <= y.lo ? 0 : -1; break;
          case 3: answer = x.lo >= y.hi ? 1 : x.hi < y.lo ? 0 : -1; break;
          case 4: answer = (x.lo == x.hi && y.lo == y.hi && x.lo == y.lo) ? 1 : (x.hi < y.lo || y.hi < x.lo) ? 0 : -1; break;
          default: answer = (x.lo == x.hi && y.lo == y.hi && x.lo == y.lo) ? 0 : (x.hi < y.lo || y.hi < x.lo) ? 1 : -1; break;
        }
      }
    } else if (n.type >= type::kZero && n.type <= type::kHigherZero && n.inputCount >= 1) {
      const Node* a = Input(cell, n, 0);
      if (!a) return;
      const Range x = RangeOf(*a);
      if (x.Full()) return;
      switch (n.type - type::kZero) {
        case 0: answer = (x.lo == 0 && x.hi == 0) ? 1 : (x.lo > 0 || x.hi < 0) ? 0 : -1; break;
        case 1: answer = (x.lo == 0 && x.hi == 0) ? 0 : (x.lo > 0 || x.hi < 0) ? 1 : -1; break;
        case 2: answer = x.lo > 0 ? 1 : x.hi <= 0 ? 0 : -1; break;  // tests for a value above zero
        default: answer = x.hi < 0 ? 1 : x.lo >= 0 ? 0 : -1; break;
      }
    }
    if (answer < 0) return;
    Add("W106", cell, n,
        answer ? QStringLiteral("Der Vergleich ist immer wahr.") : QStringLiteral("Der Vergleich ist immer falsch."));
  }

  // ---- program flow between cells ---------------------------------------------
  void CollectFlow(Cell& cell, const Node& n) {
    const bool conditional = n.in[0] >= 0;
    if ((n.type == type::kGoto || n.type == type::kReturn || n.type == type::kEnd) && !conditional)
      cell.fallsThrough = false;
    if (n.type == type::kReturn || n.type == type::kEnd || n.type == type::kWait || n.param.empty()) return;
    const bool call = n.type == type::kGosub || n.type == type::kOnGosub;
    for (const std::string& name : JumpNames(n)) {
      auto it = cellIndex_.find(name);
      if (it != cellIndex_.end()) cell.jumps.push_back(Jump{it->second, n.id, call});
    }
  }

  // Blocks that hand the unit's time to the station: waiting, pausing, reading input.
  static bool IsWaiting(const Node& n) {
    switch (n.type) {
      case type::kWait: return true;
      case type::kPause: return n.statement;
      case type::kBeep: return true;
      case type::kInput:
      case type::kGet: return n.compiled;
      default: return false;
    }
  }

  // For every cell, whether running on from it through calls and into the
  // following cells can pass a waiting block: the cells from which a cell
  // with a waiting block of its own is reachable along those edges (found
  // backwards, without recursion, so long chains of cells cost no stack).
  std::vector<bool> RegionWaits() const {
    const size_t count = cells_.size();
    std::vector<std::vector<int>> callers(count);
    for (size_t c = 0; c < count; ++c) {
      const Cell& cell = cells_[c];
      if (cell.fallsThrough && c + 1 < count) callers[c + 1].push_back(static_cast<int>(c));
      for (const Jump& j : cell.jumps)
        if (j.call) callers[static_cast<size_t>(j.target)].push_back(static_cast<int>(c));
    }
    std::vector<bool> waits(count, false);
    std::vector<int> work;
    for (size_t c = 0; c < count; ++c)
      if (cells_[c].ownWait) {
        waits[c] = true;
        work.push_back(static_cast<int>(c));
      }
    while (!work.empty()) {
      const int c = work.back();
      work.pop_back();
      for (int from : callers[static_cast<size_t>(c)])
        if (!waits[static_cast<size_t>(from)]) {
          waits[static_cast<size_t>(from)] = true;
          work.push_back(from);
        }
    }
    return waits;
  }

  std::vector<int> Successors(int c) const {
    std::vector<int> next;
    const Cell& cell = cells_[static_cast<size_t>(c)];
    if (cell.fallsThrough && static_cast<size_t>(c) + 1 < cells_.size()) next.push_back(c + 1);
    for (const Jump& j : cell.jumps) next.push_back(j.target);
    return next;
  }

  void CheckFlow() {
    const int count = static_cast<int>(cells_.size());
    if (count == 0) return;
    std::vector<bool> reached(static_cast<size_t>(count), false);
    std::vector<int> stack{0};
    reached[0] = true;
    while (!stack.empty()) {
      const int c = stack.back();
      stack.pop_back();
      for (int t : Successors(c))
        if (!reached[static_cast<size_t>(t)]) {
          reached[static_cast<size_t>(t)] = true;
          stack.push_back(t);
        }
    }
    for (int c = 1; c < count; ++c)
      if (!reached[static_cast<size_t>(c)] && !cells_[static_cast<size_t>(c)].nodes.empty())
        Add("W102", cells_[static_cast<size_t>(c)].list->CellId(), 0,
            QStringLiteral("Keine Zelle springt hierher oder ruft diese Zelle auf, und die Zelle davor läuft nicht hinein."));

    // Cells that pass a wait (their own, or in a cell they call) break every loop through them.
    const std::vector<bool> region = RegionWaits();
    std::vector<bool> quiet(static_cast<size_t>(count), false);
    for (int c = 0; c < count; ++c) {
      const Cell& cell = cells_[static_cast<size_t>(c)];
      bool waits = cell.ownWait;
      for (const Jump& j : cell.jumps) waits = waits || (j.call && region[static_cast<size_t>(j.target)]);
      quiet[static_cast<size_t>(c)] = reached[static_cast<size_t>(c)] && !waits;
    }
    for (const std::vector<int>& loop : BusyLoops(quiet)) ReportLoop(loop);
  }

  // Strongly connected groups of quiet cells that contain a cycle (iterative Tarjan).
  std::vector<std::vector<int>> BusyLoops(const std::vector<bool>& quiet) const {
    const int count = static_cast<int>(cells_.size());
    std::vector<int> index(static_cast<size_t>(count), -1), low(static_cast<size_t>(count), 0);
    std::vector<bool> onStack(static_cast<size_t>(count), false);
    std::vector<int> stack;
    std::vector<std::vector<int>> loops;
    int next = 0;
    struct Frame {
      int cell;
      std::vector<int> succ;
      size_t pos;
    };
    for (int root = 0; root < count; ++root) {
      if (!quiet[static_cast<size_t>(root)] || index[static_cast<size_t>(root)] >= 0) continue;
      std::vector<Frame> frames;
      auto enter = [&](int c) {
        index[static_cast<size_t>(c)] = low[static_cast<size_t>(c)] = next++;
        stack.push_back(c);
        onStack[static_cast<size_t>(c)] = true;
        frames.push_back(Frame{c, Successors(c), 0});
      };
      enter(root);
      while (!frames.empty()) {
        Frame& f = frames.back();
        if (f.pos < f.succ.size()) {
          const int t = f.succ[f.pos++];
          if (!quiet[static_cast<size_t>(t)]) continue;
          if (index[static_cast<size_t>(t)] < 0) {
            enter(t);
          } else if (onStack[static_cast<size_t>(t)]) {
            low[static_cast<size_t>(f.cell)] = std::min(low[static_cast<size_t>(f.cell)], index[static_cast<size_t>(t)]);
          }
          continue;
        }
        const int c = f.cell;
        frames.pop_back();
        if (!frames.empty())
          low[static_cast<size_t>(frames.back().cell)] =
              std::min(low[static_cast<size_t>(frames.back().cell)], low[static_cast<size_t>(c)]);
        if (low[static_cast<size_t>(c)] != index[static_cast<size_t>(c)]) continue;
        std::vector<int> group;
        int member;
        do {
          member = stack.back();
          stack.pop_back();
          onStack[static_cast<size_t>(member)] = false;
          group.push_back(member);
        } while (member != c);
        const std::vector<int> succ = Successors(c);
        if (group.size() > 1 || std::find(succ.begin(), succ.end(), c) != succ.end()) {
          std::sort(group.begin(), group.end());
          loops.push_back(std::move(group));
        }
      }
    }
    return loops;
  }

  void ReportLoop(const std::vector<int>& loop) {
    // Shown at the jump that closes the loop: the first one whose target lies in it.
    int32_t cellId = cells_[static_cast<size_t>(loop.front())].list->CellId();
    int32_t blockId = 0;
    for (int c : loop) {
      for (const Jump& j : cells_[static_cast<size_t>(c)].jumps)
        if (std::binary_search(loop.begin(), loop.end(), j.target)) {
          cellId = cells_[static_cast<size_t>(c)].list->CellId();
          blockId = j.blockId;
          break;
        }
      if (blockId) break;
    }
    QStringList names;
    for (int c : loop) names << QLatin1Char('"') + cells_[static_cast<size_t>(c)].list->Name() + QLatin1Char('"');
    Add("W104", cellId, blockId,
        QStringLiteral("Die Schleife über %1 %2 läuft ohne Warten, Pause oder Eingabe; die Unit lässt die Station dabei nie zum Zug kommen.")
            .arg(names.size() == 1 ? QStringLiteral("die Zelle") : QStringLiteral("die Zellen"), names.join(QStringLiteral(", "))));
  }

  // ---- user memory: read and written anywhere, over any width ---------------------
  using Bits = std::bitset<192>;

  static Bits MemoryBits(int32_t mapCode) {
    Bits bits;
    const uint32_t width = static_cast<uint32_t>(mapCode) >> 24;
    const uint32_t index = static_cast<uint32_t>(mapCode) & 0xFFFF;
    const uint32_t first = width == 1 ? index * 16 : width == 2 ? index * 8 : index;
    const uint32_t count = width == 1 ? 16 : width == 2 ? 8 : 1;
    for (uint32_t b = first; b < first + count && b < bits.size(); ++b) bits.set(b);
    return bits;
  }

  // Whether a memory block reads its own stored value: its inputs lead back to it.
  bool ReadsItself(const Cell& cell, int start) const {
    std::vector<bool> seen(cell.nodes.size(), false);
    std::vector<int> stack;
    for (int s : cell.nodes[static_cast<size_t>(start)].in)
      if (s >= 0) stack.push_back(s);
    while (!stack.empty()) {
      const int i = stack.back();
      stack.pop_back();
      if (i == start) return true;
      if (seen[static_cast<size_t>(i)]) continue;
      seen[static_cast<size_t>(i)] = true;
      for (int s : cell.nodes[static_cast<size_t>(i)].in)
        if (s >= 0) stack.push_back(s);
    }
    return false;
  }

  static bool IsUserMemory(const Node& n) {
    return n.role == Role::kMemory && ((static_cast<uint32_t>(n.mapCode) >> 16) & 0xFF) == 1;
  }

  void CheckVariables() {
    struct Access {
      const Cell* cell;
      const Node* node;
      Bits bits;
    };
    std::vector<Access> reads, writes;
    Bits readBits, writtenBits;
    for (const Cell& cell : cells_)
      for (size_t i = 0; i < cell.nodes.size(); ++i) {
        const Node& n = cell.nodes[i];
        if (!IsUserMemory(n) || !n.compiled) continue;
        const Bits bits = MemoryBits(n.mapCode);
        if (n.wired > 0) {
          writes.push_back({&cell, &n, bits});
          writtenBits |= bits;
        }
        if (n.wired == 0 || ReadsItself(cell, static_cast<int>(i))) {
          reads.push_back({&cell, &n, bits});
          readBits |= bits;
        }
      }
    for (const Access& a : reads)
      if ((a.bits & writtenBits).none())
        Add("W103", *a.cell, *a.node, QStringLiteral("%1 wird gelesen, aber nirgends geschrieben; der Wert ist immer 0.").arg(Symbol(*a.node)));
    for (const Access& a : writes)
      if ((a.bits & readBits).none())
        Add("H101", *a.cell, *a.node, QStringLiteral("%1 wird geschrieben, aber nirgends gelesen.").arg(Symbol(*a.node)));
  }

  // ---- outputs driven from several cells: once per output -------------------------
  void CheckOutputs() {
    std::map<int32_t, std::vector<std::pair<const Cell*, const Node*>>> writers;
    for (const Cell& cell : cells_) {
      std::vector<int32_t> seen;
      for (const Node& n : cell.nodes) {
        const bool port = n.role == Role::kMemory && ((static_cast<uint32_t>(n.mapCode) >> 16) & 0xFF) == 2;
        if (!port || !n.compiled || n.wired == 0) continue;
        if (std::find(seen.begin(), seen.end(), n.mapCode) != seen.end()) continue;
        seen.push_back(n.mapCode);
        writers[n.mapCode].push_back({&cell, &n});
      }
    }
    for (const auto& [code, list] : writers) {
      if (list.size() < 2) continue;
      QStringList names;
      for (const auto& w : list) names << QLatin1Char('"') + w.first->list->Name() + QLatin1Char('"');
      Add("H102", *list.front().first, *list.front().second,
          QStringLiteral("%1 wird in %2 Zellen geschrieben: %3.").arg(Symbol(*list.front().second)).arg(list.size()).arg(names.join(QStringLiteral(", "))));
    }
  }

  void Sort() {
    std::unordered_map<int32_t, int> order;
    for (size_t c = 0; c < cells_.size(); ++c) order[cells_[c].list->CellId()] = static_cast<int>(c);
    auto key = [&](const TFinding& f) {
      return std::make_tuple(f.cellId == 0 ? -1 : order[f.cellId], f.BlockNumber(), f.code);
    };
    std::stable_sort(findings_.begin(), findings_.end(), [&](const TFinding& a, const TFinding& b) { return key(a) < key(b); });
  }

  const TTarvixPlusModel& model_;
  PlexorHandle engine_;
  std::vector<Cell> cells_;
  std::unordered_map<std::string, int> cellIndex_;
  std::unordered_map<std::string, int> tableIndex_;  // entry count; -1 when unreadable
  std::vector<TFinding> findings_;
};

}  // namespace

std::vector<TFinding> TProjectChecker::Check(const TTarvixPlusModel& model) { return Checker(model).Run(); }
