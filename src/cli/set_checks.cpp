#include "cli/set_checks.h"

#include <filesystem>

#include "cli/cli_context.h"
#include "data/data_file_set.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/ini_document.h"
#include "data/settings_keys.h"
#include "data/settings_text.h"
#include "transfer/transfer_driver.h"

namespace plumgr::cli {
namespace {

namespace fs = std::filesystem;

SetFile DownloadSource(int kind) {
  switch (kind) {
    case kDownloadPlu:
      return kSetPluFile;
    case kDownloadDepartment:
      return kSetDeptFile;
    case kDownloadRecycling:
      return kSetRecyclingFile;
    case kDownloadFastSale:
      return kSetSignFile;
    default:
      return kSetParameterFile;
  }
}

SetFile UploadTarget(int kind) {
  switch (kind) {
    case kUploadPlu:
      return kSetPluFile;
    case kUploadDepartment:
      return kSetDeptFile;
    case kUploadRecycling:
      return kSetRecyclingFile;
    case kUploadFastSale:
      return kSetSignFile;
    default:
      return kSetParameterFile;
  }
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::exists(fs::symlink_status(path, ec));
}

// A file in the same folder whose name differs only in letter case, as a set
// copied from another system often has ("shop.plu" for "shop.PLU").
std::string CaseVariant(const std::string& path) {
  const fs::path wanted(path);
  const fs::path folder = wanted.parent_path().empty() ? fs::path(".") : wanted.parent_path();
  const std::string name = AsciiLower(wanted.filename().string());
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec)) {
    if (AsciiLower(entry.path().filename().string()) == name)
      return (wanted.parent_path() / entry.path().filename()).string();
  }
  return {};
}

}  // namespace

std::string MissingFile(const std::string& path) {
  std::string text = "\"" + path + "\" does not exist";
  if (const std::string variant = CaseVariant(path); !variant.empty())
    text += " (there is \"" + variant + "\"; file names differ in letter case here)";
  return text;
}

namespace {

std::string KindList(std::uint8_t kinds, const std::vector<std::string>& words) {
  std::string list;
  for (std::size_t kind = 0; kind < words.size(); ++kind)
    if ((kinds & KindBit(static_cast<int>(kind))) != 0)
      list += (list.empty() ? "" : ",") + words[kind];
  return list;
}

// What a .PAR lacks for one of the parameter kinds; empty when it holds it.
std::string ParameterGap(const IniDocument& par, int kind) {
  switch (kind) {
    case kDownloadParameter:
      return HoldsKind(par, ParameterKind::Parameter)
                 ? std::string()
                 : "holds none of the parameter keys (rates, flags, clerks, barcode types, "
                   "speeds, contrast)";
    case kDownloadVat:
      return HoldsKind(par, ParameterKind::Vat)
                 ? std::string()
                 : "holds no VAT rate (VAT1 to VAT9): every rate would be sent as 00.00";
    case kDownloadHeader:
      return HoldsKind(par, ParameterKind::Header) ? std::string()
                                                   : "holds no header line (Header1 to Header5)";
    default:
      return {};
  }
}

struct Refusal {
  std::vector<std::string> Lines;
  std::uint8_t Kinds = 0;  // the kinds that cannot be sent
};

void AddKindGap(Refusal& refusal, int kind, const std::string& what) {
  refusal.Lines.push_back("Cannot send the " + DownloadKindWords()[kind] + " kind: " + what);
  refusal.Kinds |= KindBit(kind);
}

// A header line or clerk name the register's code page cannot hold would go as
// a '?': the kinds still to send from the .PAR are refused, naming the key.
void CheckParameterText(const std::string& par_path, const SettingsText& text, std::uint8_t kinds,
                        Refusal& refusal) {
  const UnencodableSetting* refused = FirstUnencodableSent(text);
  const std::uint8_t chosen =
      kinds & ~refusal.Kinds &
      (KindBit(kDownloadParameter) | KindBit(kDownloadVat) | KindBit(kDownloadHeader));
  if (refused == nullptr || chosen == 0) return;
  const std::string list = KindList(chosen, DownloadKindWords());
  refusal.Lines.push_back("Cannot send the " + list +
                          (list.find(',') == std::string::npos ? " kind: " : " kinds: ") +
                          DescribeUnencodableSetting(par_path, *refused, text.Page));
  refusal.Kinds |= chosen;
}

void CheckParameterFile(const std::string& par_path, std::uint8_t kinds, Refusal& refusal) {
  FileReadResult read = ReadFileBytes(par_path);
  if (!read.Ok) throw UsageError{read.Message};
  const SettingsText text = ReadSettingsText(std::move(read.Bytes), CodePageInForce());
  const IniDocument par = IniDocument::Parse(text.Bytes);
  const bool holds_settings = HoldsAnySettingsKey(par);
  for (int kind : {kDownloadParameter, kDownloadVat, kDownloadHeader}) {
    if ((kinds & KindBit(kind)) == 0) continue;
    const std::string gap =
        holds_settings ? ParameterGap(par, kind) : "is empty or holds no settings key";
    if (!gap.empty()) AddKindGap(refusal, kind, "\"" + par_path + "\" " + gap);
  }
  CheckParameterText(par_path, text, kinds, refusal);
}

}  // namespace

