#include "ui/key_grid_widget.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace plumgr::ui {

KeyGridWidget::KeyGridWidget(HotkeyEditorModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setObjectName("MyGrid1");
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  TakeLocaleNotation(context_);
}

void KeyGridWidget::ShapeChanged() {
  anchor_col_ = model_.Grid().Col;
  anchor_row_ = model_.Grid().Row;
  setFixedSize(sizeHint());
  updateGeometry();
  update();
}

QSize KeyGridWidget::sizeHint() const {
  const TMyGrid& grid = model_.Grid();
  return {grid.ColCount * grid.DefaultColWidth, grid.RowCount * grid.DefaultRowHeight};
}

QRect KeyGridWidget::CellRect(int col, int row) const {
  const TMyGrid& grid = model_.Grid();
  return {col * grid.DefaultColWidth, row * grid.DefaultRowHeight, grid.DefaultColWidth,
          grid.DefaultRowHeight};
}

void KeyGridWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  context_.Palette = palette();
  painter.fillRect(rect(), ResolveColor(model_.Grid().Color, context_.Palette));
  DrawKeyGrid(model_.Grid(), painter, hasFocus(), context_);
}

QPoint KeyGridWidget::CellAt(const QPoint& point) const {
  const TMyGrid& grid = model_.Grid();
  const int col =
      std::clamp(point.x() / std::max(grid.DefaultColWidth, 1), 0, std::max(grid.ColCount - 1, 0));
  const int row =
      std::clamp(point.y() / std::max(grid.DefaultRowHeight, 1), 0, std::max(grid.RowCount - 1, 0));
  return {col, row};
}

void KeyGridWidget::MoveTo(int col, int row, bool extend) {
  TMyGrid& grid = model_.Grid();
  col = std::clamp(col, 0, std::max(grid.ColCount - 1, 0));
  row = std::clamp(row, 0, std::max(grid.RowCount - 1, 0));
  grid.Col = col;
  grid.Row = row;
  if (!extend) {
    anchor_col_ = col;
    anchor_row_ = row;
  }
  model_.Select({std::min(anchor_col_, col), std::min(anchor_row_, row), std::max(anchor_col_, col),
                 std::max(anchor_row_, row)});
  update();
}

void KeyGridWidget::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  // The right button opens the popup menu on the keys already selected.
  if (event->button() != Qt::LeftButton) return;
  const QPoint cell = CellAt(event->position().toPoint());
  MoveTo(cell.x(), cell.y(), event->modifiers() & Qt::ShiftModifier);
}

void KeyGridWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!(event->buttons() & Qt::LeftButton)) return;
  const QPoint cell = CellAt(event->position().toPoint());
  const TMyGrid& grid = model_.Grid();
  if (cell.x() != grid.Col || cell.y() != grid.Row) MoveTo(cell.x(), cell.y(), true);
}

void KeyGridWidget::keyPressEvent(QKeyEvent* event) {
  const TMyGrid& grid = model_.Grid();
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  switch (event->key()) {
    case Qt::Key_Left:
      MoveTo(grid.Col - 1, grid.Row, extend);
      return;
    case Qt::Key_Right:
      MoveTo(grid.Col + 1, grid.Row, extend);
      return;
    case Qt::Key_Up:
      MoveTo(grid.Col, grid.Row - 1, extend);
      return;
    case Qt::Key_Down:
      MoveTo(grid.Col, grid.Row + 1, extend);
      return;
    case Qt::Key_Home:
      MoveTo(0, event->modifiers() & Qt::ControlModifier ? 0 : grid.Row, extend);
      return;
    case Qt::Key_End:
      MoveTo(grid.ColCount - 1,
             event->modifiers() & Qt::ControlModifier ? grid.RowCount - 1 : grid.Row, extend);
      return;
    case Qt::Key_F10:
      if (!extend) break;
      [[fallthrough]];
    case Qt::Key_Menu:
      if (popup_) popup_(CellRect(grid.Col, grid.Row).center());
      return;
    default:
      break;
  }
  QWidget::keyPressEvent(event);
}

void KeyGridWidget::contextMenuEvent(QContextMenuEvent* event) {
  if (!popup_) return;
  const TMyGrid& grid = model_.Grid();
  popup_(event->reason() == QContextMenuEvent::Mouse ? event->pos()
                                                     : CellRect(grid.Col, grid.Row).center());
}

void KeyGridWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void KeyGridWidget::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace plumgr::ui
