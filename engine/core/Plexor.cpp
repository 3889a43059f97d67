#include "Plexor.h"

#include <cstring>

CPlexor::CPlexor() {
  std::memset(ErrorText, 0, sizeof ErrorText);
  // A destructor does not run for a constructor that throws: free the first
  // compiler when the second cannot be allocated.
  DownloadCompiler = NewPlexorCompiler(*this, false);
  try {
    SimulationCompiler = NewPlexorCompiler(*this, true);
  } catch (...) {
    DeletePlexorCompiler(DownloadCompiler);
    throw;
  }
}

CPlexor::~CPlexor() {
  Pages.clear();
  DeletePlexorCompiler(DownloadCompiler);
  DeletePlexorCompiler(SimulationCompiler);
}

void CPlexor::SetError(const char* message) {
  std::memset(ErrorText, 0, sizeof ErrorText);
  if (message) std::strncpy(ErrorText, message, sizeof ErrorText - 1);
}

CPlexorPage* CPlexor::PageOfBlock(int32_t blockId) const {
  return FindPage(static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16));
}

CBlock* CPlexor::FindBlock(int32_t blockId) const {
  CPlexorPage* page = PageOfBlock(blockId);
  return page ? page->blocks.findItem(blockId) : nullptr;
}
