// The simulator's exports: options, reset, step, value access, serial
// terminal and data file. Each call works on the unit model inside the
// engine object; a null handle does nothing and returns 0.
#include <cstring>

#include "DataFile.h"
#include "ExportGuard.h"
#include "Plexor.h"
#include "UnitInterpreter.h"
#include "ValueAccess.h"
#include "plexor.h"

static_assert(CUnitInterpreter::kRealTime == PLEXOR_OPTION_REALTIME &&
                  CUnitInterpreter::kPauseToCaller == PLEXOR_OPTION_PAUSE_TO_CALLER &&
                  CUnitInterpreter::kVirtualTime == PLEXOR_OPTION_VIRTUAL_TIME &&
                  CUnitInterpreter::kFixedDate == PLEXOR_OPTION_FIXED_DATE,
              "the interpreter reads the option bits of the interface");

PLEXOR_API int32_t PlexorSetOptions(PlexorHandle engine, int32_t options) try {
  if (!engine) return 0;
  const bool wasVirtual = (engine->Options & PLEXOR_OPTION_VIRTUAL_TIME) != 0;
  engine->Options = options;
  if (!wasVirtual && (options & PLEXOR_OPTION_VIRTUAL_TIME) != 0)
    CUnitInterpreter(engine->Unit, options).SwitchToVirtualTime();
  return options;
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorResetProgram(PlexorHandle engine) try {
  if (!engine) return;
  CUnitInterpreter(engine->Unit, engine->Options).Reset();
} PLEXOR_CATCH_VOID

PLEXOR_API int32_t PlexorStep(PlexorHandle engine) try {
  if (!engine) return PLEXOR_STEP_ERROR;
  return static_cast<int32_t>(CUnitInterpreter(engine->Unit, engine->Options).Step());
} PLEXOR_CATCH(PLEXOR_STEP_ERROR)

PLEXOR_API int32_t PlexorGetValue(PlexorHandle engine, int32_t mapCode) try {
  return engine ? valueaccess::Get(engine->Unit, mapCode) : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorSetValue(PlexorHandle engine, int32_t mapCode, int32_t value) try {
  return engine && valueaccess::Set(engine->Unit, mapCode, value) ? 1 : 0;
} PLEXOR_CATCH(0)

PLEXOR_API int32_t PlexorGetFileLength(PlexorHandle engine) try {
  return engine ? engine->Unit.FileLength / 2 : 0;
} PLEXOR_CATCH(0)

// The file lies between the header and the end of the unit's memory, so a
// buffer of PLEXOR_FILE_MAX_WORDS words always holds it.
static_assert((kUnitMemorySize - 4) / 2 <= PLEXOR_FILE_MAX_WORDS, "the documented dump buffer holds every file");

PLEXOR_API int32_t PlexorDumpFile(PlexorHandle engine, uint16_t* words) try {
  if (!engine || !words) return 0;
  return datafile::Dump(engine->Unit, words);
} PLEXOR_CATCH(0)

PLEXOR_API void PlexorSetInputValue(PlexorHandle engine, int32_t value) try {
  if (!engine) return;
  engine->Unit.InputValue = static_cast<uint16_t>(value);
  engine->Unit.WaitingForInput = 0;
} PLEXOR_CATCH_VOID

PLEXOR_API const char* PlexorGetOutputString(PlexorHandle engine) try {
  if (!engine) return "";
  CUnitModel& u = engine->Unit;
  int32_t n = u.OutputLength;
  if (n < 0) n = 0;
  if (n > kOutputTextSize - 1) n = kOutputTextSize - 1;
  u.OutputText[n] = '\0';
  u.OutputLength = 0;
  return u.OutputText;
} PLEXOR_CATCH("")
