#pragma once
// How a simulated register is set up: the speeds it answers at, its line, its
// status, its faults and where its log goes.

#include <optional>
#include <string_view>
#include <vector>

#include "sim/fault_plan.h"
#include "sim/frame_log.h"
#include "sim/register_memory.h"
#include "sim/register_status.h"

namespace plumgr::sim {

struct SimConfig {
  // The speeds at which a connect is answered; empty: any speed.
  std::vector<int> Speeds;
  // Bytes take the time they take on a real line at the current speed.
  bool LineRate = true;
  // Refuse (NAK) every package but a connect outside a connection. Off by
  // default: a lenient register serves tests that skip the handshake.
  bool RequireConnect = false;
  // End when the PC closes its side of the line (after it sent something).
  bool ExitOnClose = false;
  RegisterStatus Status;
  RegisterMemory Memory;  // what the register holds when it starts
  FaultPlan Faults;
  LogSink Log;  // may be empty
  // A descriptor that becomes readable when the register must stop (the
  // program passes a signalfd for SIGINT and SIGTERM); -1 for none.
  int StopDescriptor = -1;
};

// Parses "38400,115200" (or "any", giving an empty list). Each speed must be
// one of the register's: 9600, 19200, 38400, 57600, 115200.
std::optional<std::vector<int>> ParseSpeedList(std::string_view text);

}  // namespace plumgr::sim
