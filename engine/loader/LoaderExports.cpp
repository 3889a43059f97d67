// The loader's export: a download with the unit's real time-outs.
#include "ExportGuard.h"
#include "Plexor.h"
#include "SerialLoader.h"
#include "plexor.h"

PLEXOR_API int32_t PlexorDownload(PlexorHandle engine, int32_t port) try {
  if (!engine) return PLEXOR_DL_NOT_COMPILED;
  return CSerialLoader(*engine, LoaderTimeouts{}).Download(port);
} PLEXOR_CATCH(PLEXOR_DL_NOT_COMPILED)
