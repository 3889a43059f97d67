// Helpers for compiler tests: build a one-page program and read its images.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "CodeListing.h"
#include "EngineFixture.h"
#include "Plexor.h"
#include "PlexorCompiler.h"

namespace vt {

using Bytes = std::vector<int>;

inline Bytes Image(PlexorHandle e, bool simulation) {
  const CPlexorCompiler& c = simulation ? *e->SimulationCompiler : *e->DownloadCompiler;
  return Bytes(c.Code.data(), c.Code.data() + c.Length());
}

// The download image of page 1 without the trailing END.
inline Bytes Body(PlexorHandle e) {
  Bytes b = Image(e, false);
  if (!b.empty() && b.back() == 255) b.pop_back();
  return b;
}

// Bytes of instructions written as in the code listing, one per text:
// Asm({"LDI 2", "LDI 3", "ADD", "PRINTNUM"}).
inline Bytes Asm(std::initializer_list<const char*> instructions) {
  std::vector<uint8_t> bytes;
  for (const char* text : instructions) EXPECT_TRUE(AssembleInstruction(text, bytes)) << text;
  return Bytes(bytes.begin(), bytes.end());
}

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace vt
