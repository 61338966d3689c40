#pragma once
// The view of one table. It owns nothing of the table's behaviour: keys, clicks,
// the leaving of the table and row drags go to the core's GridEditModel, and the
// view repaints when the model's hooks say so. Typed characters are converted to
// Windows-1250 here; one the code page cannot hold is refused with a beep.

#include <QTableView>

#include "app/main_window_state.h"
#include "ui/grid_table_model.h"

namespace plumgr::ui {

class GridView final : public QTableView {
  Q_OBJECT
 public:
  // `state` hears which table has the input focus (ValidateActive asks it).
  GridView(GridEditModel& edit, MainWindowState& state, QWidget* parent = nullptr);

  GridEditModel& Edit() { return edit_; }
  GridTableModel& TableModel() { return *model_; }

  // After the tables were filled or reset from outside.
  void Refresh();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void TypeText(const QString& text);
  void OnStateChanged();
  void OnRowDragged(int old_visual, int new_visual);
  bool CellAt(const QPoint& pos, CellPos* cell) const;

  GridEditModel& edit_;
  MainWindowState& state_;
  GridTableModel* model_;
  bool undoing_drag_ = false;
};

}  // namespace plumgr::ui
