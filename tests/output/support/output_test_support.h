#pragma once
// Readers for what the spreadsheet writers produce, the test PLU table and a
// runner for outside programs (python3 with xlrd, LibreOffice, plumgr-cli).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/string_grid.h"

namespace plumgr::test {

// One record of a BIFF8 stream.
struct BiffRecord {
  std::uint16_t Id = 0;
  size_t Offset = 0;  // of its 4-byte header in the stream
  std::string Data;
};

// Splits a stream into records; empty when a record runs past the end.
std::optional<std::vector<BiffRecord>> WalkRecords(std::string_view stream);

// The strings of an SST record and its CONTINUE records, put back together.
// Each string's header offset is returned beside it. Empty on a malformed table.
struct SstString {
  std::u16string Text;
  size_t StreamOffset = 0;
};
std::optional<std::vector<SstString>> ReadSst(const std::vector<BiffRecord>& records, size_t first);

// A compound document as a reader sees it.
struct CompoundFile {
  std::vector<std::uint32_t> Fat;
  std::vector<std::uint32_t> FatSectors;  // from the header's DIFAT slots
  std::uint32_t DirectorySector = 0;
  std::uint32_t StreamStart = 0;
  std::uint32_t StreamSize = 0;
  std::vector<std::uint32_t> StreamChain;
  std::string Stream;  // the "Workbook" stream, StreamSize bytes
};
// Reads a container laid out with a header DIFAT; the error explains a refusal.
std::optional<CompoundFile> ReadCompoundFile(std::string_view file, std::string* error);

std::uint16_t U16At(std::string_view data, size_t offset);
std::uint32_t U32At(std::string_view data, size_t offset);

// The test data set: PLU n named "PLU-n" (every seventh with Polish letters in
// Windows-1250), barcode "12345678" + n in five digits, price n * 10, department
// (n mod 8) + 1; the other cells at their defaults.
StringGrid MakeTestPluTable(char decimal_separator = '.', int rows = 3000);
inline constexpr std::string_view kPolishBytes = "\xB9\xEA\xB3\xF1\x9C\x9F\xBF";
inline constexpr std::u16string_view kPolishText = u"\u0105\u0119\u0142\u0144\u015B\u017A\u017C";

struct ProgramRun {
  bool Started = false;
  int ExitCode = -1;
  std::string Out;
  std::string Err;
};
// Runs a program to its end; extra_env entries are NAME=VALUE.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& extra_env = {}, int timeout_ms = 120000);

// The full path of a program found on PATH.
std::optional<std::string> ProgramOnPath(const std::string& name);
// The first of PATH's python3 and /usr/bin/python3 that can import the module.
std::optional<std::string> PythonThatImports(const std::string& module);
// A test that reads .xls files skips with this reason when no Python has xlrd.
inline constexpr const char* kNoXlrd = "no python3 that can import xlrd (package python3-xlrd)";

// The worksheet of a workbook as python3 reads it: rows of UTF-8 cell texts.
// Empty when the reader failed (its message is in *error).
using CellRows = std::vector<std::vector<std::string>>;
std::optional<CellRows> ReadXlsWithXlrd(const std::string& path, std::string* error);
std::optional<CellRows> ReadXlsxWithPython(const std::string& path, std::string* error);

// Rows of comma-separated UTF-8 text (quotes as RFC 4180); accepts LF or CR LF.
CellRows ParseCsv(std::string_view text);

// The expected worksheet of a PLU table: titles, row numbers and cells in UTF-8.
CellRows ExpectedPluSheet(const StringGrid& plu, const std::vector<std::string>& titles);

std::string ReadWholeFile(const std::string& path);
// A new empty directory under the system's temporary directory.
std::string MakeTempDir();

}  // namespace plumgr::test
