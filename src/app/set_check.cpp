#include "app/set_check.h"

#include "data/cell_validation.h"
#include "data/helpers.h"
#include "data/repeat_checks.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

// Takes the repeat message the checks would show in a box.
class FindingCollector final : public UiPort {
 public:
  std::string Last;
  void ShowMessage(const std::string& text) override { Last = text; }
  void ShowError(const std::string& text) override { Last = text; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  Answer AskYesNo(const std::string&) override { return Answer::No; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
  void Beep() override {}
};

std::string FormatLimit(double value, int decimals, char separator) {
  return FormatFixed(value, decimals, separator);
}

void CheckRules(const Tables& tables, GridId grid, char separator,
                std::vector<CheckFinding>& findings) {
  const StringGrid& table = tables.Grid(grid);
  for (int row = 1; row < table.RowCount(); ++row) {
    for (int col = 1; col < table.ColCount(); ++col) {
      const std::string& text = table.Cell(col, row);
      if (!NormalizeCellText(grid, col, text, separator))
        findings.push_back({grid, row, col, RefusalReason(grid, col, text, separator)});
    }
  }
}

template <typename Check>
void CheckRepeats(const Tables& tables, GridId grid, int col, Check check,
                  std::vector<CheckFinding>& findings) {
  const StringGrid& table = tables.Grid(grid);
  FindingCollector collector;
  for (int row = 1; row < table.RowCount(); ++row) {
    const std::string& text = table.Cell(col, row);
    if (text.empty()) continue;
    if (!check(tables, row, text, collector)) findings.push_back({grid, row, col, collector.Last});
  }
}

}  // namespace

std::string RefusalReason(GridId grid, int col, const std::string& text, char separator) {
  const ColumnSpec& spec = Column(grid, col);
  if (text.size() > static_cast<std::size_t>(spec.TextLimit))
    return "longer than " + std::to_string(spec.TextLimit) + " characters";
  switch (spec.Rule) {
    case CellRule::Barcode:
      return "not a whole number of at most 13 digits";
    case CellRule::WholeNumber:
      return "not a whole number from " + std::to_string(static_cast<long long>(spec.Min)) +
             " to " + std::to_string(static_cast<long long>(spec.Max));
    case CellRule::Decimal: {
      std::optional<double> value = ParseDecimal(text, separator);
      if (!value) return "not a decimal number";
      if (spec.Min == -spec.Max)
        return "absolute value above " + FormatLimit(spec.Max, spec.Decimals, separator);
      if (*value > spec.Max) return "above " + FormatLimit(spec.Max, spec.Decimals, separator);
      return "does not fit " + std::to_string(spec.TextLimit) + " characters";
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

}  // namespace plumgr
