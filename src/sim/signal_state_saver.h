#pragma once
// Saves a running register's state whenever the process receives SIGUSR1, so
// that a person can look at what the PC sent without stopping the register.
// The signal is taken on a descriptor by a thread of its own; create the saver
// before any other thread, as the signal must be blocked in all of them.

#include <string>
#include <thread>

#include "sim/ecr_simulator.h"
#include "sim/frame_log.h"

namespace plumgr::sim {

class SignalStateSaver {
 public:
  // Each save is logged as an event line: "saved" with the path, or
  // "save-failed" with the error. Throws std::system_error when the platform
  // refuses the descriptors.
  SignalStateSaver(const EcrSimulator& simulator, std::string path, LogSink log);
  ~SignalStateSaver();
  SignalStateSaver(const SignalStateSaver&) = delete;
  SignalStateSaver& operator=(const SignalStateSaver&) = delete;

 private:
  void Serve();

  const EcrSimulator& simulator_;
  std::string path_;
  LogSink log_;
  int signal_fd_ = -1;
  int wake_fd_ = -1;
  std::thread thread_;
};

}  // namespace plumgr::sim
