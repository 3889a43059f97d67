// TSimulationHost: what the simulation run control asks of the windows
// around it — showing the watch list and the terminal, refreshing the port
// panels, and handing on the unit's serial output. The shell implements it;
// without one nothing is shown. The time of program pauses comes from here
// too, so tests control pauses.
#pragma once

#include <cstdint>

class TSimulationHost {
 public:
  virtual ~TSimulationHost() = default;
  virtual void ShowWatchWindow() {}
  virtual void ShowTerminal() {}
  virtual void RefreshPortPanels() {}
  // The serial output of the unit as it arrives, raw (Windows-1252, CR LF).
  virtual void OutputArrived(const char* /*bytes*/) {}
  // Milliseconds since an arbitrary start, and a sleep (only callers
  // without an event loop sleep through a pause).
  virtual int64_t Milliseconds();
  virtual void Sleep(int milliseconds);

  // The host set by the shell or a test (not owned); a silent one otherwise.
  static TSimulationHost& Current();
  static void SetCurrent(TSimulationHost* host);
};
