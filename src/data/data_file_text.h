#pragma once
// The text of a data file as the tables hold it. Sets written by this program
// are Windows-1250; a set saved by an editor as UTF-8 is recognised by being
// well-formed UTF-8 that holds at least one multi-byte sequence (which
// Windows-1250 text of Polish names practically never is) and converted.

#include <string>
#include <string_view>
#include <vector>

namespace plumgr {

// A character of a UTF-8 file that Windows-1250 cannot hold.
struct UnencodableCharacter {
  int Line = 0;   // from 1: the table row
  int Field = 0;  // from 1: the table column
  char32_t Character = 0;
};

struct DataFileText {
  std::string Bytes;  // Windows-1250
  bool FromUtf8 = false;
  // Each such character stands as '?' in Bytes.
  std::vector<UnencodableCharacter> Unencodable;
};

// Windows-1250 text is returned byte for byte. UTF-8 text loses a leading
// byte-order mark and is converted character by character.
DataFileText ReadDataFileText(std::string bytes);

// "U+20AC" style name of a character, with the character itself in UTF-8.
std::string DescribeCharacter(char32_t character);

}  // namespace plumgr
