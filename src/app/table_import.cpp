#include "app/table_import.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "app/set_check.h"
#include "data/cell_validation.h"
#include "data/data_file_text.h"
#include "data/helpers.h"
#include "data/message_keeping_ui_port.h"
#include "data/repeat_checks.h"

namespace plumgr {
namespace {

// A spreadsheet cell without the spaces, tabs and no-break spaces at its ends.
std::u16string_view Trimmed(std::u16string_view text) {
  return TrimEnds<char16_t>(text, [](char16_t c) { return c == u' ' || c == u'\t' || c == 0xA0; });
}

std::string KeyRefusal(GridId grid, int col) {
  return Column(grid, col).Keys == KeyClass::Digits
             ? "only the digits 0 to 9 can be typed into this column"
             : "only digits, one \"-\" and one decimal separator can be typed into this column";
}

// One cell of a row to import: the table column and the text for it.
struct RowCell {
  int SheetCol = 0;
  int TableCol = 0;
  std::string Bytes;
};

struct PendingRow {
  int SheetRow = 0;  // from 1, the header being row 1
  int TableRow = 0;
  std::vector<RowCell> Cells;
  bool Refused = false;
};

class RowImporter {
 public:
  RowImporter(const ImportSheet& sheet, const ImportRequest& request, const Tables& tables)
      : sheet_(sheet), request_(request), work_(tables) {
    // Every row takes part in the repeat checks: the register will hold them all.
    work_.EcrPluCount = work_.PLUGrid.DataRows();
  }

  ImportOutcome Run(Tables& tables);

 private:
  StringGrid& Grid() { return work_.Grid(request_.Grid); }
  const std::u16string& Header(int col) const {
    return sheet_.Cell(0, static_cast<std::size_t>(col));
  }
  void Refuse(PendingRow& row, int sheet_col, std::string reason);
  bool RowIsBlank(std::size_t r) const;
  std::optional<int> TableRowOf(PendingRow& row, std::size_t r);
  std::optional<std::string> CellBytes(PendingRow& row, int sheet_col, int table_col);
  void ReadRows();
  void CheckRepeats(const std::vector<bool>& checked_rows);
  void RestoreRefusedRows(const Tables& original);

