#include "sim/sim_line.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <system_error>
#include <utility>

#include "link/line_speed.h"

namespace plumgr::sim {
namespace {

std::optional<speed_t> LineSpeedCode(int speed) {
  if (speed <= 0) return std::nullopt;
  return TermiosSpeed(static_cast<std::uint32_t>(speed));
}

[[noreturn]] void ThrowErrno(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int fd, int speed, const std::string& what) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) ThrowErrno(what);
  cfmakeraw(&settings);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  if (const std::optional<speed_t> code = LineSpeedCode(speed)) {
    cfsetispeed(&settings, *code);
    cfsetospeed(&settings, *code);
  }
  if (tcsetattr(fd, TCSANOW, &settings) != 0) ThrowErrno(what);
}

}  // namespace

SimLine::SimLine(Kind kind, int fd, int slave_fd, std::string path)
    : kind_(kind), fd_(fd), slave_fd_(slave_fd), path_(std::move(path)) {}

SimLine SimLine::OpenPseudoTerminal() {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) ThrowErrno("openpty");
  SimLine line(Kind::PseudoTerminal, master, slave, name);
  // The slave starts in cooked mode with echo; a PC that writes before it sets
  // raw mode would otherwise get its own bytes back as answers.
  MakeRaw(slave, 9600, "setting up " + line.path_);
  int flags = fcntl(master, F_GETFL);
  if (flags < 0 || fcntl(master, F_SETFL, flags | O_NONBLOCK) != 0) ThrowErrno("fcntl");
  fcntl(master, F_SETFD, FD_CLOEXEC);
  fcntl(slave, F_SETFD, FD_CLOEXEC);
  return line;
}

SimLine SimLine::OpenDevice(const std::string& path, int speed) {
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) ThrowErrno("opening " + path);
  SimLine line(Kind::Device, fd, -1, path);
  MakeRaw(fd, speed, "setting up " + path);
  return line;
}

SimLine::SimLine(SimLine&& other) noexcept
    : kind_(other.kind_),
      fd_(std::exchange(other.fd_, -1)),
      slave_fd_(std::exchange(other.slave_fd_, -1)),
      path_(std::move(other.path_)) {}

SimLine& SimLine::operator=(SimLine&& other) noexcept {
  if (this != &other) {
    Close();
    kind_ = other.kind_;
    fd_ = std::exchange(other.fd_, -1);
    slave_fd_ = std::exchange(other.slave_fd_, -1);
    path_ = std::move(other.path_);
  }
  return *this;
}

SimLine::~SimLine() {
  Close();
}

int SimLine::Speed() const {
  termios settings{};
  if (fd_ < 0 || tcgetattr(fd_, &settings) != 0) return 0;
  return static_cast<int>(BaudOfTermiosSpeed(cfgetospeed(&settings)));
}

bool SimLine::CanUseSpeed(int speed) const {
  if (kind_ != Kind::Device) return true;
  termios settings{};
  const std::optional<speed_t> code = LineSpeedCode(speed);
  return fd_ >= 0 && code && tcgetattr(fd_, &settings) == 0 && cfsetispeed(&settings, *code) == 0 &&
         cfsetospeed(&settings, *code) == 0;
}

bool SimLine::SetSpeed(int speed) {
  if (kind_ != Kind::Device) return true;
  if (!CanUseSpeed(speed)) return false;
  termios settings{};
  const speed_t code = *LineSpeedCode(speed);  // CanUseSpeed found it
  if (tcgetattr(fd_, &settings) != 0) return false;
  cfsetispeed(&settings, code);
  cfsetospeed(&settings, code);
  // Let the answer that is still in the driver finish at the old speed. A
  // driver may take part of the settings and report success: read them back.
  if (tcsetattr(fd_, TCSADRAIN, &settings) != 0) return false;
  return Speed() == speed;
}

SimLine::ReadResult SimLine::Read(std::uint8_t* buffer, std::size_t capacity) {
  if (fd_ < 0) return {ReadStatus::Closed, 0};
  ssize_t n = read(fd_, buffer, capacity);
  if (n > 0) return {ReadStatus::Data, static_cast<std::size_t>(n)};
  if (n < 0 && (errno == EAGAIN || errno == EINTR)) return {ReadStatus::Empty, 0};
  // A tty in raw mode with VMIN and VTIME 0 reads 0 when nothing is waiting; the
  // caller tells a hang-up by the poll result.
  if (n == 0 && kind_ == Kind::Device) return {ReadStatus::Empty, 0};
  // A pseudo-terminal master reads EIO once no slave is open any more.
  return {ReadStatus::Closed, 0};
}

long SimLine::Write(const std::uint8_t* data, std::size_t size) {
  if (fd_ < 0) return -1;
  ssize_t n = write(fd_, data, size);
  if (n >= 0) return n;
  if (errno == EAGAIN || errno == EINTR) return 0;
  return -1;
}

void SimLine::ReleaseSlave() {
  if (slave_fd_ >= 0) close(std::exchange(slave_fd_, -1));
}

void SimLine::Close() {
  ReleaseSlave();
  if (fd_ >= 0) close(std::exchange(fd_, -1));
}

}  // namespace plumgr::sim
