#pragma once
// One worksheet as the spreadsheet writers take it: a rectangle of Unicode cell
// texts, each with the font it is given. Empty texts are left out of the files.

#include <cstdint>
#include <string>
#include <vector>

#include "data/color_font.h"

namespace plumgr {

// Which of the sheet's fonts a cell uses; Default is the workbook's own font.
enum class CellFontRole : std::uint8_t { Default, Title, Cell };

struct SheetFont {
  std::u16string Name;
  int Size = 10;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  TColor Color = kClWindowText;
};

struct SheetCell {
  std::u16string Text;
  CellFontRole Font = CellFontRole::Default;
};

struct Sheet {
  int Rows = 0;
  int Cols = 0;
  std::vector<SheetCell> Cells;  // row by row
  SheetFont TitleFont;           // used by cells whose role is Title
  SheetFont CellFont;            // used by cells whose role is Cell

  Sheet() = default;
  Sheet(int rows, int cols) : Rows(rows), Cols(cols), Cells(static_cast<size_t>(rows) * cols) {}

  SheetCell& At(int row, int col) { return Cells[static_cast<size_t>(row) * Cols + col]; }
  const SheetCell& At(int row, int col) const {
    return Cells[static_cast<size_t>(row) * Cols + col];
  }
  bool UsesFont(CellFontRole role) const {
    for (const SheetCell& cell : Cells)
      if (cell.Font == role) return true;
    return false;
  }
};

}  // namespace plumgr
