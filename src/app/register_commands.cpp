#include "app/register_commands.h"

#include <algorithm>
#include <filesystem>

#include "data/data_file_set.h"
#include "data/settings_location.h"
#include "data/settings_text.h"
#include "transfer/register_snapshot_file.h"
#include "transfer/snapshot_restore.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

constexpr std::uint8_t kParameterKinds =
    KindBit(kDownloadParameter) | KindBit(kDownloadVat) | KindBit(kDownloadHeader);

// The tables a transfer of the register commands fills or sends, apart from the
// main window's own.
struct ScratchData {
  explicit ScratchData(char separator)
      : Recycling(InitialRecyclingTable(separator)), FastSale(InitialFastSaleTable()) {
    SizeTables(Grids, CurrentProfile());
    ResetAllRows(Grids, separator);
  }
  Tables Grids;
  RecyclingTable Recycling;
  FastSaleTable FastSale;
  std::vector<std::string> Report;
  std::vector<std::string> Warnings;

  TransferData Data(const MainWindowState& state, std::string settings_path) {
    return TransferData{Grids,
                        Recycling,
                        FastSale,
                        Report,
                        std::move(settings_path),
                        state.DumpDir(),
                        state.DecimalSeparator(),
                        {},
                        [this](const std::string& message) { Warnings.push_back(message); }};
  }
  DataFileSetTables Set(std::string settings_path) {
    return {Grids.PLUGrid, Grids.DeptmentGrid, FastSale, Recycling, std::move(settings_path)};
  }
};

unsigned SetFilesOf(std::uint8_t download_kinds) {
  unsigned files = kSetPluFile | kSetParameterFile;
  if (download_kinds & KindBit(kDownloadDepartment)) files |= kSetDeptFile;
  if (download_kinds & KindBit(kDownloadRecycling)) files |= kSetRecyclingFile;
  if (download_kinds & KindBit(kDownloadFastSale)) files |= kSetSignFile;
  return files;
}

PluRange SpanCover(const std::vector<PluRange>& spans, const PluRange& fallback) {
  if (spans.empty()) return fallback;
  return {spans.front().First, spans.back().Last};
}

// The backup set: the tables of the kinds read, the .PAR from the parameter
// file with the block stored into it, the register image and the backup.ini.
FileResult WriteRegisterBackup(const MainWindowState& state, const RegisterSnapshot& snapshot,
                               const std::string& folder, const std::string& set_name,
                               const std::string& parameter_file, const BackupManifest& manifest) {
  ScratchData scratch(state.DecimalSeparator());
  SettingsTextRead base = ReadSettingsTextFile(parameter_file);
  if (!base.Ok) return FileResult::Failure(base.Message);
  Settings parameters(base.Document, state.DecimalSeparator());
  const bool has_parameters = (snapshot.DownloadKinds & kParameterKinds) != 0;
  (void)StoreSnapshot(snapshot, scratch.Grids, scratch.Recycling, scratch.FastSale,
                      has_parameters ? &parameters : nullptr, state.DecimalSeparator());
  const std::string plu_file = (fs::path(folder) / fs::path(set_name).filename()).string();
  const unsigned files = SetFilesOf(snapshot.DownloadKinds) & ~unsigned{kSetParameterFile};
  if (FileResult saved = SaveSet(plu_file, scratch.Set(""), files); !saved) return saved;
  if (FileResult par = ReplaceFile(SetFilePath(plu_file, kSetParameterFile),
                                   base.Document.Serialize(), NewFileAccess::OwnerOnly);
      !par)
    return par;
  if (FileResult image = ReplaceFile((fs::path(folder) / kRegisterImageName).string(),
                                     RegisterSnapshotText(snapshot), NewFileAccess::OwnerOnly);
      !image)
    return image;
  return WriteBackupManifest(folder, manifest);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The kinds a backup of set files can send: those its files hold; of the
// parameter kinds only those whose keys its .PAR holds, so that a restore never
// sends defaults in place of values the set did not have.
std::uint8_t KindsOfSetFiles(const std::string& plu_file) {
  std::uint8_t kinds = 0;
  if (Exists(plu_file)) kinds |= KindBit(kDownloadPlu);
  if (Exists(SetFilePath(plu_file, kSetDeptFile))) kinds |= KindBit(kDownloadDepartment);
  if (Exists(SetFilePath(plu_file, kSetRecyclingFile))) kinds |= KindBit(kDownloadRecycling);
  if (Exists(SetFilePath(plu_file, kSetSignFile))) kinds |= KindBit(kDownloadFastSale);
  const IniReadResult par = IniFile(SetFilePath(plu_file, kSetParameterFile)).Read();
  if (par.Ok) {
    if (HoldsKind(par.Document, ParameterKind::Parameter)) kinds |= KindBit(kDownloadParameter);
    if (HoldsKind(par.Document, ParameterKind::Vat)) kinds |= KindBit(kDownloadVat);
    if (HoldsKind(par.Document, ParameterKind::Header)) kinds |= KindBit(kDownloadHeader);
  }
  return kinds;
}

}  // namespace

