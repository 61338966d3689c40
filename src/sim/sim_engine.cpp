#include "sim/sim_engine.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace plumgr::sim {
namespace {

// Paced bytes leave in chunks at most this often; the last byte of an answer
// is always on time.
constexpr auto kPaceSlice = std::chrono::milliseconds(1);

constexpr std::uint8_t kLinkControlType = 14;
constexpr std::uint16_t kConnectNumber = 1;

const char* ReplyName(Answer::Kind kind) {
  switch (kind) {
    case Answer::Kind::Ack:
      return "ack";
    case Answer::Kind::Nak:
      return "nak";
    case Answer::Kind::Frame:
      return "frame";
    case Answer::Kind::Silence:
      break;
  }
  return "none";
}

std::string Join(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items)
    text += (text.empty() ? "" : ",") + item;
  return text;
}

bool IsConnect(const PackageBlock& block) {
  return block.Type() == kLinkControlType && block.Number() == kConnectNumber;
}

timespec ToTimespec(Clock::duration duration) {
  auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(duration).count();
  if (ns < 0) ns = 0;
  return {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

const char* EndReasonName(EndReason reason) {
  switch (reason) {
    case EndReason::Stopped:
      return "stopped";
    case EndReason::PeerClosed:
      return "peer-closed";
    case EndReason::HungUp:
      return "hung-up";
    case EndReason::Failed:
      break;
  }
  return "failed";
}

SimShared::SimShared(const SimConfig& config) : Faults(config.Faults) {
  State.Status = config.Status;
  State.Memory = config.Memory;
}

SimEngine::SimEngine(SimLine& line, SimShared& shared, const SimConfig& config,
                     const PackageHandlerTable& handlers)
    : line_(line), shared_(shared), config_(config), handlers_(handlers) {}

EndReason SimEngine::Run(int wake_fd, const std::atomic<bool>& stop) {
  if (line_.LineKind() == SimLine::Kind::Device) {
    current_device_speed_ = IdleSpeed();
    if (!line_.SetSpeed(current_device_speed_))
      Log(EventLogLine("speed-refused", "\"speed\":" + std::to_string(current_device_speed_),
                       UtcTimestamp()));
  }
  for (;;) {
    if (stop) return EndReason::Stopped;
    Clock::time_point now = Clock::now();
    ReleaseReceived(now);
    if (!line_.IsOpen()) return EndReason::HungUp;
    ReleaseAnswers(now);
    if (!WriteDue(now)) return EndReason::PeerClosed;
    ApplyDeviceSpeed();

    pollfd fds[3] = {
        {line_.Descriptor(), static_cast<short>(POLLIN | (outgoing_.empty() ? 0 : POLLOUT)), 0},
        {wake_fd, POLLIN, 0},
        {config_.StopDescriptor, POLLIN, 0}};
    std::optional<Clock::time_point> wake = NextWake(now);
    timespec timeout{};
    if (wake) timeout = ToTimespec(*wake - Clock::now());
    if (ppoll(fds, config_.StopDescriptor >= 0 ? 3 : 2, wake ? &timeout : nullptr, nullptr) < 0) {
      if (errno == EINTR) continue;
      throw std::system_error(errno, std::generic_category(), "poll");
    }
    if (fds[1].revents & POLLIN) {
      eventfd_t count;
      eventfd_read(wake_fd, &count);
    }
    if (config_.StopDescriptor >= 0 && (fds[2].revents & POLLIN)) return EndReason::Stopped;
    bool hangup = fds[0].revents & (POLLHUP | POLLERR);
    if ((fds[0].revents & POLLIN || hangup) && !ReadLine(Clock::now(), hangup))
      return EndReason::PeerClosed;
  }
}

bool SimEngine::ReadLine(Clock::time_point now, bool hangup) {
  std::uint8_t buffer[4096];
  for (;;) {
    SimLine::ReadResult result = line_.Read(buffer, sizeof buffer);
    // Data left after a hang-up is still read; after that the line is gone.
    if (result.Status == SimLine::ReadStatus::Empty) return !hangup;
    if (result.Status == SimLine::ReadStatus::Closed) return false;
    if (!peer_seen_) {
      peer_seen_ = true;
      // From now on the line reports the PC closing its side.
      if (config_.ExitOnClose) line_.ReleaseSlave();
    }
    int speed = line_.Speed();
    if (!Hears(speed)) {
      // A UART set to another speed makes garbage of these bytes; the register
      // answers nothing, as a real one would.
      Log(EventLogLine("ignored",
                       "\"bytes\":" + std::to_string(result.Size) +
                           ",\"speed\":" + std::to_string(speed) + ",\"reason\":\"speed\"",
                       UtcTimestamp()));
      continue;
    }
    received_speed_ = speed;
    received_.Push(buffer, result.Size, PacingSpeed(speed), now);
  }
}

bool SimEngine::Hears(int speed) {
  std::lock_guard lock(shared_.Mutex);
  if (shared_.State.Connected) return speed == shared_.State.LineSpeed;
  return config_.Speeds.empty() ||
         std::find(config_.Speeds.begin(), config_.Speeds.end(), speed) != config_.Speeds.end();
}

int SimEngine::PacingSpeed(int speed) const {
  // A device is paced by its own hardware.
  return config_.LineRate && line_.LineKind() == SimLine::Kind::PseudoTerminal ? speed : 0;
}

void SimEngine::ReleaseReceived(Clock::time_point now) {
  std::vector<std::uint8_t> due;
  received_.TakeDue(now, due);
  for (std::uint8_t byte : due) {
    if (!assembler_.Push(byte)) continue;
    HandleFrame(assembler_.Frame(), received_speed_, now);
    if (!line_.IsOpen()) return;
  }
}

void SimEngine::HandleFrame(const BusFrame& frame, int speed, Clock::time_point now) {
  UnpackedFrame unpacked = UnpackFrame(frame);
  const PackageBlock& block = unpacked.Block;
  ReceivedPackage record;
  record.Package = PackageOf(block);
  record.ChecksumOk = !unpacked.ChecksumError;
  record.Speed = speed;
  std::vector<std::string> faults;
  std::vector<std::uint8_t> bytes;
  bool hangup = false;
  int delay_ms = 0;
  std::string log_line;
  {
    std::lock_guard lock(shared_.Mutex);
    FaultDecision decision = shared_.Faults.Decide();
    const FaultPlan& plan = shared_.Faults.Plan();
    delay_ms = shared_.Faults.AnswerDelayMs(block.Type(), block.Number());
    hangup = shared_.Faults.HangupDue();
    Answer answer = Answer::Silence();
    if (hangup)
      faults.push_back("hangup");
    else
      answer = Dispatch(block, record.ChecksumOk, decision, plan, speed, faults);
    record.Reply = ReplyName(answer.What);
    bytes = AnswerBytes(answer, decision, faults);
    record.Fault = Join(faults);
    shared_.State.Received.push_back(record);
    NoteDeviceSpeed();
    log_line = FrameLogLine({block.Type(), block.Number(), block.Data().data(), record.ChecksumOk,
                             speed, record.Reply, record.Fault},
                            UtcTimestamp());
  }
  Log(log_line);
  shared_.Changed.notify_all();
  if (hangup) {
    line_.Close();
    Log(EventLogLine("hangup", "", UtcTimestamp()));
    return;
  }
  if (bytes.empty()) return;
  // Answers go out in the order they fall due: one held back (a late package)
  // is overtaken by the answers to the frames after it.
  const ScheduledAnswer scheduled{now + std::chrono::milliseconds(delay_ms), bytes, speed};
  const auto later = std::upper_bound(
      answers_.begin(), answers_.end(), scheduled.Due,
      [](const auto& due, const ScheduledAnswer& answer) { return due < answer.Due; });
  answers_.insert(later, scheduled);
}

Answer SimEngine::Dispatch(const PackageBlock& block, bool checksum_ok,
                           const FaultDecision& decision, const FaultPlan& plan, int speed,
                           std::vector<std::string>& faults) {
  if (plan.Silent) {
    faults.push_back("silent");
    return Answer::Silence();
  }
  if (block.Type() == plan.IgnorePackage.first && block.Number() == plan.IgnorePackage.second) {
    faults.push_back("ignored");
    return Answer::Silence();
  }
  // A damaged frame is refused, so that the PC sends it again.
  if (!checksum_ok) return Answer::Nak();
  if (decision.Nak ||
      (block.Type() == plan.NakPackage.first && block.Number() == plan.NakPackage.second)) {
    faults.push_back("nak");
    return Answer::Nak();
  }
  if (config_.RequireConnect && !shared_.State.Connected && !IsConnect(block)) return Answer::Nak();
  FrameContext context{speed, [this](int next) { return line_.CanUseSpeed(next); }};
  Answer answer = handlers_.Handle(block, context, shared_.State);
  if (answer.What == Answer::Kind::Frame && shared_.Faults.TakeWrongNumber()) {
    answer.Reply.SetNumber(static_cast<std::uint16_t>(answer.Reply.Number() + 1));
    answer.Reply.StoreChecksum();
    faults.push_back("wrong-number");
  }
  return answer;
}

std::vector<std::uint8_t> SimEngine::AnswerBytes(const Answer& answer,
                                                 const FaultDecision& decision,
                                                 std::vector<std::string>& faults) {
  std::vector<std::uint8_t> bytes;
  switch (answer.What) {
    case Answer::Kind::Ack:
      bytes = {kAck};
      break;
    case Answer::Kind::Nak:
      bytes = {kNak};
      break;
    case Answer::Kind::Frame: {
      BusFrame frame = PackFrame(answer.Reply);
      bytes.assign(frame.begin(), frame.end());
      break;
    }
    case Answer::Kind::Silence:
      return bytes;
  }
  FaultInjector& injector = shared_.Faults;
  if (decision.Corrupt) {
    // Bits 0 to 6 only: a frame keeps its shape and fails on its checksum, a
    // reply byte turns into one the PC does not take for a reply.
    std::size_t index = bytes.size() == 1 ? 0 : static_cast<std::size_t>(injector.CorruptIndex());
    bytes[index] ^= static_cast<std::uint8_t>(1u << injector.CorruptBit());
    faults.push_back("corrupt");
  }
  if (decision.Drop) {
    faults.push_back("drop");
    bytes.clear();
    return bytes;
  }
  if (decision.NoiseBytes > 0) {
    std::vector<std::uint8_t> noise;
    for (int i = 0; i < decision.NoiseBytes; ++i)
      noise.push_back(injector.NoiseByte());
    bytes.insert(bytes.begin(), noise.begin(), noise.end());
    faults.push_back("noise");
  }
  return bytes;
}

void SimEngine::NoteDeviceSpeed() {
  if (line_.LineKind() != SimLine::Kind::Device) return;
  int wanted = shared_.State.Connected ? shared_.State.LineSpeed : IdleSpeed();
  if (wanted != current_device_speed_) device_speed_ = wanted;
}

void SimEngine::ReleaseAnswers(Clock::time_point now) {
  while (!answers_.empty() && answers_.front().Due <= now) {
    ScheduledAnswer& answer = answers_.front();
    sending_.Push(answer.Bytes.data(), answer.Bytes.size(), PacingSpeed(answer.Speed), answer.Due);
    answers_.pop_front();
  }
}

bool SimEngine::WriteDue(Clock::time_point now) {
  sending_.TakeDue(now, outgoing_);
  if (outgoing_.empty()) return true;
  long written = line_.Write(outgoing_.data(), outgoing_.size());
  if (written < 0) return false;
  outgoing_.erase(outgoing_.begin(), outgoing_.begin() + written);
  return true;
}

void SimEngine::ApplyDeviceSpeed() {
  // The answer that agreed the new speed must leave at the old one first.
  if (!device_speed_ || !outgoing_.empty() || !sending_.Empty() || !answers_.empty()) return;
  int wanted = *device_speed_;
  device_speed_.reset();
  if (line_.SetSpeed(wanted)) {
    current_device_speed_ = wanted;
    return;
  }
  // The device would not go to the agreed speed: the register stays where it
  // is and drops the connection, so that it hears the PC's next connect
  // instead of waiting at a speed nobody talks at.
  Log(EventLogLine("speed-refused", "\"speed\":" + std::to_string(wanted), UtcTimestamp()));
  std::lock_guard lock(shared_.Mutex);
  shared_.State.Connected = false;
}

std::optional<Clock::time_point> SimEngine::NextWake(Clock::time_point now) const {
  std::optional<Clock::time_point> wake;
  auto consider = [&wake](std::optional<Clock::time_point> when) {
    if (when && (!wake || *when < *wake)) wake = when;
  };
  consider(received_.NextWake(now, kPaceSlice));
  consider(sending_.NextWake(now, kPaceSlice));
  if (!answers_.empty()) consider(answers_.front().Due);
  return wake;
}

int SimEngine::IdleSpeed() const {
  return config_.Speeds.empty() ? 9600 : config_.Speeds.front();
}

void SimEngine::Log(const std::string& line) const {
  if (config_.Log) config_.Log(line);
}

}  // namespace plumgr::sim
