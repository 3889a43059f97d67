// TSerialPort: the serial line a download goes out on, opened the way the
// loader needs it and held exclusively while the station uses it.
//
// The device is opened for reading and writing, never as the controlling
// terminal, without waiting for a carrier (the open itself is non-blocking,
// the descriptor blocking afterwards), and exclusively twice over: TIOCEXCL
// keeps other programs from opening the tty, and an advisory flock keeps a
// second station away even where TIOCEXCL does not hold (a privileged user).
#pragma once

#include <QString>

class TSerialPort {
 public:
  TSerialPort() = default;
  ~TSerialPort() { Close(); }
  TSerialPort(const TSerialPort&) = delete;
  TSerialPort& operator=(const TSerialPort&) = delete;

  // False with the system error code in Error() when the device cannot be
  // opened, is no terminal (ENOTTY) or is in use (EBUSY).
  bool Open(const QString& device);
  // Gives the line back: exclusive mode off, lock released, closed.
  void Close();

  bool IsOpen() const { return fd_ >= 0; }
  int Handle() const { return fd_; }
  int Error() const { return error_; }

  // A short German explanation of an opening error for a device.
  static QString Explain(int error, const QString& device);

 private:
  int fd_ = -1;
  int error_ = 0;
};