  const ImportSheet& sheet_;
  const ImportRequest& request_;
  Tables work_;
  std::vector<PendingRow> rows_;
  std::vector<int> row_owner_;  // by table row: the sheet row that fills it, or 0
  int next_row_ = 1;
  ImportOutcome outcome_;
};

void RowImporter::Refuse(PendingRow& row, int sheet_col, std::string reason) {
  RefusedCell cell;
  cell.SheetRow = row.SheetRow;
  cell.SheetCol = sheet_col;
  if (sheet_col >= 0) {
    cell.Header = Utf16ToUtf8(Header(sheet_col));
    cell.Text = Utf16ToUtf8(sheet_.Cell(static_cast<std::size_t>(row.SheetRow - 1),
                                        static_cast<std::size_t>(sheet_col)));
  }
  cell.Reason = std::move(reason);
  outcome_.Refused.push_back(std::move(cell));
  row.Refused = true;
}

bool RowImporter::RowIsBlank(std::size_t r) const {
  const std::vector<int>& targets = request_.Columns.Target;
  for (std::size_t col = 0; col < targets.size(); ++col)
    if (targets[col] != kNotImported && !Trimmed(sheet_.Cell(r, col)).empty()) return false;
  return true;
}

std::optional<int> RowImporter::TableRowOf(PendingRow& row, std::size_t r) {
  const int rows = work_.Grid(request_.Grid).DataRows();
  const char* what = request_.Grid == GridId::Plu ? "PLU" : "department";
  const int number_col = request_.Columns.NumberColumn();
  int table_row = 0;
  if (number_col < 0) {
    table_row = next_row_++;
    if (table_row > rows) {
      Refuse(row, -1,
             std::string("more rows than the table's ") + std::to_string(rows) + " " + what +
                 (rows == 1 ? "" : "s"));
      return std::nullopt;
    }
  } else {
    const std::string text =
        Utf16ToUtf8(Trimmed(sheet_.Cell(r, static_cast<std::size_t>(number_col))));
    const std::optional<std::int64_t> number = ParseWholeNumber(text);
    if (!number || *number < 1 || *number > rows) {
      Refuse(row, number_col,
             std::string("not a ") + what + " number from 1 to " + std::to_string(rows));
      return std::nullopt;
    }
    table_row = static_cast<int>(*number);
  }
  if (const int owner = row_owner_[static_cast<std::size_t>(table_row)]; owner != 0) {
    Refuse(row, number_col,
           std::string(what) + " " + std::to_string(table_row) + " comes already from row " +
               std::to_string(owner));
    return std::nullopt;
  }
  row_owner_[static_cast<std::size_t>(table_row)] = row.SheetRow;
  return table_row;
}

// The cell as typing it would leave it, or nothing (refused).
std::optional<std::string> RowImporter::CellBytes(PendingRow& row, int sheet_col, int table_col) {
  const GridId grid = request_.Grid;
  const char separator = request_.DecimalSeparator;
  std::u16string text(Trimmed(sheet_.Cell(static_cast<std::size_t>(row.SheetRow - 1),
                                          static_cast<std::size_t>(sheet_col))));
  if (text.find_first_of(u"\t\r\n") != std::u16string::npos) {
    Refuse(row, sheet_col, "holds a tab or a line break");
    return std::nullopt;
  }
  if (Column(grid, table_col).Keys == KeyClass::NumberKeys)
    std::replace_if(
        text.begin(), text.end(), [](char16_t c) { return c == u',' || c == u'.'; },
        static_cast<char16_t>(separator));
  std::size_t at = 0;
  std::optional<std::string> bytes = EncodeCodePage(text, UpperHalf(request_.Page), &at);
  if (!bytes) {
    const char16_t c = text[at];
    const bool pair = c >= 0xD800 && c < 0xDC00 && at + 1 < text.size();
    const char32_t code =
        pair ? 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[at + 1] - 0xDC00) : c;
    Refuse(row, sheet_col,
           DescribeCharacter(code) + " is not in the register's code page (" +
               std::string(CodePageName(request_.Page)) + ")");
    return std::nullopt;
  }
  for (std::size_t i = 0; i < bytes->size(); ++i) {
    if (!ColumnAcceptsKey(grid, table_col, std::string_view(*bytes).substr(0, i), (*bytes)[i],
                          separator)) {
      Refuse(row, sheet_col, KeyRefusal(grid, table_col));
      return std::nullopt;
    }
  }
  std::optional<std::string> normal = NormalizeCellText(grid, table_col, *bytes, separator);
  if (!normal) {
    Refuse(row, sheet_col, RefusalReason(grid, table_col, *bytes, separator));
    return std::nullopt;
  }
  return normal;
}

void RowImporter::ReadRows() {
  row_owner_.assign(static_cast<std::size_t>(Grid().RowCount()), 0);
  for (std::size_t r = 1; r < sheet_.Rows.size(); ++r) {
    if (RowIsBlank(r)) continue;
    ++outcome_.RowsRead;
    PendingRow row;
    row.SheetRow = static_cast<int>(r) + 1;
    if (std::optional<int> table_row = TableRowOf(row, r)) row.TableRow = *table_row;
    for (std::size_t col = 0; col < request_.Columns.Target.size(); ++col) {
      const int target = request_.Columns.Target[col];
      if (target <= 0) continue;
      if (std::optional<std::string> bytes = CellBytes(row, static_cast<int>(col), target))
        row.Cells.push_back({static_cast<int>(col), target, std::move(*bytes)});
    }
    if (row.TableRow > 0)
      for (const RowCell& cell : row.Cells)
        Grid().SetCell(cell.TableCol, row.TableRow, cell.Bytes);
    rows_.push_back(std::move(row));
  }
}

// The texts of a column with how often each occurs, for skipping the repeat
// check of a text that occurs once: the checks themselves scan every row.
std::unordered_map<std::string, int> CountTexts(const StringGrid& grid, int col) {
  std::unordered_map<std::string, int> counts;
  counts.reserve(static_cast<std::size_t>(grid.RowCount()));
  for (int row = 1; row < grid.RowCount(); ++row)
    if (const std::string& text = grid.Cell(col, row); !text.empty()) ++counts[text];
  return counts;
}

void RowImporter::CheckRepeats(const std::vector<bool>& checked_rows) {
  const bool plu = request_.Grid == GridId::Plu;
  const int name_col = plu ? static_cast<int>(PluCol::Name) : static_cast<int>(DeptCol::Name);
  const auto own_names = CountTexts(Grid(), name_col);
  const StringGrid& other = plu ? work_.DeptmentGrid : work_.PLUGrid;
  const auto other_names =
      CountTexts(other, plu ? static_cast<int>(DeptCol::Name) : static_cast<int>(PluCol::Name));
  const auto barcodes = plu ? CountTexts(Grid(), PluCol::Barcode) : decltype(own_names){};
  MessageKeepingUiPort catcher;
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    PendingRow& row = rows_[i];
    if (row.Refused || !checked_rows[i]) continue;
    for (const RowCell& cell : row.Cells) {
      if (cell.Bytes.empty()) continue;
      bool repeats = false;
      if (cell.TableCol == name_col) {
        if (own_names.at(cell.Bytes) < 2 && other_names.count(cell.Bytes) == 0) continue;
        repeats = plu ? !CheckPluNameRepeat(work_, row.TableRow, cell.Bytes, catcher)
                      : !CheckDeptNameRepeat(work_, row.TableRow, cell.Bytes, catcher);
      } else if (plu && cell.TableCol == PluCol::Barcode) {
        if (barcodes.at(cell.Bytes) < 2) continue;
        repeats = !CheckPluBarcodeRepeat(work_, row.TableRow, cell.Bytes, catcher);
      }
      if (repeats) {
        Refuse(row, cell.SheetCol, catcher.Last);
        break;
      }
    }
  }
}

