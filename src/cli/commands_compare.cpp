// plumgr-cli diff and restore: what a download of a set would change on the
// register, read without changing anything, and a backup sent back.

#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/download_validation.h"
#include "cli/interrupts.h"
#include "cli/kind_options.h"
#include "cli/link_session.h"
#include "cli/progress_views.h"
#include "cli/set_backups.h"
#include "cli/set_checks.h"
#include "cli/set_files.h"
#include "data/data_file_set.h"
#include "data/set_code_page.h"

namespace plumgr::cli {
namespace {

constexpr const char* kDiffFooter =
    R"(Reads the register's data of the kinds (PLU records, departments, recycling prices, fast-sale
buttons, the parameter block) without changing anything, and lists row by row what a download
of SET would add, change (field by field: what the register holds -> what it would hold) and
clear. A PLU whose name the register already holds elsewhere is shown where the download sends
it. Exit status 0 no difference, 1 differences (the last line counts them) or a failed
transfer (the last stderr line is its error text), 2 a usage error.)";

constexpr const char* kRestoreFooter =
    R"(BACKUP is a backup folder (SET.backups/register-... or SET.backups/upload-...), its
backup.ini or a file in it. A backup of the register is sent back byte for byte, every PLU to
its own number; a backup of set files sends the kinds its files hold. The register's reports
must be cleared, as for a download.)";

// Titles and kind names are the program's own texts; what the register holds
// and what the download sends are in the set's code page.
std::string Utf8(const std::string& text) {
  return ToUtf8(text, CodePageId::Windows1250);
}

std::string RowTitle(const DiffRow& row) {
  std::string title = DownloadKindName(row.Kind);
  if (row.Number > 0) title += " " + std::to_string(row.Number);
  return title;
}

std::string RowText(const DiffRow& row, CodePageId page) {
  std::string text = Utf8(RowTitle(row)) + " " + DiffActionWord(row.Action);
  if (row.FromRow > 0) text += " (from row " + std::to_string(row.FromRow) + ")";
  text += ":";
  for (std::size_t i = 0; i < row.Fields.size(); ++i) {
    const FieldDifference& f = row.Fields[i];
    text += (i == 0 ? " " : "; ") + Utf8(f.Field) + " \"" + ToUtf8(f.Old, page) + "\" -> \"" +
            ToUtf8(f.New, page) + "\"";
  }
  return text;
}

std::string FieldsJson(const DiffRow& row, CodePageId page) {
  std::string json = "[";
  for (std::size_t i = 0; i < row.Fields.size(); ++i) {
    const FieldDifference& f = row.Fields[i];
    json += (i == 0 ? "" : ",") + std::string("{\"field\":") + JsonQuote(Utf8(f.Field)) +
            ",\"old\":" + JsonQuote(ToUtf8(f.Old, page)) +
            ",\"new\":" + JsonQuote(ToUtf8(f.New, page)) + "}";
  }
  return json + "]";
}

void PrintRow(const GlobalOptions& options, const DiffRow& row, CodePageId page) {
  JsonLine json("difference");
  json.Text("kind", DownloadKindWords()[static_cast<std::size_t>(row.Kind)]);
  if (row.Number > 0) json.Number("number", row.Number);
  json.Text("action", DiffActionWord(row.Action));
  if (row.FromRow > 0) json.Number("from_row", row.FromRow);
  json.Json("fields", FieldsJson(row, page));
  PrintOutputLine(options, json, RowText(row, page));
}

int DiffCommand(const GlobalOptions& options, const KindRangeArguments& args) {
  const std::uint8_t kinds = ParseKindList(args, DownloadKindWords());
  const std::string set = WithPluExtension(args.Set);
  LinkSession session(options);
  const std::optional<PluRange> range = PrepareSetToSend(session, set, kinds, args.Range);
  if (!range) return kUsage;
  RegisterLink link = MakeRegisterLink(session);
  CompareOutcome outcome;
  bool read = false;
  if (const int interrupted = RunInterruptible(
          session.Progress(),
          [&] {
            outcome = CompareWithRegister(link, kinds, *range, SetFilePath(set, kSetParameterFile));
            return outcome.Read;
          },
          &read))
    return session.Finish(interrupted);
  if (const int code = session.Finish(read ? kSuccess : kFailed); code != kSuccess) return code;

  const CodePageId page = CodePageOfSet(set, CodePageInForce()).Page;
  for (const DiffRow& row : outcome.Rows)
    PrintRow(options, row, page);
  const std::size_t count = outcome.Rows.size();
  SetResultNumber("differences", static_cast<long long>(count));
  if (count == 0) {
    SetSummary("No difference: the register holds what a download of " + set + " would send");
    return kSuccess;
  }
  const std::string text = std::to_string(count) + (count == 1 ? " row differs" : " rows differ") +
                           ": a download of " + set + " would change them";
  if (!options.Json) std::cout << text << "\n";
  NoteError(text);
  return kFailed;
}

int RestoreCommand(const GlobalOptions& options, const std::string& path) {
  std::string problem;
  const std::optional<BackupLocation> backup = LocateBackup(path, &problem);
  if (!backup) throw UsageError{problem};
  LinkSession session(options);
  RegisterLink link = MakeRegisterLink(session);
  RestoreOutcome outcome;
  bool ok = false;
  if (const int interrupted = RunInterruptible(
          session.Progress(),
          [&] {
            outcome = RestoreBackup(link, *backup);
            return outcome.Ok;
          },
          &ok))
    return session.Finish(interrupted);
  if (!outcome.Message.empty()) throw UsageError{outcome.Message};
  const int code = session.Finish(ok ? kSuccess : kFailed);
  if (code == kSuccess)
    SetSummary("Restored the backup " + backup->Folder + " (made " + backup->Manifest.Made +
               ") to the register");
  return code;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto diff_args = std::make_shared<KindRangeArguments>();
  CLI::App* diff = app.add_subcommand(
      "diff", "compare SET with the register: what a download of it would add, change and clear");
  AddKindRangeOptions(diff, *diff_args, DownloadKindWords());
  diff->footer(kDiffFooter);
  diff->callback(
      [&options, diff_args, exit_code] { *exit_code = DiffCommand(options, *diff_args); });

  auto backup = std::make_shared<std::string>();
  CLI::App* restore =
      app.add_subcommand("restore", "send a backup (made by upload or download --backup) back");
  restore->add_option("BACKUP", *backup, "the backup folder, or a file in it")->required();
  restore->footer(kRestoreFooter);
  restore->callback(
      [&options, backup, exit_code] { *exit_code = RestoreCommand(options, *backup); });
});

}  // namespace
}  // namespace plumgr::cli
