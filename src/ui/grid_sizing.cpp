#include "ui/grid_sizing.h"

#include <QFontMetrics>
#include <QHeaderView>

#include "data/definitions.h"
#include "ui/display_text.h"
#include "ui/grid_view.h"

namespace plumgr::ui {
namespace {

QStringList DecodedTitles(GridId id) {
  const std::vector<std::string>& titles =
      id == GridId::Plu ? Texts().PluTitles.Entries : Texts().DeptTitles.Entries;
  QStringList list;
  for (const std::string& title : titles)
    list << InterfaceText(title);
  return list;
}

}  // namespace

GridSizes MeasureGrid(const QFontMetrics& metrics, const QStringList& titles,
                      const std::vector<int>& limits) {
  GridSizes sizes;
  sizes.RowHeight = metrics.height() + metrics.leading() + 4;
  for (std::size_t i = 0; i < limits.size(); ++i) {
    int width = (metrics.averageCharWidth() * limits[i] * 3) / 2;
    const QString title = static_cast<qsizetype>(i) < titles.size() ? titles[i] : QString();
    const int title_width = metrics.horizontalAdvance(title) + 4;
    if (width < title_width) width = title_width;
    sizes.ColumnWidths.push_back(width);
  }
  return sizes;
}

void AutoSizeGrid(GridView& view) {
  const GridId id = view.Edit().Id();
  std::vector<int> limits;
  for (int col = 0; col < ColumnCount(id); ++col)
    limits.push_back(Column(id, col).TextLimit);
  const GridSizes sizes = MeasureGrid(QFontMetrics(view.font()), DecodedTitles(id), limits);

  QHeaderView* rows = view.verticalHeader();
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(sizes.RowHeight);
  rows->setFixedWidth(sizes.ColumnWidths[0]);
  QHeaderView* columns = view.horizontalHeader();
  columns->setMinimumSectionSize(1);
  columns->setFixedHeight(sizes.RowHeight);
  for (std::size_t col = 1; col < sizes.ColumnWidths.size(); ++col)
    columns->resizeSection(static_cast<int>(col) - 1, sizes.ColumnWidths[col]);
}

}  // namespace plumgr::ui
