#pragma once
// "Import": the file's first rows and, for each of its columns, the table
// column it fills. The dialog is a view of the core's ImportModel: the choice
// of table and of each column's target goes into the model, whose problems
// keep OK disabled.

#include <QDialog>
#include <vector>

#include "app/import_model.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace plumgr::ui {

class ImportDialog : public QDialog {
  Q_OBJECT
 public:
  ImportDialog(QWidget* parent, ImportModel& model);

 private:
  void FillTargets();
  void ShowPreview();
  void ShowProblems();

  ImportModel& model_;
  QButtonGroup* table_ = nullptr;
  std::vector<QComboBox*> targets_;
  QTableWidget* preview_ = nullptr;
  QLabel* problems_ = nullptr;
  QPushButton* ok_ = nullptr;
};

// Shows the dialog; true for OK.
bool ShowImportDialog(QWidget* parent, ImportModel& model);

}  // namespace plumgr::ui
