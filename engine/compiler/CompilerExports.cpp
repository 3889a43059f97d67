// The compile exports: Init, Compile, LoadTable, Done. Every CompileError is
// caught here and turned into ErrorText and a plain failure value; nothing
// escapes the library.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "CodeListing.h"
#include "ExportGuard.h"
#include "Plexor.h"
#include "PlexorCompiler.h"
#include "plexor.h"

namespace {

// The compile job's steps must come in order; a step out of order fails
// instead of handing the simulator or the loader a half-built image.
namespace JobState {
enum : int32_t { Idle, Initialised, Compiled, Failed };
}

int32_t& StateOf(CPlexor& engine) { return engine.CompileState; }

void Fail(CPlexor& engine, const char* message) {
  engine.SetError(message);
  StateOf(engine) = JobState::Failed;
}

// Runs one step of the job on both compilers, the download compiler first.
// False when the job is not in the state the step needs or the step threw;
// the engine then holds the message and `blockId` the block at fault (-1:
// none). Anything but a CompileError is the unknown compiler error.
template <typename Step>
bool RunStep(CPlexor& engine, int32_t required, Step step, int32_t& blockId) {
  blockId = -1;
  if (StateOf(engine) != required) {
    Fail(engine, compile_msg::kUnknown);
    return false;
  }
  try {
    step(*engine.DownloadCompiler);
    step(*engine.SimulationCompiler);
    return true;
  } catch (const CompileError& e) {
    Fail(engine, e.Message.c_str());
    blockId = e.BlockId;
  } catch (...) {
    Fail(engine, compile_msg::kUnknown);
  }
  return false;
}

// The listing goes to a fresh file beside CODE.TXT and is renamed into place
// only when it is complete, so a full disk or a file-size limit never leaves
// a partial listing; after a failure no CODE.TXT remains at all, and an
// older one cannot pass for this compile.
bool WriteListing(const CPlexorCompiler& download) {
  static const char kListing[] = "CODE.TXT";
  char temporary[64];
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    std::snprintf(temporary, sizeof temporary, "CODE.TXT.%ld-%d.tmp", static_cast<long>(::getpid()), attempt);
    fd = ::open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    ::unlink(kListing);
    return false;
  }
  std::string text;
  text.reserve(static_cast<size_t>(download.Length()) * 4);
  const uint8_t* code = download.Code.data();
  for (int32_t i = 0; i < download.Length(); ++i) {
    text += std::to_string(code[i]);
    text += ' ';
  }
  bool ok = true;
  for (size_t done = 0; ok && done < text.size();) {
    ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<size_t>(n);
  }
  ok = ::close(fd) == 0 && ok;
  if (ok && std::rename(temporary, kListing) == 0) return true;
  ::unlink(temporary);
  ::unlink(kListing);
  return false;
}

// The simulation image is copied behind the header without a length check.
static_assert(kUnitAddressBase + kCodeCapacity <= kUnitMemorySize, "the largest image fits the unit memory");

void LoadSimulatedUnit(CPlexor& engine) {
  CUnitModel& unit = engine.Unit;
  const CPlexorCompiler& sim = *engine.SimulationCompiler;
  uint16_t length = static_cast<uint16_t>(engine.DownloadCompiler->Length());
  unit.Memory[0] = static_cast<uint8_t>(length >> 8);
  unit.Memory[1] = static_cast<uint8_t>(length & 0xFF);
  unit.Memory[2] = 0;
  unit.Memory[3] = 0;
  std::memcpy(unit.Memory + kUnitAddressBase, sim.Code.data(), static_cast<size_t>(sim.Length()));
  unit.ImageLength = sim.Length();
}

}  // namespace

PLEXOR_API int32_t PlexorCompilerInit(PlexorHandle engine) try {
  if (!engine) return 0;
  engine->DownloadCompiler->Init();
  engine->SimulationCompiler->Init();
  engine->DownloadImage = nullptr;
  engine->DownloadLength = 0;
  StateOf(*engine) = JobState::Initialised;
  return 1;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorCompile(PlexorHandle engine) try {
  if (!engine) return -1;
  engine->Progress.store(0, std::memory_order_relaxed);
  engine->ProgressTotal.store(2 * engine->Pages.count(), std::memory_order_relaxed);
  engine->BreakRequested.store(0, std::memory_order_relaxed);
  int32_t blockId;
  if (!RunStep(*engine, JobState::Initialised, [](CPlexorCompiler& c) { c.CompilePages(); }, blockId)) return blockId;
  StateOf(*engine) = JobState::Compiled;
  return 0;
} PLEXOR_CATCH(-1)

PLEXOR_API int32_t PlexorLoadTable(PlexorHandle engine, const char* name, const char* text) try {
  if (!engine) return 0;
  int32_t blockId;
  return RunStep(*engine, JobState::Compiled, [name, text](CPlexorCompiler& c) { c.LoadTable(name, text); }, blockId) ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorCompilerDone(PlexorHandle engine) try {
  if (!engine) return 0;
  int32_t blockId;
  if (!RunStep(*engine, JobState::Compiled, [](CPlexorCompiler& c) { c.ResolveFixups(); }, blockId)) return 0;
  LoadSimulatedUnit(*engine);
  // A listing that cannot be written is reported, not passed over: the
  // station shows the message and the image is neither sent nor offered.
  if (!WriteListing(*engine->DownloadCompiler)) {
    Fail(*engine, "Die Datei CODE.TXT konnte nicht geschrieben werden");
    return 0;
  }
  engine->DownloadImage = engine->DownloadCompiler->Code.data();
  engine->DownloadLength = engine->DownloadCompiler->Length();
  StateOf(*engine) = JobState::Idle;
  return 1;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorGetCodeLength(PlexorHandle engine) try {
  return engine ? engine->DownloadCompiler->Length() : 0;
} PLEXOR_CATCH(0)

PLEXOR_API const char* PlexorGetListing(PlexorHandle engine) try {
  if (!engine || !engine->DownloadImage) return nullptr;
  CPlexorCompiler& download = *engine->DownloadCompiler;
  std::vector<CListingLabel> labels;
  for (const auto& label : download.Labels) labels.push_back({label.name, label.offset});
  download.ListingText = ListCode(download.Code.data(), download.Length(), download.CodeEnd, labels);
  return download.ListingText.c_str();
} PLEXOR_CATCH(nullptr)
