// The exports of the engine object, its pages, blocks and wires.
#include <cstring>
#include <memory>
#include <new>

#include "Block.h"
#include "BlockFactory.h"
#include "ExportGuard.h"
#include "ParamDialogs.h"
#include "Plexor.h"
#include "plexor.h"

// The engine-owned text buffers hold any text they are given.
static_assert(sizeof(CPlexor::MenuFlags) > kMaxBlockInputs, "one flag per input and the terminator");

PLEXOR_API PlexorHandle PlexorCreate(void) try {
  static_assert(sizeof(std::atomic<int32_t>) == 4 && std::atomic<int32_t>::is_always_lock_free);
  // The constructor allocates the code buffers; when one of them fails it
  // frees what it already has and the exception ends here.
  return new CPlexor();
} PLEXOR_CATCH(nullptr)

PLEXOR_API void PlexorDestroy(PlexorHandle engine) try {
  delete engine;
} PLEXOR_CATCH_VOID

PLEXOR_API const char* PlexorGetErrorMessage(PlexorHandle engine) try {
  return engine ? engine->ErrorText : nullptr;
} PLEXOR_CATCH(nullptr)

PLEXOR_API int32_t PlexorGetProgress(PlexorHandle engine) try {
  if (!engine) return 0;
  int32_t total = engine->ProgressTotal.load(std::memory_order_relaxed);
  if (total == 0) return 0;
  int64_t done = engine->Progress.load(std::memory_order_relaxed);
  return static_cast<int32_t>(done * 100 / total);
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorBreak(PlexorHandle engine) try {
  if (engine) engine->BreakRequested.store(1, std::memory_order_relaxed);
} PLEXOR_CATCH_VOID

// ---- pages ---------------------------------------------------------------

PLEXOR_API int32_t PlexorAddPage(PlexorHandle engine, int32_t page, int32_t after) try {
  if (!engine || engine->FindPage(page)) return 0;
  auto item = std::make_unique<CPlexorPage>();
  engine->Pages.add(item.get(), page);
  item.release();  // owned by the collection now
  engine->Pages.move(page, after);
  return 1;
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorRemovePage(PlexorHandle engine, int32_t page) try {
  if (!engine) return;
  auto* node = engine->Pages.find(page);
  if (!node) return;
  CPlexorPage* item = node->item;
  if (item->hasName) {
    auto named = engine->PageNames.find(item->name);
    if (named != engine->PageNames.end() && named->second == item) engine->PageNames.erase(named);
  }
  delete engine->Pages.unlink(node);
} PLEXOR_CATCH_VOID

PLEXOR_API int32_t PlexorSetPageName(PlexorHandle engine, int32_t page, const char* name) try {
  if (!engine) return 0;
  CPlexorPage* target = engine->FindPage(page);
  if (!target) return 0;
  // A name is held by at most one page, so the first page from the front
  // with that name is the one in the index.
  if (name) {
    auto holder = engine->PageNames.find(name);
    if (holder != engine->PageNames.end() && holder->second != target) return 0;
  }
  if (target->hasName) {
    auto own = engine->PageNames.find(target->name);
    if (own != engine->PageNames.end() && own->second == target) engine->PageNames.erase(own);
  }
  target->name = name ? name : "";  // may throw: the flag follows the text
  target->hasName = name != nullptr;
  if (name) engine->PageNames[target->name] = target;
  return 1;
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorClearPage(PlexorHandle engine, int32_t page) try {
  if (!engine) return;
  if (CPlexorPage* p = engine->FindPage(page)) p->blocks.clear();
} PLEXOR_CATCH_VOID

PLEXOR_API void PlexorMovePage(PlexorHandle engine, int32_t page, int32_t after) try {
  if (engine) engine->Pages.move(page, after);
} PLEXOR_CATCH_VOID

// ---- blocks --------------------------------------------------------------

PLEXOR_API int32_t PlexorAddBlock(PlexorHandle engine, int32_t type, int32_t block) try {
  if (!engine) return 0;
  CPlexorPage* page = engine->PageOfBlock(block);
  if (!page || page->blocks.find(block)) return 0;
  std::unique_ptr<CBlock> item(CreateBlock(type, block));
  if (!item) return 0;
  page->blocks.add(item.get(), block);
  item.release();  // owned by the page now
  return 1;
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorRemoveBlock(PlexorHandle engine, int32_t block) try {
  if (!engine) return;
  CPlexorPage* page = engine->PageOfBlock(block);
  if (!page) return;
  auto* node = page->blocks.find(block);
  if (!node) return;
  CBlock* removed = page->blocks.unlink(node);
  for (int i = 0; i < removed->InputSlots(); ++i) removed->SplitInput(i);
  for (auto* n = page->blocks.firstNode(); n; n = n->next) {
    CBlock* other = n->item;
    if (other->WiredInputs == 0) continue;
    for (int i = 0; i < other->InputSlots(); ++i)
      if (other->Inputs[i] == removed) {
        other->Inputs[i] = nullptr;
        --other->WiredInputs;
      }
  }
  delete removed;
} PLEXOR_CATCH_VOID

PLEXOR_API int32_t PlexorHasBlockUserBitmap(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b && b->UserBitmap ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorEditBlockParam(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b && b->EditParam() ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorSetBlockParam(PlexorHandle engine, int32_t block, const char* param) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b && b->SetParam(param ? param : "") ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API const char* PlexorGetBlockParam(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b ? b->GetParam() : nullptr;
} PLEXOR_CATCH(nullptr)

PLEXOR_API const char* PlexorGetIndexDescription(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b ? b->GetIndexDescription() : nullptr;
} PLEXOR_CATCH(nullptr)

PLEXOR_API const char* PlexorGetSymbolicName(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  if (!b) return nullptr;
  std::string name = b->GetSymbolicName();
  if (name.empty()) return nullptr;
  std::strncpy(engine->SymbolicName, name.c_str(), sizeof engine->SymbolicName - 1);
  return engine->SymbolicName;
} PLEXOR_CATCH(nullptr)

PLEXOR_API int32_t PlexorGetMapCode(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b ? b->GetMapCode() : 0;
} PLEXOR_CATCH(0)

// ---- wires ---------------------------------------------------------------

PLEXOR_API int32_t PlexorCanConnectBlocks(PlexorHandle engine, int32_t source, int32_t target) try {
  if (!engine) return 0;
  CBlock* from = engine->FindBlock(source);
  if (!from) return 0;
  if (target == 0) return from->CanConnect(nullptr) ? 1 : 0;
  CBlock* to = engine->FindBlock(target);
  if (!to || engine->PageOfBlock(source) != engine->PageOfBlock(target)) return 0;
  return to->CanConnect(from) ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API const char* PlexorGetBlockInputMenu(PlexorHandle engine, int32_t block) try {
  CBlock* b = engine ? engine->FindBlock(block) : nullptr;
  return b ? b->InputMenu : nullptr;
} PLEXOR_CATCH(nullptr)

PLEXOR_API const char* PlexorGetBlockInputMenuFlags(PlexorHandle engine, int32_t source, int32_t target) try {
  if (!engine) return nullptr;
  CBlock* from = engine->FindBlock(source);
  CBlock* to = engine->FindBlock(target);
  if (!from || !to) return nullptr;
  std::string flags = to->MenuFlags(*from);
  std::memset(engine->MenuFlags, 0, sizeof engine->MenuFlags);
  std::memcpy(engine->MenuFlags, flags.data(), flags.size());
  return engine->MenuFlags;
} PLEXOR_CATCH(nullptr)

PLEXOR_API int32_t PlexorConnectBlocks(PlexorHandle engine, int32_t source, int32_t target, int32_t input) try {
  if (!engine) return -1;
  CBlock* from = engine->FindBlock(source);
  CBlock* to = engine->FindBlock(target);
  // Wires stay inside one page: removing a block only looks there.
  if (!from || !to || engine->PageOfBlock(source) != engine->PageOfBlock(target)) return -1;
  int index = static_cast<int16_t>(input);
  if (index == -1) {
    index = 0;
    while (index < to->InputSlots() && to->Inputs[index]) ++index;
  }
  if (index < 0 || index >= to->InputSlots() || to->Inputs[index]) return -1;
  to->ConnectInput(index, from);
  static constexpr int32_t kKinds[9] = {0, 1, 2, 0, 3, 0, 0, 0, 4};
  int32_t kind = from->OutputKind <= 8 ? kKinds[from->OutputKind] : 0;
  return kind | (index << 16);
} PLEXOR_CATCH(-1)

PLEXOR_API void PlexorSplitBlockConnection(PlexorHandle engine, int32_t target, int32_t input) try {
  CBlock* to = engine ? engine->FindBlock(target) : nullptr;
  if (!to) return;
  int index = static_cast<int16_t>(input);
  if (index >= 0 && index < to->InputSlots()) to->SplitInput(index);
} PLEXOR_CATCH_VOID

// ---- small value exports of the simulated unit -----------------------------

PLEXOR_API int32_t PlexorGetPortState(PlexorHandle engine) try {
  if (!engine) return 0;
  return static_cast<int32_t>((static_cast<uint32_t>(engine->Unit.PortOutputs) << 16) | engine->Unit.Ports);
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorSetInitialPortState(PlexorHandle engine, int32_t state) try {
  if (!engine) return 0;
  engine->Unit.InitialPorts = static_cast<uint16_t>(state);
  return engine->Unit.InitialPorts;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorGetInitialPortState(PlexorHandle engine) try {
  return engine ? engine->Unit.InitialPorts : 0;
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorSetPort(PlexorHandle engine, int32_t port, int32_t level) try {
  if (!engine) return;
  uint16_t bit = static_cast<uint16_t>(port);
  if (bit >= 16) return;
  if (level & 0xFF) engine->Unit.Ports |= static_cast<uint16_t>(1u << bit);
  else engine->Unit.Ports &= static_cast<uint16_t>(~(1u << bit));
} PLEXOR_CATCH_VOID

PLEXOR_API int32_t PlexorGetADC(PlexorHandle engine, int32_t channel) try {
  uint16_t c = static_cast<uint16_t>(channel);
  return engine && c < 8 ? engine->Unit.Analog[c] : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorSetADC(PlexorHandle engine, int32_t channel, int32_t value) try {
  uint16_t c = static_cast<uint16_t>(channel);
  if (!engine || c >= 8) return 0;
  engine->Unit.Analog[c] = static_cast<uint8_t>(value);
  return engine->Unit.Analog[c];
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorGetDAC(PlexorHandle engine, int32_t index) try {
  uint16_t i = static_cast<uint16_t>(index);
  return engine && i < 2 ? engine->Unit.AnalogOut[i] : 0;
} PLEXOR_CATCH(0)

PLEXOR_API const char* PlexorGetLCD(PlexorHandle) try {
  return "";
} PLEXOR_CATCH("")
PLEXOR_API const char* PlexorGetLED(PlexorHandle) try {
  return "";
} PLEXOR_CATCH("")

PLEXOR_API int32_t PlexorGetFreq(PlexorHandle engine) try {
  return engine ? engine->Unit.Frequency : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorSetFreq(PlexorHandle engine, int32_t hertz) try {
  if (!engine) return 0;
  engine->Unit.Frequency = static_cast<uint16_t>(hertz);
  return engine->Unit.Frequency;
} PLEXOR_CATCH(0)
