#include "app/set_check.h"

#include <algorithm>

#include "data/cell_validation.h"
#include "data/data_file_set.h"
#include "data/data_file_text.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/message_keeping_ui_port.h"
#include "data/repeat_checks.h"
#include "data/rounding.h"
#include "data/set_code_page.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

std::string FormatLimit(double value, int decimals, char separator) {
  return FormatFixed(value, decimals, separator);
}

// An empty cell takes its default in the editors, but a file read as it is
// sends it as it is: an empty Department or Tax of a named row reaches the
// register as 256 (a row without a name goes as an empty record).
bool NeedsValue(GridId grid, int col) {
  return grid == GridId::Plu ? col == PluCol::Dept : col == DeptCol::Tax;
}

bool IsNamedPlu(const Tables& tables, int row) {
  return !TrimBlanksAndControls(tables.PLUGrid.Cell(PluCol::Name, row)).empty();
}

bool IsNamedRow(const Tables& tables, GridId grid, int row) {
  if (grid == GridId::Plu) return IsNamedPlu(tables, row);
  return !TrimBlanksAndControls(tables.DeptmentGrid.Cell(DeptCol::Name, row)).empty();
}

std::optional<std::string> CellFault(const Tables& tables, GridId grid, int col, int row,
                                     char separator) {
  const std::string& text = tables.Grid(grid).Cell(col, row);
  if (!NormalizeCellText(grid, col, text, separator))
    return RefusalReason(grid, col, text, separator);
  if (text.empty() && NeedsValue(grid, col) && IsNamedRow(tables, grid, row))
    return "empty (the register would take 256)";
  return std::nullopt;
}

void CheckRowCells(const Tables& tables, GridId grid, int row, int last_col, char separator,
                   std::vector<CheckFinding>& findings) {
  for (int col = 1; col <= last_col; ++col)
    if (std::optional<std::string> fault = CellFault(tables, grid, col, row, separator))
      findings.push_back({grid, row, col, std::move(*fault)});
}

void CheckRules(const Tables& tables, GridId grid, char separator,
                std::vector<CheckFinding>& findings) {
  const StringGrid& table = tables.Grid(grid);
  for (int row = 1; row < table.RowCount(); ++row)
    CheckRowCells(tables, grid, row, table.ColCount() - 1, separator, findings);
}

void AddUnencodable(const std::string& path, GridId grid, CodePageId page,
                    std::vector<CheckFinding>& findings) {
  FileReadResult read = ReadFileBytes(path);
  if (!read.Ok) return;
  for (const UnencodableCharacter& c :
       ReadDataFileText(std::move(read.Bytes), UpperHalf(page)).Unencodable)
    findings.push_back({grid, c.Line, c.Field,
                        DescribeCharacter(c.Character) + " is not in the register's code page (" +
                            std::string(CodePageName(page)) + ")"});
}

template <typename Check>
void CheckRepeats(const Tables& tables, GridId grid, int col, Check check,
                  std::vector<CheckFinding>& findings) {
  const StringGrid& table = tables.Grid(grid);
  MessageKeepingUiPort collector;
  for (int row = 1; row < table.RowCount(); ++row) {
    const std::string& text = table.Cell(col, row);
    if (text.empty()) continue;
    if (!check(tables, row, text, collector)) findings.push_back({grid, row, col, collector.Last});
  }
}

}  // namespace

std::string RefusalReason(GridId grid, int col, const std::string& text, char separator) {
  const ColumnRule& rule = Column(grid, col);
  if (text.size() > static_cast<std::size_t>(rule.TextLimit))
    return "longer than " + std::to_string(rule.TextLimit) + " characters";
  switch (rule.Rule) {
    case CellRule::Barcode:
      return "not a whole number of at most 13 digits";
    case CellRule::WholeNumber:
      return "not a whole number from " + std::to_string(static_cast<long long>(rule.Min)) +
             " to " + std::to_string(static_cast<long long>(rule.Max));
    case CellRule::Decimal: {
      std::optional<double> value = ParseDecimal(text, separator);
      if (!value) return "not a decimal number";
      if (rule.Min == -rule.Max)
        return "absolute value above " + FormatLimit(rule.Max, rule.Decimals, separator);
      if (*value > rule.Max) return "above " + FormatLimit(rule.Max, rule.Decimals, separator);
      return "does not fit " + std::to_string(rule.TextLimit) + " characters";
    }
    default:
      return "refused";
  }
}

std::vector<CheckFinding> CheckTables(const Tables& tables, char separator) {
  std::vector<CheckFinding> findings;
  CheckRules(tables, GridId::Plu, separator, findings);
  CheckRules(tables, GridId::Dept, separator, findings);

  // The register has reported every PLU: all rows take part.
  Tables all = tables;
  all.EcrPluCount = tables.PLUGrid.DataRows();
  CheckRepeats(all, GridId::Plu, PluCol::Name, CheckPluNameRepeat, findings);
  CheckRepeats(all, GridId::Plu, PluCol::Barcode, CheckPluBarcodeRepeat, findings);
  CheckRepeats(all, GridId::Dept, DeptCol::Name, CheckDeptNameRepeat, findings);
  return findings;
}

std::vector<CheckFinding> CheckDownloadRows(const Tables& tables, const DownloadRows& rows,
                                            char separator) {
  std::vector<CheckFinding> findings;
  if (rows.Plu) {
    // Quantity, Total and the Alcohol text are not sent.
    const int last = std::min(rows.LastPlu, tables.PLUGrid.DataRows());
    for (int row = std::max(rows.FirstPlu, 1); row <= last; ++row) {
      if (rows.UnnamedPluSentEmpty && !IsNamedPlu(tables, row)) continue;
      CheckRowCells(tables, GridId::Plu, row, PluCol::Flag, separator, findings);
    }
  }
  if (rows.Departments) CheckRules(tables, GridId::Dept, separator, findings);
  return findings;
}

std::vector<CheckFinding> FindUnencodableCells(const std::string& plu_file) {
  std::vector<CheckFinding> findings;
  const CodePageId page = CodePageOfSet(plu_file, CodePageInForce()).Page;
  AddUnencodable(plu_file, GridId::Plu, page, findings);
  AddUnencodable(CompanionName(plu_file, ".DEP"), GridId::Dept, page, findings);
  return findings;
}

}  // namespace plumgr
