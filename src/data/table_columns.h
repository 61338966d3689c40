#pragma once
// The column layout of the PLU and department tables: text limits, defaults, the
// keys accepted while editing, the rule applied when a cell is left, and the
// normal form. The data files, the transfers, printing and export all rely on it.

#include <array>
#include <limits>
#include <string>
#include <string_view>

namespace plumgr {

enum class GridId { Plu, Dept };

// PLU table columns; row n is PLU number n.
struct PluCol {
  enum : int { No, Barcode, Name, Price, Dept, Stocks, Flag, Quantity, Total, Alcohol, Count };
};

// Department table columns; row n is department n.
struct DeptCol {
  enum : int { No, Name, Tax, Price, Count };
};

// Which typed characters a column's editor takes.
enum class KeyClass { NotEditable, AnyChar, Digits, NumberKeys };

// What ValidateCell checks when a cell is left.
enum class CellRule {
  None,         // column 0
  LengthOnly,   // accepted as typed
  Barcode,      // non-negative 64-bit whole number, repeat check, decimal normal form
  PluName,      // repeat checks against PLU and department names
  DeptName,     // repeat checks against department and PLU names
  WholeNumber,  // within [Min, Max], decimal normal form
  Decimal,      // within [Min, Max], fixed-point normal form with Decimals digits
};

struct ColumnRule {
  int TextLimit;                 // also the column width in characters
  std::string_view DefaultText;  // a '.' stands for the locale's decimal separator
  KeyClass Keys;
  CellRule Rule;
  int Decimals = 0;  // CellRule::Decimal
  double Min = -std::numeric_limits<double>::infinity();
  double Max = std::numeric_limits<double>::infinity();
};

inline constexpr std::array<ColumnRule, PluCol::Count> kPluColumns = {{
    {5, "", KeyClass::NotEditable, CellRule::None},
    {13, "", KeyClass::Digits, CellRule::Barcode},
    {18, "", KeyClass::AnyChar, CellRule::PluName},
    {9, "0.00", KeyClass::NumberKeys, CellRule::Decimal, 2,
     -std::numeric_limits<double>::infinity(), 999999.99},
    {2, "1", KeyClass::Digits, CellRule::WholeNumber, 0, 1, 16},
    {9, "0.000", KeyClass::NumberKeys, CellRule::Decimal, 3, -79999.999, 79999.999},
    {3, "0", KeyClass::Digits, CellRule::WholeNumber, 0, 0, 100},
    {10, "0", KeyClass::NumberKeys, CellRule::LengthOnly},
    {10, "0", KeyClass::NumberKeys, CellRule::LengthOnly},
    {10, "0", KeyClass::NotEditable, CellRule::LengthOnly},
}};

inline constexpr std::array<ColumnRule, DeptCol::Count> kDeptColumns = {{
    {1, "", KeyClass::NotEditable, CellRule::None},
    {18, "", KeyClass::AnyChar, CellRule::DeptName},
    {1, "1", KeyClass::Digits, CellRule::WholeNumber, 0, 1, 9},
    {9, "0.00", KeyClass::NumberKeys, CellRule::Decimal, 2},
}};

// The rules of a column; col must be within the grid's columns.
const ColumnRule& Column(GridId grid, int col);
int ColumnCount(GridId grid);

// The column's default text with the locale's decimal separator.
std::string ColumnDefault(GridId grid, int col, char decimal_separator);

// The key filter of a column's editor for one typed printable character, given
// the text typed so far (the text limit is the editor's part).
bool ColumnAcceptsKey(GridId grid, int col, std::string_view text, char key,
                      char decimal_separator);

// True for the PLU Alcohol column: never edited, never validated on leaving,
// drawn from AlcoholFlags and toggled by a click.
inline bool IsAlcoholColumn(GridId grid, int col) {
  return grid == GridId::Plu && col == PluCol::Alcohol;
}

}  // namespace plumgr
