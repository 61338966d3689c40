// The CSV reader on arbitrary bytes; the rows it read, written again with every
// field quoted and the separator it found, must read back the same whenever
// that text is seen to use the same separator (a first line of one field, say,
// gives a comma).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/code_page.h"
#include "data/csv_reader.h"

namespace {

std::string Quoted(const plumgr::ImportSheet& sheet, char separator) {
  std::string out;
  for (const auto& row : sheet.Rows) {
    for (std::size_t col = 0; col < row.size(); ++col) {
      if (col > 0) out.push_back(separator);
      out.push_back('"');
      for (char c : plumgr::Utf16ToUtf8(row[col])) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
      }
      out.push_back('"');
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const plumgr::CsvReadResult first =
      plumgr::ReadCsv(std::string_view(reinterpret_cast<const char*>(data), size));
  const plumgr::CsvReadResult second = plumgr::ReadCsv(Quoted(first.Sheet, first.Separator));
  if (second.Separator == first.Separator && second.Sheet.Rows != first.Sheet.Rows)
    __builtin_trap();
  return 0;
}
