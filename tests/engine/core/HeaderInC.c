/* The exported header is C: this file compiles it as C and uses its
 * unpacking macros, so a C++-only construct in it breaks the build. */
#include "plexor.h"

int32_t HeaderInCStepStatus(int32_t result) { return PLEXOR_STEP_STATUS(result); }
int32_t HeaderInCStepArg(int32_t result) { return PLEXOR_STEP_ARG(result); }
int32_t HeaderInCConnInput(int32_t result) { return PLEXOR_CONN_INPUT(result); }
