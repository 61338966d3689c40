#pragma once
// The register's loop: it reads the PC's bytes from the line, lets each one
// arrive when its time on the line has passed, answers complete frames through
// the handler table with the faults of the plan applied, and puts the answers
// on the line at the line rate. One thread runs it; whatever its owner may read
// or change meanwhile lives in SimShared under its mutex.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sim/fault_plan.h"
#include "sim/frame_assembler.h"
#include "sim/line_pacer.h"
#include "sim/package_handlers.h"
#include "sim/register_state.h"
#include "sim/sim_config.h"
#include "sim/sim_line.h"

namespace plumgr::sim {

enum class EndReason {
  Stopped,     // Stop() or the stop descriptor
  PeerClosed,  // the PC closed its side (ExitOnClose) or the device went away
  HungUp,      // the hangup fault closed the line
  Failed,      // the platform refused a service
};

const char* EndReasonName(EndReason reason);

struct SimShared {
  explicit SimShared(const SimConfig& config);

  std::mutex Mutex;
  std::condition_variable Changed;  // a frame arrived or the register stopped
  RegisterState State;
  FaultInjector Faults;
  bool Running = false;
  std::optional<EndReason> End;
};

class SimEngine {
 public:
  SimEngine(SimLine& line, SimShared& shared, const SimConfig& config,
            const PackageHandlerTable& handlers);

  // Serves the line until stop is set (and wake_fd signalled), the stop
  // descriptor of the configuration becomes readable, the PC closes its side
  // with ExitOnClose set, or a hangup fault closes the line. Throws
  // std::system_error when polling fails.
  EndReason Run(int wake_fd, const std::atomic<bool>& stop);

 private:
  struct ScheduledAnswer {
    Clock::time_point Due;
    std::vector<std::uint8_t> Bytes;
    int Speed;
  };

  // Takes in what the PC sent; false when the line is gone. hangup: poll
  // reported a hang-up or an error on the line.
  bool ReadLine(Clock::time_point now, bool hangup);
  bool Hears(int speed);
  int PacingSpeed(int speed) const;
  void ReleaseReceived(Clock::time_point now);
  void HandleFrame(const BusFrame& frame, int speed, Clock::time_point now);
  Answer Dispatch(const PackageBlock& block, bool checksum_ok, const FaultDecision& decision,
                  const FaultPlan& plan, int speed, std::vector<std::string>& faults);
  std::vector<std::uint8_t> AnswerBytes(const Answer& answer, const FaultDecision& decision,
                                        std::vector<std::string>& faults);
  void NoteDeviceSpeed();
  void ReleaseAnswers(Clock::time_point now);
  bool WriteDue(Clock::time_point now);
  void ApplyDeviceSpeed();
  std::optional<Clock::time_point> NextWake(Clock::time_point now) const;
  int IdleSpeed() const;
  void Log(const std::string& line) const;

  SimLine& line_;
  SimShared& shared_;
  const SimConfig& config_;
  const PackageHandlerTable& handlers_;
  FrameAssembler assembler_;
  PacedQueue received_;
  PacedQueue sending_;
  std::deque<ScheduledAnswer> answers_;
  std::vector<std::uint8_t> outgoing_;  // bytes due on the line that it has not taken yet
  int received_speed_ = 0;              // the speed of the bytes in received_
  bool peer_seen_ = false;
  std::optional<int> device_speed_;  // to set on the device once the answers are out
  int current_device_speed_ = 0;
};

}  // namespace plumgr::sim
