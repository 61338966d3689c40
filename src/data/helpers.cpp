#include "data/helpers.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <limits>

namespace plumgr {

namespace {

// Skips a run of digits and reports how many there were.
std::size_t SkipDigits(std::string_view text, std::size_t& pos) {
  std::size_t start = pos;
  while (pos < text.size() && IsDigitKey(text[pos]))
    ++pos;
  return pos - start;
}

}  // namespace

std::string_view TrimBlanksAndControls(std::string_view text) {
  return TrimEnds<char>(text, [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

std::string_view TrimSpacesAndTabs(std::string_view text) {
  return TrimEnds<char>(text, [](char c) { return c == ' ' || c == '\t'; });
}

std::string_view TrimSpaces(std::string_view text) {
  return TrimEnds<char>(text, [](char c) { return c == ' '; });
}

std::string JoinText(const std::vector<std::string>& parts, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += separator;
    joined += parts[i];
  }
  return joined;
}

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

std::string LowerExtension(const std::string& file_name) {
  return AsciiLower(std::filesystem::path(file_name).extension().string());
}

bool IsDigitKey(char key) {
  return key >= '0' && key <= '9';
}

bool IsNumberKey(std::string_view text, char key, char decimal_separator) {
  if (key == decimal_separator) return text.find(decimal_separator) == std::string_view::npos;
  if (key == '-') return text.find('-') == std::string_view::npos;
  return IsDigitKey(key);
}

std::optional<double> ParseDecimal(std::string_view text, char decimal_separator) {
  text = TrimSpacesAndTabs(text);
  // Checked by hand so that the notation is exactly the locale's, then converted
  // with '.' by from_chars, which ignores the process locale.
  std::string canonical;
  std::size_t pos = 0;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
    if (text[pos] == '-') canonical += '-';
    ++pos;
  }
  std::size_t start = pos;
  std::size_t digits = SkipDigits(text, pos);
  canonical.append(text.substr(start, pos - start));
  if (pos < text.size() && text[pos] == decimal_separator) {
    ++pos;
    start = pos;
    digits += SkipDigits(text, pos);
    canonical += '.';
    canonical.append(text.substr(start, pos - start));
  }
  if (digits == 0) return std::nullopt;
  if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
    canonical += 'e';
    ++pos;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) canonical += text[pos++];
    start = pos;
    if (SkipDigits(text, pos) == 0) return std::nullopt;
    canonical.append(text.substr(start, pos - start));
  }
  if (pos != text.size()) return std::nullopt;
  double value = 0;
  const char* first = canonical.data();
  const char* last = first + canonical.size();
  auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  if (pos == text.size()) return std::nullopt;
  // Accumulated as a negative number so that the most negative value fits.
  std::int64_t value = 0;
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  for (; pos < text.size(); ++pos) {
    if (!IsDigitKey(text[pos])) return std::nullopt;
    int digit = text[pos] - '0';
    if (value < (kMin + digit) / 10) return std::nullopt;
    value = value * 10 - digit;
  }
  if (!negative) {
    if (value == kMin) return std::nullopt;
    value = -value;
  }
  return value;
}

double TextToFloat(std::string_view text, double fallback, char decimal_separator) {
  return ParseDecimal(text, decimal_separator).value_or(fallback);
}

std::string TrimLeftChar(std::string_view text, char ch) {
  std::size_t first = text.find_first_not_of(ch);
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::int32_t Power(std::int32_t base, std::int32_t exponent) {
  if (exponent < 0) {
    // 1 div base^n is 1 for base 1, +-1 for base -1 and 0 otherwise.
    if (base == 1) return 1;
    if (base == -1) return (exponent % 2 == 0) ? 1 : -1;
    return 0;
  }
  std::uint32_t result = 1;
  std::uint32_t factor = static_cast<std::uint32_t>(base);
  for (std::uint32_t n = static_cast<std::uint32_t>(exponent); n != 0; n >>= 1) {
    if (n & 1u) result *= factor;
    factor *= factor;
  }
  return static_cast<std::int32_t>(result);
}

std::int32_t CeilDiv(std::int32_t a, std::int32_t b) {
  if (a <= 0 || b == 0) return 0;
  return a / b + (a % b != 0 ? 1 : 0);
}

void CopyBytes(std::uint8_t* destination, const std::uint8_t* source, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i)
    destination[i] = source[i];
}

void SplitText(std::string_view line, std::string_view separator,
               std::vector<std::string>& fields) {
  if (separator.empty()) {
    fields.emplace_back(line);
    return;
  }
  for (;;) {
    std::size_t at = line.find(separator);
    if (at == std::string_view::npos) {
      fields.emplace_back(line);
      return;
    }
    fields.emplace_back(line.substr(0, at));
    line.remove_prefix(at + separator.size());
  }
}

std::int64_t BcdToInt64(const std::uint8_t* bcd, int digits) {
  // Unsigned, so that a field longer than 18 digits wraps instead of overflowing.
  std::uint64_t value = 0;
  for (int i = 0; i < (digits + 1) / 2; ++i)
    value = value * 100 + (bcd[i] >> 4) * 10u + (bcd[i] & 0x0Fu);
  return static_cast<std::int64_t>(value);
}

void Int64ToBcd(int digits, std::uint8_t* bcd, std::int64_t value) {
  if (value < 0) value = 0;
  for (int i = (digits + 1) / 2 - 1; i >= 0; --i) {
    bcd[i] = static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
    value /= 100;
  }
}

std::uint32_t SwapBytes32(std::uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) |
         (value << 24);
}

bool BlankFieldBreaks(std::string& text) {
  bool changed = false;
  for (char& c : text) {
    if (c == '\t' || c == '\r' || c == '\n') {
      c = ' ';
      changed = true;
    }
  }
  return changed;
}

}  // namespace plumgr
