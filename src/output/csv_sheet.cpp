#include "output/csv_sheet.h"

#include "data/code_page.h"

namespace plumgr {

namespace {

void AppendField(std::string& out, const std::u16string& text) {
  std::string field = Utf16ToUtf8(text);
  if (field.find_first_of(",\"\r\n") == std::string::npos) {
    out += field;
    return;
  }
  out.push_back('"');
  for (char c : field) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

}  // namespace

std::string BuildCsv(const Sheet& sheet) {
  std::string out;
  out.reserve(sheet.Cells.size() * 8);
  for (int r = 0; r < sheet.Rows; ++r) {
    for (int c = 0; c < sheet.Cols; ++c) {
      if (c > 0) out.push_back(',');
      AppendField(out, sheet.At(r, c).Text);
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace plumgr
