#pragma once
// A stand-in register on the master side of a pseudo-terminal, answering the
// frames the program writes to the slave side as a test script says. It runs on
// the test's own event loop, so the waits of the code under test drive it, and
// it can stand in for the clock of those waits (MakeReplyTimer).

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/bus_frame.h"
#include "link/reply_timer.h"

namespace plumgr::test {

using Bytes = std::vector<std::uint8_t>;

struct ReceivedFrame {
  PackageBlock Block;
  bool ChecksumError = false;
  // The line speed the program had set on the port when the frame arrived.
  int Speed = 0;
};

// How the program's wait for a frame ends when the register's timer runs the
// waits: an answer ends it; a frame left unanswered, or answered with bytes the
// program ignores, lets it time out once the register has heard the frame; a
// held frame keeps the program waiting until it aborts.
enum class WaitEnd { Answer, TimeOut, Held };

// What the register does about one frame: write these bytes at once.
struct Reply {
  Reply() = default;
  Reply(Bytes data)
      : Data(std::move(data)), End(Data.empty() ? WaitEnd::TimeOut : WaitEnd::Answer) {}
  Reply(Bytes data, WaitEnd end) : Data(std::move(data)), End(end) {}

  Bytes Data;
  WaitEnd End = WaitEnd::TimeOut;
};

Bytes Ack();
Bytes Nak();
// The answer to a request: a frame that repeats its header and carries `data`;
// a wrong checksum when `bad_checksum`.
Bytes AnswerFrame(const PackageBlock& request, const PackageBytes& data, bool bad_checksum = false);
// As above with another package number in the header.
Bytes AnswerFrameNumbered(const PackageBlock& request, std::uint16_t number,
                          const PackageBytes& data);

class ScriptedRegister {
 public:
  // Gets the frame and its index (from 0); the default script stays silent.
  using Script = std::function<Reply(const ReceivedFrame& frame, std::size_t index)>;

  ScriptedRegister();
  ~ScriptedRegister();
  ScriptedRegister(const ScriptedRegister&) = delete;
  ScriptedRegister& operator=(const ScriptedRegister&) = delete;

  // The device path the program opens.
  const std::string& PortName() const { return port_name_; }
  void SetScript(Script script) { script_ = std::move(script); }

  const std::vector<ReceivedFrame>& Frames() const { return frames_; }
  // Bytes that arrived outside any well-formed frame.
  std::size_t StrayBytes() const { return stray_bytes_; }
  // The speed the program has set on its side of the line.
  int Speed() const;

  // Writes bytes to the program at once.
  void Write(const Bytes& bytes);
  // The line goes away under the program, like an adapter pulled out.
  void PullPlug();

  // Runs the event loop until `count` frames have arrived or the time is up.
  bool WaitForFrames(std::size_t count, int timeout_ms);

  // A timer for the program's reply waits that goes by the register instead of
  // the clock: wait k (from 0) times out once frame k has been heard and its
  // reply lets the wait time out. An answered or held wait ends only by its
  // answer or an abort, or after a backstop of 20 s that BackstopExpiries
  // counts, so that a broken abort fails its test instead of hanging it.
  std::unique_ptr<ReplyTimer> MakeReplyTimer();
  // The length of every wait the program started, in milliseconds.
  const std::vector<int>& WaitsStarted() const { return waits_started_; }
  int BackstopExpiries() const { return backstop_expiries_; }

 private:
  class Timer;

  void OnReadable();
  void Consume(std::uint8_t b);
  void Answer(const ReceivedFrame& frame);

  int master_ = -1;
  int slave_ = -1;
  std::string port_name_;
  std::unique_ptr<QSocketNotifier> notifier_;
  Script script_;
  std::vector<ReceivedFrame> frames_;
  BusFrame assembly_{};
  std::size_t position_ = 0;
  std::size_t stray_bytes_ = 0;
  std::vector<WaitEnd> wait_ends_;  // one a frame heard
  std::vector<int> waits_started_;
  int backstop_expiries_ = 0;
  Timer* timer_ = nullptr;
};

}  // namespace plumgr::test
