// Placeholder export of the loader until the serial download lands.
#include "Plexor.h"
#include "plexor.h"

PLEXOR_API int32_t PlexorDownload(PlexorHandle, int32_t) { return PLEXOR_DL_NOT_COMPILED; }
