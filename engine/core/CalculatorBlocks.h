// Calculator blocks: compute a value from value inputs.
//
// The families differ only in how they compile their operands; the operator
// itself is a short byte sequence given by each class, so the classes below
// are little more than rows of a table.
#pragma once

#include <initializer_list>

#include "Block.h"
#include "Opcodes.h"

class CCalculatorBlock : public CBlock {
 public:
  CCalculatorBlock(int32_t id, int16_t inputCount, const char* menu, std::initializer_list<uint8_t> op)
      : CBlock(id, 1, inputCount, menu, false) {
    for (uint8_t b : op) Op[OpLength++] = b;
  }
  uint8_t InputKinds(int) const override { return 1; }
  bool InputsComplete() const override;
  void Emit(CPlexorCompiler& c) override;
  virtual void CompileOperands(CPlexorCompiler& c);
  virtual void EmitOperator(CPlexorCompiler& c);

  uint8_t Op[4] = {};
  uint8_t OpLength = 0;
};

// The value switch: a when c is not 0, else b.
class CValueSwitchBlock : public CCalculatorBlock {
 public:
  explicit CValueSwitchBlock(int32_t id) : CCalculatorBlock(id, -3, kMenuABC, {}) {}
  void Emit(CPlexorCompiler& c) override;
  virtual int InputCountValue() const { return InputCount; }
  virtual const char* InputMenuText() const { return InputMenu; }
};

// One operand.
class CFxMathBlock : public CCalculatorBlock {
 public:
  CFxMathBlock(int32_t id, std::initializer_list<uint8_t> op) : CCalculatorBlock(id, -1, nullptr, op) {}
};

#define VORBLEN_FX_BLOCK(Name, ...) \
  class Name : public CFxMathBlock { \
   public: \
    explicit Name(int32_t id) : CFxMathBlock(id, {__VA_ARGS__}) {} \
  }

VORBLEN_FX_BLOCK(CNegBlock, op::NEG);
VORBLEN_FX_BLOCK(CAbsBlock, op::ABS);
VORBLEN_FX_BLOCK(CSgnBlock, op::SGN);
VORBLEN_FX_BLOCK(CSqrtBlock, op::SQRT);
VORBLEN_FX_BLOCK(CNotBlock, op::NOT);
VORBLEN_FX_BLOCK(CZeroBlock, op::LDI, 0, 0, op::EQ);
VORBLEN_FX_BLOCK(CNotZeroBlock, op::LDI, 0, 0, op::NE);
// The unit's historical naming: "lower zero" tests for a value above zero.
VORBLEN_FX_BLOCK(CLowerZeroBlock, op::LDI, 0, 0, op::GT);
VORBLEN_FX_BLOCK(CHigherZeroBlock, op::LDI, 0, 0, op::LT);
#undef VORBLEN_FX_BLOCK

// Table lookup: the index on input 1, the table named by the parameter.
class CTabBlock : public CFxMathBlock {
 public:
  explicit CTabBlock(int32_t id) : CFxMathBlock(id, {}) {}
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Name; }
  void Emit(CPlexorCompiler& c) override;
  char Name[100] = {};
};

// Up to 20 operands folded with one operator; unconnected inputs are skipped.
class CCommutativBlock : public CCalculatorBlock {
 public:
  CCommutativBlock(int32_t id, uint8_t op, bool negate = false)
      : CCalculatorBlock(id, kMaxBlockInputs, nullptr, {op}), Negate(negate) {}
  void Emit(CPlexorCompiler& c) override;
  bool Negate;
};

#define VORBLEN_FOLD_BLOCK(Name, ...) \
  class Name : public CCommutativBlock { \
   public: \
    explicit Name(int32_t id) : CCommutativBlock(id, __VA_ARGS__) {} \
  }

VORBLEN_FOLD_BLOCK(CAddBlock, op::ADD);
VORBLEN_FOLD_BLOCK(CMulBlock, op::MUL);
VORBLEN_FOLD_BLOCK(CMinBlock, op::MIN);
VORBLEN_FOLD_BLOCK(CMaxBlock, op::MAX);
VORBLEN_FOLD_BLOCK(CAndBlock, op::AND);
VORBLEN_FOLD_BLOCK(CNandBlock, op::AND, true);
VORBLEN_FOLD_BLOCK(COrBlock, op::OR);
VORBLEN_FOLD_BLOCK(CNorBlock, op::OR, true);
VORBLEN_FOLD_BLOCK(CXorBlock, op::XOR);
#undef VORBLEN_FOLD_BLOCK

// Two operands a and b: a op b.
class CABMathBlock : public CCalculatorBlock {
 public:
  CABMathBlock(int32_t id, uint8_t op) : CCalculatorBlock(id, -2, kMenuAB, {op}) {}
};

#define VORBLEN_AB_BLOCK(Name, Base, op) \
  class Name : public Base { \
   public: \
    explicit Name(int32_t id) : Base(id, op) {} \
  }

VORBLEN_AB_BLOCK(CSubBlock, CABMathBlock, op::SUB);
VORBLEN_AB_BLOCK(CDivBlock, CABMathBlock, op::DIV);
VORBLEN_AB_BLOCK(CModBlock, CABMathBlock, op::MOD);
VORBLEN_AB_BLOCK(CShlBlock, CABMathBlock, op::SHL);
VORBLEN_AB_BLOCK(CShrBlock, CABMathBlock, op::SHR);

// Comparisons accept values, times and dates, both operands of one kind.
class CComparatorBlock : public CABMathBlock {
 public:
  CComparatorBlock(int32_t id, uint8_t op) : CABMathBlock(id, op) {}
  uint8_t InputKinds(int) const override { return 13; }
  bool CanConnect(const CBlock* source) const override;
};

VORBLEN_AB_BLOCK(CLowerBlock, CComparatorBlock, op::LT);
VORBLEN_AB_BLOCK(CLowerSameBlock, CComparatorBlock, op::LE);
VORBLEN_AB_BLOCK(CHigherBlock, CComparatorBlock, op::GT);
VORBLEN_AB_BLOCK(CHigherSameBlock, CComparatorBlock, op::GE);
VORBLEN_AB_BLOCK(CEqualBlock, CComparatorBlock, op::EQ);
VORBLEN_AB_BLOCK(CNotEqualBlock, CComparatorBlock, op::NE);
#undef VORBLEN_AB_BLOCK
