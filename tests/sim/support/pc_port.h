#pragma once
// The PC's end of a simulated register's line in tests: the slave of the
// pseudo-terminal, opened raw like the serial port, with waits on poll
// timeouts only.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/bus_frame.h"

namespace plumgr::sim::testing {

using std::chrono::milliseconds;

class PcPort {
 public:
  PcPort(const std::string& path, int speed);
  ~PcPort();
  PcPort(const PcPort&) = delete;
  PcPort& operator=(const PcPort&) = delete;

  int Descriptor() const { return fd_; }
  void SetSpeed(int speed);
  void Write(const std::vector<std::uint8_t>& bytes);
  void Send(const PackageBlock& block);
  // Whatever arrives until count bytes are in or timeout passes.
  std::vector<std::uint8_t> Read(std::size_t count, milliseconds timeout);
  // The first ACK or NAK to arrive, as the PC's receiver sees it.
  std::optional<std::uint8_t> ReadReply(milliseconds timeout);
  // The frame that answers request, assembled by the PC's receiver.
  std::optional<UnpackedFrame> ReadAnswer(const PackageBlock& request, milliseconds timeout);
  // True when the line reports a hang-up before timeout.
  bool WaitForHangup(milliseconds timeout);
  void Close();

 private:
  int fd_ = -1;
};

PackageBlock Block(std::uint8_t type, std::uint16_t number,
                   const std::vector<std::uint8_t>& data = {});
// A connect from station 1234 on 31 December 2026 at 23:59:58 asking to go on
// at the speed with that number.
PackageBlock ConnectBlock(std::uint8_t speed_code);
PackageBlock DisconnectBlock(bool after_failure);
PackageBlock StatusRequest();

}  // namespace plumgr::sim::testing
