#include "cli/set_files.h"

#include <filesystem>
#include <iostream>

#include "app/main_window_state.h"
#include "cli/cli_context.h"
#include "cli/set_checks.h"
#include "data/data_file_format.h"
#include "data/data_file_set.h"
#include "data/data_file_text.h"
#include "data/file_io.h"
#include "data/set_code_page.h"
#include "data/settings_keys.h"
#include "data/settings_location.h"

namespace plumgr::cli {
namespace {

void ReadTableFile(const std::string& path, bool required, const CodePageUpperHalf& page,
                   StringGrid& grid) {
  FileReadResult read = ReadFileBytes(path);
  if (read.Missing && !required) return;
  if (read.Missing) throw UsageError{MissingFile(path)};
  if (!read.Ok)
    throw UsageError{read.Message.empty() ? "cannot read \"" + path + "\"" : read.Message};
  ReadTable(ReadDataFileText(std::move(read.Bytes), page).Bytes, grid);
}

}  // namespace

std::string WithPluExtension(const std::string& name) {
  return std::filesystem::path(name).has_extension() ? name : name + ".PLU";
}

void ReadSetTables(const std::string& plu_file, char decimal_separator, Tables& tables) {
  const EcrProfile& profile =
      CurrentProfile().PluCount > 0 ? CurrentProfile() : EcrProfileTable().front();
  SizeTables(tables, profile);
  ResetAllRows(tables, decimal_separator);
  const CodePageUpperHalf& page = UpperHalf(CodePageOfSet(plu_file, CodePageInForce()).Page);
  ReadTableFile(plu_file, true, page, tables.PLUGrid);
  ReadTableFile(CompanionName(plu_file, ".DEP"), false, page, tables.DeptmentGrid);
}

}  // namespace plumgr::cli

namespace plumgr::cli {

CodePageId CodePageOfSetText(const std::string& plu_file, const std::string& settings_override) {
  IniReadResult read = SettingsFile(SettingsFilePath(settings_override)).Read();
  const CodePageSetting setting = Settings(read.Document, '.').CodePage();
  const SetCodePage of_set = CodePageOfSet(plu_file, setting.Page);
  const std::string& warning = of_set.FromSet ? of_set.Warning : setting.Warning;
  if (!warning.empty()) std::cerr << "plumgr-cli: " << warning << "\n";
  return of_set.Page;
}

void ReadSetTables(const std::string& plu_file, const std::string& settings_override,
                   char decimal_separator, Tables& tables) {
  SetCodePageInForce(CodePageOfSetText(plu_file, settings_override));
  ReadSetTables(plu_file, decimal_separator, tables);
}

void ReadSetToSend(MainWindowState& state, const std::string& plu_file) {
  Tables& tables = state.GetTables();
  const DataFileSetTables set{tables.PLUGrid, tables.DeptmentGrid, state.FastSale(),
                              state.Recycling(), state.SettingsPath()};
  if (FileResult read = LoadSet(plu_file, set, ParameterCopy::None); !read)
    throw UsageError{read.Message};
}

}  // namespace plumgr::cli
