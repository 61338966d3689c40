#include "data/data_file_set.h"

#include <vector>

#include "data/data_file_format.h"
#include "data/data_file_text.h"
#include "data/set_code_page.h"
#include "data/settings_text.h"

namespace plumgr {
namespace {

constexpr const char* kSignExtension = ".Sign";
constexpr const char* kDeptExtension = ".DEP";
constexpr const char* kRecyclingExtension = ".RCY";
constexpr const char* kParameterExtension = ".PAR";

// The bytes of a file to read into the set; nothing when the file is missing.
struct CompanionRead {
  bool Skip = false;
  std::string Bytes;
};

FileResult ReadCompanion(const std::string& path, CompanionRead* out) {
  FileReadResult read = ReadFileBytes(path);
  if (read.Missing) {
    out->Skip = true;
    return FileResult::Success();
  }
  if (!read.Ok) return FileResult::Failure(std::move(read.Message));
  out->Bytes = std::move(read.Bytes);
  return FileResult::Success();
}

// The settings file as name.PAR holds it; a missing settings file means every key
// is at its default, which an empty file says as well.
FileResult ReadSettingsCopy(const std::string& settings_path, std::string* bytes) {
  FileReadResult read = ReadFileBytes(settings_path);
  if (!read.Ok && !read.Missing) return FileResult::Failure(std::move(read.Message));
  *bytes = std::move(read.Bytes);
  return FileResult::Success();
}

constexpr const char* kSettingsKept =
    ": the settings file was kept as it is, so the current port, parameters, VAT rates and header "
    "stay in force";

// What an Open does with name.PAR, decided before the tables are read: their
// UTF-8 letters come into the code page in force after the Open, which is the
// .PAR's own only when the .PAR is taken.
struct ParameterPlan {
  FileResult Read;       // a missing or unreadable .PAR stops the load, last
  std::string Settings;  // the settings file's new text, when Take
  bool Take = false;
  std::string Notice;                         // why the settings file is kept
  CodePageId Page = CodePageId::Windows1250;  // of the tables' text
};

ParameterPlan PlanParameterCopy(const std::string& parameter_path) {
  ParameterPlan plan;
  plan.Page = CodePageInForce();
  FileReadResult parameters = ReadFileBytes(parameter_path);
  if (!parameters.Ok) {
    plan.Read = FileResult::Failure(std::move(parameters.Message));
    return plan;
  }
  // A .PAR an editor saved as UTF-8 comes into the code page of the register's
  // text, as the tables do; one with a letter that page lacks is not copied,
  // since the letter would be lost for good.
  SettingsText text = ReadSettingsText(std::move(parameters.Bytes), CodePageInForce());
  if (!text.HoldsSettings) {
    plan.Notice = "\"" + parameter_path + "\" is empty or holds no settings" + kSettingsKept;
  } else if (!text.Unencodable.empty()) {
    plan.Notice = DescribeUnencodableSetting(parameter_path, text.Unencodable.front(), text.Page) +
                  kSettingsKept;
  } else {
    plan.Take = true;
    plan.Page = text.Page;
    plan.Settings = std::move(text.Bytes);
  }
  return plan;
}

}  // namespace

std::string CompanionName(const std::string& name, const std::string& extension) {
  size_t slash = name.rfind('/');
  size_t base = slash == std::string::npos ? 0 : slash + 1;
  size_t dot = name.rfind('.');
  if (dot == std::string::npos || dot <= base) return name + extension;
  return name.substr(0, dot) + extension;
}

std::string SetFilePath(const std::string& name, SetFile file) {
  switch (file) {
    case kSetSignFile:
      return CompanionName(name, kSignExtension);
    case kSetPluFile:
      return name;
    case kSetDeptFile:
      return CompanionName(name, kDeptExtension);
    case kSetRecyclingFile:
      return CompanionName(name, kRecyclingExtension);
    case kSetParameterFile:
      return CompanionName(name, kParameterExtension);
  }
  return name;
}

FileResult SaveSet(const std::string& name, const DataFileSetTables& tables, unsigned files) {
  std::string settings;
  if ((files & kSetParameterFile) != 0)
    if (FileResult read = ReadSettingsCopy(tables.SettingsPath, &settings); !read) return read;

  struct Output {
    SetFile File;
    std::string Bytes;
    NewFileAccess Access;
  };
  // The copy of the settings holds the clerks' passwords, as the settings file does.
  std::vector<Output> outputs;
  if ((files & kSetSignFile) != 0)
    outputs.push_back({kSetSignFile, FormatFastSale(tables.FastSale), NewFileAccess::Shared});
  if ((files & kSetPluFile) != 0)
    outputs.push_back(
        {kSetPluFile, FormatTable(tables.Plu, kPluFileLayout), NewFileAccess::Shared});
  if ((files & kSetDeptFile) != 0)
    outputs.push_back(
        {kSetDeptFile, FormatTable(tables.Departments, kDeptFileLayout), NewFileAccess::Shared});
  if ((files & kSetRecyclingFile) != 0)
    outputs.push_back(
        {kSetRecyclingFile, FormatRecycling(tables.Recycling), NewFileAccess::Shared});
  if ((files & kSetParameterFile) != 0)
    outputs.push_back({kSetParameterFile, std::move(settings), NewFileAccess::OwnerOnly});

  // Every file is written in full before any old one is replaced.
  std::vector<PendingFile> pending(outputs.size());
  for (size_t i = 0; i < outputs.size(); ++i) {
    const Output& output = outputs[i];
    if (FileResult prepared = PendingFile::Prepare(SetFilePath(name, output.File), output.Bytes,
                                                   output.Access, &pending[i]);
        !prepared)
      return prepared;
  }
  for (const PendingFile& file : pending)
    if (FileResult checked = file.CheckTarget(); !checked) return checked;
  for (PendingFile& file : pending)
    if (FileResult committed = file.Commit(); !committed) return committed;
  return FileResult::Success();
}

FileResult LoadSet(const std::string& name, const DataFileSetTables& tables, ParameterCopy copy,
                   std::string* notice) {
  const std::string parameter_path = CompanionName(name, kParameterExtension);
  ParameterPlan parameters;
  if (copy == ParameterCopy::IntoSettings)
    parameters = PlanParameterCopy(parameter_path);
  else
    parameters.Page = CodePageOfSet(name, CodePageInForce()).Page;
  // A table file saved as UTF-8 comes into the code page of the set's text.
  const CodePageUpperHalf& page = UpperHalf(parameters.Page);
  CompanionRead plu;
  if (FileResult read = ReadCompanion(name, &plu); !read) return read;
  if (!plu.Skip) ReadTable(ReadDataFileText(std::move(plu.Bytes), page).Bytes, tables.Plu);

  const std::string sign_path = CompanionName(name, kSignExtension);
  CompanionRead sign;
  if (FileResult read = ReadCompanion(sign_path, &sign); !read) return read;
  if (!sign.Skip) {
    EntryReadResult entries = ReadFastSale(sign.Bytes, tables.FastSale);
    if (!entries.Ok)
      return FileResult::Failure("\"" + sign_path + "\", line " + std::to_string(entries.Line) +
                                 ": " + entries.Message);
  }

  CompanionRead dept;
  if (FileResult read = ReadCompanion(CompanionName(name, kDeptExtension), &dept); !read)
    return read;
  if (!dept.Skip)
    ReadTable(ReadDataFileText(std::move(dept.Bytes), page).Bytes, tables.Departments);

  CompanionRead recycling;
  if (FileResult read = ReadCompanion(CompanionName(name, kRecyclingExtension), &recycling); !read)
    return read;
  if (!recycling.Skip) ReadRecycling(recycling.Bytes, tables.Recycling);

  if (copy == ParameterCopy::None) return FileResult::Success();
  if (!parameters.Read) return parameters.Read;
  if (!parameters.Take) {
    if (notice != nullptr) *notice = std::move(parameters.Notice);
    return FileResult::Success();
  }
  FileReadResult current = ReadFileBytes(tables.SettingsPath);
  if (current.Ok && current.Bytes == parameters.Settings) return FileResult::Success();
  return ReplaceFile(tables.SettingsPath, parameters.Settings, NewFileAccess::OwnerOnly);
}

}  // namespace plumgr
