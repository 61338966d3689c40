#pragma once
// The modal dialogs of the main window's commands. Each shows the core's model
// of its dialog, lets the operator change it and returns true for OK; the rules
// (range checks, key filters, what is stored) stay in the core.

#include <string>

#include "app/link_commands.h"
#include "app/main_window_state.h"
#include "app/memory_range_model.h"
#include "app/model_selection.h"
#include "app/transfer_commands.h"

class QWidget;

namespace plumgr::ui {

// "Communication setting": the port (with the device each COMn leads to and the
// USB serial adapters found) and the speed.
bool ShowCommSettingDialog(QWidget* parent, const std::string& settings_path,
                           CommSettingsModel& model);

// "Detect port": runs the detection with its own bus component until Close.
void ShowDetectPortDialog(QWidget* parent, MainWindowState& state);

// "Select ECR".
bool ShowSelectEcrDialog(QWidget* parent, SelectEcrModel& model);

// "Download data" / "Upload data": the kinds and the PLU range. OK closes only
// when AcceptTransferDialog allows.
bool ShowTransferDialog(QWidget* parent, TransferDialogModel& model, UiPort& ui);

// "Data range" / "Upload data range": first page, page count, ROM or RAM.
bool ShowDataRangeDialog(QWidget* parent, MemoryRangeModel& model, UiPort& ui);

}  // namespace plumgr::ui