bool ReadRegister(RegisterLink& link, std::uint8_t download_kinds, const PluRange& range,
                  ReadTexts texts, RegisterSnapshot& snapshot) {
  snapshot = RegisterSnapshot{};
  snapshot.DownloadKinds = download_kinds & kAllDownloadKinds;
  if (download_kinds & KindBit(kDownloadPlu))
    snapshot.PluSpans = PluSpansWritten(range, ProfilePluLayout());
  ScratchData scratch(link.State.DecimalSeparator());
  TransferData data = scratch.Data(link.State, link.State.SettingsPath());
  TransferDriver driver(link.Bus, link.Progress);
  driver.UploadKinds = SnapshotUploadKinds(download_kinds);
  driver.Timings = link.Timings;
  if (texts == ReadTexts::Compare) driver.StepPrefix = Texts().ProgressTexts.Compare;
  driver.UploadSteps = [&snapshot](int kind, TransferStep& step) {
    return ReadSnapshotStep(kind, step, snapshot);
  };
  if (link.PrepareBus) link.PrepareBus();
  return driver.UploadSequence(data, range);
}

CompareOutcome CompareWithRegister(RegisterLink& link, std::uint8_t download_kinds,
                                   const PluRange& range, const std::string& parameter_file) {
  MainWindowState& state = link.State;
  const std::string path = parameter_file.empty() ? state.SettingsPath() : parameter_file;
  SettingsTextRead parameters = ReadSettingsTextFile(path);
  if (!parameters.Ok) {
    state.Ui().ShowError(parameters.Message);
    return {};
  }
  RegisterSnapshot snapshot;
  if (!ReadRegister(link, download_kinds, range, ReadTexts::Compare, snapshot)) return {};
  const DownloadSource source{state.GetTables(), state.Recycling(), state.FastSale(),
                              parameters.Document, state.DecimalSeparator()};
  return {true, CompareWithSnapshot(snapshot, source, download_kinds, range, ProfilePluLayout())};
}

BackupOutcome BackUpRegister(RegisterLink& link, std::uint8_t download_kinds, const PluRange& range,
                             const std::string& root, const std::string& set_name,
                             const std::string& parameter_file, int keep, std::time_t when) {
  RegisterSnapshot snapshot;
  if (!ReadRegister(link, download_kinds, range, ReadTexts::Upload, snapshot)) return {};
  BackupFolder folder = CreateBackupFolder(root, BackupOrigin::Register, when);
  if (!folder.Ok) return {false, "", folder.Message};
  const PluRange cover = SpanCover(snapshot.PluSpans, range);
  const BackupManifest manifest{BackupOrigin::Register, LocalTimeText(when), set_name,
                                snapshot.DownloadKinds, cover.First,         cover.Last};
  if (FileResult written = WriteRegisterBackup(link.State, snapshot, folder.Path, set_name,
                                               parameter_file, manifest);
      !written) {
    std::error_code ec;
    fs::remove_all(folder.Path, ec);
    return {false, "", written.Message};
  }
  // The backup just made is kept whatever the setting says: it was asked for.
  (void)RotateBackups(root, BackupOrigin::Register, std::max(keep, 1));
  return {true, folder.Path, ""};
}

std::string RegisterBackupRoot(const std::string& plu_file, const std::string& settings_path) {
  if (!plu_file.empty()) return BackupRoot(plu_file);
  return (fs::path(settings_path).parent_path() / "backups").string();
}

std::string RegisterBackupName(const std::string& plu_file) {
  return plu_file.empty() ? kRegisterBackupName : plu_file;
}

int BackupCountSetting(const std::string& settings_path) {
  IniReadResult read = SettingsFile(settings_path).Read();
  return Settings(read.Document, '.').BackupCount();
}

RestorePlan PlanRestore(const BackupLocation& backup) {
  const int table = CurrentProfile().PluCount;
  RestorePlan plan;
  plan.Range = {1, table};
  if (backup.Manifest.Origin == BackupOrigin::SetFiles) {
    plan.DownloadKinds = KindsOfSetFiles(backup.PluFile);
    return plan;
  }
  plan.DownloadKinds = backup.Manifest.DownloadKinds & kAllDownloadKinds;
  const PluRange named{std::max(backup.Manifest.From, 1), std::min(backup.Manifest.To, table)};
  if (named.First <= named.Last) plan.Range = named;
  return plan;
}

RestoreOutcome RestoreBackup(RegisterLink& link, const BackupLocation& backup) {
  MainWindowState& state = link.State;
  const RestorePlan plan = PlanRestore(backup);
  if (plan.DownloadKinds == 0) return {false, "The backup in " + backup.Folder + " holds no data"};
  ScratchData scratch(state.DecimalSeparator());
  const std::string par = SetFilePath(backup.PluFile, kSetParameterFile);
  if (FileResult read =
          LoadSet(backup.PluFile, scratch.Set(state.SettingsPath()), ParameterCopy::None);
      !read)
    return {false, read.Message};

  RegisterSnapshot snapshot;
  const std::string image = (fs::path(backup.Folder) / kRegisterImageName).string();
  const bool has_image = Exists(image);
  if (has_image) {
    FileReadResult bytes = ReadFileBytes(image);
    if (!bytes.Ok) return {false, bytes.Message};
    if (std::optional<std::string> problem = ParseRegisterSnapshot(bytes.Bytes, snapshot))
      return {false, image + ": " + *problem};
  }

  TransferData data = scratch.Data(state, par);
  TransferDriver driver(link.Bus, link.Progress);
  driver.DownloadKinds = plan.DownloadKinds;
  driver.Timings = link.Timings;
  SnapshotRestore restore(has_image ? &snapshot : nullptr);
  driver.DownloadSteps = [&restore](int kind, TransferStep& step) {
    return restore.Step(kind, step);
  };
  if (link.PrepareBus) link.PrepareBus();
  const bool ok = driver.DownloadSequence(data, plan.Range);
  for (const std::string& warning : scratch.Warnings)
    state.Ui().ShowError(warning);
  return {ok, ""};
}

}  // namespace plumgr
