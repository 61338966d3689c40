#pragma once
// Where the program finds itself and puts its diagnostic files on Linux.

#include <string>

namespace plumgr {

// The path of the running executable; empty when the system does not tell.
std::string ExecutablePath();

// The directory of the running executable, with a trailing '/'.
std::string ExecutableDir();

// The directory for package dumps, TEMP.BIN and TEMP.LOG:
// $XDG_STATE_HOME/plumgr/dumps, by default ~/.local/state/plumgr/dumps.
std::string DefaultDumpDir();

// Creates the directory and its parents; false when that fails.
bool EnsureDirectory(const std::string& path);

}  // namespace plumgr
