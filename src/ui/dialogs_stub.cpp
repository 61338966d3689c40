// Stand-ins until the dialogs are built; each refuses, as Cancel would.
#include "ui/dialogs.h"

namespace plumgr::ui {

bool ShowCommSettingDialog(QWidget*, const std::string&, CommSettingsModel&) {
  return false;
}
void ShowDetectPortDialog(QWidget*, MainWindowState&) {}
bool ShowSelectEcrDialog(QWidget*, SelectEcrModel&) {
  return false;
}
bool ShowTransferDialog(QWidget*, TransferDialogModel&, UiPort&) {
  return false;
}
bool ShowDataRangeDialog(QWidget*, MemoryRangeModel&, UiPort&) {
  return false;
}

}  // namespace plumgr::ui
