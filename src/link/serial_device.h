#pragma once
// The serial device under TComm: one open terminal device in raw mode, held for
// exclusive use, with the line settings written to it. The worker threads use its
// descriptor; everything else happens on the owner thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "link/comm.h"

struct termios;

namespace plumgr {

// The driver's running counts of line errors and modem events.
struct LineCounters {
  std::uint32_t Overrun = 0;
  std::uint32_t BufferOverrun = 0;
  std::uint32_t Parity = 0;
  std::uint32_t Frame = 0;
  std::uint32_t Break = 0;
  std::uint32_t CarrierDetect = 0;
  std::uint32_t Ring = 0;
};

// The OnReceiveError and OnModemStateChange bits for what changed between two counts.
std::uint32_t ErrorBits(const LineCounters& before, const LineCounters& after);
std::uint32_t ModemBits(const LineCounters& before, const LineCounters& after);

// What the operator is told when the device cannot be opened for this errno: the
// fixed message, and for a permission failure how to obtain access.
std::string OpenFailureMessage(int error);

// Sets the bits of a terminal's settings that the line properties decide (all but
// the speed), leaving the others as they are.
void BuildTermios(termios& t, const CommLineSettings& settings);

class SerialDevice {
 public:
  struct OpenResult {
    std::unique_ptr<SerialDevice> Device;
    std::string Message;  // the ECommsError message when Device is empty
    std::string Detail;
  };

  // Opens the device for reading and writing without blocking, takes it for
  // exclusive use and puts it into raw mode.
  static OpenResult Open(const std::string& path);

  // Gives up exclusive use and closes the device.
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  int Fd() const { return fd_; }
  const std::string& Path() const { return path_; }

  // Writes the settings and the modem lines; false when the driver refused part of
  // them (what it accepted stays in force).
  bool Apply(const CommLineSettings& settings);

  // Discards unsent and unread bytes and restarts output held by XOFF, which also
  // wakes a thread waiting in Drain.
  void Purge();

  // Waits until the driver has sent everything written; false when the device failed.
  bool Drain() const;

  // Nothing when the driver keeps no counts (pseudo-terminals).
  std::optional<LineCounters> Counters() const;

 private:
  SerialDevice(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  bool ApplyModemLines(const CommLineSettings& settings);
  bool ApplyRs485(bool enable);

  int fd_ = -1;
  std::string path_;
  bool rs485_enabled_ = false;
};

}  // namespace plumgr
