#include "sim/frame_assembler.h"

namespace plumgr::sim {

bool FrameAssembler::Push(std::uint8_t byte) {
  bool acceptable = position_ == 0                  ? byte == kFrameStart
                    : position_ < kBusFrameSize - 1 ? (byte & 0x80) != 0
                                                    : byte == kFrameEnd;
  if (acceptable) {
    frame_[position_] = byte;
    if (position_ == kBusFrameSize - 1) {
      position_ = 0;
      return true;
    }
    ++position_;
    return false;
  }
  discarded_ += position_ + (byte == kFrameStart ? 0 : 1);
  position_ = 0;
  if (byte == kFrameStart) {
    frame_[0] = byte;
    position_ = 1;
  }
  return false;
}

}  // namespace plumgr::sim
