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

std::string InstalledLanguageDir(const std::string& executable_path) {
  const std::filesystem::path bin = std::filesystem::path(executable_path).parent_path();
  return (bin.parent_path() / "share" / "plumgr" / "lang").string();
}

std::string LocateLanguageFile(const LanguageLocationInput& input, const std::string& locale) {
  const std::string beside = LanguageFileBeside(input.ExecutablePath);
  std::error_code ec;
  if (std::filesystem::exists(beside, ec)) return beside;
  const std::string name = std::filesystem::path(beside).filename().string();
  const std::string own = UserConfigDir(input.XdgConfigHome, input.Home) + "/" + name;
  if (std::filesystem::exists(own, ec) || locale.size() < 2) return own;
  // "pl_PL.UTF-8" is Polish; "C" and "POSIX" name no language.
  const std::string language = locale.substr(0, 2);
  const std::string installed =
      InstalledLanguageDir(input.ExecutablePath) + "/" + language + kLanguageFileExtension;
  return std::filesystem::exists(installed, ec) ? installed : own;
}

std::string LanguageFilePath() {
  std::string locale = Environment("LC_ALL");
  if (locale.empty()) locale = Environment("LC_MESSAGES");
  if (locale.empty()) locale = Environment("LANG");
  return LocateLanguageFile({ExecutablePath(), Environment("XDG_CONFIG_HOME"), Environment("HOME")},
                            locale);
}

}  // namespace plumgr
