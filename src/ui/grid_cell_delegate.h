#pragma once
// Draws the cells of a table from the core's edit model: the selected rectangle,
// the current cell, the in-place editor's text with its selected part and caret,
// and the PLU Alcohol column as check glyphs on light grey.

#include <QStyledItemDelegate>

#include "ui/grid_table_model.h"

namespace plumgr::ui {

class GridCellDelegate final : public QStyledItemDelegate {
  Q_OBJECT
 public:
  GridCellDelegate(GridTableModel& model, QWidget* view);

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  void PaintAlcohol(QPainter* painter, const QStyleOptionViewItem& option, bool ticked) const;
  void PaintEditor(QPainter* painter, const QStyleOptionViewItem& option) const;

  GridTableModel& model_;
  QWidget* view_;
};

}  // namespace plumgr::ui
