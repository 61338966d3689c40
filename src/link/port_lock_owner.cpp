#include "link/port_lock_owner.h"

#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace plumgr {
namespace {

std::string FirstLine(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

// Lock files hold the id as ten characters of text (older ones as 4 binary
// bytes, which read as no number and are ignored).
long LockedPid(const std::string& lock_path) {
  std::string text = FirstLine(lock_path);
  char* end = nullptr;
  const long pid = std::strtol(text.c_str(), &end, 10);
  return end != text.c_str() && pid > 0 ? pid : 0;
}

bool IsRunning(long pid) {
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

}  // namespace

std::string PortLockOwnerIn(const std::string& device_path, const std::string& lock_dirs) {
  const std::size_t slash = device_path.rfind('/');
  const std::string device =
      slash == std::string::npos ? device_path : device_path.substr(slash + 1);
  std::istringstream dirs(lock_dirs);
  for (std::string dir; std::getline(dirs, dir, ':');) {
    const long pid = LockedPid(dir + "/LCK.." + device);
    if (pid == 0 || !IsRunning(pid)) continue;
    const std::string name = FirstLine("/proc/" + std::to_string(pid) + "/comm");
    if (name.empty()) return " (process " + std::to_string(pid) + ")";
    return " (" + name + ", process " + std::to_string(pid) + ")";
  }
  return {};
}

std::string PortLockOwner(const std::string& device_path) {
  return PortLockOwnerIn(device_path, "/run/lock:/var/lock");
}

}  // namespace plumgr
