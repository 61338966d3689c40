#include "output/import_file.h"

#include <charconv>
#include <cmath>

#include "data/csv_reader.h"
#include "data/file_io.h"
#include "output/xls_reader.h"
#include "output/xlsx_reader.h"

namespace plumgr {
namespace {

constexpr std::string_view kZipSignature = "PK\x03\x04";
constexpr std::string_view kCompoundSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

std::string DescribeCsv(const CsvReadResult& csv) {
  const char* separator = csv.Separator == '\t'  ? "tab"
                          : csv.Separator == ';' ? "semicolon"
                                                 : "comma";
  const char* encoding = csv.Encoding == CsvEncoding::Utf8 ? "UTF-8" : "Windows-1250";
  return std::string("CSV (") + separator + "-separated, " + encoding + ")";
}

}  // namespace

std::u16string SpreadsheetNumberText(double value) {
  char buffer[64];
  std::to_chars_result done{buffer, std::errc()};
  if (std::isfinite(value) && std::fabs(value) < 1e15 && value == std::trunc(value)) {
    done = std::to_chars(buffer, buffer + sizeof buffer, static_cast<long long>(value));
  } else {
    done = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
  }
  return std::u16string(buffer, done.ptr);
}

ImportFileResult ReadImportFile(const std::string& path) {
  FileReadResult read = ReadFileBytes(path);
  if (!read.Ok) {
    ImportFileResult failed;
    failed.Ok = false;
    failed.Message = read.Message.empty() ? "cannot read \"" + path + "\"" : read.Message;
    return failed;
  }
  const std::string_view bytes = read.Bytes;
  if (bytes.substr(0, kZipSignature.size()) == kZipSignature) return ReadXlsx(path);
  if (bytes.substr(0, kCompoundSignature.size()) == kCompoundSignature) return ReadXls(path);
  CsvReadResult csv = ReadCsv(bytes);
  ImportFileResult result;
  result.Format = DescribeCsv(csv);
  result.Sheet = std::move(csv.Sheet);
  return result;
}

}  // namespace plumgr
