#pragma once
// "VAT Rate" (VatrateFrm) and "Header" (HeaderFrm): views of the VAT rate and
// header editor models on [Default] of the settings file. Each loads when it
// is opened and stores only on OK.

#include <QDialog>
#include <array>

#include "app/header_editor_model.h"
#include "app/vat_rate_editor_model.h"
#include "data/ui_port.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace plumgr::ui {

class StoredTextField;

class VatRateDialog final : public QDialog {
  Q_OBJECT
 public:
  VatRateDialog(const std::string& settings_path, char decimal_separator, UiPort& ui,
                QWidget* parent);
  // EditVatRates: true when OK stored the rates.
  bool Edit();
  void accept() override;

 private:
  void ShowEnabled();

  VatRateEditorModel model_;
  UiPort& ui_;
  std::array<QLineEdit*, kVatRateCount> rates_{};
  QComboBox* tax_free_ = nullptr;
};

class HeaderDialog final : public QDialog {
  Q_OBJECT
 public:
  HeaderDialog(const std::string& settings_path, int header_width, UiPort& ui, QWidget* parent);
  // EditHeader: true when OK stored the lines.
  bool Edit();
  void accept() override;

 private:
  HeaderEditorModel model_;
  UiPort& ui_;
  std::array<StoredTextField*, kHeaderCount> lines_{};
  std::array<QCheckBox*, kHeaderCount> bold_{};
};

}  // namespace plumgr::ui