// A row left out keeps what the table held, which the rows kept must not repeat.
void RowImporter::RestoreRefusedRows(const Tables& original) {
  const StringGrid& before = original.Grid(request_.Grid);
  for (PendingRow& row : rows_)
    if (row.Refused && row.TableRow > 0)
      for (const RowCell& cell : row.Cells)
        Grid().SetCell(cell.TableCol, row.TableRow, before.Cell(cell.TableCol, row.TableRow));
}

ImportOutcome RowImporter::Run(Tables& tables) {
  ReadRows();
  // Refusing, the operator sees every repeat at once; leaving rows out, the
  // rows already refused by their rules are out before the repeats are sought.
  if (request_.Refused == RefusedRows::LeaveOut) RestoreRefusedRows(tables);
  CheckRepeats(std::vector<bool>(rows_.size(), true));
  if (!outcome_.Refused.empty() && request_.Refused == RefusedRows::RefuseImport) return outcome_;
  // Leaving rows out only ever removes texts; but the text a left-out row keeps
  // may repeat a row that passed, so the checks run again until nothing changes.
  for (std::size_t refused = 0; refused != outcome_.Refused.size();) {
    refused = outcome_.Refused.size();
    RestoreRefusedRows(tables);
    std::vector<bool> kept(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i)
      kept[i] = !rows_[i].Refused;
    CheckRepeats(kept);
  }
  const int name_col = request_.Grid == GridId::Plu ? static_cast<int>(PluCol::Name)
                                                    : static_cast<int>(DeptCol::Name);
  for (const PendingRow& row : rows_) {
    (row.Refused ? outcome_.RowsLeftOut : outcome_.RowsImported)++;
    if (!row.Refused && Grid().Cell(name_col, row.TableRow).empty()) ++outcome_.RowsWithoutName;
  }
  tables.Grid(request_.Grid) = std::move(Grid());
  outcome_.Applied = outcome_.RowsImported > 0;
  return outcome_;
}

}  // namespace

ImportOutcome ImportRows(const ImportSheet& sheet, const ImportRequest& request, Tables& tables) {
  return RowImporter(sheet, request, tables).Run(tables);
}

std::string DescribeRefusal(const RefusedCell& cell) {
  std::string text = "row " + std::to_string(cell.SheetRow);
  if (cell.SheetCol >= 0) {
    text += ", column " + ColumnLetters(static_cast<std::size_t>(cell.SheetCol));
    if (!cell.Header.empty()) text += " (" + cell.Header + ")";
    text += ": \"" + cell.Text + "\"";
  }
  return text + ": " + cell.Reason;
}

}  // namespace plumgr
