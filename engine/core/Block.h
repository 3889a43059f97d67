// CBlock: base of every function block of the engine.
//
// A block knows its inputs (the blocks wired to them) but not its consumers,
// only how many there are. The virtual operations are the hooks of the
// can-connect rules, the parameter texts, the compiler and the simulator's
// value access; Part of them (Emit, Compile and the family operations) are
// defined in the compiler subsystem.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

class CPlexorCompiler;

// Most inputs a block type has (the folding calculators); the engine's input
// menu flag text is sized by it.
constexpr int16_t kMaxBlockInputs = 20;

class CBlock {
 public:
  CBlock(int32_t id, uint8_t outputKind, int16_t inputCount, const char* inputMenu, bool userBitmap);
  virtual ~CBlock() = default;
  CBlock(const CBlock&) = delete;
  CBlock& operator=(const CBlock&) = delete;

  // Mask of output kinds accepted at an input (0: none).
  virtual uint8_t InputKinds(int index) const;
  // source == nullptr: whether this block has an output at all. Otherwise
  // whether a wire from source may end at a free input of this block.
  virtual bool CanConnect(const CBlock* source) const;
  virtual bool EditParam() { return false; }
  virtual bool SetParam(const char* /*text*/) { return true; }
  virtual const char* GetParam() const { return nullptr; }
  virtual bool InputsComplete() const { return true; }
  virtual void Emit(CPlexorCompiler& /*c*/) {}
  virtual bool IsStatement() const { return false; }
  virtual void Compile(CPlexorCompiler& c);
  virtual std::string GetSymbolicName() const { return {}; }
  virtual int32_t GetMapCode() const { return 0; }
  virtual const char* GetIndexDescription() const { return nullptr; }

  int InputSlots() const { return std::abs(InputCount); }
  CBlock* Input(int index) const { return index >= 0 && index < InputSlots() ? Inputs[index] : nullptr; }
  // ' ' for each free input accepting source's kind, '*' for every other.
  std::string MenuFlags(const CBlock& source) const;

  // Wire operations (no checks of their own; see the engine for them).
  void ConnectInput(int index, CBlock* source);
  void SplitInput(int index);

  int32_t Id;
  uint8_t OutputKind;
  int16_t InputCount;
  const char* InputMenu;
  std::vector<CBlock*> Inputs;
  uint16_t WiredInputs = 0;
  uint16_t Consumers = 0;
  bool UserBitmap;

  // Compile-time mark: the block's generation is in progress.
  bool OnPath = false;
};

// Input menu texts shared by the classes.
inline constexpr const char kMenuAB[] = "a\r\nb\r\n";
inline constexpr const char kMenuABC[] = "a\r\nb\r\nc\r\n";
