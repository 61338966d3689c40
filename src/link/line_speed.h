#pragma once
// The terminal driver's speed codes (B9600, ...) for line speeds in bits per
// second: the one table that the serial port and the simulated register's line
// both use.

#include <termios.h>

#include <cstdint>
#include <optional>

namespace plumgr {

// The speed code of a line speed, or none when the driver has no such speed.
std::optional<speed_t> TermiosSpeed(std::uint32_t baud);

// The line speed of a speed code; 0 for a code without an entry.
std::uint32_t BaudOfTermiosSpeed(speed_t code);

}  // namespace plumgr
