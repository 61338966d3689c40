#include "cli/set_files.h"

#include <filesystem>

#include "cli/cli_context.h"
#include "cli/set_checks.h"
#include "data/data_file_format.h"
#include "data/data_file_set.h"
#include "data/data_file_text.h"
#include "data/file_io.h"

namespace plumgr::cli {
namespace {

void ReadTableFile(const std::string& path, bool required, StringGrid& grid) {
  FileReadResult read = ReadFileBytes(path);
  if (read.Missing && !required) return;
  if (read.Missing) throw UsageError{MissingFile(path)};
  if (!read.Ok)
    throw UsageError{read.Message.empty() ? "cannot read \"" + path + "\"" : read.Message};
  ReadTable(ReadDataFileText(std::move(read.Bytes)).Bytes, grid);
}

}  // namespace

std::string ResolveSetName(const std::string& set) {
  std::filesystem::path path(set);
  std::error_code ec;
  if (!path.has_extension() && !std::filesystem::exists(path, ec)) return set + ".PLU";
  return set;
}

void ReadSetTables(const std::string& plu_file, char decimal_separator, Tables& tables) {
  const EcrProfile& profile =
      CurrentProfile().PluCount > 0 ? CurrentProfile() : EcrProfileTable().front();
  SizeTables(tables, profile);
  ResetAllRows(tables, decimal_separator);
  ReadTableFile(plu_file, true, tables.PLUGrid);
  ReadTableFile(CompanionName(plu_file, ".DEP"), false, tables.DeptmentGrid);
}

}  // namespace plumgr::cli
