#include "sim/line_pacer.h"

#include <algorithm>

namespace plumgr::sim {

Clock::duration ByteTime(int speed) {
  if (speed <= 0) return Clock::duration::zero();
  return std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL) /
                                                     speed);
}

void PacedQueue::Push(const std::uint8_t* data, std::size_t size, int speed,
                      Clock::time_point now) {
  Clock::duration byte_time = ByteTime(speed);
  Clock::time_point due = std::max(now, line_free_);
  for (std::size_t i = 0; i < size; ++i) {
    due += byte_time;
    entries_.push_back({data[i], due});
  }
  line_free_ = due;
}

void PacedQueue::TakeDue(Clock::time_point now, std::vector<std::uint8_t>& out) {
  while (!entries_.empty() && entries_.front().Due <= now) {
    out.push_back(entries_.front().Byte);
    entries_.pop_front();
  }
}

std::optional<Clock::time_point> PacedQueue::NextWake(Clock::time_point now,
                                                      Clock::duration slice) const {
  if (entries_.empty()) return std::nullopt;
  return std::min(entries_.back().Due, std::max(entries_.front().Due, now + slice));
}

void PacedQueue::Clear() {
  entries_.clear();
  line_free_ = {};
}

}  // namespace plumgr::sim
