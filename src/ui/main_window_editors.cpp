// The main window's settings editors: the parameter dialog (also behind the
// Preferences button and Ctrl+Alt+F4), the VAT rate, header and recycling
// editors, and the fast-sale button window beside the main window.

#include "app/table_editor_commands.h"
#include "data/definitions.h"
#include "ui/fast_sale_window.h"
#include "ui/main_window.h"
#include "ui/parameter_dialog.h"
#include "ui/recycling_dialog.h"
#include "ui/settings_editor_dialogs.h"

namespace plumgr::ui {

bool MainWindow::EditParameters() {
  if (parameter_dialog_ == nullptr)
    parameter_dialog_ =
        new ParameterDialog(state_.SettingsPath(), state_.DecimalSeparator(), ui_, this);
  return parameter_dialog_->Edit();
}

void MainWindow::ParameterItemClick() {
  RunCommand([this] { (void)EditParameters(); });
}

void MainWindow::axRate1Click() {
  RunCommand([this] {
    if (vat_rate_dialog_ == nullptr)
      vat_rate_dialog_ =
          new VatRateDialog(state_.SettingsPath(), state_.DecimalSeparator(), ui_, this);
    (void)vat_rate_dialog_->Edit();
  });
}

void MainWindow::Message1Click() {
  RunCommand([this] {
    if (header_dialog_ == nullptr)
      header_dialog_ =
          new HeaderDialog(state_.SettingsPath(), CurrentProfile().HeaderWidth, ui_, this);
    (void)header_dialog_->Edit();
  });
}

void MainWindow::RecyItemClick() {
  RunCommand([this] {
    if (recycling_dialog_ == nullptr)
      recycling_dialog_ = new RecyclingDialog(state_.DecimalSeparator(), ui_, this);
    (void)recycling_dialog_->Edit(state_.Recycling(), [this](RecyclingEditorModel& editor) {
      return StoreRecyclingEdit(editor, state_);
    });
  });
}

void MainWindow::fastsalebuttons1Click() {
  RunCommand([this] {
    if (fast_sale_window_ == nullptr) {
      // Its OK is a command of its own: refused while another one runs.
      fast_sale_window_ = new FastSaleWindow(
          ui_,
          [this](const FastSaleEditorModel& editor) {
            EditorResult stored = EditorResult::Refused("");
            if (!RunCommand([&] { stored = StoreFastSaleEdit(editor, state_); })) ui_.Beep();
            if (!stored && editor.Shown() != state_.FastSale())
              fast_sale_window_->ShowButtons(state_.FastSale());
            return stored;
          },
          this);
    }
    fast_sale_window_->ShowButtons(state_.FastSale());
  });
}

}  // namespace plumgr::ui
