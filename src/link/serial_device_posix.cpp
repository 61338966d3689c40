#include <fcntl.h>
#include <linux/serial.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "link/line_speed.h"
#include "link/port_lock_owner.h"
#include "link/serial_device.h"

namespace plumgr {

namespace {

std::string Reason(const std::string& path, int error) {
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return path + ": no such device";
    case EACCES:
    case EPERM:
      return path + ": permission denied";
    case EBUSY:
    case EWOULDBLOCK:
      return path + ": in use by another program" + PortLockOwner(path);
    default:
      return path + ": " + std::strerror(error);
  }
}

SerialDevice::OpenResult Refuse(int fd, std::string message, std::string detail) {
  if (fd >= 0) ::close(fd);
  SerialDevice::OpenResult result;
  result.Message = std::move(message);
  result.Detail = std::move(detail);
  return result;
}

tcflag_t ByteSizeFlag(TByteSize size) {
  switch (size) {
    case TByteSize::_5:
      return CS5;
    case TByteSize::_6:
      return CS6;
    case TByteSize::_7:
      return CS7;
    case TByteSize::_8:
      return CS8;
  }
  return CS8;
}

tcflag_t ParityFlags(TParity parity) {
  // Mark and space parity are a parity bit fixed at 1 or 0 (CMSPAR with PARODD for mark).
  switch (parity) {
    case TParity::None:
      return 0;
    case TParity::Odd:
      return PARENB | PARODD;
    case TParity::Even:
      return PARENB;
    case TParity::Mark:
      return PARENB | PARODD | CMSPAR;
    case TParity::Space:
      return PARENB | CMSPAR;
  }
  return 0;
}

bool SameSettings(const termios& wanted, const termios& got) {
  return wanted.c_iflag == got.c_iflag && wanted.c_cflag == got.c_cflag &&
         cfgetospeed(&wanted) == cfgetospeed(&got) && cfgetispeed(&wanted) == cfgetispeed(&got) &&
         std::memcmp(wanted.c_cc, got.c_cc, sizeof wanted.c_cc) == 0;
}

// Pseudo-terminals and some USB drivers have no modem lines or RS-485 mode.
bool Unsupported(int error) {
  return error == ENOTTY || error == EINVAL;
}

bool SetModemLine(int fd, int line, bool on) {
  if (::ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  return Unsupported(errno);
}

}  // namespace

std::string OpenFailureMessage(int error) {
  if (error == EACCES || error == EPERM) {
    return std::string(kErrorOpeningSerialPort) +
           "\nThis user may not use the port: add yourself to the dialout group "
           "(sudo usermod -aG dialout $USER), then log out and in again.";
  }
  return kErrorOpeningSerialPort;
}

std::uint32_t ErrorBits(const LineCounters& before, const LineCounters& after) {
  std::uint32_t bits = 0;
  if (after.BufferOverrun != before.BufferOverrun) bits |= kCommErrorInputOverflow;
  if (after.Overrun != before.Overrun) bits |= kCommErrorOverrun;
  if (after.Parity != before.Parity) bits |= kCommErrorParity;
  if (after.Frame != before.Frame) bits |= kCommErrorFrame;
  if (after.Break != before.Break) bits |= kCommErrorBreak;
  return bits;
}

std::uint32_t ModemBits(const LineCounters& before, const LineCounters& after) {
  std::uint32_t bits = 0;
  if (after.Ring != before.Ring) bits |= kModemRing;
  if (after.CarrierDetect != before.CarrierDetect) bits |= kModemCarrierDetect;
  return bits;
}

// Raw 8-bit mode is the starting point; the settings change only the bits they name.
void BuildTermios(termios& t, const CommLineSettings& s) {
  t.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK | ISTRIP);
  if (s.Outx_XonXoffFlow) t.c_iflag |= IXON;
  if (s.Inx_XonXoffFlow) t.c_iflag |= IXOFF;
  // With INPCK and neither IGNPAR nor PARMRK the driver hands over a zero byte in
  // place of one received with a parity error.
  if (s.ParityCheck) t.c_iflag |= INPCK;

  t.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  t.c_cflag |= CLOCAL | CREAD | ByteSizeFlag(s.ByteSize) | ParityFlags(s.Parity);
  // The UART sends 1.5 stop bits for CSTOPB with 5 data bits, 2 otherwise.
  if (s.StopBits != TStopBits::_1) t.c_cflag |= CSTOPB;
  if (s.Outx_CtsFlow || s.RtsControl == TRtsControl::RtsHandshake) t.c_cflag |= CRTSCTS;

