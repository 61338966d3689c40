#pragma once
// Who holds a serial port, as the lock file of the UUCP convention says:
// /run/lock/LCK..ttyUSB0 (or /var/lock) holds the process id of the program
// that took the device, as text.

#include <string>

namespace plumgr {

// " (NAME, process PID)" for the program named by the device's lock file, or
// " (process PID)" when its name cannot be read; empty when there is no lock
// file or it names no running process.
std::string PortLockOwner(const std::string& device_path);

// The same, with the lock folders given (for tests).
std::string PortLockOwnerIn(const std::string& device_path, const std::string& lock_dirs);

}  // namespace plumgr
