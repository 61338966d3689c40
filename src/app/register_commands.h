#pragma once
// The commands that read the register without changing it, or put back what
// was read: "Compare with register..." (what a download would add, change and
// clear), the backup of the register's data before a download, and "Restore..."
// of a backup. Each runs the transfer sequence of the main window's bus
// component (connect, status check, the kinds, disconnect) with the progress
// window, and shows its errors there as a transfer does.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "app/main_window_state.h"
#include "data/set_backup.h"
#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "transfer/register_diff.h"
#include "transfer/register_snapshot.h"
#include "transfer/transfer_driver.h"

namespace plumgr {

inline constexpr const char* kCompareDialogCaption = "Compare with register";
inline constexpr const char* kRegisterBackupName = "register.PLU";

// What every register command needs: the state, the bus component, the
// progress window, and how the bus is given its port before the link opens.
struct RegisterLink {
  MainWindowState& State;
  TKovoIBusComm& Bus;
  ProgressModel& Progress;
  std::function<void()> PrepareBus;
  TransferTimings Timings;
};

// Reads the register's data of the download kinds over the PLUs a download of
// the range can write (the PLU step shows "Compare:" with `compare_texts`).
// False when the transfer failed; the progress window has shown why.
enum class ReadTexts { Upload, Compare };
bool ReadRegister(RegisterLink& link, std::uint8_t download_kinds, const PluRange& range,
                  ReadTexts texts, RegisterSnapshot& snapshot);

struct CompareOutcome {
  bool Read = false;  // the register was read; Rows is then the comparison
  std::vector<DiffRow> Rows;
};

// The state's tables, small tables and the parameter settings file (the
// settings file unless given) against what the register holds.
CompareOutcome CompareWithRegister(RegisterLink& link, std::uint8_t download_kinds,
                                   const PluRange& range, const std::string& parameter_file = {});

struct BackupOutcome {
  bool Ok = false;
  std::string Folder;   // the backup made
  std::string Message;  // why there is none (a file error; a failed read shows its own)
};

// The register's data of the download kinds, over the PLUs a download of the
// range can write, saved as a backup set in a new "register-" folder of the
// root (named like `set_name`), with its register image, then the newest
// `keep` kept. The set's .PAR starts from the lines of `parameter_file`.
BackupOutcome BackUpRegister(RegisterLink& link, std::uint8_t download_kinds, const PluRange& range,
                             const std::string& root, const std::string& set_name,
                             const std::string& parameter_file, int keep, std::time_t when);

// Where a backup of the register goes before a download of the set (its main
// file), or of the desktop's tables when no set is open (empty): beside the
// set, else in "backups" beside the settings file. The name is the set's, else
// "register.PLU".
std::string RegisterBackupRoot(const std::string& plu_file, const std::string& settings_path);
std::string RegisterBackupName(const std::string& plu_file);

// [Other] Backups of the settings file.
int BackupCountSetting(const std::string& settings_path);

// What a restore sends: the backup's kinds (a backup of set files: the kinds
// its files hold) and range (the whole PLU table when it names none).
struct RestorePlan {
  std::uint8_t DownloadKinds = 0;
  PluRange Range;
};
RestorePlan PlanRestore(const BackupLocation& backup);

// Sends the backup back. False when its files cannot be read (Message says
// which) or the transfer failed (the progress window has shown why).
struct RestoreOutcome {
  bool Ok = false;
  std::string Message;
};
RestoreOutcome RestoreBackup(RegisterLink& link, const BackupLocation& backup);

}  // namespace plumgr
