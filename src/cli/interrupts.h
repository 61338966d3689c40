#pragma once
// SIGINT, SIGTERM and SIGHUP during a transfer act as the progress window's
// Cancel: the wait in progress ends, the sequence takes its failure path (the
// register gets its disconnects, the port is closed) and the command writes
// nothing and exits with 128 + the signal's number.

#include <functional>
#include <memory>

class QSocketNotifier;

namespace plumgr {
class ProgressModel;
}

namespace plumgr::cli {

// Runs one transfer with the signals caught; *ok is its result. Returns 0, or
// the exit status of the signal that came meanwhile.
int RunInterruptible(ProgressModel& progress, const std::function<bool()>& transfer, bool* ok);

class InterruptGuard {
 public:
  // Catches the three signals until destroyed; the earlier handlers come back then.
  explicit InterruptGuard(ProgressModel& progress);
  ~InterruptGuard();
  InterruptGuard(const InterruptGuard&) = delete;
  InterruptGuard& operator=(const InterruptGuard&) = delete;

  // The first signal caught so far, 0 when none; also one still unseen by the
  // event loop.
  int Signal();
  // 128 + the signal's number, with the message noted for the result line.
  int ExitCode();

 private:
  void Drain();

  ProgressModel& progress_;
  std::unique_ptr<QSocketNotifier> notifier_;
  int signal_ = 0;
};

}  // namespace plumgr::cli
