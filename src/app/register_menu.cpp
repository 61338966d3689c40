#include "app/register_menu.h"

#include <ctime>
#include <filesystem>

#include "app/link_commands.h"

namespace plumgr {
namespace {

std::string ItemText(const DiffRow& row) {
  std::string item = DownloadKindName(row.Kind);
  if (row.Number > 0) item += " " + std::to_string(row.Number);
  return item;
}

std::string Counted(int count, const char* what) {
  return std::to_string(count) + " " + what;
}

std::string SummaryText(const std::vector<DiffRow>& rows) {
  if (rows.empty()) return kNoDifference;
  int adds = 0, changes = 0, clears = 0;
  for (const DiffRow& row : rows)
    ++(row.Action == DiffAction::Add ? adds : row.Action == DiffAction::Clear ? clears : changes);
  return Counted(static_cast<int>(rows.size()), rows.size() == 1 ? "row" : "rows") +
         " would change: " + Counted(adds, "to add") + ", " + Counted(changes, "to change") + ", " +
         Counted(clears, "to clear") + ".";
}

// The names of the kinds a restore sends, as the download dialog lists them.
std::vector<std::string> KindNames(std::uint8_t kinds) {
  std::vector<std::string> names;
  for (int kind = 0; kind < kDownloadKindCount; ++kind)
    if (kinds & KindBit(kind)) names.push_back(DownloadKindName(kind));
  return names;
}

}  // namespace

CompareWindowModel MakeCompareWindow(const std::vector<DiffRow>& rows) {
  CompareWindowModel model;
  model.Rows = static_cast<int>(rows.size());
  model.Summary = SummaryText(rows);
  for (const DiffRow& row : rows) {
    std::string action = DiffActionWord(row.Action);
    if (row.FromRow > 0) action += " (from row " + std::to_string(row.FromRow) + ")";
    for (const FieldDifference& field : row.Fields)
      model.Lines.push_back({ItemText(row), action, field.Field, field.Old, field.New});
  }
  return model;
}

RegisterMenu::RegisterMenu(MainWindowState& state, TKovoIBusComm& bus, ProgressModel& progress,
                           TransferCommands& transfers)
    : state_(state), bus_(bus), progress_(progress), transfers_(transfers) {
  compare_dialog_.Caption = kCompareDialogCaption;
}

RegisterLink RegisterMenu::Link() {
  return RegisterLink{state_, bus_, progress_, [this] { PrepareBus(state_, bus_); },
                      transfers_.Driver().Timings};
}

bool RegisterMenu::Compare(std::uint8_t kinds, const PluRange& range, const CompareView& view) {
  RegisterLink link = Link();
  const CompareOutcome outcome = CompareWithRegister(link, kinds, range);
  if (!outcome.Read) return false;
  return view(MakeCompareWindow(outcome.Rows));
}

bool RegisterMenu::CompareItemClick(const TransferDialog& dialog, const CompareView& view) {
  TransferDialogModel& model = compare_dialog_;
  model.KindNames = Texts().DownloadKindNames.Entries;
  // A comparison changes nothing, so every kind is offered ticked.
  if (model.Checked.size() != model.KindNames.size())
    model.Checked.assign(model.KindNames.size(), true);
  model.Maximum = CurrentProfile().PluCount;
  if (model.To == kDefaultRangeEnd && model.From == 1) model.To = model.Maximum;
  if (!dialog(model) || !AcceptTransferDialog(model, state_.Ui())) return false;
  const std::uint8_t kinds = CheckedKinds(model);
  const PluRange range{model.From, model.To};
  if (!Compare(kinds, range, view)) return false;
  transfers_.Driver().DownloadKinds = kinds;
  transfers_.SetDownloadRange(range);
  return transfers_.RunDownload();
}

bool RegisterMenu::BeforeDownload(TransferDialogModel& model, const CompareView& view) {
  const std::uint8_t kinds = transfers_.Driver().DownloadKinds;
  const PluRange range = transfers_.DownloadRange();
  if (model.CompareFirst && !Compare(kinds, range, view)) return false;
  if (!model.BackupFirst) return true;
  const std::string& set = state_.CurrentFileName();
  RegisterLink link = Link();
  const BackupOutcome backup = BackUpRegister(
      link, kinds, range, RegisterBackupRoot(set, state_.SettingsPath()), RegisterBackupName(set),
      state_.SettingsPath(), BackupCountSetting(state_.SettingsPath()), std::time(nullptr));
  if (!backup.Ok) {
    if (!backup.Message.empty()) state_.Ui().ShowError(backup.Message);
    return false;
  }
  last_backup_ = backup.Folder;
  return true;
}

bool RegisterMenu::RestoreItemClick(const RestoreView& confirm) {
  FileDialogOptions options{kRestoreFilter, "ini", "."};
  const std::string root = RegisterBackupRoot(state_.CurrentFileName(), state_.SettingsPath());
  std::error_code ec;
  if (std::filesystem::is_directory(root, ec)) options.InitialDir = root;
  const std::optional<std::string> chosen = state_.Ui().ChooseOpenFile(options);
  if (!chosen) return false;
  std::string problem;
  const std::optional<BackupLocation> backup = LocateBackup(*chosen, &problem);
  if (!backup) {
    state_.Ui().ShowError(problem);
    return false;
  }
  const RestorePlan plan = PlanRestore(*backup);
  if (!confirm({backup->Folder, backup->Manifest.Made, KindNames(plan.DownloadKinds)}))
    return false;
  RegisterLink link = Link();
  const RestoreOutcome outcome = RestoreBackup(link, *backup);
  if (!outcome.Message.empty()) state_.Ui().ShowError(outcome.Message);
  return outcome.Ok;
}

}  // namespace plumgr
