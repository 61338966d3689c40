#include "app/rate_field.h"

#include <cmath>

#include "data/helpers.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

constexpr int kRateDecimals = 2;
constexpr std::int64_t kLargestRate = 9999;  // 99.99 in hundredths

bool IsUntyped(char c) {
  return c == ' ' || c == '_';
}

std::string ZeroRateText(char separator) {
  return std::string("00") + separator + "00";
}

// Digits and untyped positions only; untyped ones dropped.
std::optional<std::string> DigitsOf(std::string_view part) {
  std::string digits;
  for (char c : part) {
    if (IsDigitKey(c))
      digits += c;
    else if (!IsUntyped(c))
      return std::nullopt;
  }
  return digits;
}

}  // namespace

std::string RateFieldText(std::string_view stored, char separator) {
  const std::optional<double> value = ParseDecimal(stored, separator);
  if (!value || !std::isfinite(*value) || *value < 0) return ZeroRateText(separator);
  const std::int64_t hundredths = RoundHalfEven(*value, kRateDecimals);
  if (hundredths > kLargestRate) return ZeroRateText(separator);
  std::string text = FormatScaled(hundredths, kRateDecimals, separator);
  while (text.size() < kRateFieldWidth)
    text.insert(text.begin(), '0');
  return text;
}

std::optional<std::string> TypedRateText(std::string_view shown, char separator) {
  if (shown.size() == kRateFieldWidth && shown[2] == separator) {
    std::string text(shown);
    for (size_t i = 0; i < text.size(); ++i) {
      if (i == 2) continue;
      if (IsUntyped(text[i]))
        text[i] = '0';
      else if (!IsDigitKey(text[i]))
        return std::nullopt;
    }
    return text;
  }
  const size_t at = shown.find(separator);
  const std::optional<std::string> whole = DigitsOf(shown.substr(0, at));
  const std::optional<std::string> cents =
      DigitsOf(at == std::string_view::npos ? std::string_view() : shown.substr(at + 1));
  if (!whole || !cents || whole->size() > 2 || cents->size() > 2) return std::nullopt;
  return std::string(2 - whole->size(), '0') + *whole + separator + *cents +
         std::string(2 - cents->size(), '0');
}

}  // namespace plumgr
