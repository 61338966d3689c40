#pragma once
// Port names as the operator knows them (COM1 to COM4) and the serial devices of
// this machine. COM1 to COM4 lead to /dev/ttyS0 to /dev/ttyS3 unless keys COM1 to
// COM4 of section [Comm] in SYSTEM.CFG name another device (COM3=/dev/ttyUSB0); a
// device path is accepted wherever a port name is.

#include <functional>
#include <string>
#include <vector>

namespace plumgr {

// Given a [Comm] key ("COM3"), returns the device configured for it, or an empty
// string when there is none. The settings code provides it; tests pass a lambda.
using PortSettingLookup = std::function<std::string(const std::string& key)>;

struct ResolvedPort {
  std::string Device;  // the device path to open; empty when refused
  std::string Error;   // why the name was refused

  explicit operator bool() const { return !Device.empty(); }
};

// COM1 to COM4 (any letter case) through the lookup, else their default device;
// a path starting with '/' as it is; anything else is refused with a message.
[[nodiscard]] ResolvedPort ResolvePortName(const std::string& name,
                                           const PortSettingLookup& lookup);

struct SerialPortInfo {
  std::string Device;                    // /dev/ttyUSB0
  std::string Driver;                    // serial8250, ftdi_sio, cdc_acm, ... (may be empty)
  std::vector<std::string> StableNames;  // its /dev/serial/by-id links

  friend bool operator==(const SerialPortInfo&, const SerialPortInfo&) = default;
};

// Tells whether an on-board UART device is a phantom (the driver knows no UART there).
using PhantomProbe = std::function<bool(const std::string& device)>;

// The serial devices present, sorted by device path: entries of /sys/class/tty with
// a device link, without the phantom UARTs that serial8250 lists.
std::vector<SerialPortInfo> ListSerialPorts();

// The same over other roots, for tests: sys_class_tty stands for /sys/class/tty,
// dev for /dev.
std::vector<SerialPortInfo> ListSerialPorts(const std::string& sys_class_tty,
                                            const std::string& dev, const PhantomProbe& probe);

// Opens the device and asks the driver for the UART type; true for PORT_UNKNOWN.
// A device that cannot be opened or asked is not called a phantom.
bool IsPhantomUart(const std::string& device);

}  // namespace plumgr
