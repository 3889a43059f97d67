// CPlexor: one engine object per open project.
//
// The error text is the first member, so the engine handle doubles as the
// pointer to the last error message. Progress, ProgressTotal and
// BreakRequested are the only fields touched by a second thread (the station
// polls progress and requests a break while a compile or download runs), so
// they are lock-free 32-bit atomics.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <unordered_map>

#include "PlexorPage.h"
#include "UnitModel.h"
#include "XXCollection.h"

class CPlexorCompiler;

// The compilers belong to the compiler subsystem; the engine object only
// holds them. These are defined there.
CPlexorCompiler* NewPlexorCompiler(class CPlexor& engine, bool emitMarkers);
void DeletePlexorCompiler(CPlexorCompiler* compiler);

class CPlexor {
 public:
  char ErrorText[256];
  int32_t Options = 0;  // PLEXOR_OPTION_* bits
  XXCollection<CPlexorPage> Pages;
  CPlexorCompiler* DownloadCompiler = nullptr;
  CPlexorCompiler* SimulationCompiler = nullptr;
  CUnitModel Unit;
  std::atomic<int32_t> Progress{0};
  std::atomic<int32_t> ProgressTotal{0};
  std::atomic<int32_t> BreakRequested{0};

  // Set by a successful PlexorCompilerDone, cleared by PlexorCompilerInit:
  // the resolved download image the loader sends.
  const uint8_t* DownloadImage = nullptr;
  int32_t DownloadLength = 0;
  // Where the compile job stands (owned by the compiler's exports).
  int32_t CompileState = 0;

  // Engine-owned texts handed out through the interface.
  char MenuFlags[24] = {};
  char SymbolicName[16] = {};

  // The page holding each page name (names are unique among pages), so
  // that naming a page does not compare against every other page.
  std::unordered_map<std::string, CPlexorPage*> PageNames;

  CPlexor();
  ~CPlexor();
  CPlexor(const CPlexor&) = delete;
  CPlexor& operator=(const CPlexor&) = delete;

  // Stores a message, cut to 255 characters.
  void SetError(const char* message);

  CPlexorPage* FindPage(int32_t pageId) const { return Pages.findItem(pageId); }
  // A block is looked up through the page named by the high 16 bits of its id.
  CPlexorPage* PageOfBlock(int32_t blockId) const;
  CBlock* FindBlock(int32_t blockId) const;
};
