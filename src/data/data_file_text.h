#pragma once
// The text of a data file as the tables hold it. Sets written by this program
// hold the register's code page (Windows-1250 unless the settings say another);
// a set saved by an editor as UTF-8 is recognised by being well-formed UTF-8
// that holds at least one multi-byte sequence (which single-byte text of Polish
// names practically never is) and converted.

#include <string>
#include <string_view>
#include <vector>

#include "data/code_page.h"

namespace plumgr {

// A character of a UTF-8 file that the code page cannot hold.
struct UnencodableCharacter {
  int Line = 0;   // from 1: the table row
  int Field = 0;  // from 1: the table column
  char32_t Character = 0;
};

struct DataFileText {
  std::string Bytes;  // in the code page asked for
  bool FromUtf8 = false;
  // Each such character stands as '?' in Bytes.
  std::vector<UnencodableCharacter> Unencodable;
};

// Whether the bytes are text an editor saved as UTF-8, as described above.
bool IsUtf8Text(std::string_view bytes);

// Single-byte text is returned byte for byte. UTF-8 text loses a leading
// byte-order mark and is converted character by character into the code page.
DataFileText ReadDataFileText(std::string bytes, const CodePageUpperHalf& page);

// "U+20AC" style name of a character, with the character itself in UTF-8.
std::string DescribeCharacter(char32_t character);

}  // namespace plumgr
