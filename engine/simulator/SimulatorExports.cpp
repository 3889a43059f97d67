// Placeholder exports of the simulator until the interpreter lands.
#include "Plexor.h"
#include "plexor.h"

PLEXOR_API int32_t PlexorSetOptions(PlexorHandle engine, int32_t options) {
  if (!engine) return 0;
  engine->Options = options;
  return options;
}
PLEXOR_API void PlexorResetProgram(PlexorHandle) {}
PLEXOR_API int32_t PlexorStep(PlexorHandle) { return PLEXOR_STEP_ERROR; }
PLEXOR_API int32_t PlexorGetValue(PlexorHandle, int32_t) { return 0; }
PLEXOR_API int32_t PlexorSetValue(PlexorHandle, int32_t, int32_t) { return 0; }
PLEXOR_API int32_t PlexorGetFileLength(PlexorHandle) { return 0; }
PLEXOR_API int32_t PlexorDumpFile(PlexorHandle, uint16_t*) { return 0; }
PLEXOR_API void PlexorSetInputValue(PlexorHandle, int32_t) {}
PLEXOR_API const char* PlexorGetOutputString(PlexorHandle) { return ""; }
