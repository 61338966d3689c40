#pragma once
// The register's side of frame reception. The PC's receiver only completes a
// frame that repeats the header of its own request; the register cannot know
// what comes next, so it takes any header and keeps only the positional rules:
// start byte 0x03, 299 bytes with bit 7 set, end byte 0x04, and a stray 0x03
// starting over. Decoding is left to UnpackFrame.

#include <cstddef>
#include <cstdint>

#include "link/bus_frame.h"

namespace plumgr::sim {

class FrameAssembler {
 public:
  // Takes one byte; true when it completed a frame, which Frame() then holds
  // until the next byte is pushed.
  bool Push(std::uint8_t byte);
  const BusFrame& Frame() const { return frame_; }
  // Bytes of a partial frame that were thrown away so far (noise, cut frames).
  std::size_t DiscardedBytes() const { return discarded_; }
  void Reset() { position_ = 0; }

 private:
  BusFrame frame_{};
  std::size_t position_ = 0;
  std::size_t discarded_ = 0;
};

}  // namespace plumgr::sim
