#pragma once
// Where the interface language file lives: the executable's path with its
// extension replaced by ".LNG" (plumgr.LNG beside plumgr); when that file is
// absent, the same name in the user's configuration directory, where the
// settings file goes when the program's own directory cannot hold it. When
// neither exists, an installed program takes the file of the user's language
// from the files installed with it: ../share/plumgr/lang/pl.LNG beside
// /usr/bin/plumgr for a Polish locale.

#include <string>

namespace plumgr {

struct LanguageLocationInput {
  std::string ExecutablePath;
  std::string XdgConfigHome;  // $XDG_CONFIG_HOME; used only when absolute
  std::string Home;           // $HOME
};

// The folder of the language files installed with the program.
std::string InstalledLanguageDir(const std::string& executable_path);

// The executable's path with its extension replaced by ".LNG", or ".LNG" added.
std::string LanguageFileBeside(const std::string& executable_path);

// The language file for these inputs; it may not exist (then every text keeps
// its built-in value).
// `locale` is $LC_ALL, else $LC_MESSAGES, else $LANG ("pl_PL.UTF-8").
std::string LocateLanguageFile(const LanguageLocationInput& input, const std::string& locale = {});

// The language file of this process.
std::string LanguageFilePath();

}  // namespace plumgr
