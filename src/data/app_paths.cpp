#include "data/app_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plumgr {

std::string ExecutablePath() {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string ExecutableDir() {
  const std::string exe = ExecutablePath();
  if (exe.empty()) return "./";
  std::string dir = std::filesystem::path(exe).parent_path().string();
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string DefaultDumpDir() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state != nullptr && state[0] == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home != nullptr ? home : ".") + "/.local/state";
  }
  return base + "/plumgr/dumps";
}

bool EnsureDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace plumgr
