// plumgr-cli: the headless front end on the same core as the desktop program.

#include <CLI/CLI.hpp>

#include <clocale>
#include <iostream>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/contract_text.h"

namespace {

using namespace plumgr::cli;

// Under --json stdout carries JSON objects only: help goes to stderr then. The
// flag is known only once the arguments have been parsed up to the help.
std::ostream& HelpStream(const GlobalOptions& options) {
  return options.Json ? std::cerr : std::cout;
}

// Parses the arguments, which runs the chosen command, and returns the exit
// status; every way out leaves its message for the result line.
int RunCommand(CLI::App& app, const GlobalOptions& options, int argc, char** argv,
               const int& exit_code) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e, HelpStream(options), std::cerr);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e, HelpStream(options), std::cerr);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e, HelpStream(options), std::cerr);
  } catch (const CLI::ParseError& e) {
    app.exit(e);
    NoteError(e.what());
    return kUsage;
  } catch (const UsageError& e) {
    std::cerr << "plumgr-cli: " << e.Message << "\n";
    NoteError(e.Message);
    return kUsage;
  } catch (const std::exception& e) {
    // A platform service that failed where nothing expected it to.
    std::cerr << "plumgr-cli: " << e.what() << "\n";
    NoteError(e.what());
    return kFailed;
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
