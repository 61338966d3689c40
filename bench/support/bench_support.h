#pragma once
// What the benchmarks that talk to the simulated register share.

#include <sys/resource.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/definitions.h"
#include "data/message_keeping_ui_port.h"
#include "link/kovo_ibus_comm.h"
#include "sim/ecr_simulator.h"

namespace plumgr::bench {

// The main window's state without a window: errors are printed, and every
// question is answered No.
class SilentUi final : public MessageKeepingUiPort {
 public:
  void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
};

// The simulated register at its line rate, its prices with two decimals.
inline sim::SimConfig LineRateRegister() {
  sim::SimConfig config;
  config.LineRate = true;
  config.Status.PriceDecimals = 2;
  return config;
}

// The process's CPU time so far (every thread, user and system), in seconds.
inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The bus component's speed for a speed in baud (9600 for one it does not know).
inline TBaudRate BaudRateOf(int speed) {
  for (std::size_t i = 0; i < BaudRateTable.size(); ++i)
    if (BaudRateTable[i] == speed) return static_cast<TBaudRate>(i);
  return TBaudRate::tbr9600;
}

// The bus component on the simulated register's line at the speed, with a
// retry interval and count that no answer at line rate runs into.
inline void ConnectBus(TKovoIBusComm& bus, const std::string& path, int speed) {
  bus.SetCommName(path);
  bus.SetBaudRate(BaudRateOf(speed));
  bus.SetRetryInterval(2000);
  bus.SetRetryCount(10);
}

// The seconds the frames the register received and its answers took on the
// line: 301 bytes a frame, a frame or one byte back, 10 bits a byte at the
// speed each frame travelled.
inline double LineSeconds(const std::vector<sim::ReceivedPackage>& received) {
  constexpr int kFrameBytes = 301;
  double seconds = 0;
  for (const sim::ReceivedPackage& r : received) {
    int bytes = kFrameBytes;
    if (r.Reply == "frame") bytes += kFrameBytes;
    if (r.Reply == "ack" || r.Reply == "nak") bytes += 1;
    if (r.Speed > 0) seconds += bytes * 10.0 / r.Speed;
  }
  return seconds;
}

// The speeds named on the command line from argv[first] on; 115200 and 9600
// when none is.
inline std::vector<int> SpeedsFromArgs(int argc, char** argv, int first) {
  std::vector<int> speeds;
  for (int i = first; i < argc; ++i)
    speeds.push_back(std::atoi(argv[i]));
  if (speeds.empty()) speeds = {115200, 9600};
  return speeds;
}

}  // namespace plumgr::bench
