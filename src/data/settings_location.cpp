#include "data/settings_location.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "data/app_paths.h"

namespace plumgr {
namespace {

bool Exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool IsWritableDirectory(const std::string& dir) {
  struct stat info {};
  return ::stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
         ::access(dir.c_str(), W_OK) == 0;
}

// Creates the directory and its missing parents, readable by the owner only.
void MakePrivateDirectories(const std::string& dir) {
  for (size_t slash = dir.find('/', 1);; slash = dir.find('/', slash + 1)) {
    std::string part = dir.substr(0, slash);
    if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return;
    if (slash == std::string::npos) return;
  }
}

std::string WithSlash(std::string dir) {
  if (dir.empty() || dir.back() != '/') dir += '/';
  return dir;
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string UserConfigDir(const std::string& xdg_config_home, const std::string& home) {
  std::string config = !xdg_config_home.empty() && xdg_config_home.front() == '/'
                           ? xdg_config_home
                           : WithSlash(home.empty() ? "." : home) + ".config";
  return WithSlash(config) + "plumgr";
}

std::string LocateSettingsFile(const SettingsLocationInput& input) {
  if (!input.Override.empty()) return input.Override;
  std::string beside = WithSlash(input.ExecutableDir) + kSettingsFileName;
  if (Exists(beside) || IsWritableDirectory(input.ExecutableDir)) return beside;
  std::string dir = UserConfigDir(input.XdgConfigHome, input.Home);
  MakePrivateDirectories(dir);
  return dir + "/" + kSettingsFileName;
}

std::string SettingsFilePath(const std::string& override_path) {
  return LocateSettingsFile(
      {override_path, ExecutableDir(), Environment("XDG_CONFIG_HOME"), Environment("HOME")});
}

}  // namespace plumgr
