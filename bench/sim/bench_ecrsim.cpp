// How close the simulated register comes to the physical line: a status request
// and its answer (602 bytes, ten bits each) at every register speed, and the
// register's own turnaround with the line rate switched off.

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "data/definitions.h"
#include "link/bus_frame.h"
#include "link/line_speed.h"
#include "sim/ecr_simulator.h"

namespace {

using Clock = std::chrono::steady_clock;
using plumgr::sim::EcrSimulator;
using plumgr::sim::SimConfig;

int OpenPort(const std::string& path, int speed) {
  int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  termios settings{};
  tcgetattr(fd, &settings);
  cfmakeraw(&settings);
  const speed_t code = plumgr::TermiosSpeed(static_cast<std::uint32_t>(speed)).value_or(B0);
  cfsetispeed(&settings, code);
  cfsetospeed(&settings, code);
  tcsetattr(fd, TCSANOW, &settings);
  return fd;
}

// One status request and its answer; false when no answer came within 5 s.
bool RoundTrip(int fd, const plumgr::BusFrame& request) {
  if (write(fd, request.data(), request.size()) != static_cast<ssize_t>(request.size()))
    return false;
  plumgr::FrameReceiver receiver;
  receiver.Mode = plumgr::ReceiveMode::AwaitFrame;
  receiver.ExpectAnswerTo(request);
  std::uint8_t buffer[512];
  while (!receiver.Complete()) {
    pollfd pfd{fd, POLLIN, 0};
    if (poll(&pfd, 1, 5000) <= 0) return false;
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) return false;
    receiver.Feed(buffer, static_cast<std::uint16_t>(n));
  }
  return true;
}

// Mean milliseconds per round trip, or a negative value on failure.
double MeasureMs(bool line_rate, int speed, int rounds) {
  SimConfig config;
  config.LineRate = line_rate;
  EcrSimulator simulator(config);
  int fd = OpenPort(simulator.Start(), speed);
  plumgr::PackageBlock block;
  block.StoreChecksum();
  plumgr::BusFrame request = plumgr::PackFrame(block);
  RoundTrip(fd, request);  // warm-up
  Clock::time_point start = Clock::now();
  for (int i = 0; i < rounds; ++i)
    if (!RoundTrip(fd, request)) return -1;
  std::chrono::duration<double, std::milli> taken = Clock::now() - start;
  close(fd);
  return taken.count() / rounds;
}

}  // namespace

int main() {
  std::printf("status request and answer, 602 bytes on the line\n");
  std::printf("%8s %12s %12s %8s\n", "baud", "line ms", "measured ms", "excess");
  for (int speed : plumgr::BaudRateTable) {
    double physical = 602.0 * 10.0 * 1000.0 / speed;
    double measured = MeasureMs(true, speed, speed < 38400 ? 3 : 10);
    std::printf("%8d %12.2f %12.2f %7.1f%%\n", speed, physical, measured,
                100.0 * (measured - physical) / physical);
  }
  double unpaced = MeasureMs(false, 115200, 1000);
  std::printf("without line rate: %.1f us per round trip\n", unpaced * 1000.0);
  return 0;
}
