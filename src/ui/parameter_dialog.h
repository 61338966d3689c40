#pragma once
// "Parameter" (ParaDlg): the register's general parameters of [Default] in the
// settings file, as a view of ParameterDialogModel. A scrolling area holds the
// general group (rates, print speed, contrast, flags, the scale speed), the
// clerks and the barcode types; the tail lines are a hidden group whose
// values pass through unchanged. OK stores through the model and stays open
// when it refuses.

#include <QDialog>
#include <array>
#include <utility>
#include <vector>

#include "app/parameter_dialog_model.h"
#include "data/ui_port.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QVBoxLayout;

namespace plumgr::ui {

class StoredTextField;

class ParameterDialog final : public QDialog {
  Q_OBJECT
 public:
  ParameterDialog(const std::string& settings_path, char decimal_separator, UiPort& ui,
                  QWidget* parent);

  // EditParameters: loads the dialog from the settings file, shows it modally
  // and returns true when OK stored it.
  bool Edit();
  const ParameterDialogModel& Model() const { return model_; }

  void accept() override;

 private:
  QWidget* BuildGeneral();
  QWidget* BuildClerks();
  QWidget* BuildBarcodeTypes();
  QWidget* BuildTails();
  void ShowValues();
  void ShowVisibility();
  void TakeValues();

  ParameterDialogModel model_;
  char separator_;
  UiPort& ui_;
  QLineEdit* discount_ = nullptr;
  QLineEdit* surcharge_ = nullptr;
  QSpinBox* print_speed_ = nullptr;
  QSpinBox* lcd_dark_ = nullptr;
  QLabel* lcd_dark_label_ = nullptr;
  std::vector<std::pair<FlagBit, QCheckBox*>> flags_;
  QComboBox* scale_baud_ = nullptr;
  QLabel* scale_baud_label_ = nullptr;
  std::array<StoredTextField*, kClerkCount> clerk_names_{};
  std::array<StoredTextField*, kClerkCount> clerk_passwords_{};
  std::array<QSpinBox*, kBarcodeTypeCount> barcode_types_{};
  std::array<StoredTextField*, kTailCount> tails_{};
};

}  // namespace plumgr::ui
