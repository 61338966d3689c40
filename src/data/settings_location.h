#pragma once
// Where the settings file SYSTEM.CFG lives. Beside the executable when one is
// already there or that directory is writable (a portable install); otherwise in
// the user's configuration directory. A path given on the command line wins.

#include <string>

#include "data/ini_file.h"

namespace plumgr {

inline constexpr const char* kSettingsFileName = "SYSTEM.CFG";

struct SettingsLocationInput {
  std::string Override;       // the command line's settings file; empty when none
  std::string ExecutableDir;  // with a trailing '/'
  std::string XdgConfigHome;  // $XDG_CONFIG_HOME; used only when absolute
  std::string Home;           // $HOME
};

// The program's folder in the user's configuration directory:
// $XDG_CONFIG_HOME/plumgr when that is absolute, otherwise ~/.config/plumgr.
std::string UserConfigDir(const std::string& xdg_config_home, const std::string& home);

// The settings path for these inputs. Creates the configuration directory
// (owner only) when it is chosen and missing; never creates the file.
std::string LocateSettingsFile(const SettingsLocationInput& input);

// The settings path for this process: the executable's directory and the
// environment, with the override when it is not empty.
std::string SettingsFilePath(const std::string& override_path = {});

// The settings file at path as an INI file; when a write creates it, only its
// owner may read it, since it holds the clerks' passwords.
inline IniFile SettingsFile(std::string path) {
  return IniFile(std::move(path), NewFileAccess::OwnerOnly);
}

}  // namespace plumgr
