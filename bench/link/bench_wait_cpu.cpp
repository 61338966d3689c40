// How much CPU the program uses while it waits for a register that never
// answers: a Connect against a silent pseudo-terminal, cut off after ten seconds,
// with the process's CPU time (every thread) as a share of the wall time.

#include <fcntl.h>
#include <pty.h>
#include <sys/resource.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

#include "link/kovo_ibus_comm.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int wall_ms = argc > 1 ? std::atoi(argv[1]) : 10000;

  int master = -1;
  int slave = -1;
  char name[256] = {};
  if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
    std::perror("openpty");
    return 1;
  }
  termios raw{};
  tcgetattr(slave, &raw);
  cfmakeraw(&raw);
  tcsetattr(slave, TCSANOW, &raw);
  fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
  // Nobody answers, but the frames are taken off the line so that it never fills.
  QSocketNotifier drain(master, QSocketNotifier::Read);
  QObject::connect(&drain, &QSocketNotifier::activated, [master] {
    char buffer[1024];
    while (read(master, buffer, sizeof buffer) > 0) {
    }
  });

  plumgr::TKovoIBusComm bus;
  bus.SetCommName(name);
  bus.TraceEnabled = true;
  if (!bus.Activate(true)) {
    std::fprintf(stderr, "cannot open %s\n", name);
    return 1;
  }
  QTimer::singleShot(wall_ms, Qt::PreciseTimer, [&bus] { bus.Abort(); });

  QElapsedTimer wall;
  const double cpu_before = CpuSeconds();
  wall.start();
  const bool connected = bus.Connect(plumgr::kStationNumber);
  const double wall_s = static_cast<double>(wall.elapsed()) / 1000.0;
  const double cpu_s = CpuSeconds() - cpu_before;
  bus.Activate(false);
  close(slave);
  close(master);

  std::printf("connect against a silent line: %s after %.2f s wall\n",
              connected ? "connected" : "not connected", wall_s);
  std::printf("process CPU time: %.4f s = %.3f %% of wall time (goal below 1 %%)\n", cpu_s,
              100.0 * cpu_s / wall_s);
  return 0;
}
