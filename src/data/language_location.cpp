#include "data/language_location.h"

#include <cstdlib>
#include <filesystem>

#include "data/app_paths.h"
#include "data/language_file.h"
#include "data/settings_location.h"

namespace plumgr {
namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

std::string LanguageFileBeside(const std::string& executable_path) {
  std::filesystem::path path(executable_path);
  path.replace_extension(kLanguageFileExtension);
  return path.string();
}

std::string LocateLanguageFile(const LanguageLocationInput& input) {
  const std::string beside = LanguageFileBeside(input.ExecutablePath);
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  const std::string name = std::filesystem::path(beside).filename().string();
  return UserConfigDir(input.XdgConfigHome, input.Home) + "/" + name;
}

std::string LanguageFilePath() {
  return LocateLanguageFile(
      {ExecutablePath(), Environment("XDG_CONFIG_HOME"), Environment("HOME")});
}

}  // namespace plumgr
