#pragma once
// A table of single-byte text cells with one fixed title row (row 0) and one
// fixed number column (column 0); data rows count from 1.

#include <algorithm>
#include <string>
#include <vector>

namespace plumgr {

class StringGrid {
 public:
  StringGrid(int col_count, int row_count) { Resize(col_count, row_count); }

  int ColCount() const { return col_count_; }
  int RowCount() const { return row_count_; }  // data rows + 1
  int DataRows() const { return row_count_ - 1; }

  const std::string& Cell(int col, int row) const { return cells_[Index(col, row)]; }
  void SetCell(int col, int row, std::string text) { cells_[Index(col, row)] = std::move(text); }
  bool Contains(int col, int row) const {
    return col >= 0 && col < col_count_ && row >= 0 && row < row_count_;
  }

  // Keeps the cells that stay inside; new cells are empty.
  void Resize(int col_count, int row_count) {
    std::vector<std::string> cells(static_cast<size_t>(col_count) * row_count);
    for (int r = 0; r < std::min(row_count, row_count_); ++r)
      for (int c = 0; c < std::min(col_count, col_count_); ++c)
        cells[static_cast<size_t>(r) * col_count + c] = std::move(cells_[Index(c, r)]);
    cells_ = std::move(cells);
    col_count_ = col_count;
    row_count_ = row_count;
  }
  void SetRowCount(int row_count) { Resize(col_count_, row_count); }

  // Moves row `from` to position `to`, shifting the rows between (a drag of the number cell).
  void MoveRow(int from, int to);

 private:
  size_t Index(int col, int row) const { return static_cast<size_t>(row) * col_count_ + col; }

  int col_count_ = 0;
  int row_count_ = 0;
  std::vector<std::string> cells_;
};

inline void StringGrid::MoveRow(int from, int to) {
  if (from == to) return;
  std::vector<std::string> moved(cells_.begin() + Index(0, from),
                                 cells_.begin() + Index(0, from) + col_count_);
  int step = from < to ? 1 : -1;
  for (int r = from; r != to; r += step)
    for (int c = 0; c < col_count_; ++c)
      cells_[Index(c, r)] = std::move(cells_[Index(c, r + step)]);
  for (int c = 0; c < col_count_; ++c)
    cells_[Index(c, to)] = std::move(moved[c]);
}

}  // namespace plumgr
