#pragma once
// The simulated register's log: one JSON object per line, one line per frame
// received and one per notable event of the line.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace plumgr::sim {

// Receives each finished line, without its line end.
using LogSink = std::function<void(std::string_view line)>;

// One frame as the register received it.
struct FrameLogEntry {
  int Type = 0;
  int Number = 0;
  const std::uint8_t* Data = nullptr;  // the 256 data bytes
  bool ChecksumOk = false;
  int Speed = 0;
  std::string Reply;  // "ack", "nak", "frame" or "none"
  std::string Fault;  // the fault that shaped the reply, empty when none
};

// The current wall-clock time as an ISO 8601 UTC text with milliseconds.
std::string UtcTimestamp();

std::string FrameLogLine(const FrameLogEntry& entry, std::string_view time);

// An event line: {"time":...,"event":name} followed by the extra members,
// which must already be JSON ("\"speed\":9600").
std::string EventLogLine(std::string_view event, std::string_view extra, std::string_view time);

// Text as a JSON string literal, quotes included.
std::string JsonString(std::string_view text);

}  // namespace plumgr::sim
