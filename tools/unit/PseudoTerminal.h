// CPseudoTerminal: the line between the emulated unit and the loader.
//
// The unit owns the master side; the slave side is an ordinary tty that the
// loader (or the station) opens by its path. The unit keeps a slave
// descriptor of its own open so the line survives clients coming and going,
// and puts the line in raw mode so nothing is echoed or translated before a
// client configures it.
#pragma once

#include <string>

class CPseudoTerminal {
 public:
  CPseudoTerminal() = default;
  ~CPseudoTerminal();
  CPseudoTerminal(const CPseudoTerminal&) = delete;
  CPseudoTerminal& operator=(const CPseudoTerminal&) = delete;

  // Creates the pair. On failure returns false and leaves nothing open.
  bool Open();

  int Master() const { return MasterFd; }
  const std::string& Path() const { return SlavePath; }
  bool IsOpen() const { return MasterFd >= 0; }

  // Closes the master: every client of the slave side sees a hang-up.
  void HangUp();

 private:
  int MasterFd = -1;
  int KeepAliveFd = -1;
  std::string SlavePath;
};
