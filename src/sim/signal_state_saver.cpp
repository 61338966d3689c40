#include "sim/signal_state_saver.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>

namespace plumgr::sim {

SignalStateSaver::SignalStateSaver(const EcrSimulator& simulator, std::string path, LogSink log)
    : simulator_(simulator), path_(std::move(path)), log_(std::move(log)) {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGUSR1);
  sigprocmask(SIG_BLOCK, &signals, nullptr);
  signal_fd_ = signalfd(-1, &signals, SFD_CLOEXEC | SFD_NONBLOCK);
  wake_fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (signal_fd_ < 0 || wake_fd_ < 0) {
    int error = errno;
    if (signal_fd_ >= 0) close(signal_fd_);
    if (wake_fd_ >= 0) close(wake_fd_);
    throw std::system_error(error, std::generic_category(), "signalfd");
  }
  thread_ = std::thread([this] { Serve(); });
}

SignalStateSaver::~SignalStateSaver() {
  eventfd_write(wake_fd_, 1);
  thread_.join();
  close(signal_fd_);
  close(wake_fd_);
}

void SignalStateSaver::Serve() {
  for (;;) {
    pollfd fds[2] = {{signal_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    signalfd_siginfo info;
    while (read(signal_fd_, &info, sizeof info) == sizeof info) {
      std::optional<std::string> error = simulator_.SaveState(path_);
      if (!log_) continue;
      if (error)
        log_(EventLogLine("save-failed", "\"error\":" + JsonString(*error), UtcTimestamp()));
      else
        log_(EventLogLine("saved", "\"path\":" + JsonString(path_), UtcTimestamp()));
    }
  }
}

}  // namespace plumgr::sim
