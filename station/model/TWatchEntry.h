// TWatchEntry: one watched variable of the simulated unit.
#pragma once

#include <QString>
#include <cstdint>

struct TWatchEntry {
  QString Name;         // the engine's symbolic name
  bool Valid = true;
  bool Changed = false;  // the value changed at the last refresh
  int32_t Value = 0;
  int32_t MapCode = 0;

  QString DisplayText() const { return QString::number(Value); }
};
