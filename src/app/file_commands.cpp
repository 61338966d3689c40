#include "app/file_commands.h"

#include <ctime>
#include <filesystem>

#include "app/register_commands.h"
#include "data/data_file_set.h"
#include "data/set_backup.h"

namespace plumgr {
namespace {

// The dialogs hand back what the operator chose; the caption and CurrentFileName
// carry the full path.
std::string FullPath(const std::string& name) {
  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(name, ec);
  return ec ? name : path.lexically_normal().string();
}

class BusyCursor {
 public:
  explicit BusyCursor(UiPort& ui) : ui_(ui) { ui_.SetBusy(true); }
  ~BusyCursor() { ui_.SetBusy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  UiPort& ui_;
};

DataFileSetTables SetTables(MainWindowState& state) {
  Tables& tables = state.GetTables();
  return DataFileSetTables{tables.PLUGrid, tables.DeptmentGrid, state.FastSale(), state.Recycling(),
                           state.SettingsPath()};
}

}  // namespace

bool ConfirmSave(MainWindowState& state) {
  if (!state.Modified()) return true;
  switch (state.Ui().AskYesNoCancel(kSavePrompt)) {
    case Answer::Cancel:
      return false;
    case Answer::No:
      return true;
    default:
      break;
  }
  // The operator chose to keep the edits: when the save did not happen (Save As
  // cancelled, a file error) the command that would replace them must not go on.
  return SaveCommand(state);
}

void ClearAll(MainWindowState& state) {
  BusyCursor busy(state.Ui());
  ResetAllRows(state.GetTables(), state.DecimalSeparator());
  state.PluEdit().TablesReplaced();
  state.DeptEdit().TablesReplaced();
  state.SetCurrentFileName("");
  state.SetCaption(CurrentProfile().Title);
  state.SetModified(false);
  state.SetRegisterDataUnsaved(false);
}

FileResult SaveSetAs(MainWindowState& state, const std::string& name) {
  BusyCursor busy(state.Ui());
  if (state.RegisterDataUnsaved()) {
    const KeptBackup kept =
        KeepSetFiles(name, BackupCountSetting(state.SettingsPath()), std::time(nullptr));
    if (!kept.Ok)
      return FileResult::Failure(
          "The previous files of the set could not be kept, so it was not "
          "saved: " +
          kept.Message);
  }
  FileResult result = SaveSet(name, SetTables(state));
  if (result) {
    state.SetModified(false);
    state.SetRegisterDataUnsaved(false);
  }
  return result;
}

FileResult LoadSetFrom(MainWindowState& state, const std::string& name) {
  BusyCursor busy(state.Ui());
  state.SetCurrentFileName(FullPath(name));
  DataFileSetTables tables = SetTables(state);
  std::string notice;
  FileResult result = LoadSet(name, tables, ParameterCopy::IntoSettings, &notice);
  state.PluEdit().TablesReplaced();
  state.DeptEdit().TablesReplaced();
  if (!result) return result;
  // The set's settings are now the settings file, its code page among them.
  state.ApplyCodePageSetting();
  // An empty .PAR kept the settings file; the operator is told which settings apply.
  if (!notice.empty()) state.Ui().ShowMessage(notice);
  state.SetModified(false);
  state.SetFileCaption();
  return result;
}

void NewCommand(MainWindowState& state) {
  if (ConfirmSave(state)) ClearAll(state);
}

bool OpenName(MainWindowState& state, const std::string& name) {
  ClearAll(state);
  FileResult result = LoadSetFrom(state, name);
  if (!result) state.Ui().ShowError(result.Message);
  return result.Ok;
}

void OpenCommand(MainWindowState& state) {
  if (!ConfirmSave(state)) return;
  std::optional<std::string> name = state.Ui().ChooseOpenFile(FileDialogOptions{});
  if (name) OpenName(state, *name);
}

bool SaveCommand(MainWindowState& state) {
  if (!ValidateActive(state.FocusedTable())) return false;
  if (state.CurrentFileName().empty()) return SaveAsCommand(state);
  FileResult result = SaveSetAs(state, state.CurrentFileName());
  if (!result) state.Ui().ShowError(result.Message);
  return result.Ok;
}

bool SaveAsName(MainWindowState& state, const std::string& name) {
  state.SetCurrentFileName(FullPath(name));
  FileResult result = SaveSetAs(state, name);
  if (!result) {
    state.Ui().ShowError(result.Message);
    return false;
  }
  state.SetFileCaption();
  return true;
}

bool SaveAsCommand(MainWindowState& state) {
  if (!ValidateActive(state.FocusedTable())) return false;
  std::optional<std::string> name = state.Ui().ChooseSaveFile(FileDialogOptions{});
  if (!name) return false;
  return SaveAsName(state, *name);
}

}  // namespace plumgr
