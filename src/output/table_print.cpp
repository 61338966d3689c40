#include "output/table_print.h"

namespace plumgr {

namespace {

// Column 0 holds the drawn row number and is not printed; the line starts at the Barcode.
constexpr int kBarcodeCol = 1;
constexpr int kNameCol = 2;

}  // namespace

std::vector<std::string> PluPrintLines(const StringGrid& plu) {
  std::vector<std::string> lines;
  if (plu.ColCount() <= kNameCol) return lines;
  for (int r = 1; r < plu.RowCount(); ++r) {
    if (plu.Cell(kNameCol, r).empty()) continue;
    std::string line = plu.Cell(kBarcodeCol, r);
    for (int c = kNameCol; c < plu.ColCount(); ++c) {
      line.push_back('\t');
      line += plu.Cell(c, r);
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::string PluPrintText(const StringGrid& plu) {
  std::string text;
  for (const std::string& line : PluPrintLines(plu)) {
    text += line;
    text += "\r\n";
  }
  return text;
}

}  // namespace plumgr
