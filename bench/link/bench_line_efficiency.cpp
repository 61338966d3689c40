// How close the bus component comes to the line's own limit: round trips of
// SendPackage (a 301-byte frame and the one-byte ACK) and of RequestPackage (a
// frame each way) against the simulated register with line-rate emulation,
// wall time divided by the time the bytes need on the line (10 bits a byte).
//
// Usage: bench_line_efficiency [ROUND_TRIPS [SPEED...]]   (default 500, 115200 and 9600)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../support/bench_support.h"
#include "link/kovo_ibus_comm.h"
#include "sim/ecr_simulator.h"

namespace {

constexpr int kFrameBytes = 301;

using plumgr::bench::BaudRateOf;
using plumgr::bench::CpuSeconds;

struct Figure {
  double Wall = 0;
  double Line = 0;
  double Cpu = 0;
  bool Ok = true;
};

template <typename Exchange>
Figure Measure(int round_trips, int bytes_each, int speed, Exchange exchange) {
  Figure figure;
  const double cpu_start = CpuSeconds();
  QElapsedTimer timer;
  timer.start();
  for (int i = 0; i < round_trips && figure.Ok; ++i)
    figure.Ok = exchange(i);
  figure.Wall = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  figure.Cpu = CpuSeconds() - cpu_start;
  figure.Line = static_cast<double>(round_trips) * bytes_each * 10.0 / speed;
  return figure;
}

void Print(const char* what, int speed, int round_trips, const Figure& f) {
  std::printf(
      "%-16s %6d baud  %4d round trips  wall %8.3f s  line %8.3f s  ratio %.4f  cpu %5.2f%%%s\n",
      what, speed, round_trips, f.Wall, f.Line, f.Wall / f.Line, 100.0 * f.Cpu / f.Wall,
      f.Ok ? "" : "  FAILED");
}

bool RunAt(int speed, int round_trips) {
  plumgr::sim::SimConfig config;
  config.LineRate = true;
  plumgr::sim::EcrSimulator sim(config);
  const std::string path = sim.Start();

  plumgr::TKovoIBusComm bus;
  bus.SetCommName(path);
  bus.SetBaudRate(BaudRateOf(speed));
  bus.SetRetryInterval(2000);
  bus.SetRetryCount(0);
  if (!bus.Activate(true) || !bus.Connect(plumgr::kStationNumber)) {
    std::fprintf(stderr, "no connect at %d baud\n", speed);
    return false;
  }
  // Department package 0 is accepted with an ACK; the status package is answered
  // with a whole frame.
  Figure send = Measure(round_trips, kFrameBytes + 1, speed, [&](int) {
    bus.PackageData.fill(0);
    return bus.SendPackage(12, 0);
  });
  Print("SendPackage", speed, round_trips, send);
  Figure request =
      Measure(round_trips, 2 * kFrameBytes, speed, [&](int) { return bus.RequestPackage(0, 0); });
  Print("RequestPackage", speed, round_trips, request);
  bus.Disconnect(plumgr::kStationNumber, false);
  (void)bus.Activate(false);
  return send.Ok && request.Ok;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int round_trips = argc > 1 ? std::atoi(argv[1]) : 500;
  const std::vector<int> speeds = plumgr::bench::SpeedsFromArgs(argc, argv, 2);
  bool ok = true;
  for (int speed : speeds)
    ok = RunAt(speed, round_trips) && ok;
  return ok ? 0 : 1;
}
