#pragma once
// "Fast Sale Buttons" (FastSaleButtonsfrm): the 16 fast-sale buttons in
// StringGrid1, a view of FastSaleEditorModel, shown beside the main window.
// Column 1 holds each button's barcode, column 2 its sign flag as a check box;
// the check box over column 2's title sets all 16. OK stores and closes, Close
// only closes.

#include <QAbstractTableModel>
#include <QWidget>
#include <functional>

#include "app/editor_result.h"
#include "app/fast_sale_editor_model.h"
#include "data/ui_port.h"

class QCheckBox;
class QTableView;

namespace plumgr::ui {

class FastSaleGridModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column { NumberColumn, BarcodeColumn, SignColumn, ColumnCount };
  explicit FastSaleGridModel(FastSaleEditorModel& model, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  void Refresh();

 private:
  FastSaleEditorModel& model_;
};

class FastSaleWindow final : public QWidget {
  Q_OBJECT
 public:
  // `store` is the OK: it puts the model into the table (or refuses).
  using Store = std::function<EditorResult(const FastSaleEditorModel&)>;
  FastSaleWindow(UiPort& ui, Store store, QWidget* parent);

  // Shows the window (or raises it) with the buttons of `table`.
  void ShowButtons(const FastSaleTable& table);
  const FastSaleEditorModel& Model() const { return model_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void PlaceTitleBox();
  void Ok();

  FastSaleEditorModel model_;
  UiPort& ui_;
  Store store_;
  FastSaleGridModel* grid_model_ = nullptr;
  QTableView* grid_ = nullptr;
  QCheckBox* title_box_ = nullptr;
};

}  // namespace plumgr::ui
