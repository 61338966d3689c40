// plumgr-cli download and upload: a data file set to the register and back.

#include <CLI/CLI.hpp>

#include <iostream>

#include "app/transfer_commands.h"
#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/contract_text.h"
#include "cli/download_validation.h"
#include "cli/interrupts.h"
#include "cli/kind_options.h"
#include "cli/link_session.h"
#include "cli/progress_views.h"
#include "cli/set_backups.h"
#include "cli/set_checks.h"
#include "cli/set_files.h"
#include "cli/transfer_notes.h"
#include "cli/upload_set.h"
#include "cli/verify_download.h"
#include "data/data_file_set.h"
#include "data/helpers.h"

namespace plumgr::cli {
namespace {

struct TransferArguments : KindRangeArguments {
  bool Verify = false;  // download --verify
  bool Backup = false;  // download --backup
};

// "PLU 1 to 3000, department, VAT": the kinds chosen, the PLU kind with its range.
std::string DescribeKinds(std::uint8_t kinds, const PluRange& range, const TitleTable& names) {
  std::string text;
  for (std::size_t kind = 0; kind < names.Entries.size(); ++kind) {
    if ((kinds & KindBit(static_cast<int>(kind))) == 0) continue;
    text += text.empty() ? "" : ", ";
    text += kind == 0 ? DescribePluRange(range) : names.Entries[kind];
  }
  return text.empty() ? "no kind" : text;
}

void SetRangeResult(std::uint8_t kinds, const PluRange& range) {
  if ((kinds & KindBit(0)) == 0) return;
  SetResultNumber("from", range.First);
  SetResultNumber("to", range.Last);
}

// A dump or report file the transfer could not write is told at once; the
// transfer goes on, and the command ends with the status of a file not written.
void SetUpCommands(TransferCommands& commands, LinkSession& session, bool json,
                   std::string* unwritten) {
  commands.SetBusPreparer([&session] { session.PrepareBus(); });
  // A script cannot look at the report: it is told where the report is.
  commands.SetFileOpener([json](const std::string& path) {
    if (json)
      std::cout << "{\"event\":\"report\",\"path\":" << JsonQuote(path) << "}\n";
    else
      std::cout << path << "\n";
  });
  commands.SetWarningSink([unwritten](const std::string& message) {
    std::cerr << "plumgr-cli: " << message << "\n";
    *unwritten = message;
  });
}

// A transfer that succeeded but could not write one of its files.
int UnwrittenFileStatus(const std::string& unwritten) {
  if (unwritten.empty()) return kSuccess;
  NoteError(unwritten);
  return kUsage;
}

int DownloadCommand(const GlobalOptions& options, const TransferArguments& args) {
  const std::uint8_t kinds = ParseKindList(args, DownloadKindWords());
  const std::string set = WithPluExtension(args.Set);
  LinkSession session(options);
  const std::optional<PluRange> range = PrepareSetToSend(session, set, kinds, args.Range);
  if (!range) return kUsage;
  if (args.Verify) ForgetVerifyDumps(session.State());
  if (args.Backup)
    if (const int code = BackUpRegisterBeforeDownload(session, kinds, *range, set))
      return session.Finish(code);
  TransferCommands commands(session.State(), session.Bus(), session.Progress());
  std::string unwritten;
  SetUpCommands(commands, session, options.Json, &unwritten);
  const DownloadToVerify sent{kinds, *range, SetFilePath(set, kSetParameterFile)};
  commands.SetDownloadParameterFile(sent.ParameterFile);
  commands.Driver().DownloadKinds = kinds;
  commands.SetDownloadRange(*range);
  SetRangeResult(kinds, *range);
  bool ok = false;
  const int interrupted = RunInterruptible(
      session.Progress(), [&] { return commands.RunDownload(); }, &ok);
  const int code = session.Finish(interrupted != 0 ? interrupted : ok ? kSuccess : kFailed);
  if (code != kSuccess) {
    NoteLinkCounts(session.Bus());
    return code;
  }
  SetSummary("Downloaded " + DescribeKinds(kinds, *range, Texts().DownloadKindNames) + " from " +
             set + " to the register");
  if (const int verified = FinishDownload(session, commands.Driver(), sent, args.Verify);
      verified != kSuccess)
    return verified;
  return UnwrittenFileStatus(unwritten);
}

int UploadCommand(const GlobalOptions& options, const TransferArguments& args) {
  const std::uint8_t kinds = ParseKindList(args, UploadKindWords());
  const std::string set = WithPluExtension(args.Set);
  LinkSession session(options);
  const std::optional<PluRange> range = ChooseCommandRange(args.Range);
  if (!range) return kUsage;
  // What the register sends would be lost if the set could not be written
  // afterwards, so every file to write is tried before the transfer.
  const UploadedParts parts{UploadTargets(set, kinds), (kinds & KindBit(kUploadPlu)) != 0, *range};
  CheckUploadTargets(set, parts.Files, kinds, session.State().SettingsPath());
  TransferCommands commands(session.State(), session.Bus(), session.Progress());
  std::string unwritten;
  SetUpCommands(commands, session, options.Json, &unwritten);
  commands.Driver().UploadKinds = kinds;
  commands.SetUploadRange(*range);
  SetRangeResult(kinds, *range);
  bool ok = false;
  if (const int interrupted = RunInterruptible(
          session.Progress(), [&] { return commands.RunUpload(); }, &ok))
    return session.Finish(interrupted);
  if (const int code = session.Finish(ok ? kSuccess : kFailed); code != kSuccess) return code;
  if (!KeepSetBeforeUpload(session, set)) return kUsage;
  if (FileResult saved = SaveUploadedSet(session.State(), set, parts); !saved) {
    const std::string message = saved.Message + " (the register was read, the set not written)";
    return Fail(kUsage, message);
  }
  SetSummary("Uploaded " + DescribeKinds(kinds, *range, Texts().UploadKindNames) +
             " from the register into " + set);
  NoteCleanedNames(commands.CleanedNames());
  return UnwrittenFileStatus(unwritten);
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto down = std::make_shared<TransferArguments>();
  CLI::App* download = app.add_subcommand(
      "download",
      "read SET as \"Open\" does, without touching the settings file, and download it to the "
      "register (\"Download data\")");
  AddKindRangeOptions(download, *down, DownloadKindWords());
  download->add_flag(
      "--verify", down->Verify,
      "read back what was sent and compare it with the set (exit 1 on a difference)");
  download->add_flag("--backup", down->Backup,
                     "first read the register's data of the kinds into a backup beside SET "
                     "(plumgr-cli restore sends it back)");
  download->footer(kDownloadContract);
  download->callback([&options, down, exit_code] { *exit_code = DownloadCommand(options, *down); });

  auto up = std::make_shared<TransferArguments>();
  CLI::App* upload = app.add_subcommand(
      "upload",
      "upload from the register (\"Upload data\") and save it as SET as \"Save As\" does");
  AddKindRangeOptions(upload, *up, UploadKindWords());
  upload->footer(kUploadContract);
  upload->callback([&options, up, exit_code] { *exit_code = UploadCommand(options, *up); });
});

}  // namespace
}  // namespace plumgr::cli
