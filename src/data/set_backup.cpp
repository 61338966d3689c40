#include "data/set_backup.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "data/data_file_set.h"
#include "data/ini_document.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kSection = "Backup";
constexpr std::size_t kStampLength = 15;  // YYYYMMDD-HHMMSS
constexpr SetFile kSetFiles[] = {kSetPluFile, kSetSignFile, kSetDeptFile, kSetRecyclingFile,
                                 kSetParameterFile};

std::string Prefix(BackupOrigin origin) {
  return origin == BackupOrigin::Register ? "register-" : "upload-";
}

std::string OriginWord(BackupOrigin origin) {
  return origin == BackupOrigin::Register ? "register" : "files";
}

std::tm LocalTime(std::time_t when) {
  std::tm parts{};
  localtime_r(&when, &parts);
  return parts;
}

// The stamp and repeat of a folder name of the origin, or nothing.
struct NameOrder {
  std::string Stamp;
  int Repeat = 1;
  auto operator<=>(const NameOrder&) const = default;
};

std::optional<NameOrder> ParseFolderName(std::string_view name, BackupOrigin origin) {
  const std::string prefix = Prefix(origin);
  if (!name.starts_with(prefix)) return std::nullopt;
  name.remove_prefix(prefix.size());
  if (name.size() < kStampLength) return std::nullopt;
  NameOrder order{std::string(name.substr(0, kStampLength))};
  const bool stamp_ok = std::all_of(order.Stamp.begin(), order.Stamp.end(),
                                    [](char c) { return (c >= '0' && c <= '9') || c == '-'; }) &&
                        order.Stamp[8] == '-';
  if (!stamp_ok) return std::nullopt;
  name.remove_prefix(kStampLength);
  if (name.empty()) return order;
  if (name.front() != '-') return std::nullopt;
  name.remove_prefix(1);
  auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), order.Repeat);
  if (ec != std::errc() || end != name.data() + name.size()) return std::nullopt;
  return order;
}

FileResult CopyInto(const std::string& from, const std::string& folder) {
  FileReadResult read = ReadFileBytes(from);
  if (!read.Ok) return FileResult::Failure(read.Message);
  const std::string to = (fs::path(folder) / fs::path(from).filename()).string();
  return ReplaceFile(to, read.Bytes, NewFileAccess::OwnerOnly);
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

}  // namespace

std::string BackupRoot(const std::string& plu_file) {
  const fs::path path(plu_file);
  return (path.parent_path() / (path.stem().string() + kBackupFolderSuffix)).string();
}

std::string BackupFolderName(BackupOrigin origin, std::time_t when, int repeat) {
  const std::tm t = LocalTime(when);
  char stamp[80];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  std::string name = Prefix(origin) + stamp;
  if (repeat > 1) name += "-" + std::to_string(repeat);
  return name;
}

std::string LocalTimeText(std::time_t when) {
  const std::tm t = LocalTime(when);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1,
                t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
  return text;
}

BackupFolder CreateBackupFolder(const std::string& root, BackupOrigin origin, std::time_t when) {
  std::error_code ec;
  fs::create_directories(root, ec);
  if (ec) return {false, "", "Cannot create " + root + ": " + ec.message()};
  fs::permissions(root, fs::perms::owner_all, fs::perm_options::replace, ec);
  for (int repeat = 1; repeat < 1000; ++repeat) {
    const std::string path = (fs::path(root) / BackupFolderName(origin, when, repeat)).string();
    if (fs::create_directory(path, ec)) {
      fs::permissions(path, fs::perms::owner_all, fs::perm_options::replace, ec);
      return {true, path, ""};
    }
    if (ec) return {false, "", "Cannot create " + path + ": " + ec.message()};
  }
  return {false, "", "Cannot create a backup folder in " + root};
}

std::vector<std::string> ListBackups(const std::string& root, BackupOrigin origin) {
  std::vector<std::pair<NameOrder, std::string>> found;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(root, ec)) {
    if (!entry.is_directory(ec)) continue;
    if (auto order = ParseFolderName(entry.path().filename().string(), origin))
      found.emplace_back(*order, entry.path().string());
  }
  std::sort(found.begin(), found.end());
  std::vector<std::string> paths;
  for (auto& [order, path] : found)
    paths.push_back(std::move(path));
  return paths;
}

