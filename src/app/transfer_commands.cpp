#include "app/transfer_commands.h"

#include "app/file_commands.h"
#include "app/link_commands.h"

namespace plumgr {

bool IsValidPluRange(int from, int to) {
  return from >= 1 && from <= kMaxPluNumber && to >= 1 && to <= kMaxPluNumber && to >= from;
}

bool AcceptTransferDialog(const TransferDialogModel& model, UiPort& ui) {
  if (IsValidPluRange(model.From, model.To)) return true;
  ui.ShowMessage(kInvalidPluRange);
  return false;
}

std::uint8_t CheckedKinds(const TransferDialogModel& model) {
  std::uint8_t kinds = 0;
  for (std::size_t i = 0; i < model.Checked.size() && i < 8; ++i)
    if (model.Checked[i]) kinds |= KindBit(static_cast<int>(i));
  return kinds;
}

TransferCommands::TransferCommands(MainWindowState& state, TKovoIBusComm& bus,
                                   ProgressModel& progress)
    : state_(state), bus_(bus), progress_(progress), driver_(bus, progress) {
  download_dialog_.Caption = kDownloadDialogCaption;
  upload_dialog_.Caption = kUploadDialogCaption;
  prepare_bus_ = [this] { PrepareBus(state_, bus_); };
}

void TransferCommands::OpenDialog(TransferDialogModel& model, const TitleTable& names) {
  model.Maximum = CurrentProfile().PluCount;
  model.OffersRegisterChecks = &model == &download_dialog_ && before_download_ != nullptr;
  model.CompareFirst = false;
  model.To = kDefaultRangeEnd;
  model.KindNames = names.Entries;
  model.Checked.assign(model.KindNames.size(), false);
}

bool TransferCommands::DownloadItemClick(const TransferDialog& dialog) {
  driver_.DownloadKinds = 0;
  OpenDialog(download_dialog_, Texts().DownloadKindNames);
  if (!dialog(download_dialog_)) return false;
  // The view has checked the range on OK; a view that did not is refused here.
  if (!AcceptTransferDialog(download_dialog_, state_.Ui())) return false;
  driver_.DownloadKinds = CheckedKinds(download_dialog_);
  download_range_ = {download_dialog_.From, download_dialog_.To};
  if (before_download_ && !before_download_(download_dialog_)) return false;
  return RunDownload();
}

bool TransferCommands::UploadItemClick(const TransferDialog& dialog) {
  OpenDialog(upload_dialog_, Texts().UploadKindNames);
  if (!dialog(upload_dialog_)) return false;
  if (!AcceptTransferDialog(upload_dialog_, state_.Ui())) return false;
  driver_.UploadKinds = CheckedKinds(upload_dialog_);
  upload_range_ = {upload_dialog_.From, upload_dialog_.To};
  return RunUpload();
}

bool TransferCommands::EditParametersAndDownload(const ParameterEditor& edit) {
  if (!edit()) return false;
  driver_.DownloadKinds = KindBit(kDownloadParameter);
  return RunDownload();
}

TransferData TransferCommands::MakeData(std::vector<std::string>& warnings) {
  std::function<void(const std::string&)> warn = warn_;
  if (!warn) warn = [&warnings](const std::string& message) { warnings.push_back(message); };
  TransferData data{
      state_.GetTables(),    state_.Recycling(), state_.FastSale(),         state_.RepeatReport(),
      state_.SettingsPath(), state_.DumpDir(),   state_.DecimalSeparator(), open_file_,
      std::move(warn)};
  return data;
}

void TransferCommands::ShowWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& message : warnings)
    state_.Ui().ShowError(message);
}

bool TransferCommands::RunDownload() {
  prepare_bus_();
  std::vector<std::string> warnings;
  TransferData data = MakeData(warnings);
  if (!download_parameter_file_.empty()) data.SettingsPath = download_parameter_file_;
  const bool ok = driver_.DownloadSequence(data, download_range_);
  ShowWarnings(warnings);
  return ok;
}

bool TransferCommands::RunUpload() {
  // The upload replaces the tables before it connects, and a failed upload
  // leaves them empty, so unsaved work is offered for saving first.
  if (!ConfirmSave(state_)) return false;
  ClearAll(state_);
  prepare_bus_();
  std::vector<std::string> warnings;
  TransferData data = MakeData(warnings);
  const bool ok = driver_.UploadSequence(data, upload_range_);
  cleaned_names_ = data.CleanedNames;
  state_.PluEdit().TablesReplaced();
  state_.DeptEdit().TablesReplaced();
  // What the register sent is in no file yet; the set it is saved over keeps
  // its previous files in a backup.
  if (ok) state_.SetModified(true);
  state_.SetRegisterDataUnsaved(ok);
  ShowWarnings(warnings);
  return ok;
}

}  // namespace plumgr
