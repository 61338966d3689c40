#pragma once
// A settings file, or a set's .PAR, as the register's text. Its header lines
// and clerk names go to the register as they stand, so a file an editor saved as
// UTF-8 is read through the same conversion as the table files (data_file_text.h)
// into the code page the file names for itself; single-byte text is read byte
// for byte.

#include <string>
#include <vector>

#include "data/code_page.h"
#include "data/ini_document.h"

namespace plumgr {

// A character of a UTF-8 value that the code page cannot hold.
struct UnencodableSetting {
  std::string Section;
  std::string Key;
  char32_t Character = 0;
};

struct SettingsText {
  std::string Bytes;  // in Page; an unencodable character stands as '?'
  CodePageId Page = CodePageId::Windows1250;
  bool HoldsSettings = false;  // some key of the settings file, so Page is its own
  bool FromUtf8 = false;
  // The first such character of each value that holds one.
  std::vector<UnencodableSetting> Unencodable;
};

// The page is the file's own [Other] CodePage when it holds settings, else
// `in_force`.
SettingsText ReadSettingsText(std::string bytes, CodePageId in_force);

struct [[nodiscard]] SettingsTextRead {
  bool Ok = true;  // a missing file is fine: it reads as an empty document
  std::string Message;
  SettingsText Text;
  IniDocument Document;  // of Text.Bytes
};

// The file read as above, in the code page in force when it names none.
SettingsTextRead ReadSettingsTextFile(const std::string& path);

// The first unencodable character among the values the register is sent (the
// [Default] section, which the parameter block is built from), or nothing.
const UnencodableSetting* FirstUnencodableSent(const SettingsText& text);

// "\"shop.PAR\" [Default] Header1: U+20AC \"€\" is not in Windows-1250".
std::string DescribeUnencodableSetting(const std::string& path, const UnencodableSetting& setting,
                                       CodePageId page);

}  // namespace plumgr
