#pragma once
// Download ("Download data...", F9) and Upload ("Upload data...", F6) with
// their selection dialogs, and the service shortcut that edits the parameters
// and downloads them alone. The dialogs are models here; the views show them.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/transfer_driver.h"

namespace plumgr {

inline constexpr const char* kInvalidPluRange = "Invalid PLU range";
inline constexpr const char* kDownloadDialogCaption = "Download data";
inline constexpr const char* kUploadDialogCaption = "Upload data";
inline constexpr int kMaxPluNumber = 10000;
inline constexpr int kDefaultRangeEnd = 10;

// A selection dialog: one check box per kind and the PLU range.
struct TransferDialogModel {
  std::string Caption;
  std::vector<std::string> KindNames;
  std::vector<bool> Checked;
  int From = 1;  // kept from one use to the next
  int To = kDefaultRangeEnd;
  int Maximum = 0;  // of both spinners: the model's PLU count
  // The download dialog also offers a comparison with the register before
  // sending, and a backup of the register's data first.
  bool OffersRegisterChecks = false;
  bool CompareFirst = false;  // the dialog was closed with "Compare..."
  bool BackupFirst = false;   // "Back up the register's data first" ticked (kept)
};

// From and To each within 1 to 10000, To not less than From.
bool IsValidPluRange(int from, int to);

// The dialog's OK button: true closes the dialog; an invalid range shows
// "Invalid PLU range" and keeps it open (false).
bool AcceptTransferDialog(const TransferDialogModel& model, UiPort& ui);

// The kinds checked, bit i for item i.
std::uint8_t CheckedKinds(const TransferDialogModel& model);

// Shows the dialog modally and returns true for OK. The view's OK button calls
// AcceptTransferDialog and closes only when it allows.
using TransferDialog = std::function<bool(TransferDialogModel& model)>;

// The parameter dialog run modally; true when it was confirmed.
using ParameterEditor = std::function<bool()>;

class TransferCommands {
 public:
  // Prepares the bus component before each transfer; by default with the
  // state's port and speed (PrepareBus). A port that cannot be opened is shown
  // through the bus component's own UI port, which its owner gives it.
  using BusPreparer = std::function<void()>;

  TransferCommands(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress);
  TransferCommands(const TransferCommands&) = delete;
  TransferCommands& operator=(const TransferCommands&) = delete;

  TransferDriver& Driver() { return driver_; }
  TransferDialogModel& DownloadDialog() { return download_dialog_; }
  TransferDialogModel& UploadDialog() { return upload_dialog_; }
  // The ranges accepted by the dialogs' last OK (1 to 10 before the first).
  const PluRange& DownloadRange() const { return download_range_; }
  const PluRange& UploadRange() const { return upload_range_; }
  // How many names of the last upload held a tab, CR or LF, stored as spaces.
  int CleanedNames() const { return cleaned_names_; }
  void SetDownloadRange(const PluRange& range) { download_range_ = range; }
  void SetUploadRange(const PluRange& range) { upload_range_ = range; }

  void SetBusPreparer(BusPreparer prepare) { prepare_bus_ = std::move(prepare); }
  // Opens the repeat report with the desktop's default program; without one
  // the report is written and left.
  void SetFileOpener(std::function<void(const std::string& path)> open) {
    open_file_ = std::move(open);
  }
  // Where dump files that could not be written are told, as they happen;
  // without one they are shown through the state's UI port after the sequence.
  void SetWarningSink(std::function<void(const std::string& message)> warn) {
    warn_ = std::move(warn);
  }

  // Where the parameter download reads the parameters, VAT rates and header:
  // the settings file unless set. The command line reads the set's .PAR where
  // it lies, so that a download never rewrites the operator's settings file.
  void SetDownloadParameterFile(std::string path) { download_parameter_file_ = std::move(path); }

  // Runs after the download dialog's OK, before the download; false stops it
  // (the comparison shown was not followed by Download, the backup failed).
  using BeforeDownload = std::function<bool(TransferDialogModel& model)>;
  void SetBeforeDownload(BeforeDownload before) { before_download_ = std::move(before); }

  // Clears the download kinds, runs the dialog and on OK the download. True
  // when a download ran and succeeded.
  bool DownloadItemClick(const TransferDialog& dialog);
  // Runs the dialog and on OK the upload. True when an upload ran and succeeded.
  bool UploadItemClick(const TransferDialog& dialog);
  // Ctrl+Alt+F4: the parameter dialog; when confirmed, the parameters alone
  // are downloaded without the selection dialog.
  bool EditParametersAndDownload(const ParameterEditor& edit);

  // The download of the chosen kinds over the download dialog's range.
  bool RunDownload();
  // Asks to save unsaved work first (the upload replaces the tables), then
  // empties the tables and uploads the chosen kinds. False without an upload
  // when the operator cancels.
  bool RunUpload();

 private:
  void OpenDialog(TransferDialogModel& model, const TitleTable& names);
  TransferData MakeData(std::vector<std::string>& warnings);
  void ShowWarnings(const std::vector<std::string>& warnings);

  MainWindowState& state_;
  TKovoIBusComm& bus_;
  ProgressModel& progress_;
  TransferDriver driver_;
  TransferDialogModel download_dialog_;
  TransferDialogModel upload_dialog_;
  PluRange download_range_{1, kDefaultRangeEnd};
  PluRange upload_range_{1, kDefaultRangeEnd};
  int cleaned_names_ = 0;
  BusPreparer prepare_bus_;
  std::function<void(const std::string&)> open_file_;
  std::function<void(const std::string&)> warn_;
  std::string download_parameter_file_;
  BeforeDownload before_download_;
};

}  // namespace plumgr
