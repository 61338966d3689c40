#pragma once
// An INI file on disk, named by its path. Each call opens the file, does its work
// and releases it; nothing is cached, so every reader sees the latest writes.
// Writes replace the file through a temporary file, so a failure never loses it.

#include <functional>
#include <string>
#include <string_view>

#include "data/file_io.h"
#include "data/ini_document.h"

namespace plumgr {

struct [[nodiscard]] IniReadResult {
  bool Ok = true;  // a missing file is fine: it reads as an empty document
  IniDocument Document;
  std::string Message;
};

class IniFile {
 public:
  explicit IniFile(std::string path, NewFileAccess access = NewFileAccess::Shared)
      : path_(std::move(path)), access_(access) {}

  const std::string& Path() const { return path_; }

  // A missing or unreadable file reads as empty, so every key gives its default.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;
  int ReadInteger(std::string_view section, std::string_view key, int default_value) const;
  bool ReadBool(std::string_view section, std::string_view key, bool default_value) const;

  FileResult WriteString(std::string_view section, std::string_view key,
                         std::string_view value) const;
  FileResult WriteInteger(std::string_view section, std::string_view key, int value) const;
  FileResult WriteBool(std::string_view section, std::string_view key, bool value) const;

  // The whole file at once, for many reads in one go; Ok is false only when the
  // file exists but cannot be read.
  IniReadResult Read() const;
  // Reads the file, lets edit change it and writes it back when anything changed.
  // A file that exists but cannot be read is left alone and reported.
  FileResult Update(const std::function<void(IniDocument&)>& edit) const;

 private:
  std::string path_;
  NewFileAccess access_;
};

}  // namespace plumgr
