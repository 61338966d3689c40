#include "data/ini_file.h"

namespace plumgr {

IniReadResult IniFile::Read() const {
  IniReadResult result;
  FileReadResult file = ReadFileBytes(path_);
  if (file.Ok) {
    result.Document = IniDocument::Parse(file.Bytes);
  } else if (!file.Missing) {
    result.Ok = false;
    result.Message = std::move(file.Message);
  }
  return result;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  return Read().Document.ReadString(section, key, default_value);
}

int IniFile::ReadInteger(std::string_view section, std::string_view key, int default_value) const {
  return Read().Document.ReadInteger(section, key, default_value);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool default_value) const {
  return Read().Document.ReadBool(section, key, default_value);
}

FileResult IniFile::Update(const std::function<void(IniDocument&)>& edit) const {
  IniReadResult read = Read();
  if (!read.Ok) return FileResult::Failure(std::move(read.Message));
  std::string before = read.Document.Serialize();
  edit(read.Document);
  std::string after = read.Document.Serialize();
  if (after == before) return FileResult::Success();
  return ReplaceFile(path_, after, access_);
}

FileResult IniFile::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) const {
  return Update([&](IniDocument& document) { document.WriteString(section, key, value); });
}

FileResult IniFile::WriteInteger(std::string_view section, std::string_view key, int value) const {
  return Update([&](IniDocument& document) { document.WriteInteger(section, key, value); });
}

FileResult IniFile::WriteBool(std::string_view section, std::string_view key, bool value) const {
  return Update([&](IniDocument& document) { document.WriteBool(section, key, value); });
}

}  // namespace plumgr
