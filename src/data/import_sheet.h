#pragma once
// The rows of a spreadsheet or CSV file as the import takes them: Unicode cell
// texts, row 0 the header. Rows may be shorter than the header.

#include <algorithm>
#include <string>
#include <vector>

namespace plumgr {

struct ImportSheet {
  std::vector<std::vector<std::u16string>> Rows;

  const std::u16string& Cell(std::size_t row, std::size_t col) const {
    static const std::u16string empty;
    return row < Rows.size() && col < Rows[row].size() ? Rows[row][col] : empty;
  }
  std::size_t ColumnCount() const {
    std::size_t count = 0;
    for (const auto& row : Rows)
      count = std::max(count, row.size());
    return count;
  }
};

// "A", "B", ... "Z", "AA": a column as spreadsheets name it, from 0.
std::string ColumnLetters(std::size_t col);

}  // namespace plumgr
