#include "ui/grid_table_model.h"

#include "ui/display_text.h"
#include "ui/fixed_cells.h"

#include <QColor>

#include "data/definitions.h"

namespace plumgr::ui {
namespace {

const std::vector<std::string>& Titles(GridId id) {
  return id == GridId::Plu ? Texts().PluTitles.Entries : Texts().DeptTitles.Entries;
}

}  // namespace

GridTableModel::GridTableModel(GridEditModel& edit, QObject* parent)
    : QAbstractTableModel(parent),
      edit_(edit),
      rows_(edit.Grid().DataRows()),
      cols_(edit.Grid().ColCount() - 1) {}

int GridTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : cols_;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
  const CellPos cell = CellOf(index);
  const StringGrid& grid = edit_.Grid();
  if (!index.isValid() || !grid.Contains(cell.Col, cell.Row)) return {};
  const bool alcohol = IsAlcoholColumn(Id(), cell.Col);
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      // The Alcohol cell's text is stored but never shown; the mark is.
      return alcohol ? QVariant() : QVariant(DisplayText(grid.Cell(cell.Col, cell.Row)));
    case Qt::CheckStateRole:
      if (!alcohol) return {};
      return edit_.AlcoholMark(cell.Row) ? Qt::Checked : Qt::Unchecked;
    default:
      return {};
  }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical) {
    if (role == Qt::DisplayRole) return section + 1;
  } else if (role == Qt::DisplayRole) {
    return TitleText(Titles(Id()), static_cast<std::size_t>(section + 1));
  }
  return FixedCellLook(role);
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  // Editing goes through the edit model, never through Qt's own editors.
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridTableModel::CellsChanged(const CellRect& rect) {
  if (rows_ == 0 || cols_ == 0) return;
  const QModelIndex top_left = index(std::max(rect.Top, 1) - 1, std::max(rect.Left, 1) - 1);
  const QModelIndex bottom_right =
      index(std::min(rect.Bottom, rows_) - 1, std::min(rect.Right, cols_) - 1);
  if (top_left.isValid() && bottom_right.isValid()) emit dataChanged(top_left, bottom_right);
}

void GridTableModel::Refresh() {
  const int rows = edit_.Grid().DataRows();
  const int cols = edit_.Grid().ColCount() - 1;
  if (rows != rows_ || cols != cols_) {
    beginResetModel();
    rows_ = rows;
    cols_ = cols;
    endResetModel();
    return;
  }
  emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
  if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
}

}  // namespace plumgr::ui
