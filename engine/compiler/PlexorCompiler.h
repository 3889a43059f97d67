// CPlexorCompiler: one code generator of the engine.
//
// The engine holds two: the download compiler builds the image sent to the
// unit; the simulation compiler builds the same code with page markers and
// wait markers, so the simulator can stop at page boundaries and in wait
// loops. Jump targets are names; their addresses are filled in by
// ResolveFixups once every page and table has been placed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CompileError.h"
#include "XXBuffer.h"

class CBlock;
class CPlexor;

constexpr int32_t kCodeCapacity = 8100;
// Unit address of code offset x: the unit loads the image behind a 4-byte header.
constexpr int32_t kUnitAddressBase = 4;

class CPlexorCompiler {
 public:
  CPlexorCompiler(CPlexor& engine, bool emitMarkers);

  void Init();
  // Compiles every page in page order and ends the image with END.
  void CompilePages();
  // Appends one conversion table (at most 256 words).
  void LoadTable(const char* name, const char* text);
  // Writes every fixup's label address; throws for an undefined name.
  void ResolveFixups();

  // Operations of the code generators.
  void Append(uint8_t byte) { Code.append(byte); }
  void AppendWord(uint16_t word) {
    Append(static_cast<uint8_t>(word >> 8));
    Append(static_cast<uint8_t>(word & 0xFF));
  }
  // One instruction: the opcode byte and its operand, as wide as the opcode
  // table says (none, a byte, or a big-endian word). A string instruction
  // takes no operand here; its text and the terminating 0 follow. An opcode
  // that is no instruction, a missing or superfluous operand, or one too
  // wide for its form is a fault of the generator: std::logic_error, and
  // nothing is appended.
  void Emit(uint8_t opcode, int32_t operand = kNoOperand);
  static constexpr int32_t kNoOperand = -1;
  int32_t Length() const { return Code.length(); }
  uint16_t UnitAddress(int32_t offset) const { return static_cast<uint16_t>(offset + kUnitAddressBase); }
  void DefineLabel(const std::string& name, int32_t offset) { Labels.push_back({name, offset}); }
  void AddFixup(const std::string& name, int32_t offset) { Fixups.push_back({name, offset}); }
  // An instruction whose word operand is the address of a named label.
  void AppendJump(uint8_t opcode, const std::string& label);
  // A fresh, image-unique pair of label names for a value switch.
  void NewSwitchLabels(std::string& a, std::string& b);

  // Compiles the block that feeds an input, if any.
  void CompileInput(const CBlock& block, int index);
  // Marks a block as being generated for the duration of a scope.
  class PathScope {
   public:
    PathScope(CPlexorCompiler& c, CBlock& block);
    ~PathScope();
    PathScope(const PathScope&) = delete;
    PathScope& operator=(const PathScope&) = delete;

   private:
    CPlexorCompiler& c_;
    CBlock& block_;
  };

  struct Label {
    std::string name;
    int32_t offset;
  };

  CPlexor& Engine;
  bool EmitMarkers;
  XXBuffer<uint8_t> Code{kCodeCapacity};
  std::vector<Label> Labels;
  std::vector<Label> Fixups;
  // Length of the code up to and including its END; the tables follow.
  int32_t CodeEnd = 0;
  // The last listing handed out by PlexorGetListing.
  std::string ListingText;

 private:
  void CompilePageStatements(class CPlexorPage& page);

  uint32_t switchSerial_ = 0;
  int32_t depth_ = 0;
};

// Deepest nesting of block generation; deeper graphs fail instead of
// exhausting the stack of the compile thread.
constexpr int32_t kMaxGenerationDepth = 2000;
