// Helpers for compiler tests: build a one-page program and read its images.
#pragma once

#include <vector>

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

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace vt
