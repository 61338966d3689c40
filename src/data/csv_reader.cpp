#include "data/csv_reader.h"

#include <array>
#include <optional>

#include "data/code_page.h"

namespace plumgr {
namespace {

constexpr std::u16string_view kByteOrderMark = u"\uFEFF";

std::u16string DecodeCsvText(std::string_view bytes, CsvEncoding* encoding) {
  if (std::optional<std::u16string> text = Utf8ToUtf16(bytes)) {
    *encoding = CsvEncoding::Utf8;
    if (std::u16string_view(*text).substr(0, 1) == kByteOrderMark) text->erase(0, 1);
    return std::move(*text);
  }
  *encoding = CsvEncoding::Windows1250;
  return DecodeCodePage(bytes, Windows1250());
}

// The separator the first record uses most outside quoted fields; a tie goes
// to the one listed first (tab, semicolon, comma), a record without any gives a
// comma. As in the parser, only a quote that starts a field opens a quoted field.
char16_t DetectSeparator(std::u16string_view text) {
  constexpr std::array<char16_t, 3> kCandidates = {u'\t', u';', u','};
  std::array<int, 3> counts{};
  bool field_start = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (field_start && c == u'"') {
      // On to the closing quote; a doubled quote is a quote of the text.
      for (++i; i < text.size() && text[i] != u'"'; ++i) {
      }
      while (i + 1 < text.size() && text[i + 1] == u'"') {
        for (i += 2; i < text.size() && text[i] != u'"'; ++i) {
        }
      }
      field_start = false;
      continue;
    }
    if (c == u'\r' || c == u'\n') break;
    field_start = false;
    for (std::size_t k = 0; k < kCandidates.size(); ++k) {
      if (c != kCandidates[k]) continue;
      ++counts[k];
      field_start = true;
    }
  }
  std::size_t best = 2;
  for (std::size_t k = 0; k < kCandidates.size(); ++k)
    if (counts[k] > counts[best] || (counts[k] == counts[best] && counts[k] > 0 && k < best))
      best = k;
  return kCandidates[best];
}

class CsvParser {
 public:
  CsvParser(std::u16string_view text, char16_t separator) : text_(text), separator_(separator) {}

  ImportSheet Parse() {
    ImportSheet sheet;
    std::vector<std::u16string> row;
    while (pos_ < text_.size()) {
      row.push_back(Field());
      if (pos_ >= text_.size()) break;
      const char16_t end = text_[pos_++];
      if (end == separator_) {
        if (pos_ == text_.size()) row.emplace_back();
        continue;
      }
      // A line end: CR LF counts once.
      if (end == u'\r' && pos_ < text_.size() && text_[pos_] == u'\n') ++pos_;
      sheet.Rows.push_back(std::move(row));
      row.clear();
    }
    if (!row.empty()) sheet.Rows.push_back(std::move(row));
    return sheet;
  }

 private:
  bool AtFieldEnd() const {
    const char16_t c = text_[pos_];
    return c == separator_ || c == u'\r' || c == u'\n';
  }

  // One field; pos_ is left on the separator or line end after it (or the end).
  std::u16string Field() {
    std::u16string field;
    if (text_[pos_] != u'"') {
      while (pos_ < text_.size() && !AtFieldEnd())
        field.push_back(text_[pos_++]);
      return field;
    }
    ++pos_;
    while (pos_ < text_.size()) {
      const char16_t c = text_[pos_++];
      if (c != u'"') {
        field.push_back(c);
      } else if (pos_ < text_.size() && text_[pos_] == u'"') {
        field.push_back(u'"');
        ++pos_;
      } else {
        break;
      }
    }
    // Text after the closing quote belongs to the field, as spreadsheets read it.
    while (pos_ < text_.size() && !AtFieldEnd())
      field.push_back(text_[pos_++]);
    return field;
  }

  std::u16string_view text_;
  char16_t separator_;
  std::size_t pos_ = 0;
};

}  // namespace

CsvReadResult ReadCsv(std::string_view bytes) {
  CsvReadResult result;
  const std::u16string text = DecodeCsvText(bytes, &result.Encoding);
  const char16_t separator = DetectSeparator(text);
  result.Separator = static_cast<char>(separator);
  result.Sheet = CsvParser(text, separator).Parse();
  return result;
}

}  // namespace plumgr
