#pragma once
// Backups of a data file set, kept in dated folders beside the set:
//
//   shop.PLU, shop.Sign, shop.DEP, shop.RCY, shop.PAR   the set
//   shop.backups/upload-20250601-101500/     the set's files as they were before
//                                            an upload replaced them
//   shop.backups/register-20250601-102000/   the register's data before a download
//
// Each backup folder is itself a set of the same name (it opens like any set)
// with a "backup.ini" saying what it holds. The newest backups of each kind are
// kept ([Other] Backups, 20 by default); older ones are removed. The folders
// are readable by their owner only, since a .PAR holds the clerks' passwords.

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "data/file_io.h"

namespace plumgr {

inline constexpr const char* kBackupManifestName = "backup.ini";
inline constexpr const char* kBackupFolderSuffix = ".backups";

enum class BackupOrigin {
  SetFiles,  // "upload-": the set's files before an upload replaced them
  Register,  // "register-": the register's data before a download
};

// What a backup holds, as its backup.ini says.
struct BackupManifest {
  BackupOrigin Origin = BackupOrigin::SetFiles;
  std::string Made;                // "2025-06-01 10:15:00", local time
  std::string Source;              // the set's main file the backup belongs to
  std::uint8_t DownloadKinds = 0;  // the kinds a restore sends
  int From = 1;                    // the PLU range a restore sends
  int To = 0;
};

// The folder holding a set's backups: beside the set, "<name>.backups".
std::string BackupRoot(const std::string& plu_file);

// A backup folder's name: the origin's prefix and the local time, with "-2",
// "-3", ... when a folder of that second already exists.
std::string BackupFolderName(BackupOrigin origin, std::time_t when, int repeat = 1);

struct BackupFolder {
  bool Ok = false;
  std::string Path;     // the new folder
  std::string Message;  // why there is none
};

// Creates the root (when missing) and a new, empty backup folder in it.
BackupFolder CreateBackupFolder(const std::string& root, BackupOrigin origin, std::time_t when);

// The backup folders of an origin in the root, oldest first.
std::vector<std::string> ListBackups(const std::string& root, BackupOrigin origin);

// Removes the oldest backups of the origin until `keep` are left; returns what
// it could not remove.
std::vector<std::string> RotateBackups(const std::string& root, BackupOrigin origin, int keep);

FileResult WriteBackupManifest(const std::string& folder, const BackupManifest& manifest);
std::optional<BackupManifest> ReadBackupManifest(const std::string& folder, std::string* problem);

// A backup named by its folder, its backup.ini or a file of its set: the folder
// and the set's main file in it. Nothing, and the reason, when the path holds
// no backup.
struct BackupLocation {
  std::string Folder;
  std::string PluFile;
  BackupManifest Manifest;
};
std::optional<BackupLocation> LocateBackup(const std::string& path, std::string* problem);

struct KeptBackup {
  bool Ok = true;
  std::string Folder;   // empty when nothing needed keeping
  std::string Message;  // why the files could not be kept
};

// Before an upload replaces a set's files: copies the files of the set that
// exist into a new "upload-" folder, then keeps the newest `keep`. Nothing is
// done for a set that has no file yet, or when `keep` is 0.
KeptBackup KeepSetFiles(const std::string& plu_file, int keep, std::time_t when);

// "2025-06-01 10:15:00" in local time.
std::string LocalTimeText(std::time_t when);

}  // namespace plumgr