const std::vector<std::string>& DownloadKindWords() {
  static const std::vector<std::string> words = {"plu", "department", "recycling", "parameter",
                                                 "vat", "fastsale",   "header"};
  return words;
}

const std::vector<std::string>& UploadKindWords() {
  static const std::vector<std::string> words = {"plu", "department", "recycling", "fastsale",
                                                 "parameter"};
  return words;
}

void CheckDownloadSources(const std::string& plu_file, std::uint8_t download_kinds) {
  if (!FileExists(plu_file)) throw UsageError{"Nothing was sent: " + MissingFile(plu_file)};
  Refusal refusal;
  bool parameter_kinds = false;
  for (int kind = 0; kind < kDownloadKindCount; ++kind) {
    if ((download_kinds & KindBit(kind)) == 0 || kind == kDownloadPlu) continue;
    const std::string path = SetFilePath(plu_file, DownloadSource(kind));
    if (!FileExists(path))
      AddKindGap(refusal, kind, MissingFile(path));
    else if (DownloadSource(kind) == kSetParameterFile)
      parameter_kinds = true;
  }
  if (parameter_kinds)
    CheckParameterFile(SetFilePath(plu_file, kSetParameterFile), download_kinds & ~refusal.Kinds,
                       refusal);
  if (refusal.Lines.empty()) return;

  std::string message;
  for (const std::string& line : refusal.Lines)
    message += line + "\n";
  const std::string rest = KindList(download_kinds & ~refusal.Kinds, DownloadKindWords());
  message += "Nothing was sent. ";
  message += rest.empty() ? "None of the chosen kinds can be sent from this set."
                          : "To leave the kind out and send the others: --kinds " + rest;
  throw UsageError{message};
}

unsigned UploadTargets(const std::string& plu_file, std::uint8_t upload_kinds) {
  unsigned files = 0;
  for (int kind = 0; kind < kUploadKindCount; ++kind)
    if ((upload_kinds & KindBit(kind)) != 0) files |= UploadTarget(kind);
  for (SetFile file :
       {kSetSignFile, kSetPluFile, kSetDeptFile, kSetRecyclingFile, kSetParameterFile})
    if (!FileExists(SetFilePath(plu_file, file))) files |= file;
  return files;
}

void CheckWritable(const std::string& path) {
  PendingFile probe;
  FileResult prepared = PendingFile::Prepare(path, {}, NewFileAccess::Shared, &probe);
  if (prepared) prepared = probe.CheckTarget();
  if (!prepared) throw UsageError{prepared.Message};
}

void CheckUploadTargets(const std::string& plu_file, unsigned files, std::uint8_t upload_kinds,
                        const std::string& settings_path) {
  fs::path folder = fs::path(plu_file).parent_path();
  if (folder.empty()) folder = ".";
  std::error_code ec;
  if (!fs::is_directory(folder, ec))
    throw UsageError{"Cannot write \"" + plu_file + "\": the folder does not exist"};
  for (SetFile file :
       {kSetSignFile, kSetPluFile, kSetDeptFile, kSetRecyclingFile, kSetParameterFile})
    if ((files & file) != 0) CheckWritable(SetFilePath(plu_file, file));
  if ((upload_kinds & KindBit(kUploadParameter)) != 0) CheckWritable(settings_path);
}

}  // namespace plumgr::cli
