// TSimulationHost: what the simulation run control asks of the windows
// around it — showing the watch list and the terminal, refreshing the port
// panels, and letting the application run its idle processing while the
// simulated program waits. The shell implements it; without one nothing is
// shown. Time comes from here too, so tests control waits and pauses.
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
  // Whether window messages are queued (during a wait the driver then lets
  // the application handle them).
  virtual bool MessagesPending() { return false; }
  // One pass of the application's idle processing.
  virtual void RunIdleOnce() {}
  // Milliseconds since an arbitrary start, and a sleep.
  virtual int64_t Milliseconds();
  virtual void Sleep(int milliseconds);

  // The host set by the shell or a test (not owned); a silent one otherwise.
  static TSimulationHost& Current();
  static void SetCurrent(TSimulationHost* host);
};
