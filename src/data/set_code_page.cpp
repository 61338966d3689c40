#include "data/set_code_page.h"

#include "data/data_file_set.h"
#include "data/file_io.h"
#include "data/ini_document.h"
#include "data/settings_keys.h"

namespace plumgr {

SetCodePage CodePageOfSet(const std::string& plu_file, CodePageId in_force) {
  FileReadResult read = ReadFileBytes(SetFilePath(plu_file, kSetParameterFile));
  if (!read.Ok) return {in_force, false, {}};
  return CodePageOfSettings(IniDocument::Parse(read.Bytes), in_force);
}

SetCodePage CodePageOfSettings(const IniDocument& document, CodePageId in_force) {
  SetCodePage result;
  result.Page = in_force;
  if (!HoldsAnySettingsKey(document)) return result;
  const CodePageSetting setting =
      CodePageForSetting(document.ReadString(kSectionOther, kCodePageKey, ""));
  result.Page = setting.Page;
  result.FromSet = true;
  result.Warning = setting.Warning;
  return result;
}

}  // namespace plumgr
