// The .Key layout file: two lines per key (level 1, then level 2), 34 fields each.

#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <string_view>

#include "data/file_io.h"
#include "data/helpers.h"
#include "data/text_lines.h"
#include "hotkey/key_grid.h"

namespace plumgr {
namespace {

constexpr int kFieldCount = 34;
using KeyLineFields = std::array<std::string_view, kFieldCount>;

std::string IntegerText(std::int64_t value) {
  return std::to_string(value);
}

std::string ColorText(TColor color) {
  return IntegerText(static_cast<std::int32_t>(color));  // system colours are negative
}

std::string PriceText(double price, char decimal_separator) {
  char buffer[400];
  auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, price, std::chars_format::fixed, 2);
  std::string text = ec == std::errc() ? std::string(buffer, end) : std::string("0.00");
  for (char& ch : text)
    if (ch == '.') ch = decimal_separator;
  return text;
}

void AppendFont(std::string& line, const TFont& font) {
  line += font.Name + '\t' + IntegerText(font.Size) + '\t' + IntegerText(font.Charset) + '\t' +
          IntegerText(font.Style) + '\t' + ColorText(font.Color);
}

std::string KeyLine(const TGridList& key, const TGridItem& item, int index, int level,
                    char decimal_separator) {
  std::string line;
  line += item.Code + '\t' + item.Caption + '\t' + item.Event + '\t' +
          PriceText(item.Price, decimal_separator) + '\t' + ColorText(item.Background) + '\t' +
          IntegerText(index) + '\t' + IntegerText(item.BTNType) + '\t';
  AppendFont(line, item.Font);
  line += '\t' + IntegerText(item.KeyValue) + '\t' + item.Functionname + '\t' +
          (key.CenterLine ? "1" : "0") + '\t' + key.TRCaption + '\t' + key.TLCaption + '\t' +
          key.BRCaption + '\t' + key.BLCaption + '\t';
  AppendFont(line, key.ShowLBFont);
  line += '\t';
  AppendFont(line, key.ShowRBFont);
  line += '\t' + IntegerText(level) + '\t' + key.Imagefile() + '\t' + (key.UseImage ? "1" : "0") +
          '\t' + (key.ShowLBCaption ? "1" : "0") + '\t' + (key.ShowRBCaption ? "1" : "0") + "\r\n";
  return line;
}

// Field n (1-based) is fields[n - 1]; a line with fewer fields reads the rest as empty.
KeyLineFields SplitKeyLine(std::string_view line) {
  KeyLineFields fields{};
  for (int n = 0; n < kFieldCount && !line.empty(); ++n) {
    std::size_t tab = line.find('\t');
    fields[n] = line.substr(0, tab);
    line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
  }
  return fields;
}

// The numeric fields of one line, converted before anything is applied.
struct KeyLineNumbers {
  double Price = 0;
  std::array<std::int32_t, kFieldCount + 1> Integer{};  // by field number
};

constexpr std::array<int, 21> kIntegerFields = {5,  6,  7,  9,  10, 11, 12, 13, 15, 21, 22,
                                                23, 24, 26, 27, 28, 29, 30, 32, 33, 34};

std::optional<std::int32_t> ParseInt32(std::string_view text) {
  std::optional<std::int64_t> value = ParseWholeNumber(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(*value);
}

std::optional<KeyLineNumbers> ConvertNumbers(const KeyLineFields& fields, char decimal_separator,
                                             std::string* error) {
  KeyLineNumbers numbers;
  std::optional<double> price = ParseDecimal(fields[3], decimal_separator);
  if (!price) {
    *error = "'" + std::string(fields[3]) + "' is not a valid floating point value";
    return std::nullopt;
  }
  numbers.Price = *price;
  for (int n : kIntegerFields) {
    std::optional<std::int32_t> value = ParseInt32(fields[n - 1]);
    if (!value) {
      *error = "'" + std::string(fields[n - 1]) + "' is not a valid integer value";
      return std::nullopt;
    }
    numbers.Integer[n] = *value;
  }
  return numbers;
}

TFont ReadFont(const KeyLineFields& fields, const KeyLineNumbers& numbers, int first) {
  TFont font;
  font.Name = std::string(fields[first - 1]);
  font.Size = numbers.Integer[first + 1];
  font.Charset = static_cast<std::uint8_t>(numbers.Integer[first + 2]);
  font.Style = static_cast<std::uint8_t>(numbers.Integer[first + 3]);
  font.Color = static_cast<TColor>(numbers.Integer[first + 4]);
  return font;
}

void ApplyItem(TGridItem& item, const KeyLineFields& fields, const KeyLineNumbers& numbers) {
  item.Code = std::string(fields[0]);
  item.Caption = std::string(fields[1]);
  item.Price = numbers.Price;
  item.Background = static_cast<TColor>(numbers.Integer[5]);
  item.Event = std::string(fields[2]);
  item.BTNType = numbers.Integer[7];
  item.Dindex = numbers.Integer[6];
  item.Font.Name = std::string(fields[7]);
  item.Font.Size = numbers.Integer[9];
  item.Font.Color = static_cast<TColor>(numbers.Integer[12]);
  item.Font.Charset = static_cast<std::uint8_t>(numbers.Integer[10]);
  item.Font.Style = static_cast<std::uint8_t>(numbers.Integer[11]);
  item.KeyValue = numbers.Integer[13];
  item.Functionname = std::string(fields[13]);
}

void ApplyKey(TGridList& key, const KeyLineFields& fields, const KeyLineNumbers& numbers) {
  key.BRCaption = std::string(fields[17]);
  key.TRCaption = std::string(fields[15]);
  key.TLCaption = std::string(fields[16]);
  key.BLCaption = std::string(fields[18]);
  key.CenterLine = numbers.Integer[15] == 1;
  key.ShowLBFont = ReadFont(fields, numbers, 20);
  key.ShowRBFont = ReadFont(fields, numbers, 25);
  key.SetImagefile(std::string(fields[30]));
  key.UseImage = numbers.Integer[32] == 1;
  key.ShowLBCaption = numbers.Integer[33] == 1;
  key.ShowRBCaption = numbers.Integer[34] == 1;
}

}  // namespace

std::string TMyGrid::SaveToText(char decimal_separator) const {
  std::string text;
  for (int i = 0; i < StoredCount(); ++i) {
    const TGridList& key = *keys_[static_cast<size_t>(i)];
    text += KeyLine(key, key.fs1Btn(), i, 1, decimal_separator);
    text += KeyLine(key, key.sc2Btn(), i, 2, decimal_separator);
  }
  return text;
}

KeyResult TMyGrid::SaveToFile(const std::string& path, char decimal_separator) const {
  std::string text = SaveToText(decimal_separator);
  // The old file is replaced only once the new one is complete on disk.
  FileResult written = ReplaceFile(path, text);
  return {written.Ok, written.Message};
}

KeyResult TMyGrid::LoadFromFile(const std::string& path, char decimal_separator) {
  FileReadResult file = ReadFileBytes(path);
  if (!file.Ok) return {false, file.Message};
  return LoadFromText(file.Bytes, decimal_separator);
}

KeyResult TMyGrid::LoadFromText(std::string_view text, char decimal_separator) {
  std::vector<TextLine> lines = SplitLines(text);
  KeyResult result;
  std::size_t limit = 2 * static_cast<std::size_t>(StoredCount());
  for (std::size_t k = 0; k < lines.size() && k < limit; ++k) {
    KeyLineFields fields = SplitKeyLine(lines[k].Content);
    std::optional<KeyLineNumbers> numbers =
        ConvertNumbers(fields, decimal_separator, &result.Message);
    if (!numbers) {
      result.Ok = false;
      break;
    }
    TGridList* key = FindItem(numbers->Integer[6]);
    if (key == nullptr) {
      result = {false, ListIndexError(numbers->Integer[6])};
      break;
    }
    if (numbers->Integer[30] == 1) {
      ApplyItem(key->fs1Btn(), fields, *numbers);
      ApplyKey(*key, fields, *numbers);
    } else {
      ApplyItem(key->sc2Btn(), fields, *numbers);
    }
  }
  Repaint();
  return result;
}

}  // namespace plumgr
