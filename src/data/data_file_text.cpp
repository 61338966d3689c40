#include "data/data_file_text.h"

#include <cstdio>
#include <optional>

#include "data/code_page.h"

namespace plumgr {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool HasMultiByteSequence(std::string_view bytes) {
  for (char c : bytes)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

char32_t CodePoint(std::u16string_view text, std::size_t& i) {
  const char16_t c = text[i];
  if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
    ++i;
    return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (text[i] - 0xDC00);
  }
  return c;
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
  if (bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
    bytes.remove_prefix(kByteOrderMark.size());
  return bytes;
}

}  // namespace

bool IsUtf8Text(std::string_view bytes) {
  const std::string_view body = WithoutByteOrderMark(bytes);
  return HasMultiByteSequence(body) && Utf8ToUtf16(body).has_value();
}

DataFileText ReadDataFileText(std::string bytes, const CodePageUpperHalf& page) {
  DataFileText result;
  const std::string_view body = WithoutByteOrderMark(bytes);
  std::optional<std::u16string> text;
  if (HasMultiByteSequence(body)) text = Utf8ToUtf16(body);
  if (!text) {
    result.Bytes = std::move(bytes);
    return result;
  }
  result.FromUtf8 = true;
  result.Bytes.reserve(text->size());
  int line = 1;
  int field = 1;
  for (std::size_t i = 0; i < text->size(); ++i) {
    const char16_t c = (*text)[i];
    // Line n is row n whatever ends it: CR LF, LF or CR.
    if (c == u'\n' && i > 0 && (*text)[i - 1] == u'\r') {
    } else if (c == u'\n' || c == u'\r') {
      ++line;
      field = 1;
    } else if (c == u'\t') {
      ++field;
    }
    const std::size_t start = i;
    const char32_t code = CodePoint(*text, i);
    std::optional<std::string> byte =
        EncodeCodePage(std::u16string_view(*text).substr(start, i - start + 1), page);
    if (byte) {
      result.Bytes += *byte;
    } else {
      result.Bytes += '?';
      result.Unencodable.push_back({line, field, code});
    }
  }
  return result;
}

std::string DescribeCharacter(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
  std::u16string text;
  if (character >= 0x10000) {
    const char32_t v = character - 0x10000;
    text = {static_cast<char16_t>(0xD800 + (v >> 10)), static_cast<char16_t>(0xDC00 + (v & 0x3FF))};
  } else {
    text = {static_cast<char16_t>(character)};
  }
  return std::string(code) + " \"" + Utf16ToUtf8(text) + "\"";
}

}  // namespace plumgr
