#pragma once
// "Select PLU" (HotPluFrm): the picker of the hot-key editor. The page "PLU Key"
// lists the PLU rows of the hot-key lists, "Department Key" the departments;
// the operator selects one range of whole rows and presses Ok.

#include <QDialog>

#include "app/hotkey_picker_model.h"

class QTabWidget;
class QTableView;

namespace plumgr::ui {

class PickerTableModel;

class HotPluPickerDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit HotPluPickerDialog(QWidget* parent = nullptr);
  ~HotPluPickerDialog() override;

  // Shows the picker, modal, over the loaded model; true for Ok, which also
  // tells the model which page was active.
  bool Pick(HotPluPickerModel& model);

  QTableView* PluTable() const { return plu_table_; }
  QTableView* DeptTable() const { return dept_table_; }
  QTabWidget* Pages() const { return pages_; }

 private:
  QTableView* MakeTable(const char* name, PickerTableModel* model, const int (&widths)[3]);
  void Bind(HotPluPickerModel* model);

  QTabWidget* pages_;
  PickerTableModel* plu_model_;
  PickerTableModel* dept_model_;
  QTableView* plu_table_;
  QTableView* dept_table_;
  HotPluPickerModel* model_ = nullptr;
};

}  // namespace plumgr::ui