  t.c_cc[VSTART] = static_cast<cc_t>(s.XonChar);
  t.c_cc[VSTOP] = static_cast<cc_t>(s.XoffChar);
  // A read returns what is there, and EAGAIN when nothing is (the descriptor is
  // non-blocking); 0 then only means the line was hung up.
  t.c_cc[VMIN] = 1;
  t.c_cc[VTIME] = 0;
}

SerialDevice::OpenResult SerialDevice::Open(const std::string& path) {
  // Programs that take a port by its lock file alone would share the line with us.
  if (std::string owner = PortLockOwner(path); !owner.empty())
    return Refuse(-1, kErrorOpeningSerialPort, path + ": in use by another program" + owner);
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Refuse(-1, OpenFailureMessage(errno), Reason(path, errno));

  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode) || !::isatty(fd)) {
    return Refuse(fd, kNotACommHandle, path + ": not a serial device");
  }
  // TIOCEXCL keeps other openers out (root excepted); the lock also stops a second
  // opening by root and by programs that lock instead.
  ::ioctl(fd, TIOCEXCL);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::ioctl(fd, TIOCNXCL);
    return Refuse(fd, kErrorOpeningSerialPort, Reason(path, error));
  }

  termios t{};
  if (::tcgetattr(fd, &t) != 0) return Refuse(fd, kCannotSetupCommBuffer, Reason(path, errno));
  ::cfmakeraw(&t);
  BuildTermios(t, CommLineSettings{});
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    const int error = errno;
    ::ioctl(fd, TIOCNXCL);
    return Refuse(fd, kCannotSetupCommBuffer, Reason(path, error));
  }
  OpenResult result;
  result.Device.reset(new SerialDevice(fd, path));
  return result;
}

SerialDevice::~SerialDevice() {
  if (rs485_enabled_) ApplyRs485(false);
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);  // also releases the lock
}

bool SerialDevice::Apply(const CommLineSettings& settings) {
  termios t{};
  if (::tcgetattr(fd_, &t) != 0) return false;
  BuildTermios(t, settings);
  bool ok = true;
  if (const auto speed = TermiosSpeed(settings.BaudRate)) {
    ::cfsetispeed(&t, *speed);
    ::cfsetospeed(&t, *speed);
  } else {
    ok = false;  // the previous speed stays
  }
  if (::tcsetattr(fd_, TCSANOW, &t) != 0) return false;
  // tcsetattr succeeds when any part was taken, so read back what the driver kept.
  termios got{};
  if (::tcgetattr(fd_, &got) != 0 || !SameSettings(t, got)) ok = false;
  return ApplyModemLines(settings) && ok;
}

bool SerialDevice::ApplyModemLines(const CommLineSettings& s) {
  bool ok = SetModemLine(fd_, TIOCM_DTR, s.DtrControl != TDtrControl::DtrDisable);
  // Under RTS/CTS flow the driver drives RTS itself.
  if (s.RtsControl != TRtsControl::RtsHandshake) {
    ok = SetModemLine(fd_, TIOCM_RTS, s.RtsControl != TRtsControl::RtsDisable) && ok;
  }
  const bool toggle = s.RtsControl == TRtsControl::RtsTransmissionAvailable;
  if (toggle != rs485_enabled_) ok = ApplyRs485(toggle) && ok;
  return ok;
}

bool SerialDevice::ApplyRs485(bool enable) {
  serial_rs485 rs485{};
  if (enable) rs485.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
  if (::ioctl(fd_, TIOCSRS485, &rs485) == 0) {
    rs485_enabled_ = enable;
    return true;
  }
  rs485_enabled_ = false;
  return Unsupported(errno);
}

void SerialDevice::Purge() {
  ::tcflush(fd_, TCIOFLUSH);
  ::tcflow(fd_, TCOON);
}

bool SerialDevice::Drain() const {
  while (::tcdrain(fd_) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

std::optional<LineCounters> SerialDevice::Counters() const {
  serial_icounter_struct c{};
  if (::ioctl(fd_, TIOCGICOUNT, &c) != 0) return std::nullopt;
  LineCounters counters;
  counters.Overrun = static_cast<std::uint32_t>(c.overrun);
  counters.BufferOverrun = static_cast<std::uint32_t>(c.buf_overrun);
  counters.Parity = static_cast<std::uint32_t>(c.parity);
  counters.Frame = static_cast<std::uint32_t>(c.frame);
  counters.Break = static_cast<std::uint32_t>(c.brk);
  counters.CarrierDetect = static_cast<std::uint32_t>(c.dcd);
  counters.Ring = static_cast<std::uint32_t>(c.rng);
  return counters;
}

}  // namespace plumgr
