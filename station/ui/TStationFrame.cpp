#include "TStationFrame.h"

namespace {
TStationFrame* current = nullptr;
}

TStationFrame* TStationFrame::Current() { return current; }

void TStationFrame::SetCurrent(TStationFrame* frame) { current = frame; }
