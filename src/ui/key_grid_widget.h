#pragma once
// The hot-key editor's grid ("MyGrid1"): draws the key grid of the editor model
// cell by cell and turns the mouse and the keyboard into a rectangular range of
// selected keys. A click or an arrow key selects one key, dragging or Shift
// with a click or an arrow key extends the range from where it started; the
// right button, the Menu key and Shift+F10 open the popup menu.

#include <QWidget>
#include <functional>

#include "app/hotkey_editor_model.h"
#include "hotkey/key_cell_painter.h"
#include "hotkey/key_drawing.h"

namespace plumgr::ui {

class KeyGridWidget final : public QWidget {
  Q_OBJECT
 public:
  KeyGridWidget(HotkeyEditorModel& model, QWidget* parent = nullptr);

  // Called with the point (in this widget) where the popup menu opens.
  void SetPopup(std::function<void(const QPoint&)> popup) { popup_ = std::move(popup); }
  // The grid changed its shape; the widget takes its size.
  void ShapeChanged();
  QSize sizeHint() const override;
  // The rectangle of a cell, in this widget.
  QRect CellRect(int col, int row) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The cell under a point, kept inside the grid.
  QPoint CellAt(const QPoint& point) const;
  // Moves the focused cell; `extend` keeps the anchor so the range grows.
  void MoveTo(int col, int row, bool extend);

  HotkeyEditorModel& model_;
  KeyDrawContext context_;
  std::function<void(const QPoint&)> popup_;
  int anchor_col_ = 0;
  int anchor_row_ = 0;
};

}  // namespace plumgr::ui
