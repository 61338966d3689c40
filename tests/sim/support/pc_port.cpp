#include "sim/support/pc_port.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>

#include "link/line_speed.h"
#include "sim/sim_line.h"

namespace plumgr::sim::testing {
namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<milliseconds>(deadline - Clock::now()).count();
  return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

PcPort::PcPort(const std::string& path, int speed) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot open " + path);
  termios settings{};
  tcgetattr(fd_, &settings);
  cfmakeraw(&settings);
  settings.c_cflag |= CS8 | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  tcsetattr(fd_, TCSANOW, &settings);
  SetSpeed(speed);
}

PcPort::~PcPort() {
  Close();
}

void PcPort::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void PcPort::SetSpeed(int speed) {
  termios settings{};
  tcgetattr(fd_, &settings);
  const speed_t code = TermiosSpeed(static_cast<std::uint32_t>(speed)).value_or(B0);
  cfsetispeed(&settings, code);
  cfsetospeed(&settings, code);
  tcsetattr(fd_, TCSANOW, &settings);
}

void PcPort::Write(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    pollfd pfd{fd_, POLLOUT, 0};
    if (poll(&pfd, 1, 1000) <= 0) throw std::runtime_error("the line takes no more bytes");
  }
}

void PcPort::Send(const PackageBlock& block) {
  BusFrame frame = PackFrame(block);
  Write({frame.begin(), frame.end()});
}

std::vector<std::uint8_t> PcPort::Read(std::size_t count, milliseconds timeout) {
  std::vector<std::uint8_t> bytes;
  Clock::time_point deadline = Clock::now() + timeout;
  while (bytes.size() < count) {
    pollfd pfd{fd_, POLLIN, 0};
    if (poll(&pfd, 1, RemainingMs(deadline)) <= 0 || !(pfd.revents & POLLIN)) break;
    std::uint8_t buffer[512];
    ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - bytes.size()));
    if (n <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

std::optional<std::uint8_t> PcPort::ReadReply(milliseconds timeout) {
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitReply;
  Clock::time_point deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    std::vector<std::uint8_t> chunk = Read(1, milliseconds(RemainingMs(deadline)));
    if (chunk.empty()) break;
    if (receiver.Feed(chunk.data(), static_cast<std::uint16_t>(chunk.size())) ==
        ReceiveEvent::ReplyReceived)
      return receiver.ReplyByte();
  }
  return std::nullopt;
}

std::optional<UnpackedFrame> PcPort::ReadAnswer(const PackageBlock& request, milliseconds timeout) {
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitFrame;
  receiver.ExpectAnswerTo(PackFrame(request));
  Clock::time_point deadline = Clock::now() + timeout;
  while (Clock::now() < deadline) {
    std::vector<std::uint8_t> chunk = Read(1, milliseconds(RemainingMs(deadline)));
    if (chunk.empty()) break;
    if (receiver.Feed(chunk.data(), static_cast<std::uint16_t>(chunk.size())) ==
        ReceiveEvent::FrameReceived)
      return UnpackFrame(receiver.Frame());
  }
  return std::nullopt;
}

bool PcPort::WaitForHangup(milliseconds timeout) {
  Clock::time_point deadline = Clock::now() + timeout;
  for (;;) {
    pollfd pfd{fd_, POLLIN, 0};
    if (poll(&pfd, 1, RemainingMs(deadline)) <= 0) return false;
    if (pfd.revents & (POLLHUP | POLLERR)) return true;
    std::uint8_t byte;
    if (read(fd_, &byte, 1) <= 0) return true;
  }
}

PackageBlock Block(std::uint8_t type, std::uint16_t number, const std::vector<std::uint8_t>& data) {
  PackageBlock block;
  block.SetType(type);
  block.SetNumber(number);
  std::copy(data.begin(), data.end(), block.Data().begin());
  block.StoreChecksum();
  return block;
}

PackageBlock ConnectBlock(std::uint8_t speed_code) {
  return Block(14, 1, {0x34, 0x12, 0x00, 0x00, 0x26, 0x12, 0x31, 0x23, 0x59, 0x58, speed_code, 1});
}

PackageBlock DisconnectBlock(bool after_failure) {
  return Block(14, 2, {0x34, 0x12, 0x00, 0x00, static_cast<std::uint8_t>(after_failure)});
}

PackageBlock StatusRequest() {
  return Block(0, 0);
}

}  // namespace plumgr::sim::testing
