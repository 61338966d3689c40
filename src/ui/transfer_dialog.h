#pragma once
// "Download data" / "Upload data": a check box per kind of data and the PLU
// range. OK closes the dialog only when the core accepts the range.

#include <QDialog>

#include "app/transfer_commands.h"

class QCheckBox;
class QListWidget;
class QSpinBox;

namespace plumgr::ui {

class TransferSelectionDialog : public QDialog {
  Q_OBJECT
 public:
  TransferSelectionDialog(QWidget* parent, TransferDialogModel& model, UiPort& ui);

  void accept() override;

 private:
  void Store();
  // "Compare...": closes the dialog as OK, asking for the comparison first.
  void CompareFirst();

  TransferDialogModel& model_;
  UiPort& ui_;
  QListWidget* kinds_ = nullptr;
  QSpinBox* from_ = nullptr;
  QSpinBox* to_ = nullptr;
  QCheckBox* backup_ = nullptr;
};

}  // namespace plumgr::ui
