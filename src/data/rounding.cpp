#include "data/rounding.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string_view>

namespace plumgr {

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// The shortest decimal of a finite, non-negative double as its significant
// digits and the power of ten of the last digit: value = digits x 10^exponent.
struct Decimal {
  std::string Digits;
  int Exponent = 0;
};

Decimal ShortestDecimal(double value) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
  std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  std::size_t e = text.find('e');
  Decimal d;
  for (char c : text.substr(0, e))
    if (c != '.') d.Digits += c;
  int exponent = 0;
  std::string_view exp_text = text.substr(e + 1);
  if (!exp_text.empty() && exp_text.front() == '+') exp_text.remove_prefix(1);
  std::from_chars(exp_text.data(), exp_text.data() + exp_text.size(), exponent);
  d.Exponent = exponent - static_cast<int>(d.Digits.size()) + 1;
  return d;
}

// digits x 10^shift for shift >= 0, or nothing when it leaves 64 bits.
std::optional<std::int64_t> ScaleUp(const std::string& digits, int shift) {
  std::int64_t value = 0;
  for (char c : digits) {
    if (value > (kMax - (c - '0')) / 10) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  for (int i = 0; i < shift && value != 0; ++i) {
    if (value > kMax / 10) return std::nullopt;
    value *= 10;
  }
  return value;
}

// digits x 10^-drop (1 <= drop <= digit count) rounded to the nearest whole
// number, halves to even.
std::int64_t ScaleDown(const std::string& digits, int drop) {
  std::size_t keep = digits.size() - static_cast<std::size_t>(drop);
  std::int64_t whole = 0;
  for (std::size_t i = 0; i < keep; ++i)
    whole = whole * 10 + (digits[i] - '0');
  // The dropped part is compared with one half: its first digit decides unless it
  // is a 5, which is a tie only when nothing else follows.
  int first = digits[keep] - '0';
  bool rest_nonzero = digits.find_first_not_of('0', keep + 1) != std::string::npos;
  bool up = first > 5 || (first == 5 && (rest_nonzero || whole % 2 == 1));
  return up ? whole + 1 : whole;
}

}  // namespace

std::int64_t RoundHalfEven(double value, int decimals) {
  if (std::isnan(value)) return 0;
  if (std::isinf(value)) return value > 0 ? kMax : kMin;
  if (value == 0) return 0;
  bool negative = std::signbit(value);
  Decimal d = ShortestDecimal(std::fabs(value));
  int shift = d.Exponent + decimals;
  std::int64_t magnitude;
  if (shift >= 0) {
    std::optional<std::int64_t> scaled = ScaleUp(d.Digits, shift);
    if (!scaled) return negative ? kMin : kMax;
    magnitude = *scaled;
  } else if (-shift > static_cast<int>(d.Digits.size())) {
    magnitude = 0;  // below one half
  } else {
    magnitude = ScaleDown(d.Digits, -shift);
  }
  return negative ? -magnitude : magnitude;
}

std::string FormatScaled(std::int64_t scaled, int decimals, char decimal_separator) {
  bool negative = scaled < 0;
  // Unsigned, so that the most negative value has a magnitude too.
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
  std::string digits = std::to_string(magnitude);
  if (decimals <= 0) return (negative ? "-" : "") + digits;
  std::size_t width = static_cast<std::size_t>(decimals) + 1;
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  digits.insert(digits.size() - static_cast<std::size_t>(decimals), 1, decimal_separator);
  return (negative ? "-" : "") + digits;
}

std::string FormatFixed(double value, int decimals, char decimal_separator) {
  return FormatScaled(RoundHalfEven(value, decimals), decimals, decimal_separator);
}

}  // namespace plumgr
