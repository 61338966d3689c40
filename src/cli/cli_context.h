#pragma once
// What every plumgr-cli command sees: the global options and the exit codes.

#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace plumgr::cli {

enum ExitCode : int { kSuccess = 0, kFailed = 1, kUsage = 2 };

struct GlobalOptions {
  std::string Settings;  // --settings FILE; empty: the default SYSTEM.CFG location
  std::string Port;      // --port PORT; empty: [Comm] Port
  std::string Baud;      // --baud RATE; empty: [Comm] BaudRate
  std::string DumpDir;   // --dump-dir DIR; empty: the program's dump directory
  std::string Trace;     // --trace FILE
  bool Json = false;     // --json
  bool Quiet = false;    // -q, --quiet
};

// Thrown by a command for a usage error or a file that cannot be read or written:
// main prints the message and exits 2.
struct UsageError {
  std::string Message;
};

// A command adds its subcommand to the app; the callback it sets stores the exit
// code into *exit_code.
using CommandRegistrar = std::function<void(CLI::App& app, GlobalOptions& options, int* exit_code)>;

// Each commands_*.cpp file registers its commands through a static Registration.
std::vector<CommandRegistrar>& Registrars();

struct Registration {
  explicit Registration(CommandRegistrar registrar) {
    Registrars().push_back(std::move(registrar));
  }
};

}  // namespace plumgr::cli
