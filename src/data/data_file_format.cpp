#include "data/data_file_format.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

#include "data/helpers.h"
#include "data/text_lines.h"

namespace plumgr {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr char kFieldSeparator = '\t';

// The first `limit` fields of a line cut at every tab: n tabs give n + 1 fields,
// an empty line one empty field. (The cut of SplitText, without copying.)
void SplitFields(std::string_view line, size_t limit, std::vector<std::string_view>& fields) {
  fields.clear();
  while (fields.size() < limit) {
    size_t tab = line.find(kFieldSeparator);
    fields.push_back(line.substr(0, tab));
    if (tab == std::string_view::npos) return;
    line.remove_prefix(tab + 1);
  }
}

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  std::optional<std::int64_t> value = ParseWholeNumber(text);
  if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
      *value > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

// Calls fill for every line of at least two fields until it returns false or
// `entries` lines were taken.
template <typename Fill>
void ForEachEntry(std::string_view text, int entries, Fill fill) {
  std::vector<std::string_view> fields;
  int taken = 0;
  int line_number = 0;
  LineCursor cursor(text);
  for (TextLine line; cursor.Next(line);) {
    ++line_number;
    if (taken == entries) return;
    SplitFields(line.Content, 2, fields);
    if (fields.size() < 2) continue;
    if (!fill(taken, fields, line_number)) return;
    ++taken;
  }
}

}  // namespace

std::string FormatTable(const StringGrid& grid, TableLayout layout) {
  int last_used = 0;
  for (int row = grid.DataRows(); row >= 1; --row) {
    if (!grid.Cell(layout.NameColumn, row).empty()) {
      last_used = row;
      break;
    }
  }
  std::string text;
  for (int row = 1; row <= last_used; ++row) {
    for (int col = 1; col <= layout.LastColumn; ++col) {
      if (col > 1) text += kFieldSeparator;
      text += grid.Cell(col, row);
    }
    text += kLineEnd;
  }
  return text;
}

void ReadTable(std::string_view text, StringGrid& grid) {
  std::vector<std::string_view> fields;
  int row = 0;
  LineCursor cursor(text);
  for (TextLine line; cursor.Next(line);) {
    if (++row > grid.DataRows()) return;
    SplitFields(line.Content, static_cast<size_t>(std::max(grid.ColCount() - 1, 0)), fields);
    for (size_t k = 1; k <= fields.size(); ++k)
      grid.SetCell(static_cast<int>(k), row, std::string(fields[k - 1]));
  }
}

std::string FormatFastSale(const FastSaleTable& table) {
  std::string text;
  for (const TSign& sign : table) {
    text += sign.Barcode;
    text += kFieldSeparator;
    text += std::to_string(sign.SignFlag);
    text += kLineEnd;
  }
  return text;
}

std::string FormatRecycling(const RecyclingTable& table) {
  std::string text;
  for (int i = 0; i < kRecyclingUsedEntries; ++i) {
    text += table[i].Number;
    text += kFieldSeparator;
    text += table[i].PackagePrice;
    text += kLineEnd;
  }
  return text;
}

EntryReadResult ReadFastSale(std::string_view text, FastSaleTable& table) {
  EntryReadResult result;
  ForEachEntry(text, kFastSaleButtons,
               [&](int i, const std::vector<std::string_view>& fields, int line) {
                 std::optional<std::int32_t> flag = ParseInt32(fields[1]);
                 if (!flag) {
                   std::string message = "'";
                   message.append(fields[1]).append("' is not a valid integer value");
                   result = {false, line, std::move(message)};
                   return false;
                 }
                 table[i].ButtonNumber = i + 1;
                 table[i].Barcode = std::string(fields[0]);
                 table[i].SignFlag = *flag;
                 return true;
               });
  return result;
}

void ReadRecycling(std::string_view text, RecyclingTable& table) {
  ForEachEntry(text, kRecyclingUsedEntries,
               [&](int i, const std::vector<std::string_view>& fields, int) {
                 table[i].Number = std::string(fields[0]);
                 table[i].PackagePrice = std::string(fields[1]);
                 return true;
               });
}

}  // namespace plumgr
