// ecrsim: a simulated cash register on a pseudo-terminal or a real tty, for
// demonstrations, end-to-end tests and benchmarks of the PC side.

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

#include "sim/ecr_simulator.h"
#include "sim/signal_state_saver.h"
#include "sim/sim_config.h"
#include "sim/sim_line.h"
#include "sim/stop_signals.h"

namespace {

using plumgr::sim::EcrSimulator;
using plumgr::sim::SimConfig;
using plumgr::sim::SimLine;

constexpr const char* kFooter = R"(
Outside a connection the register hears the speeds of --speeds only; a connect
(type 14 number 1) is acknowledged and the register goes on at the speed the
connect names, hearing nothing sent at another speed until the disconnect
(type 14 number 2). It answers the status request (type 0 number 0) with its
status, and keeps and serves its data:
  13 PLU records to slots     11 PLU records, four a package
  87 PLU table for comparison (four a package, jumps over empty packages,
     256 bytes FF at the end)  8 PLU sales records (a stream of 17-byte records)
  12 departments written      10 departments read (16, eight a package)
   4 recycling prices written  3 recycling prices read (packages 0 to 6)
   1 parameter block written (0 to 2)  5 parameter block read (0 and 1)
  98 fast-sale buttons written 97 fast-sale buttons read (number 0)
   7 report text, 256 bytes a package, then a package of NULs
  14 number 16: memory page (data bytes 0-1 the page, byte 2 0x00 ROM, 0x10 RAM;
     a page no state file set reads as the low byte of page + i, +0x80 in RAM)
   2 font packages, kept by number
Every other package, a number outside a table, and every damaged frame get NAK.
The status counts are those of the memory unless --plu-count or
--sales-records set them.

State file (--state, --save-state): text, one item a line, data in hex:
  ecrsim-state 1 / price-decimals N / reports-cleared yes|no /
  plu INDEX HEX64B / sale HEX17B / department 1-16 HEX32B /
  recycling 1-100 HEX16B / parameters OFFSET HEX / fast-sale OFFSET HEX /
  report HEX / page rom|ram N HEX256B / font N HEX256B
Only what is not empty or zero is written; lines starting with # are comments.
With --save-state, SIGUSR1 (kill -USR1 PID) saves the state at once while the
register runs; the log shows a "saved" event.
With --device the tty is set to the first of --speeds (9600 for any) and then to
the speed each connect names; the hardware sets the pace.

Every frame received is logged as one JSON line (time, type, number, length,
checksum_ok, speed, reply, fault, data in hex); so are the events of the line
(start, ignored bytes, hangup, end).

Demo:
  ecrsim --link /tmp/ecr --speeds 38400,115200 --fill-plus 1200 \
         --report-file report.txt --save-state after.state
  then, in another terminal, use /tmp/ecr as the port of plumgr or plumgr-cli
  (--port /tmp/ecr --baud 115200); a device path is accepted wherever a port is.

Faults, reproducible with --seed:
  ecrsim --nak-first 2 --corrupt-rate 0.1 --seed 7 --log /tmp/ecr.jsonl

Stop with Ctrl+C. Exit status: 0 after a normal end (signal, PC closed with
--exit-on-close, hangup fault), 1 when the line cannot be opened, 2 for bad
options or a state or report file that cannot be read or written.)";

struct ProgramOptions {
  SimConfig Config;
  std::string Device;
  std::string Link;
  std::string LogPath;
  std::string Speeds = "any";
  bool NoLineRate = false;
  bool ReportsNotCleared = false;
  int PriceDecimals = 2;
  std::uint32_t PluCount = 0;
  std::uint32_t SalesRecords = 0;
  std::string StatePath;
  std::string SaveStatePath;
  std::string ReportPath;
  int FillPlus = 0;
  CLI::Option* PriceDecimalsOption = nullptr;
  CLI::Option* ReportsOption = nullptr;
  CLI::Option* PluCountOption = nullptr;
  CLI::Option* SalesRecordsOption = nullptr;
};

