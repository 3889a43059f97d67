// A kit header that reaches up into the frame: the check must reject it.
#pragma once

#include "TFrame.h"
