#include "data/app_paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace plumgr {
namespace {

// An XDG base directory: the variable when it holds an absolute path, else the
// fallback below $HOME.
std::string XdgBaseDir(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : ".") + fallback;
}

}  // namespace

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
  return XdgBaseDir("XDG_STATE_HOME", "/.local/state") + "/plumgr/dumps";
}

std::string DefaultBackupDir() {
  return XdgBaseDir("XDG_DATA_HOME", "/.local/share") + "/plumgr/backups";
}

bool EnsureDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace plumgr
