#include "data/table_columns.h"

#include "data/helpers.h"

namespace plumgr {

const ColumnRule& Column(GridId grid, int col) {
  return grid == GridId::Plu ? kPluColumns[static_cast<std::size_t>(col)]
                             : kDeptColumns[static_cast<std::size_t>(col)];
}

int ColumnCount(GridId grid) {
  return grid == GridId::Plu ? static_cast<int>(PluCol::Count) : static_cast<int>(DeptCol::Count);
}

std::string ColumnDefault(GridId grid, int col, char decimal_separator) {
  std::string text(Column(grid, col).DefaultText);
  for (char& c : text)
    if (c == '.') c = decimal_separator;
  return text;
}

bool ColumnAcceptsKey(GridId grid, int col, std::string_view text, char key,
                      char decimal_separator) {
  switch (Column(grid, col).Keys) {
    case KeyClass::AnyChar:
      return true;
    case KeyClass::Digits:
      return IsDigitKey(key);
    case KeyClass::NumberKeys:
      return IsNumberKey(text, key, decimal_separator);
    case KeyClass::NotEditable:
      return false;
  }
  return false;
}

}  // namespace plumgr
