#include "data/cell_validation.h"

#include "data/helpers.h"
#include "data/repeat_checks.h"
#include "data/rounding.h"

namespace plumgr {

namespace {

std::optional<std::string> NormalizeWhole(const ColumnRule& rule, const std::string& text) {
  std::optional<std::int64_t> value = ParseWholeNumber(text);
  if (!value || *value < rule.Min || *value > rule.Max) return std::nullopt;
  return std::to_string(*value);
}

std::optional<std::string> NormalizeDecimal(const ColumnRule& rule, const std::string& text,
                                            char separator) {
  std::optional<double> value = ParseDecimal(text, separator);
  if (!value || *value < rule.Min || *value > rule.Max) return std::nullopt;
  return FormatFixed(*value, rule.Decimals, separator);
}

// Barcodes go to the register as 13-digit packed BCD, which has no sign.
std::optional<std::string> NormalizeBarcode(const std::string& text) {
  std::optional<std::int64_t> value = ParseWholeNumber(text);
  if (!value || *value < 0) return std::nullopt;
  return std::to_string(*value);
}

}  // namespace

std::optional<std::string> NormalizeCellText(GridId grid, int col, const std::string& text,
                                             char decimal_separator) {
  const ColumnRule& rule = Column(grid, col);
  if (text.size() > static_cast<std::size_t>(rule.TextLimit)) return std::nullopt;
  if (text.empty()) return ColumnDefault(grid, col, decimal_separator);
  std::optional<std::string> normal;
  switch (rule.Rule) {
    case CellRule::Barcode:
      normal = NormalizeBarcode(text);
      break;
    case CellRule::WholeNumber:
      normal = NormalizeWhole(rule, text);
      break;
    case CellRule::Decimal:
      normal = NormalizeDecimal(rule, text, decimal_separator);
      break;
    case CellRule::None:
    case CellRule::LengthOnly:
    case CellRule::PluName:
    case CellRule::DeptName:
      normal = text;
      break;
  }
  // A normal form longer than the column could never be validated again (a
  // price of -1000000 would become "-1000000.00"), so such values are refused.
  if (normal && normal->size() > static_cast<std::size_t>(rule.TextLimit)) return std::nullopt;
  return normal;
}

bool ValidateCell(Tables& tables, GridId grid, int col, int row, char decimal_separator,
                  UiPort& ui) {
  StringGrid& table = tables.Grid(grid);
  if (col < 1 || row < 1 || !table.Contains(col, row)) return true;
  const std::string text = table.Cell(col, row);
  std::optional<std::string> normal = NormalizeCellText(grid, col, text, decimal_separator);
  if (!normal) return false;
  if (!text.empty()) {
    // The repeat checks see the text as typed, before it is normalised.
    switch (Column(grid, col).Rule) {
      case CellRule::Barcode:
        // "0012" becomes "12", so it must not slip past a stored 12 either.
        if (!CheckPluBarcodeRepeat(tables, row, text, ui)) return false;
        if (*normal != text && !CheckPluBarcodeRepeat(tables, row, *normal, ui)) return false;
        break;
      case CellRule::PluName:
        if (!CheckPluNameRepeat(tables, row, text, ui)) return false;
        break;
      case CellRule::DeptName:
        if (!CheckDeptNameRepeat(tables, row, text, ui)) return false;
        break;
      default:
        break;
    }
  }
  table.SetCell(col, row, std::move(*normal));
  return true;
}

}  // namespace plumgr
