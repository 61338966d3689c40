#pragma once
// One of the two tables (PLU or department) as a Qt item model over the core's
// StringGrid. The title row and the number column of the grid are the view's
// headers; model row r and column c are the grid's data cell (c + 1, r + 1).
// Cell texts are Windows-1250 bytes and are decoded here, for display only.

#include <QAbstractTableModel>

#include "data/grid_edit_model.h"
#include "data/tables.h"

namespace plumgr::ui {

class GridTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit GridTableModel(GridEditModel& edit, QObject* parent = nullptr);

  GridEditModel& Edit() { return edit_; }
  GridId Id() const { return edit_.Id(); }

  // The grid's cell of an index, and back.
  static CellPos CellOf(const QModelIndex& index) { return {index.column() + 1, index.row() + 1}; }
  QModelIndex IndexOf(int col, int row) const { return index(row - 1, col - 1); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The cells of a rectangle changed (the edit model's hook).
  void CellsChanged(const CellRect& rect);
  // The tables were replaced from outside (a file, a transfer, the test data):
  // every cell is shown again, and the rows are counted again when they changed.
  void Refresh();

 private:
  GridEditModel& edit_;
  int rows_ = 0;
  int cols_ = 0;
};

}  // namespace plumgr::ui
