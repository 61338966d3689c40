#pragma once
// The simulated register as tests and the ecrsim program use it: start it on a
// new pseudo-terminal in a thread of its own (or run it on a line in the
// calling thread), change its status and faults while it runs, read what it
// received, and stop it.

#include <atomic>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/package_handlers.h"
#include "sim/register_state.h"
#include "sim/sim_config.h"
#include "sim/sim_engine.h"
#include "sim/sim_line.h"
#include "sim/state_file.h"

namespace plumgr::sim {

class EcrSimulator {
 public:
  explicit EcrSimulator(SimConfig config = {});
  ~EcrSimulator();
  EcrSimulator(const EcrSimulator&) = delete;
  EcrSimulator& operator=(const EcrSimulator&) = delete;

  // Adds or replaces the handling of one package type; before the start only.
  void SetHandler(std::uint8_t type, PackageHandler handler);

  // Opens a new pseudo-terminal and serves it from a thread of its own.
  // Returns the path of the slave, which the PC opens. Throws
  // std::system_error when no pseudo-terminal can be had.
  std::string Start();
  // Serves a tty device (raw mode) from a thread of its own, as the program's
  // --device does. Throws std::system_error when it cannot be opened.
  void StartOnDevice(const std::string& path);
  // Serves the line on the calling thread until the register stops.
  EndReason Run(SimLine line);
  // Ends the register and waits for its thread; harmless when not running.
  // It also ends a Run in progress on another thread.
  void Stop();

  bool Running() const;
  // Waits until the register has ended by itself (hangup, the PC closed);
  // empty when it is still running after timeout.
  std::optional<EndReason> WaitUntilEnded(std::chrono::milliseconds timeout);

  void SetStatus(const RegisterStatus& status);
  // Replaces the fault plan; k-first counts start again.
  void SetFaults(const FaultPlan& plan);
  RegisterState State() const;
  RegisterMemory Memory() const;
  void SetMemory(RegisterMemory memory);
  // Writes the status and the memory as they stand to a state file, at any
  // time, also while the register runs; the error text naming the file, or
  // nothing.
  [[nodiscard]] std::optional<std::string> SaveState(const std::string& path) const;
  std::vector<ReceivedPackage> Received() const;
  // Waits until at least count frames have arrived; false on timeout.
  bool WaitForFrames(std::size_t count, std::chrono::milliseconds timeout);

 private:
  void StartThread(SimLine line);
  EndReason Serve(SimLine& line);

  SimConfig config_;
  PackageHandlerTable handlers_;
  mutable SimShared shared_;
  std::atomic<bool> stop_{false};
  int wake_fd_ = -1;
  std::thread thread_;
};

}  // namespace plumgr::sim
