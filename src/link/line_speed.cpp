#include "link/line_speed.h"

namespace plumgr {
namespace {

struct SpeedPair {
  std::uint32_t Baud;
  speed_t Code;
};

constexpr SpeedPair kSpeeds[] = {
    {1200, B1200},     {2400, B2400},     {4800, B4800},     {9600, B9600},
    {19200, B19200},   {38400, B38400},   {57600, B57600},   {115200, B115200},
    {230400, B230400}, {460800, B460800}, {921600, B921600},
};

}  // namespace

std::optional<speed_t> TermiosSpeed(std::uint32_t baud) {
  for (const SpeedPair& pair : kSpeeds)
    if (pair.Baud == baud) return pair.Code;
  return std::nullopt;
}

std::uint32_t BaudOfTermiosSpeed(speed_t code) {
  for (const SpeedPair& pair : kSpeeds)
    if (pair.Code == code) return pair.Baud;
  return 0;
}

}  // namespace plumgr
