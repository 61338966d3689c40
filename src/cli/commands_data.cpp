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
#include "cli/set_files.h"
#include "data/data_file_format.h"
#include "data/data_file_set.h"
#include "data/file_io.h"

namespace plumgr::cli {
namespace {

// The save dialog adds the extension "PLU" to a name typed without one; the
// command line does the same.
std::string WithPluExtension(const std::string& name) {
  std::filesystem::path path(name);
  if (path.has_extension()) return name;
  return name + ".PLU";
}

int FillTestDataCommand(const GlobalOptions& options, const std::string& set) {
  CliUiPort ui;
  MainWindowState state(ui);
  state.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  FillTestData(state);
  // The error has been shown (printed) already.
  if (!SaveAsName(state, WithPluExtension(set))) return kUsage;
  std::cout << state.CurrentFileName() << "\n";
  return kSuccess;
}

std::string ColumnTitle(GridId grid, int col) {
  const TitleTable& titles = grid == GridId::Plu ? Texts().PluTitles : Texts().DeptTitles;
  return col < static_cast<int>(titles.Entries.size()) ? titles.Entries[col] : std::string();
}

int CheckCommand(const GlobalOptions& options, const std::string& set) {
  CliUiPort ui;
  MainWindowState state(ui);
  state.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  Tables& tables = state.GetTables();
  const std::string plu = ResolveSetName(set);
  ReadSetTables(plu, state.DecimalSeparator(), tables);
  const std::string dep = CompanionName(plu, ".DEP");

  std::vector<CheckFinding> findings = CheckTables(tables, state.DecimalSeparator());
  for (const CheckFinding& f : findings) {
    const std::string& file = f.Grid == GridId::Plu ? plu : dep;
    std::cout << file << ": row " << f.Row << ", column " << f.Col << " ("
              << ColumnTitle(f.Grid, f.Col) << "): " << f.Reason << "\n";
  }
  return findings.empty() ? kSuccess : kFailed;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto set = std::make_shared<std::string>();
  CLI::App* fill = app.add_subcommand(
      "fill-test-data", "write the test data (Ctrl+Alt+F3) into a new data file set SET");
  fill->add_option("SET", *set, "the data file set (name.PLU)")->required();
  fill->callback([&options, set, exit_code] { *exit_code = FillTestDataCommand(options, *set); });

  auto checked = std::make_shared<std::string>();
  CLI::App* check = app.add_subcommand(
      "check", "report every refused cell and every repeated name or barcode of SET");
  check->add_option("SET", *checked, "the data file set (name.PLU)")->required();
  check->callback([&options, checked, exit_code] { *exit_code = CheckCommand(options, *checked); });
});

}  // namespace
}  // namespace plumgr::cli
