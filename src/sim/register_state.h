#pragma once
// What the simulated register remembers between frames.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/bus_frame.h"
#include "sim/register_memory.h"
#include "sim/register_status.h"

namespace plumgr::sim {

// One frame as the register received it, whatever became of it.
struct ReceivedPackage {
  package Package;
  bool ChecksumOk = false;
  int Speed = 0;      // the line speed it arrived at
  std::string Reply;  // "ack", "nak", "frame" or "none"
  std::string Fault;  // the faults that shaped the reply, comma separated
};

struct RegisterState {
  RegisterStatus Status;
  RegisterMemory Memory;
  bool Connected = false;
  // The speed agreed in the last connect; while connected the register hears
  // nothing sent at another speed.
  int LineSpeed = 0;
  std::uint32_t Station = 0;
  // The PC's clock as the last connect carried it: year (two digits), month,
  // day, hour, minute, second.
  std::array<int, 6> PcClock{};
  // Data byte 4 of the last disconnect: 1 when the PC ended after a failure.
  bool DisconnectedAfterFailure = false;
  int Connects = 0;
  int Disconnects = 0;
  // Every frame received, in arrival order.
  std::vector<ReceivedPackage> Received;
};

}  // namespace plumgr::sim
