#pragma once
// A stand-in register on the master side of a pseudo-terminal, answering the
// frames the program writes to the slave side as a test script says. It runs on
// the test's own event loop, so the waits of the code under test drive it.

#include <QSocketNotifier>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/bus_frame.h"

namespace plumgr::test {

using Bytes = std::vector<std::uint8_t>;

struct ReceivedFrame {
  PackageBlock Block;
  bool ChecksumError = false;
  // The line speed the program had set on the port when the frame arrived.
  int Speed = 0;
};

// What the register does about one frame: write these bytes after a delay.
struct Reply {
  Bytes Data;
  int DelayMs = 0;
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

 private:
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
};

}  // namespace plumgr::test
