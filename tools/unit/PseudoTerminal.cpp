#include "PseudoTerminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

CPseudoTerminal::~CPseudoTerminal() { HangUp(); }

bool CPseudoTerminal::Open() {
  HangUp();
  MasterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
  if (MasterFd < 0) return false;
  char name[128];
  if (::grantpt(MasterFd) != 0 || ::unlockpt(MasterFd) != 0 || ::ptsname_r(MasterFd, name, sizeof name) != 0) {
    HangUp();
    return false;
  }
  SlavePath = name;
  KeepAliveFd = ::open(name, O_RDWR | O_NOCTTY);
  if (KeepAliveFd < 0) {
    HangUp();
    return false;
  }
  termios tio{};
  if (::tcgetattr(KeepAliveFd, &tio) == 0) {
    ::cfmakeraw(&tio);
    ::tcsetattr(KeepAliveFd, TCSANOW, &tio);
  }
  int flags = ::fcntl(MasterFd, F_GETFL);
  if (flags != -1) ::fcntl(MasterFd, F_SETFL, flags | O_NONBLOCK);
  return true;
}

void CPseudoTerminal::HangUp() {
  if (MasterFd >= 0) ::close(MasterFd);
  if (KeepAliveFd >= 0) ::close(KeepAliveFd);
  MasterFd = KeepAliveFd = -1;
}
