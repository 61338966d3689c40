// The main window's commands, each routed to the core through the one runner.

#include <QFontDialog>
#include <QPlainTextEdit>

#include "app/convert_set_command.h"
#include "app/file_commands.h"
#include "app/import_model.h"
#include "app/link_commands.h"
#include "app/model_selection.h"
#include "app/service_commands.h"
#include "app/service_transfer_commands.h"
#include "data/definitions.h"
#include "output/plu_report.h"
#include "ui/about_box.h"
#include "ui/compare_window.h"
#include "ui/convert_set_dialog.h"
#include "ui/dialogs.h"
#include "ui/grid_sizing.h"
#include "ui/grid_view.h"
#include "ui/hotkey_editor_window.h"
#include "ui/import_dialog.h"
#include "ui/main_window.h"
#include "ui/restore_window.h"
#include "ui/table_printing.h"

namespace plumgr::ui {
namespace {

constexpr const char* kSpreadsheetFilter = "File(*.xls)|*.xls";

}  // namespace

void MainWindow::NewItemClick() {
  RunCommand([this] { NewCommand(state_); });
}

void MainWindow::OpenItemClick() {
  RunCommand([this] { OpenCommand(state_); });
}

void MainWindow::SaveItemClick() {
  RunCommand([this] { SaveCommand(state_); });
}

void MainWindow::SaveasItemClick() {
  RunCommand([this] { SaveAsCommand(state_); });
}

void MainWindow::ReportSaveAs1Click() {
  RunCommand([this] {
    const std::optional<std::string> chosen = ui_.ChooseSaveFile({kSpreadsheetFilter, "", "."});
    if (!chosen) return;
    ui_.SetBusy(true);
    excel_.SetCodePage(UpperHalfInForce());
    const FileResult saved =
        SavePluReport(excel_, state_.GetTables().PLUGrid, Texts().PluTitles.Entries, *chosen);
    ui_.SetBusy(false);
    if (!saved) ui_.ShowError(saved.Message);
  });
}

void MainWindow::ImportItemClick() {
  RunCommand([this] {
    ImportCommand(state_, [this](ImportModel& model) { return ShowImportDialog(this, model); });
  });
}

void MainWindow::ConvertItemClick() {
  RunCommand([this] {
    ConvertSetCommand(state_, [this](CodePageId from) { return ChooseConversionPage(this, from); });
  });
}

void MainWindow::PrintItemClick() {
  RunCommand([this] { ui::PrintItemClick(this, state_); });
}

void MainWindow::FontItemClick() {
  RunCommand([this] {
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, plu_view_->font(), this, "Font");
    if (ok) SetTableFont(font);
  });
}

void MainWindow::SelectECR1Click() {
  RunCommand([this] {
    SelectEcrCommand(state_,
                     [this](SelectEcrModel& model) { return ShowSelectEcrDialog(this, model); });
  });
}

void MainWindow::ExitItemClick() {
  close();
}

void MainWindow::CommsetItemClick() {
  RunCommand([this] {
    CommsetCommand(state_, [this](CommSettingsModel& model) {
      return ShowCommSettingDialog(this, state_.SettingsPath(), model);
    });
  });
}

void MainWindow::DetectportItemClick() {
  RunCommand([this] { ShowDetectPortDialog(this, state_); });
}

void MainWindow::TestItemClick() {
  RunCommand([this] { plumgr::TestItemClick(state_, *bus_, progress_); });
}

void MainWindow::DownloadItemClick() {
  RunCommand([this] {
    const std::string before = register_menu_->LastBackup();
    transfers_->DownloadItemClick(
        [this](TransferDialogModel& model) { return ShowTransferDialog(this, model, ui_); });
    // The backup asked for in the dialog: where it went, whatever the download did.
    const std::string& made = register_menu_->LastBackup();
    if (made != before)
      ui_.ShowMessage("The register's data was backed up before the download in " + made + ".");
  });
}

void MainWindow::UploadItemClick() {
  RunCommand([this] {
    transfers_->UploadItemClick(
        [this](TransferDialogModel& model) { return ShowTransferDialog(this, model, ui_); });
  });
}

void MainWindow::CompareItemClick() {
  RunCommand([this] {
    register_menu_->CompareItemClick(
        [this](TransferDialogModel& model) { return ShowTransferDialog(this, model, ui_); },
        [this](const CompareWindowModel& shown) { return ShowCompareWindow(this, shown); });
  });
}

void MainWindow::RestoreItemClick() {
  RunCommand([this] {
    register_menu_->RestoreItemClick(
        [this](const RestoreWindowModel& shown) { return ShowRestoreWindow(this, shown); });
  });
}

void MainWindow::UploadRPItemClick() {
  RunCommand([this] { (void)plumgr::UploadRPItemClick(state_, *bus_, progress_, report_); });
}

void MainWindow::DownloadFontItemClick() {
  RunCommand([this] { (void)plumgr::DownloadFontItemClick(state_, *bus_, progress_); });
}

void MainWindow::AboutItemClick() {
  RunCommand([this] {
    AboutBox box(state_.ApplicationTitle(), state_.CompanyName(), this);
    box.exec();
  });
}

void MainWindow::HotKey1Click() {
  OpenHotKeyEditor();
}

void MainWindow::OpenHotKeyEditor() {
  RunCommand([this] { hot_key_editor_->Open(); });
}

void MainWindow::FillTestDataKey() {
  RunCommand([this] { FillTestData(state_); });
}

void MainWindow::ParameterDownloadKey() {
  RunCommand([this] { transfers_->EditParametersAndDownload(parameter_editor_); });
}

void MainWindow::MemoryDumpKey() {
  RunCommand([this] {
    (void)plumgr::DumpMemory(
        state_, *bus_, progress_, range_model_,
        [this](MemoryRangeModel& model) { return ShowDataRangeDialog(this, model, ui_); },
        *opener_);
  });
}

}  // namespace plumgr::ui
