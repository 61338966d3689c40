#pragma once
// The desktop program's register commands: "Compare with register...", the
// comparison and backup the download dialog offers before sending, and
// "Restore...". The windows are models here; the views show them.

#include <functional>
#include <string>
#include <vector>

#include "app/register_commands.h"
#include "app/transfer_commands.h"

namespace plumgr {

inline constexpr const char* kNoDifference =
    "No difference: the register holds what a download would send.";
inline constexpr const char* kRestoreFilter = "Backups(backup.ini)|backup.ini";

// One line of the comparison window: a field of a row that would change.
struct CompareLine {
  std::string Item;    // "PLU 12", "department 3", "VAT"
  std::string Action;  // "add", "change", "clear"
  std::string Field;
  std::string Old;  // what the register holds
  std::string New;  // what it would hold after the download
};

// "Compare with register": the comparison's lines, a summary, and whether the
// window offers the download of what it compared.
struct CompareWindowModel {
  std::string Caption = kCompareDialogCaption;
  std::vector<CompareLine> Lines;
  std::string Summary;
  int Rows = 0;  // rows that differ
};

CompareWindowModel MakeCompareWindow(const std::vector<DiffRow>& rows);

// Shows the window modally; true when the operator chose Download.
using CompareView = std::function<bool(const CompareWindowModel& model)>;

// "Restore": the backup chosen, what it sends back, and Send or Cancel.
struct RestoreWindowModel {
  std::string Folder;              // the backup's folder
  std::string Made;                // when it was made, as its backup.ini says
  std::vector<std::string> Kinds;  // the kinds it replaces in the register
};

// Shows the window modally; true when the operator chose to send the backup.
using RestoreView = std::function<bool(const RestoreWindowModel& model)>;

class RegisterMenu {
 public:
  RegisterMenu(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
               TransferCommands& transfers);
  RegisterMenu(const RegisterMenu&) = delete;
  RegisterMenu& operator=(const RegisterMenu&) = delete;

  TransferDialogModel& CompareDialog() { return compare_dialog_; }

  // "Compare with register...": a selection dialog of the download kinds and
  // the range, the comparison, the window; Download there runs the download of
  // the same kinds and range. True when a download ran and succeeded.
  bool CompareItemClick(const TransferDialog& dialog, const CompareView& view);

  // What the download dialog asked for before the download: the comparison
  // (the download goes on only when the window's Download was chosen) and the
  // backup of the register's data (the download goes on only when it was made).
  bool BeforeDownload(TransferDialogModel& model, const CompareView& view);

  // "Restore...": the backup's backup.ini chosen in the open dialog (which
  // starts in the backups of the open set), the window, and the backup sent.
  // True when it was sent.
  bool RestoreItemClick(const RestoreView& confirm);

  // The folder of the last backup made before a download.
  const std::string& LastBackup() const { return last_backup_; }

 private:
  RegisterLink Link();
  bool Compare(std::uint8_t kinds, const PluRange& range, const CompareView& view);

  MainWindowState& state_;
  TKovoIBusComm& bus_;
  ProgressModel& progress_;
  TransferCommands& transfers_;
  TransferDialogModel compare_dialog_;
  std::string last_backup_;
};

}  // namespace plumgr
