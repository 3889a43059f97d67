#include "UserInterface.h"

namespace {
TUserInterface* g_current = nullptr;
}  // namespace

TUserInterface& TUserInterface::Current() {
  static TSilentUserInterface silent;
  return g_current ? *g_current : silent;
}

void TUserInterface::SetCurrent(TUserInterface* ui) { g_current = ui; }
