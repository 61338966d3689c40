// The main window's commands, each routed to the core through the one runner.

#include <QFontDialog>
#include <QPlainTextEdit>

#include "app/file_commands.h"
#include "app/link_commands.h"
#include "app/model_selection.h"
#include "app/service_commands.h"
#include "app/service_transfer_commands.h"
#include "data/definitions.h"
#include "output/plu_report.h"
#include "ui/about_box.h"
#include "ui/compare_window.h"
#include "ui/dialogs.h"
#include "ui/grid_sizing.h"
#include "ui/grid_view.h"
#include "ui/main_window.h"
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
    const FileResult saved =
        SavePluReport(excel_, state_.GetTables().PLUGrid, Texts().PluTitles.Entries, *chosen);
    ui_.SetBusy(false);
    if (!saved) ui_.ShowError(saved.Message);
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
    transfers_->DownloadItemClick(
        [this](TransferDialogModel& model) { return ShowTransferDialog(this, model, ui_); });
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
  RunCommand([this] { register_menu_->RestoreItemClick(); });
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

// "Recycling...", "Parameter...", "VAT Rate...", "Header...", "Fast sale
// buttons...", "Hot Key" and the Preferences button: their editors come with
// their own windows and are connected here then; until then they show nothing.
void MainWindow::EditorItemClick() {}

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
