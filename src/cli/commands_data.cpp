// plumgr-cli fill-test-data and check: the data file set without a register.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "app/file_commands.h"
#include "app/main_window_state.h"
#include "app/service_commands.h"
#include "app/set_check.h"
#include "cli/cli_context.h"
#include "cli/cli_ui_port.h"
#include "cli/command_result.h"
#include "cli/download_validation.h"
#include "cli/set_checks.h"
#include "cli/set_files.h"
#include "data/data_file_format.h"
#include "data/data_file_set.h"
#include "data/file_io.h"

namespace plumgr::cli {
namespace {

// A set is new when none of its five files exists; anything else is the
// operator's data, which test data must not replace unasked.
void RefuseExistingSet(const std::string& plu_file) {
  for (SetFile file :
       {kSetPluFile, kSetSignFile, kSetDeptFile, kSetRecyclingFile, kSetParameterFile}) {
    const std::string path = SetFilePath(plu_file, file);
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, ec)))
      throw UsageError{"\"" + path +
                       "\" exists: fill-test-data writes a new set only (--force replaces it)"};
  }
}

int FillTestDataCommand(const GlobalOptions& options, const std::string& set, bool force) {
  const std::string plu_file = WithPluExtension(set);
  if (!force) RefuseExistingSet(plu_file);
  CliUiPort ui;
  MainWindowState state(ui);
  state.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  FillTestData(state);
  // The error has been shown (printed) already.
  if (!SaveAsName(state, plu_file)) return kUsage;
  PrintOutputLine(options, JsonLine("saved").Text("path", state.CurrentFileName()),
                  state.CurrentFileName());
  SetResultMessage("Wrote the test data into " + state.CurrentFileName());
  return kSuccess;
}

int CheckCommand(const GlobalOptions& options, const std::string& set) {
  CliUiPort ui;
  MainWindowState state(ui);
  state.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  Tables& tables = state.GetTables();
  const std::string plu = WithPluExtension(set);
  ReadSetTables(plu, state.DecimalSeparator(), tables);

  std::vector<CheckFinding> findings = CheckTables(tables, state.DecimalSeparator());
  for (CheckFinding& f : FindUnencodableCells(plu))
    findings.push_back(std::move(f));
  for (const CheckFinding& f : findings) {
    const JsonLine json =
        JsonLine("finding")
            .Text("file", f.Grid == GridId::Plu ? plu : CompanionName(plu, ".DEP"))
            .Number("row", f.Row)
            .Number("column", f.Col)
            .Text("title", FindingColumnTitle(f.Grid, f.Col))
            .Text("reason", f.Reason);
    PrintOutputLine(options, json, FormatFinding(f, plu));
  }
  if (!findings.empty()) {
    NoteError(std::to_string(findings.size()) + " findings in " + plu);
    return kFailed;
  }
  SetResultMessage("No findings in " + plu);
  return kSuccess;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto set = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  CLI::App* fill = app.add_subcommand(
      "fill-test-data", "write the test data (Ctrl+Alt+F3) into a new data file set SET");
  fill->add_option("SET", *set, "the data file set (name.PLU)")->required();
  fill->add_flag("--force", *force, "replace the files of an existing set");
  fill->callback([&options, set, force, exit_code] {
    *exit_code = FillTestDataCommand(options, *set, *force);
  });

  auto checked = std::make_shared<std::string>();
  CLI::App* check = app.add_subcommand(
      "check", "report every refused cell and every repeated name or barcode of SET");
  check->add_option("SET", *checked, "the data file set (name.PLU)")->required();
  check->callback([&options, checked, exit_code] { *exit_code = CheckCommand(options, *checked); });
});

}  // namespace
}  // namespace plumgr::cli
