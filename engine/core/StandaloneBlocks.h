// Standalone blocks: no inputs, no output, always compiled.
#pragma once

#include "Block.h"
#include "Opcodes.h"

class CStandaloneBlock : public CBlock {
 public:
  explicit CStandaloneBlock(int32_t id) : CBlock(id, 0, 0, nullptr, false) {}
  bool IsStatement() const override { return true; }
};

// The data-file operations are one FILE instruction each.
class CFileOperationBlock : public CStandaloneBlock {
 public:
  CFileOperationBlock(int32_t id, uint8_t operation) : CStandaloneBlock(id), Operation(operation) {}
  void Emit(CPlexorCompiler& c) override;
  uint8_t Operation;
};

class COpenFileForWriteBlock : public CFileOperationBlock {
 public:
  explicit COpenFileForWriteBlock(int32_t id) : CFileOperationBlock(id, fileop::OPEN_WRITE) {}
};
class COpenFileForAppendBlock : public CFileOperationBlock {
 public:
  explicit COpenFileForAppendBlock(int32_t id) : CFileOperationBlock(id, fileop::OPEN_APPEND) {}
};
class COpenFileForReadBlock : public CFileOperationBlock {
 public:
  explicit COpenFileForReadBlock(int32_t id) : CFileOperationBlock(id, fileop::OPEN_READ) {}
};
class CCloseFileBlock : public CFileOperationBlock {
 public:
  explicit CCloseFileBlock(int32_t id) : CFileOperationBlock(id, fileop::CLOSE) {}
};

class CBaudBlock : public CStandaloneBlock {
 public:
  explicit CBaudBlock(int32_t id) : CStandaloneBlock(id) { CBaudBlock::SetParam("8"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void Emit(CPlexorCompiler& c) override;
  char Text[10] = {};
  int32_t Rate = 8;  // 1 = 1200, 2 = 2400, 4 = 4800, 8 = 9600 bit/s
};
