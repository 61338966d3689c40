#include "data/settings_text.h"

#include <algorithm>

#include "data/data_file_text.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/set_code_page.h"
#include "data/settings_keys.h"

namespace plumgr {
namespace {

bool AlreadyListed(const std::vector<UnencodableSetting>& listed,
                   const IniDocument::KeyEntry& entry) {
  return std::any_of(listed.begin(), listed.end(), [&](const UnencodableSetting& s) {
    return AsciiLower(s.Section) == AsciiLower(entry.Section) &&
           AsciiLower(s.Key) == AsciiLower(entry.Key);
  });
}

}  // namespace

SettingsText ReadSettingsText(std::string bytes, CodePageId in_force) {
  SettingsText result;
  const IniDocument raw = IniDocument::Parse(bytes);
  const SetCodePage own = CodePageOfSettings(raw, in_force);
  result.Page = own.Page;
  result.HoldsSettings = own.FromSet;
  const CodePageUpperHalf& page = UpperHalf(result.Page);
  DataFileText text = ReadDataFileText(std::move(bytes), page);
  result.FromUtf8 = text.FromUtf8;
  result.Bytes = std::move(text.Bytes);
  if (!result.FromUtf8) return result;
  // The value a key gives is the first of its repeats, as the reading takes it.
  for (const IniDocument::KeyEntry& entry : raw.KeyEntries()) {
    if (AlreadyListed(result.Unencodable, entry)) continue;
    const std::optional<std::string> value = raw.Find(entry.Section, entry.Key);
    if (!value) continue;
    const DataFileText converted = ReadDataFileText(*value, page);
    if (!converted.Unencodable.empty())
      result.Unencodable.push_back(
          {entry.Section, entry.Key, converted.Unencodable.front().Character});
  }
  return result;
}

SettingsTextRead ReadSettingsTextFile(const std::string& path) {
  SettingsTextRead result;
  FileReadResult read = ReadFileBytes(path);
  if (!read.Ok && !read.Missing) {
    result.Ok = false;
    result.Message = std::move(read.Message);
    return result;
  }
  result.Text = ReadSettingsText(std::move(read.Bytes), CodePageInForce());
  result.Document = IniDocument::Parse(result.Text.Bytes);
  return result;
}

const UnencodableSetting* FirstUnencodableSent(const SettingsText& text) {
  for (const UnencodableSetting& setting : text.Unencodable)
    if (AsciiLower(setting.Section) == AsciiLower(std::string(kSectionDefault))) return &setting;
  return nullptr;
}

std::string DescribeUnencodableSetting(const std::string& path, const UnencodableSetting& setting,
                                       CodePageId page) {
  return "\"" + path + "\" [" + setting.Section + "] " + setting.Key + ": " +
         DescribeCharacter(setting.Character) + " is not in " + std::string(CodePageName(page));
}

}  // namespace plumgr
