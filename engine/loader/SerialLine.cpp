#include "SerialLine.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// How often a wait looks at the abort flag.
constexpr int32_t kAbortSliceMs = 20;

int32_t MsLeft(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int32_t>(left);
}

}  // namespace

CSerialLine::~CSerialLine() {
  if (RestoreLowLatency) {
    serial_struct serial{};
    if (::ioctl(Fd, TIOCGSERIAL, &serial) == 0) {
      serial.flags &= ~ASYNC_LOW_LATENCY;
      ::ioctl(Fd, TIOCSSERIAL, &serial);
    }
  }
  if (RestoreFlags) ::fcntl(Fd, F_SETFL, SavedFlags);
}

bool CSerialLine::IsTerminal() const {
  if (Fd < 0 || ::fcntl(Fd, F_GETFL) == -1) return false;
  // A terminal whose line has hung up answers EIO; it is still a terminal,
  // and the download then fails as a unit that does not answer.
  return ::isatty(Fd) == 1 || errno == EIO;
}

void CSerialLine::Configure() {
  termios tio{};
  if (::tcgetattr(Fd, &tio) == 0) {
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    // 8 data bits, no parity, one stop bit; no hardware flow control, and the
    // modem status lines do not gate reception.
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    // Raw bytes: no parity check, no XON/XOFF, no break, CR or case mapping.
    tio.c_iflag &= ~(INPCK | IGNPAR | PARMRK | ISTRIP | IXON | IXOFF | IXANY | IGNBRK | BRKINT | INLCR | IGNCR | ICRNL | IUCLC);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ICANON | ECHO | ECHOE | ECHOK | ECHONL | ISIG | IEXTEN);
    // Reads never block in the driver; the time-outs are poll()'s.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(Fd, TCSANOW, &tio);
  }
  int lines = TIOCM_DTR | TIOCM_RTS;
  ::ioctl(Fd, TIOCMBIC, &lines);

  // One echo per byte makes the adapter's receive latency the cost of every
  // byte; USB serial drivers hold bytes back for milliseconds unless asked.
  serial_struct serial{};
  if (::ioctl(Fd, TIOCGSERIAL, &serial) == 0 && !(serial.flags & ASYNC_LOW_LATENCY)) {
    serial.flags |= ASYNC_LOW_LATENCY;
    RestoreLowLatency = ::ioctl(Fd, TIOCSSERIAL, &serial) == 0;
  }

  // Non-blocking so that no read or write can stall past its time-out; the
  // caller's own mode comes back afterwards.
  int flags = ::fcntl(Fd, F_GETFL);
  if (flags != -1 && !(flags & O_NONBLOCK) && ::fcntl(Fd, F_SETFL, flags | O_NONBLOCK) == 0) {
    SavedFlags = flags;
    RestoreFlags = true;
  }
}

int CSerialLine::WaitFor(short events, int32_t timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    pollfd p{Fd, events, 0};
    int n = ::poll(&p, 1, MsLeft(deadline));
    if (n > 0) return p.revents;
    if (n == 0) return 0;
    if (errno != EINTR) return -1;
  }
}

CSerialLine::ReadResult CSerialLine::ReadByte(uint8_t* byte, int32_t timeoutMs, const std::atomic<int32_t>* abort) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    if (abort && abort->load(std::memory_order_relaxed)) return ReadResult::Aborted;
    int32_t left = MsLeft(deadline);
    int32_t slice = abort && left > kAbortSliceMs ? kAbortSliceMs : left;
    int ev = WaitFor(POLLIN, slice);
    if (ev < 0) return ReadResult::Failed;
    // A byte that arrived just before the line went down still counts.
    if (ev & POLLIN) {
      ssize_t n = ::read(Fd, byte, 1);
      if (n == 1) return ReadResult::Byte;
      // Readable but nothing to read is how a terminal reports hang-up.
      if (n == 0) return ReadResult::Failed;
      if (errno != EINTR && errno != EAGAIN) return ReadResult::Failed;
      // Someone else took the byte or a signal came: wait on, within time.
    } else if (ev & (POLLHUP | POLLERR | POLLNVAL)) {
      return ReadResult::Failed;
    }
    if (left == 0 || MsLeft(deadline) == 0) {
      if (abort && abort->load(std::memory_order_relaxed)) return ReadResult::Aborted;
      return ReadResult::Nothing;
    }
  }
}

CSerialLine::WriteResult CSerialLine::WriteByte(uint8_t byte, int32_t limitMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(limitMs < 0 ? 0 : limitMs);
  for (;;) {
    ssize_t n = ::write(Fd, &byte, 1);
    if (n == 1) return WriteResult::Written;
    if (n < 0 && errno == EINTR) continue;
    if (n == 0 || errno != EAGAIN) return WriteResult::Failed;
    // The output queue is full: wait until the line takes more.
    int32_t left = MsLeft(deadline);
    if (left == 0) return WriteResult::Failed;
    int ev = WaitFor(POLLOUT, left);
    if (ev < 0 || (ev & (POLLERR | POLLNVAL | POLLHUP))) return WriteResult::Failed;
  }
}