void AddOptions(CLI::App& app, ProgramOptions& options) {
  SimConfig& config = options.Config;
  app.add_option("--device", options.Device,
                 "serve this tty (raw mode) instead of a pseudo-terminal")
      ->type_name("PATH");
  app.add_option("--link", options.Link, "make a symbolic link PATH to the pseudo-terminal")
      ->type_name("PATH");
  app.add_option("--speeds", options.Speeds,
                 "speeds at which connects are answered: any, or a list such as 38400,115200")
      ->type_name("LIST");
  app.add_flag("--no-line-rate", options.NoLineRate,
               "move bytes at once instead of at the line speed (10 bits a byte)");
  app.add_flag("--require-connect", config.RequireConnect,
               "refuse every package but a connect outside a connection");
  app.add_flag("--exit-on-close", config.ExitOnClose, "end when the PC closes the line");
  app.add_option("--log", options.LogPath, "write the JSON lines to FILE instead of stderr")
      ->type_name("FILE");

  app.add_option("--state", options.StatePath, "start from the state in FILE")->type_name("FILE");
  app.add_option("--save-state", options.SaveStatePath,
                 "write the state to FILE on exit and on each SIGUSR1")
      ->type_name("FILE");
  app.add_option("--report-file", options.ReportPath,
                 "the report text (type 7) is the content of FILE")
      ->type_name("FILE");
  app.add_option("--fill-plus", options.FillPlus,
                 "put N test items (and a sale of each) into PLU slots 0 to N-1")
      ->type_name("N")
      ->check(CLI::Range(0, plumgr::sim::kPluCapacity));

  options.PriceDecimalsOption =
      app.add_option("--price-decimals", options.PriceDecimals,
                     "status: price decimals (default 2, or the state file's)")
          ->type_name("N")
          ->check(CLI::Range(0, 255));
  options.ReportsOption =
      app.add_flag("--reports-not-cleared", options.ReportsNotCleared,
                   "status: the reports are not cleared (downloads are refused)");
  options.PluCountOption = app.add_option("--plu-count", options.PluCount,
                                          "status: report this PLU count (default: the PLUs held)")
                               ->type_name("N");
  options.SalesRecordsOption =
      app.add_option("--sales-records", options.SalesRecords,
                     "status: report this sales record count (default: the records held)")
          ->type_name("N");

  plumgr::sim::FaultPlan& faults = config.Faults;
  app.add_option("--seed", faults.Seed, "seed of the random faults (default 1)")->type_name("N");
  app.add_option("--nak-first", faults.NakFirst, "NAK the first K frames")
      ->type_name("K")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--nak-rate", faults.NakRate, "NAK this fraction of the frames")
      ->type_name("P")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--nak-package", faults.NakPackage,
                 "NAK every frame of this package, such as 4:3 (recycling prices, package 3)")
      ->type_name("TYPE:NUMBER")
      ->delimiter(':');
  app.add_option("--late-package", faults.LatePackage,
                 "answer the first frame of this package --delay-ms late, every other at once")
      ->type_name("TYPE:NUMBER")
      ->delimiter(':');
  app.add_option("--ignore-package", faults.IgnorePackage,
                 "neither handle nor answer any frame of this package")
      ->type_name("TYPE:NUMBER")
      ->delimiter(':');
  app.add_flag("--silent", faults.Silent, "answer nothing");
  app.add_option("--drop-rate", faults.DropRate, "lose this fraction of the answers")
      ->type_name("P")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--corrupt-rate", faults.CorruptRate, "damage this fraction of the answers")
      ->type_name("P")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--wrong-number-first", faults.WrongNumberFirst,
                 "answer the first K requests with the next package number")
      ->type_name("K")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--noise-rate", faults.NoiseRate,
                 "put 1 to 8 noise bytes before this fraction of the answers")
      ->type_name("P")
      ->check(CLI::Range(0.0, 1.0));
  app.add_option("--delay-ms", faults.DelayMs, "answer this many milliseconds late")
      ->type_name("MS")
      ->check(CLI::NonNegativeNumber);
  app.add_option("--hangup-after", faults.HangupAfter,
                 "close the line, unanswered, when the Nth frame arrives")
      ->type_name("N")
      ->check(CLI::NonNegativeNumber);
}

