// plumgr-cli: the headless front end on the same core as the desktop program.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <clocale>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/contract_text.h"
#include "data/helpers.h"

namespace {

using namespace plumgr::cli;

// Whether --json was given. The parser stores the flag only after --version
// has ended the parsing, so its count is asked as well; from here on the
// options say it.
bool JsonAsked(const CLI::App& app, GlobalOptions& options) {
  options.Json = options.Json || app.get_option("--json")->count() > 0;
  return options.Json;
}

// Under --json stdout carries JSON objects only: help goes to stderr then.
std::ostream& HelpStream(const CLI::App& app, GlobalOptions& options) {
  return JsonAsked(app, options) ? std::cerr : std::cout;
}

std::string CommandNames(const CLI::App& app) {
  std::vector<std::string> names;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
    names.push_back(command->get_name());
  std::sort(names.begin(), names.end());
  return plumgr::JoinText(names, ", ");
}

// A first word that names no command: the parser would only say that a
// command is required.
std::optional<std::string> UnknownCommand(const CLI::App& app) {
  if (!app.get_subcommands().empty()) return std::nullopt;
  for (const std::string& word : app.remaining())
    if (!word.empty() && word.front() != '-') return word;
  return std::nullopt;
}

// Parses the arguments, which runs the chosen command, and returns the exit
// status; every way out leaves its message for the result line.
int RunCommand(CLI::App& app, GlobalOptions& options, int argc, char** argv, const int& exit_code) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, HelpStream(app, options), std::cerr);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, HelpStream(app, options), std::cerr);
  } catch (const CLI::CallForVersion& e) {
    if (!JsonAsked(app, options)) return app.exit(e, std::cout, std::cerr);
    SetResultMessage(e.what());
    return kSuccess;
  } catch (const CLI::ParseError& e) {
    if (const std::optional<std::string> word = UnknownCommand(app)) {
      const std::string message = "unknown command \"" + *word +
                                  "\"; the commands are: " + CommandNames(app) +
                                  " (plumgr-cli --help says more)";
      return Fail(kUsage, message);
    }
    app.exit(e);
    NoteError(e.what());
    return kUsage;
  } catch (const UsageError& e) {
    return Fail(kUsage, e.Message);
  } catch (const std::exception& e) {
    // A platform service that failed where nothing expected it to.
    return Fail(kFailed, e.what());
  }
  return exit_code;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace plumgr::cli;
  std::setlocale(LC_ALL, "");

  CLI::App app{
      "PLU Manager command line: data file sets, transfers and output for the TR-88 register",
      "plumgr-cli"};
  app.require_subcommand(1);
  app.set_version_flag("--version", "plumgr-cli " PLUMGR_VERSION);
  // Global options may also stand after the command (plumgr-cli detect --port COM3).
  app.fallthrough();
  GlobalOptions options;
  app.add_option("--settings", options.Settings,
                 "the settings file to use instead of the default SYSTEM.CFG location");
  app.add_option("--port", options.Port, "COM1..COM4 or a device path such as /dev/ttyUSB0");
  app.add_option("--baud", options.Baud, "9600, 19200, 38400, 57600 or 115200");
  app.add_option("--dump-dir", options.DumpDir, "directory for the diagnostic dumps");
  app.add_option("--trace", options.Trace, "after the command, write the bus trace to FILE");
  app.add_flag("--json", options.Json, "progress and result as JSON lines on stdout");
  app.add_flag("-q,--quiet", options.Quiet, "no progress display");

  int exit_code = kSuccess;
  for (const CommandRegistrar& registrar : Registrars())
    registrar(app, options, &exit_code);

  app.footer(kContractText);
  const int code = RunCommand(app, options, argc, argv, exit_code);
  PrintClosingLine(options, code);
  return code;
}
