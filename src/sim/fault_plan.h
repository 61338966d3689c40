#pragma once
// Faults the simulated register commits on demand. Every random choice comes
// from one generator seeded with Seed, so a run with the same seed and the same
// frames misbehaves in exactly the same places.

#include <cstdint>
#include <random>
#include <utility>

namespace plumgr::sim {

struct FaultPlan {
  std::uint64_t Seed = 1;
  int NakFirst = 0;          // NAK the first k frames received
  double NakRate = 0;        // NAK this fraction of the frames instead of handling them
  bool Silent = false;       // answer nothing at all
  double DropRate = 0;       // handle the frame but lose the answer on the line
  double CorruptRate = 0;    // damage the answer on the line
  int WrongNumberFirst = 0;  // answer the first k requests with another package number
  double NoiseRate = 0;      // put a few noise bytes on the line before an answer
  int DelayMs = 0;           // answer this much later than usual
  int HangupAfter = 0;       // close the line once this many frames arrived (0: never)
  // NAK every frame of this package (type, number), as a register that cannot
  // take it does; a type below 0 names none.
  std::pair<int, int> NakPackage{-1, -1};
  // Answer the first frame of this package DelayMs late and every other frame
  // at once: one late reply at a known place, so that the PC resends the
  // package and the reply to its first frame answers a later one.
  std::pair<int, int> LatePackage{-1, -1};
  // Neither handle nor answer any frame of this package, as a register that
  // never heard it.
  std::pair<int, int> IgnorePackage{-1, -1};
};

// What happens to the answer of one frame.
struct FaultDecision {
  bool Nak = false;  // rejected before it is handled
  bool Drop = false;
  bool Corrupt = false;
  int NoiseBytes = 0;
};

class FaultInjector {
 public:
  explicit FaultInjector(const FaultPlan& plan);

  const FaultPlan& Plan() const { return plan_; }
  // Replaces the plan; the counts of k-first faults start again, the generator
  // is seeded afresh.
  void Reset(const FaultPlan& plan);

  // Called once per complete frame, in arrival order.
  FaultDecision Decide();
  // Called for each answer that is a frame (the answer to a request): true
  // while the first WrongNumberFirst of them are still to be spoilt.
  bool TakeWrongNumber();
  // The delay of the answer to a frame of this package: DelayMs, or with a
  // late package, DelayMs for its first frame only and 0 for every other.
  int AnswerDelayMs(int type, int number);
  // True when the frame just counted is the one after which the line closes.
  bool HangupDue() const;

  // A noise byte: anything but ACK and NAK, which the PC would take for an answer.
  std::uint8_t NoiseByte();
  // Where in a 301-byte frame to flip a bit, and which bit (0 to 6).
  int CorruptIndex();
  int CorruptBit();

 private:
  bool Chance(double rate);

  FaultPlan plan_;
  std::mt19937_64 random_;
  int frames_ = 0;
  int requests_ = 0;
  bool late_package_answered_ = false;
};

}  // namespace plumgr::sim
