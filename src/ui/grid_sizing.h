#pragma once
// AutoSizeGrid: the row height and the column widths of a table from its font,
// its column titles and the text limits of its columns.

#include <QStringList>
#include <vector>

class QFontMetrics;

namespace plumgr::ui {

class GridView;

struct GridSizes {
  int RowHeight = 0;
  std::vector<int> ColumnWidths;  // column 0 is the number column
};

// Row height: character height + external leading + 4. Column i: (average
// character width * limit[i] * 3) / 2, at least the title's width + 4.
GridSizes MeasureGrid(const QFontMetrics& metrics, const QStringList& titles,
                      const std::vector<int>& limits);

// Measures the table with its own font and applies the sizes: the number
// column is the row header, the other columns are the model's.
void AutoSizeGrid(GridView& view);

}  // namespace plumgr::ui
