#include "sim/fault_plan.h"

namespace plumgr::sim {

FaultInjector::FaultInjector(const FaultPlan& plan) {
  Reset(plan);
}

void FaultInjector::Reset(const FaultPlan& plan) {
  plan_ = plan;
  random_.seed(plan.Seed);
  frames_ = 0;
  requests_ = 0;
  late_package_answered_ = false;
}

bool FaultInjector::Chance(double rate) {
  if (rate <= 0) return false;
  // The top 53 bits make a uniform double in [0, 1); the standard distributions
  // are not bit-for-bit the same on every library, this is.
  double draw = static_cast<double>(random_() >> 11) * 0x1.0p-53;
  return draw < rate;
}

FaultDecision FaultInjector::Decide() {
  ++frames_;
  FaultDecision decision;
  // Every chance is drawn for every frame, so one rate does not shift the
  // places where another fault strikes.
  bool nak_by_rate = Chance(plan_.NakRate);
  decision.Drop = Chance(plan_.DropRate);
  decision.Corrupt = Chance(plan_.CorruptRate);
  bool noise = Chance(plan_.NoiseRate);
  decision.Nak = frames_ <= plan_.NakFirst || nak_by_rate;
  if (noise) decision.NoiseBytes = 1 + static_cast<int>(random_() % 8);
  return decision;
}

bool FaultInjector::TakeWrongNumber() {
  return ++requests_ <= plan_.WrongNumberFirst;
}

int FaultInjector::AnswerDelayMs(int type, int number) {
  if (plan_.LatePackage.first < 0) return plan_.DelayMs;
  if (late_package_answered_ || std::pair(type, number) != plan_.LatePackage) return 0;
  late_package_answered_ = true;
  return plan_.DelayMs;
}

bool FaultInjector::HangupDue() const {
  return plan_.HangupAfter > 0 && frames_ >= plan_.HangupAfter;
}

std::uint8_t FaultInjector::NoiseByte() {
  for (;;) {
    auto byte = static_cast<std::uint8_t>(random_());
    if (byte != 0x02 && byte != 0x55) return byte;
  }
}

int FaultInjector::CorruptIndex() {
  return 1 + static_cast<int>(random_() % 298);
}

int FaultInjector::CorruptBit() {
  return static_cast<int>(random_() % 7);
}

}  // namespace plumgr::sim
