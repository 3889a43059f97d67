#include "TSimulatedInputs.h"

TSimulatedInputs& TSimulatedInputs::Current() {
  static TSimulatedInputs inputs;
  return inputs;
}
