#pragma once
// Rewriting a data file set's text from one code page into another, on the
// operator's explicit command: the tables, the fast-sale and recycling entries
// and the copy of the settings, whose [Other] CodePage then names the new code
// page when it holds settings at all. A character the new code page cannot
// hold refuses the whole conversion; the files are then left as they were, all
// of them.

#include <string>
#include <vector>

#include "data/code_page.h"
#include "data/file_io.h"

namespace plumgr {

// A character of the set that the target code page cannot hold.
struct ConversionRefusal {
  std::string File;
  int Line = 0;     // from 1
  int Field = 0;    // from 1: the table column in a tab-separated file; 0 in name.PAR
  std::string Key;  // name.PAR: the key of the line
  char32_t Character = 0;
};

struct [[nodiscard]] SetConversionResult {
  bool Ok = true;
  std::string Message;  // a file error
  std::vector<ConversionRefusal> Refused;
  std::vector<std::string> Written;  // the files rewritten, in the set's order
};

// The bytes in `to` of text in `from`; each character `to` cannot hold is
// recorded against `file` and kept as it was.
std::string ConvertText(std::string_view bytes, const CodePageUpperHalf& from,
                        const CodePageUpperHalf& to, const std::string& file, bool settings_file,
                        std::vector<ConversionRefusal>& refused);

// Converts every file of the set that exists; writes all of them or none.
SetConversionResult ConvertSet(const std::string& plu_file, CodePageId from, CodePageId to);

}  // namespace plumgr
