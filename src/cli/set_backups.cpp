#include "cli/set_backups.h"

#include <ctime>
#include <iostream>

#include "cli/command_result.h"
#include "cli/interrupts.h"
#include "cli/link_session.h"
#include "data/data_file_set.h"

namespace plumgr::cli {
namespace {

void TellBackup(const GlobalOptions& options, const std::string& text, const std::string& folder) {
  if (options.Quiet && !options.Json) return;
  PrintOutputLine(options, JsonLine("backup").Text("path", folder), text + " " + folder);
}

}  // namespace

RegisterLink MakeRegisterLink(LinkSession& session) {
  return RegisterLink{session.State(), session.Bus(), session.Progress(),
                      [&session] { session.PrepareBus(); }, TransferTimings{}};
}

bool KeepSetBeforeUpload(LinkSession& session, const std::string& plu_file) {
  const int keep = BackupCountSetting(session.State().SettingsPath());
  const KeptBackup kept = KeepSetFiles(plu_file, keep, std::time(nullptr));
  if (!kept.Ok) {
    (void)Fail(kUsage,
               "the set's files could not be kept before they are replaced: " + kept.Message);
    return false;
  }
  if (!kept.Folder.empty())
    TellBackup(session.Options(), "Kept the set's previous files in", kept.Folder);
  return true;
}

int BackUpRegisterBeforeDownload(LinkSession& session, std::uint8_t download_kinds,
                                 const PluRange& range, const std::string& plu_file) {
  RegisterLink link = MakeRegisterLink(session);
  const int keep = BackupCountSetting(session.State().SettingsPath());
  BackupOutcome outcome;
  bool read = false;
  if (const int interrupted = RunInterruptible(
          session.Progress(),
          [&] {
            outcome =
                BackUpRegister(link, download_kinds, range,
                               RegisterBackupRoot(plu_file, session.State().SettingsPath()),
                               RegisterBackupName(plu_file),
                               SetFilePath(plu_file, kSetParameterFile), keep, std::time(nullptr));
            return outcome.Ok;
          },
          &read))
    return interrupted;
  // The progress window has shown why the register could not be read.
  if (!outcome.Ok && outcome.Message.empty()) return kFailed;
  if (!outcome.Ok)
    return Fail(kUsage,
                "the backup could not be written, nothing was downloaded: " + outcome.Message);
  TellBackup(session.Options(), "Backed up the register's data into", outcome.Folder);
  return kSuccess;
}

}  // namespace plumgr::cli
