// plumgr-cli report, dump-memory and download-font: the report upload and the
// service transfers.

#include <CLI/CLI.hpp>

#include <iostream>

#include "app/memory_range_model.h"
#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/link_session.h"
#include "cli/progress_views.h"
#include "data/file_io.h"
#include "transfer/font_download.h"
#include "transfer/memory_dump.h"
#include "transfer/report_upload.h"

namespace plumgr::cli {
namespace {

// The README's table: a file that cannot be written is status 2, also when the
// register has answered; a transfer that failed is 1.
int ExitCodeOf(const ServiceResult& result) {
  switch (result.Outcome) {
    case ServiceOutcome::Done:
      return kSuccess;
    case ServiceOutcome::FileError:
      std::cerr << "plumgr-cli: " << result.Message << "\n";
      NoteError(result.Message);
      return kUsage;
    case ServiceOutcome::PortNotOpened:
    case ServiceOutcome::Failed:
      break;
  }
  return kFailed;
}

// Refuses an output file that cannot be written before the register is asked,
// so that a report is not read only to be lost.
void CheckWritable(const std::string& path) {
  PendingFile probe;
  FileResult prepared = PendingFile::Prepare(path, {}, NewFileAccess::Shared, &probe);
  if (prepared) prepared = probe.CheckTarget();
  if (!prepared) throw UsageError{prepared.Message};
}

// The report is the register's bytes, line ends included, exactly as sent.
int ReportCommand(const GlobalOptions& options, const std::string& output) {
  if (output.empty() && options.Json)
    throw UsageError{"--json writes the progress to stdout: give the report a file (--output)"};
  if (!output.empty()) CheckWritable(output);
  LinkSession session(options);
  session.PrepareBus();
  ReportUploadResult report = UploadReport(session.Bus(), session.Progress());
  if (const int code = session.Finish(ExitCodeOf(report.Result)); code != kSuccess) return code;
  if (output.empty()) {
    std::cout.write(report.Text.data(), static_cast<std::streamsize>(report.Text.size()));
    std::cout.flush();
    return kSuccess;
  }
  if (FileResult written = ReplaceFile(output, report.Text); !written)
    throw UsageError{written.Message};
  SetSummary("Read the report (" + std::to_string(report.Text.size()) + " bytes) into " + output);
  return kSuccess;
}

struct DumpOptions {
  std::string Base;
  std::string Count;
  bool Ram = false;
};

MemoryRange ParseDumpRange(const DumpOptions& dump) {
  const std::optional<std::uint32_t> base = ParseHexBase(dump.Base);
  if (!base) throw UsageError{"--base \"" + dump.Base + "\" is not a hexadecimal page number"};
  const std::optional<std::int32_t> count = ParseDecimalCount(dump.Count);
  if (!count || *count <= 0 || dump.Count[0] == '+')
    throw UsageError{"--count \"" + dump.Count + "\" is not a positive decimal number"};
  return {*base, *count, dump.Ram ? MemoryKind::Ram : MemoryKind::Rom};
}

void PrintPaths(const GlobalOptions& options, const std::string& bin, const std::string& log) {
  if (options.Json)
    std::cout << JsonLine("dump").Text("bin", bin).Text("log", log).Str() << "\n";
  else
    std::cout << bin << "\n" << log << "\n";
}

int DumpMemoryCommand(const GlobalOptions& options, const DumpOptions& dump) {
  const MemoryRange range = ParseDumpRange(dump);
  LinkSession session(options);
  session.PrepareBus();
  MemoryDumpResult result =
      DumpMemory(session.Bus(), session.Progress(), range, session.State().DumpDir());
  if (const int code = session.Finish(ExitCodeOf(result.Result)); code != kSuccess) return code;
  PrintPaths(options, result.BinPath, result.LogPath);
  return kSuccess;
}

int DownloadFontCommand(const GlobalOptions& options, const std::string& path) {
  FileReadResult font = ReadFileBytes(path);
  if (!font.Ok) throw UsageError{font.Message};
  if (font.Bytes.size() > kMaxFontSize)
    throw UsageError{"The font file \"" + path + "\" is too large: at most " +
                     std::to_string(kMaxFontSize) + " bytes"};
  LinkSession session(options);
  session.PrepareBus();
  ServiceResult sent = DownloadFontBytes(session.Bus(), session.Progress(), font.Bytes);
  const int code = session.Finish(ExitCodeOf(sent));
  if (code == kSuccess) SetSummary("Sent the font file " + path);
  return code;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto output = std::make_shared<std::string>();
  CLI::App* report = app.add_subcommand(
      "report", "read the register's report text (\"Upload report\") to stdout or a file");
  report->add_option("--output", *output, "write the report to FILE, its bytes unchanged");
  report->callback([&options, output, exit_code] { *exit_code = ReportCommand(options, *output); });

  auto dump = std::make_shared<DumpOptions>();
  CLI::App* memory = app.add_subcommand(
      "dump-memory",
      "read memory pages into TEMP.BIN and a listing TEMP.LOG in the dump directory");
  memory->add_option("--base", dump->Base, "the first page, hexadecimal")->required();
  memory->add_option("--count", dump->Count, "the number of 256-byte pages, decimal")->required();
  memory->add_flag("--ram", dump->Ram, "read RAM instead of ROM");
  memory->callback([&options, dump, exit_code] { *exit_code = DumpMemoryCommand(options, *dump); });

  auto font = std::make_shared<std::string>();
  CLI::App* download = app.add_subcommand("download-font", "send a font file (*.fnt)");
  download->add_option("FILE", *font, "the font file")->required();
  download->callback(
      [&options, font, exit_code] { *exit_code = DownloadFontCommand(options, *font); });
});

}  // namespace
}  // namespace plumgr::cli
