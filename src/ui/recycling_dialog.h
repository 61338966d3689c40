#pragma once
// "Recycling" (RecyForm): the deposit prices of the 100 recycling numbers in
// RecyGrid, a view of RecyclingEditorModel. A cell is edited as in the main
// tables: typing, F2 or a double click opens it; Enter, Up, Down, a click on
// another cell and leaving the table validate it first, and a refused cell
// beeps and stays open; Escape drops the edit; Delete resets the selected
// cells. OK stores the prices into the RecyclingTable; Cancel drops them.

#include <QAbstractTableModel>
#include <QDialog>
#include <QTableView>
#include <functional>

#include "app/editor_result.h"
#include "app/recycling_editor_model.h"
#include "data/ui_port.h"

namespace plumgr::ui {

class RecyGridModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { NumberColumn, PriceColumn, ColumnCount };
  RecyGridModel(RecyclingEditorModel& model, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Every cell and the titles shown again.
  void Refresh();
  void RowsChanged(int first, int last);  // rows from 1

 private:
  RecyclingEditorModel& model_;
};

class RecyGridView final : public QTableView {
  Q_OBJECT
 public:
  RecyGridView(RecyclingEditorModel& model, UiPort& ui, QWidget* parent);
  RecyGridModel& GridModel() { return *grid_; }

  // Validates the cell being edited, if any, and closes its editor; false
  // (with a beep, the editor kept) when the cell is refused.
  bool FinishEdit();
  // Puts the current cell on a data row (from 1), and opens its editor.
  void MoveToRow(int row);
  void EditRow(int row);
  // The focus on the cell's editor when one is open, else on the table.
  void FocusCell();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  friend class RecyPriceDelegate;
  // Escape: the editor closes without validation.
  void DropEdit();
  void CloseOpenEditor(QAbstractItemDelegate::EndEditHint hint);

  RecyclingEditorModel& model_;
  UiPort& ui_;
  RecyGridModel* grid_;
  QWidget* editor_ = nullptr;
  int editor_row_ = 0;
};

class RecyclingDialog final : public QDialog {
  Q_OBJECT
 public:
  // `store` is the OK: it puts the model into the table (or refuses).
  using Store = std::function<EditorResult(RecyclingEditorModel&)>;
  RecyclingDialog(char decimal_separator, UiPort& ui, QWidget* parent);

  // EditRecycling: the prices of `table` shown; true when `store` took them.
  bool Edit(const RecyclingTable& table, const Store& store);
  RecyGridView& Grid() { return *grid_; }
  void accept() override;

 private:
  RecyclingEditorModel model_;
  UiPort& ui_;
  RecyGridView* grid_ = nullptr;
  Store store_;
};

}  // namespace plumgr::ui
