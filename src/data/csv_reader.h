#pragma once
// CSV files as back-office programs and spreadsheets write them: fields
// separated by commas, semicolons or tabs (whichever the header line uses
// most), quoted with '"' where they hold a separator, a quote or a line break,
// lines ending in CR LF, LF or CR; the text UTF-8 (with or without a byte-order
// mark) or Windows-1250.

#include <string_view>

#include "data/import_sheet.h"

namespace plumgr {

enum class CsvEncoding { Utf8, Windows1250 };

struct CsvReadResult {
  ImportSheet Sheet;
  char Separator = ',';
  CsvEncoding Encoding = CsvEncoding::Utf8;
};

// Every input gives a sheet: bytes that are not well-formed UTF-8 are read as
// Windows-1250, and a quote left open runs to the end of the file.
CsvReadResult ReadCsv(std::string_view bytes);

}  // namespace plumgr