std::vector<std::string> RotateBackups(const std::string& root, BackupOrigin origin, int keep) {
  std::vector<std::string> backups = ListBackups(root, origin);
  std::vector<std::string> left;
  const std::size_t excess = backups.size() > static_cast<std::size_t>(std::max(keep, 0))
                                 ? backups.size() - static_cast<std::size_t>(std::max(keep, 0))
                                 : 0;
  for (std::size_t i = 0; i < excess; ++i) {
    std::error_code ec;
    fs::remove_all(backups[i], ec);
    if (ec) left.push_back(backups[i]);
  }
  return left;
}

FileResult WriteBackupManifest(const std::string& folder, const BackupManifest& manifest) {
  IniDocument document;
  document.WriteString(kSection, "Origin", OriginWord(manifest.Origin));
  document.WriteString(kSection, "Made", manifest.Made);
  document.WriteString(kSection, "Source", manifest.Source);
  document.WriteInteger(kSection, "Kinds", manifest.DownloadKinds);
  document.WriteInteger(kSection, "From", manifest.From);
  document.WriteInteger(kSection, "To", manifest.To);
  return ReplaceFile((fs::path(folder) / kBackupManifestName).string(), document.Serialize(),
                     NewFileAccess::OwnerOnly);
}

std::optional<BackupManifest> ReadBackupManifest(const std::string& folder, std::string* problem) {
  const std::string path = (fs::path(folder) / kBackupManifestName).string();
  FileReadResult read = ReadFileBytes(path);
  if (!read.Ok) {
    if (problem) *problem = read.Missing ? path + " is missing: no backup is there" : read.Message;
    return std::nullopt;
  }
  const IniDocument document = IniDocument::Parse(read.Bytes);
  BackupManifest manifest;
  const std::string origin = document.ReadString(kSection, "Origin", "");
  if (origin != "register" && origin != "files") {
    if (problem) *problem = path + ": [Backup] Origin must be register or files";
    return std::nullopt;
  }
  manifest.Origin = origin == "register" ? BackupOrigin::Register : BackupOrigin::SetFiles;
  manifest.Made = document.ReadString(kSection, "Made", "");
  manifest.Source = document.ReadString(kSection, "Source", "");
  manifest.DownloadKinds = static_cast<std::uint8_t>(document.ReadInteger(kSection, "Kinds", 0));
  manifest.From = document.ReadInteger(kSection, "From", 1);
  manifest.To = document.ReadInteger(kSection, "To", 0);
  return manifest;
}

std::optional<BackupLocation> LocateBackup(const std::string& path, std::string* problem) {
  std::error_code ec;
  fs::path folder(path);
  if (!fs::exists(folder, ec)) {
    if (problem) *problem = "\"" + path + "\" does not exist";
    return std::nullopt;
  }
  if (!fs::is_directory(folder, ec)) folder = folder.parent_path();
  if (folder.empty()) folder = ".";
  std::optional<BackupManifest> manifest = ReadBackupManifest(folder.string(), problem);
  if (!manifest) return std::nullopt;
  const std::string name = fs::path(manifest->Source).filename().string();
  const std::string plu_file = (folder / name).string();
  if (name.empty() || !Exists(plu_file)) {
    if (problem) *problem = "The backup in " + folder.string() + " holds no " + name;
    return std::nullopt;
  }
  return BackupLocation{folder.string(), plu_file, *manifest};
}

KeptBackup KeepSetFiles(const std::string& plu_file, int keep, std::time_t when) {
  std::vector<std::string> present;
  for (SetFile file : kSetFiles) {
    const std::string path = file == kSetPluFile ? plu_file : SetFilePath(plu_file, file);
    if (Exists(path)) present.push_back(path);
  }
  if (present.empty() || keep <= 0) return {};
  const std::string root = BackupRoot(plu_file);
  BackupFolder folder = CreateBackupFolder(root, BackupOrigin::SetFiles, when);
  if (!folder.Ok) return {false, "", folder.Message};
  for (const std::string& path : present)
    if (FileResult copied = CopyInto(path, folder.Path); !copied) {
      std::error_code ec;
      fs::remove_all(folder.Path, ec);
      return {false, "", copied.Message};
    }
  BackupManifest manifest;
  manifest.Origin = BackupOrigin::SetFiles;
  manifest.Made = LocalTimeText(when);
  std::error_code ec;
  const fs::path source = fs::absolute(plu_file, ec);
  manifest.Source = (ec ? fs::path(plu_file) : source).lexically_normal().string();
  if (FileResult written = WriteBackupManifest(folder.Path, manifest); !written)
    return {false, "", written.Message};
  (void)RotateBackups(root, BackupOrigin::SetFiles, keep);
  return {true, folder.Path, ""};
}

}  // namespace plumgr
