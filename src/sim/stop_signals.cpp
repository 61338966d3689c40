#include "sim/stop_signals.h"

#include <sys/signalfd.h>

#include <csignal>

namespace plumgr::sim {

int OpenStopSignals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  int fd = signalfd(-1, &signals, SFD_CLOEXEC);
  if (fd < 0) sigprocmask(SIG_UNBLOCK, &signals, nullptr);
  return fd;
}

}  // namespace plumgr::sim