// Completes the configuration from the parsed options; an error text when they
// do not fit together.
std::optional<std::string> FinishConfig(ProgramOptions& options) {
  std::optional<std::vector<int>> speeds = plumgr::sim::ParseSpeedList(options.Speeds);
  if (!speeds)
    return "--speeds: \"" + options.Speeds +
           "\" is not \"any\" or a list of 9600, 19200, 38400, 57600, 115200";
  if (!options.Device.empty() && !options.Link.empty())
    return "--link goes with a pseudo-terminal only";
  options.Config.Speeds = *speeds;
  options.Config.LineRate = !options.NoLineRate;
  plumgr::sim::RegisterImage image;
  if (!options.StatePath.empty()) {
    if (std::optional<std::string> error = plumgr::sim::LoadStateFile(options.StatePath, image))
      return error;
  }
  if (options.PriceDecimalsOption->count() > 0)
    image.Status.PriceDecimals = static_cast<std::uint8_t>(options.PriceDecimals);
  if (options.ReportsOption->count() > 0) image.Status.ReportsCleared = !options.ReportsNotCleared;
  if (options.PluCountOption->count() > 0) image.Status.PluCount = options.PluCount;
  if (options.SalesRecordsOption->count() > 0) image.Status.SalesRecordCount = options.SalesRecords;
  if (options.FillPlus > 0)
    plumgr::sim::FillTestPlus(image.Memory, options.FillPlus, image.Status.PriceDecimals);
  if (!options.ReportPath.empty()) {
    std::ifstream in(options.ReportPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) return "cannot read the report file " + options.ReportPath;
    if (!plumgr::sim::SetReport(image.Memory, std::move(text)))
      return "the report file " + options.ReportPath +
             " holds a NUL byte, which would end the report there";
  }
  options.Config.Status = image.Status;
  options.Config.Memory = std::move(image.Memory);
  return std::nullopt;
}

void RemoveLink(const std::string& link) {
  std::error_code ignored;
  if (!link.empty() && std::filesystem::is_symlink(link, ignored))
    std::filesystem::remove(link, ignored);
}

// Replaces a symbolic link left by an earlier run, but never a real file.
bool MakeLink(const std::string& link, const std::string& target) {
  RemoveLink(link);
  std::error_code error;
  std::filesystem::create_symlink(target, link, error);
  if (error) {
    std::cerr << "ecrsim: cannot make the link " << link << ": " << error.message() << "\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "ecrsim: a simulated cash register on a pseudo-terminal or a serial device.\n"
      "Prints the path the PC opens on its first line of output.",
      "ecrsim"};
  app.footer(kFooter);
  ProgramOptions options;
  AddOptions(app, options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int code = app.exit(e);
    return code == 0 ? 0 : 2;
  }
  if (std::optional<std::string> error = FinishConfig(options)) {
    std::cerr << "ecrsim: " << *error << "\n";
    return 2;
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_file(nullptr, &std::fclose);
  if (!options.LogPath.empty()) {
    log_file.reset(std::fopen(options.LogPath.c_str(), "w"));
    if (!log_file) {
      std::cerr << "ecrsim: cannot write the log " << options.LogPath << "\n";
      return 2;
    }
  }
  std::FILE* log = log_file ? log_file.get() : stderr;
  // One write a line: the state saver logs from a thread of its own.
  options.Config.Log = [log](std::string_view line) {
    std::string text(line);
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), log);
    std::fflush(log);
  };

  std::signal(SIGPIPE, SIG_IGN);
  int signal_fd = plumgr::sim::OpenStopSignals();
  if (signal_fd < 0)
    std::perror("ecrsim: signalfd (Ctrl+C ends the register without saving its state)");
  options.Config.StopDescriptor = signal_fd;

  try {
    SimLine line = options.Device.empty() ? SimLine::OpenPseudoTerminal()
                                          : SimLine::OpenDevice(options.Device, 9600);
    // The path is printed once the link is in place, so that whoever reads it can use either.
    if (!options.Link.empty() && !MakeLink(options.Link, line.PeerPath())) return 1;
    std::cout << line.PeerPath() << std::endl;
    EcrSimulator simulator(options.Config);
    std::optional<plumgr::sim::SignalStateSaver> saver;
    if (!options.SaveStatePath.empty())
      saver.emplace(simulator, options.SaveStatePath, options.Config.Log);
    plumgr::sim::EndReason reason = simulator.Run(std::move(line));
    saver.reset();
    RemoveLink(options.Link);
    if (signal_fd >= 0) close(signal_fd);
    if (!options.SaveStatePath.empty()) {
      if (std::optional<std::string> error = simulator.SaveState(options.SaveStatePath)) {
        std::cerr << "ecrsim: " << *error << "\n";
        return 2;
      }
    }
    return reason == plumgr::sim::EndReason::Failed ? 1 : 0;
  } catch (const std::system_error& e) {
    std::cerr << "ecrsim: " << e.what() << "\n";
    RemoveLink(options.Link);
    return 1;
  }
}
