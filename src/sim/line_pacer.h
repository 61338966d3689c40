#pragma once
// The time bytes take on a serial line. A pseudo-terminal moves them at once, so
// the simulated register holds each byte back until its ten bits (start bit,
// eight data bits, stop bit) would have passed at the line speed.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace plumgr::sim {

using Clock = std::chrono::steady_clock;

// The time one byte takes at speed baud; zero for speed 0 (no pacing).
Clock::duration ByteTime(int speed);

// One direction of the line: bytes queue behind each other and each becomes
// due when its last bit has passed.
class PacedQueue {
 public:
  // Puts bytes on the line at now, behind the bytes still travelling. Speed 0
  // makes them due at once.
  void Push(const std::uint8_t* data, std::size_t size, int speed, Clock::time_point now);
  // Moves the bytes that are due by now to the end of out.
  void TakeDue(Clock::time_point now, std::vector<std::uint8_t>& out);
  // When to look again: the next byte's due time, but not sooner than slice
  // from now (bytes then leave in timed chunks), and never later than the last
  // queued byte, which the peer is waiting for. Empty when nothing is queued.
  std::optional<Clock::time_point> NextWake(Clock::time_point now, Clock::duration slice) const;
  bool Empty() const { return entries_.empty(); }
  void Clear();

 private:
  struct Entry {
    std::uint8_t Byte;
    Clock::time_point Due;
  };
  std::deque<Entry> entries_;
  Clock::time_point line_free_{};
};

}  // namespace plumgr::sim
