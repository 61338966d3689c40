#pragma once
// The timer of the bus waits: the bus starts it once a frame has left the port
// and stops it when the wait ends. The program uses the event loop's timer;
// tests put one of their own in its place, so that whether a wait times out
// does not depend on how busy the machine is.

#include <functional>
#include <memory>

namespace plumgr {

class ReplyTimer {
 public:
  using Expiry = std::function<void()>;

  virtual ~ReplyTimer() = default;
  // Calls `expired` on the owner thread once `ms` have passed, unless Stop comes
  // first; a timer of a test may call it within Start.
  virtual void Start(int ms, Expiry expired) = 0;
  virtual void Stop() = 0;
};

// The owner thread's event-loop timer, to the millisecond.
std::unique_ptr<ReplyTimer> MakeEventLoopTimer();

}  // namespace plumgr
