#include "cli/interrupts.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cstring>
#include <iostream>
#include <stdexcept>

#include "cli/command_result.h"
#include "link/progress_model.h"

namespace plumgr::cli {
namespace {

constexpr std::array<int, 3> kSignals = {SIGINT, SIGTERM, SIGHUP};

// The handler may only write to a pipe; the event loop reads it.
int g_pipe[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> g_previous{};

void OnSignal(int number) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
  errno = saved;
}

}  // namespace

InterruptGuard::InterruptGuard(ProgressModel& progress) : progress_(progress) {
  if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
    throw std::runtime_error(std::string("cannot watch for interrupts: ") + std::strerror(errno));
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    ::sigaction(kSignals[i], &action, &g_previous[i]);
  notifier_ = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { Drain(); });
}

InterruptGuard::~InterruptGuard() {
  notifier_.reset();
  for (std::size_t i = 0; i < kSignals.size(); ++i)
    ::sigaction(kSignals[i], &g_previous[i], nullptr);
  ::close(g_pipe[0]);
  ::close(g_pipe[1]);
  g_pipe[0] = g_pipe[1] = -1;
}

void InterruptGuard::Drain() {
  unsigned char byte = 0;
  bool caught = false;
  while (::read(g_pipe[0], &byte, 1) == 1) {
    if (signal_ == 0) signal_ = byte;
    caught = true;
  }
  // Cancel, as often as signals come: each ends the wait then in progress.
  if (caught) progress_.PressCancel();
}

int InterruptGuard::Signal() {
  Drain();
  return signal_;
}

int InterruptGuard::ExitCode() {
  const int number = Signal();
  const std::string message = std::string("Interrupted by SIG") + sigabbrev_np(number) +
                              ": the transfer was cancelled and the register disconnected; no "
                              "file of the set was written";
  std::cerr << "plumgr-cli: " << message << "\n";
  NoteError(message);
  return 128 + number;
}

int RunInterruptible(ProgressModel& progress, const std::function<bool()>& transfer, bool* ok) {
  InterruptGuard guard(progress);
  *ok = transfer();
  return guard.Signal() != 0 ? guard.ExitCode() : 0;
}

}  // namespace plumgr::cli
