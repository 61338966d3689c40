// plumgr-cli import and convert: items from a spreadsheet or CSV file into a
// data file set, and a set's text rewritten into another code page.

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>

#include "app/import_model.h"
#include "app/main_window_state.h"
#include "app/set_check.h"
#include "cli/cli_context.h"
#include "cli/cli_ui_port.h"
#include "cli/command_result.h"
#include "cli/set_checks.h"
#include "cli/set_files.h"
#include "data/data_file_set.h"
#include "data/data_file_text.h"
#include "data/language_file.h"
#include "data/language_location.h"
#include "data/set_code_page.h"
#include "data/set_conversion.h"

namespace plumgr::cli {
namespace {

struct ImportArgs {
  std::string Set;
  std::string File;
  std::string Map;
  std::string Table = "plu";
  std::string Language;
  bool SkipRefused = false;
};

struct ConvertArgs {
  std::string Set;
  std::string To;
  std::string From;  // empty: the set's own code page
};

GridId ParseTable(const std::string& table) {
  if (table == "plu" || table == "PLU") return GridId::Plu;
  if (table == "department" || table == "dept") return GridId::Dept;
  throw UsageError{"unknown table \"" + table + "\": use plu or department"};
}

CodePageId ParseCodePage(const std::string& name) {
  if (std::optional<CodePageId> page = CodePageNamed(name)) return *page;
  throw UsageError{"unknown code page \"" + name + "\": use windows-1250, cp852 or mazovia"};
}

// Headers may be the language file's titles: the one given, or the program's.
void ApplyLanguageTitles(const std::string& language) {
  const std::string path = language.empty() ? LanguageFilePath() : language;
  LanguageReadResult read = LanguageFile::Read(path);
  if (!read.Ok) {
    if (!language.empty()) throw UsageError{read.Message};
    return;
  }
  read.File.ApplyToTexts(Texts());
}

// The set's tables as they are, without copying its .PAR over the settings
// file; a set that does not exist yet starts from the defaults.
// Start-up has put the settings file's code page in force and warned of a bad
// one; the set's .PAR may name its own.
void ReadTablesToImport(MainWindowState& state, const std::string& set, GridId grid) {
  const SetCodePage page = CodePageOfSet(set, CodePageInForce());
  if (page.FromSet && !page.Warning.empty()) std::cerr << "plumgr-cli: " << page.Warning << "\n";
  SetCodePageInForce(page.Page);
  std::error_code ec;
  if (!std::filesystem::exists(set, ec)) return;
  ReadSetTables(set, state.DecimalSeparator(), state.GetTables());
  // A UTF-8 table file's letters that the code page lacks are read as '?';
  // writing the file back would make them so for good.
  for (const CheckFinding& finding : FindUnencodableCells(set))
    if (finding.Grid == grid)
      throw UsageError{SetFilePath(set, grid == GridId::Plu ? kSetPluFile : kSetDeptFile) +
                       ": row " + std::to_string(finding.Row) + ", column " +
                       std::to_string(finding.Col) + ": " + finding.Reason +
                       ": nothing imported, since writing the file would lose it"};
}

void PrintRefusals(const GlobalOptions& options, const std::string& file,
                   const ImportOutcome& outcome) {
  for (const RefusedCell& cell : outcome.Refused) {
    JsonLine json = JsonLine("refused").Text("file", file).Number("row", cell.SheetRow);
    if (cell.SheetCol >= 0)
      json.Text("column", ColumnLetters(static_cast<std::size_t>(cell.SheetCol)))
          .Text("header", cell.Header)
          .Text("text", cell.Text);
    json.Text("reason", cell.Reason);
    PrintOutputLine(options, json, file + ": " + DescribeRefusal(cell));
  }
}

int ImportCommand(const GlobalOptions& options, const ImportArgs& args) {
  const GridId grid = ParseTable(args.Table);
  const std::string set = WithPluExtension(args.Set);
  CliUiPort ui;
  MainWindowState state(ui);
  state.StartUp({options.Settings, options.DumpDir, LocaleDecimalSeparator()});
  ApplyLanguageTitles(args.Language);
  ReadTablesToImport(state, set, grid);

  ImportModel model;
  if (!model.Load(args.File)) throw UsageError{model.Message()};
  model.SetGrid(grid);
  ColumnMapParse map = ParseColumnMap(args.Map);
  if (!map.Problem.empty()) throw UsageError{"--map: " + map.Problem};
  model.SetMap(std::move(map.Entries));
  if (std::vector<std::string> problems = model.Problems(); !problems.empty()) {
    std::string text = args.File + ": nothing imported:";
    for (const std::string& problem : problems)
      text += "\n  " + problem;
    throw UsageError{text};
  }
  if (!options.Quiet)
    for (const std::string& note : model.Notes())
      std::cerr << "plumgr-cli: " << args.File << ": " << note << "\n";

  const ImportOutcome outcome =
      model.Import(state, args.SkipRefused ? RefusedRows::LeaveOut : RefusedRows::RefuseImport);
  PrintRefusals(options, args.File, outcome);
  if (!outcome.Refused.empty() && !args.SkipRefused) {
    const std::string message = Counted(static_cast<int>(outcome.Refused.size()), "cell") +
                                " refused: nothing imported (--skip-refused imports the " +
                                "other rows and leaves out those that hold them)";
    return Fail(kFailed, message);
  }
  if (!outcome.Applied) {
    const std::string message = args.File + ": no row was imported";
    return Fail(kFailed, message);
  }
  Tables& tables = state.GetTables();
  const DataFileSetTables files{tables.PLUGrid, tables.DeptmentGrid, state.FastSale(),
                                state.Recycling(), state.SettingsPath()};
  if (FileResult saved = SaveSet(set, files, grid == GridId::Plu ? kSetPluFile : kSetDeptFile);
      !saved)
    throw UsageError{saved.Message};
  SetResultNumber("imported", outcome.RowsImported);
  SetResultNumber("left_out", outcome.RowsLeftOut);
  std::string summary = "Imported " + Counted(outcome.RowsImported, "row") + " from " + args.File +
                        " (" + model.Format() + ") into " +
                        SetFilePath(set, grid == GridId::Plu ? kSetPluFile : kSetDeptFile);
  if (outcome.RowsLeftOut > 0) summary += "; left out " + Counted(outcome.RowsLeftOut, "row");
  SetSummary(summary);
  if (outcome.RowsWithoutName > 0) std::cerr << "plumgr-cli: " << WithoutNameNote(outcome) << "\n";
  return kSuccess;
}

std::string DescribeConversionRefusal(const ConversionRefusal& refusal, CodePageId to) {
  std::string where = refusal.File + ": line " + std::to_string(refusal.Line);
  if (refusal.Field > 0) where += ", column " + std::to_string(refusal.Field);
  if (!refusal.Key.empty()) where += " (" + refusal.Key + ")";
  return where + ": " + DescribeCharacter(refusal.Character) + " is not in " +
         std::string(CodePageName(to));
}

int ConvertCommand(const GlobalOptions& options, const ConvertArgs& args) {
  const std::string set = WithPluExtension(args.Set);
  std::error_code ec;
  if (!std::filesystem::exists(set, ec)) throw UsageError{MissingFile(set)};
  const CodePageId to = ParseCodePage(args.To);
  const CodePageId from =
      args.From.empty() ? CodePageOfSetText(set, options.Settings) : ParseCodePage(args.From);
  const std::string names =
      std::string(CodePageName(from)) + " to " + std::string(CodePageName(to));
  if (from == to) {
    SetSummary(set + " is in " + std::string(CodePageName(to)) + " already: nothing to convert");
    return kSuccess;
  }
  SetConversionResult converted = ConvertSet(set, from, to);
  for (const ConversionRefusal& refusal : converted.Refused) {
    const JsonLine json = JsonLine("refused")
                              .Text("file", refusal.File)
                              .Number("line", refusal.Line)
                              .Number("column", refusal.Field)
                              .Text("key", refusal.Key)
                              .Text("character", DescribeCharacter(refusal.Character));
    PrintOutputLine(options, json, DescribeConversionRefusal(refusal, to));
  }
  if (!converted.Refused.empty()) {
    const std::string message = Counted(static_cast<int>(converted.Refused.size()), "character") +
                                " cannot be held in " + std::string(CodePageName(to)) +
                                ": no file of " + set + " was converted";
    return Fail(kFailed, message);
  }
  if (!converted.Ok) throw UsageError{converted.Message};
  SetSummary("Converted " + Counted(static_cast<int>(converted.Written.size()), "file") + " of " +
             set + " from " + names);
  return kSuccess;
}

const Registration kRegistration([](CLI::App& app, GlobalOptions& options, int* exit_code) {
  auto import_args = std::make_shared<ImportArgs>();
  CLI::App* import = app.add_subcommand(
      "import",
      "import items from a .csv, .xlsx or .xls FILE into the PLU (or department) table of SET; "
      "the set's other files are not touched");
  import->add_option("SET", import_args->Set, "the data file set (name.PLU); made when missing")
      ->required();
  import->add_option("FILE", import_args->File, "the file to import")->required();
  import->add_option("--map", import_args->Map,
                     "columns the titles do not name, as \"Nazwa=Name,Cena=Unit price\"");
  import->add_option("--table", import_args->Table, "plu (default) or department");
  import->add_option("--language", import_args->Language,
                     "a language file whose table titles the headers may use");
  import->add_flag("--skip-refused", import_args->SkipRefused,
                   "import the rows without a refused cell and leave out the others");
  import->callback([&options, import_args, exit_code] {
    *exit_code = ImportCommand(options, *import_args);
});

auto convert_args = std::make_shared<ConvertArgs>();
CLI::App* convert = app.add_subcommand(
    "convert",
    "rewrite the text of every file of SET into another code page, refusing characters it "
    "cannot hold (all files or none)");
convert->add_option("SET", convert_args->Set, "the data file set (name.PLU)")->required();
convert->add_option("--to", convert_args->To, "windows-1250, cp852 or mazovia")->required();
convert->add_option("--from", convert_args->From,
                    "the code page the set is in (default: the one its .PAR names, else "
                    "the settings file's)");
convert->callback([&options, convert_args, exit_code] {
  *exit_code = ConvertCommand(options, *convert_args);
});
});

}  // namespace
}  // namespace plumgr::cli
