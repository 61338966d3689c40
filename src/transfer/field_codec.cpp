#include "transfer/field_codec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "data/helpers.h"
#include "data/hex_digits.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

constexpr int kMaxFixedPointWidth = 8;
constexpr int kDoubleWidth = 8;

std::string ValueText(const FieldValue& value, char separator) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* number = std::get_if<double>(&value)) {
    std::array<char, 64> digits{};
    auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), *number,
                                   std::chars_format::general, 15);
    std::string text(digits.data(), ec == std::errc{} ? end : digits.data());
    std::replace(text.begin(), text.end(), '.', separator);
    return text;
  }
  const auto& t = std::get<DateTime>(value);
  std::array<char, 32> text{};
  std::snprintf(text.data(), text.size(), "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day,
                t.Hour, t.Minute, t.Second);
  return text.data();
}

std::optional<double> ValueNumber(const FieldValue& value, char separator) {
  if (const auto* number = std::get_if<double>(&value)) return *number;
  if (const auto* text = std::get_if<std::string>(&value)) return ParseDecimal(*text, separator);
  return std::nullopt;
}

// Kind 2. A negative number is written in two's-complement form, which the
// decoder reads back only while the first byte is all ones (it takes the sign
// from that byte and the magnitude from the others): so whole numbers from
// -256^(w-1) to 256^w - 1 fit. Anything else would come back as another number,
// so it is refused.
bool PutNumber(const FieldValue& value, std::span<std::uint8_t> field, int decimals,
               char separator) {
  const int width = static_cast<int>(field.size());
  const std::optional<double> number = ValueNumber(value, separator);
  if (!number || !std::isfinite(*number) || width == 0 || width > kMaxFixedPointWidth) return false;
  // Beyond 2^63 RoundHalfEven saturates; refuse before it does.
  if (std::fabs(*number * std::pow(10.0, decimals)) >= 0x1p63) return false;
  const std::int64_t n = RoundHalfEven(*number, decimals);
  const std::int64_t lowest = -(std::int64_t{1} << (8 * (width - 1)));
  if (n < lowest) return false;
  if (width < kMaxFixedPointWidth && n >= (std::int64_t{1} << (8 * width))) return false;
  auto bits = static_cast<std::uint64_t>(n);
  for (int i = width - 1; i >= 0; --i, bits >>= 8)
    field[i] = static_cast<std::uint8_t>(bits);
  return true;
}

std::uint64_t BigEndian(std::span<const std::uint8_t> bytes) {
  std::uint64_t n = 0;
  for (std::uint8_t b : bytes)
    n = (n << 8) | b;
  return n;
}

double GetNumber(std::span<const std::uint8_t> field, int decimals,
                 const TOrvanencode::Switches& switches) {
  const int width = static_cast<int>(field.size());
  if (width == 0 || width > kMaxFixedPointWidth) return 0.0;
  const double scale = std::pow(10.0, decimals);
  if ((field[0] & 0x80) == 0 || switches.Unsigned)
    return static_cast<double>(BigEndian(field)) / scale;
  // The first byte gives only the sign; the magnitude lies in the others.
  const std::uint64_t m = BigEndian(field.subspan(1));
  if (switches.TwosComplement) {
    const std::uint64_t mask = width == 1 ? 0 : (~std::uint64_t{0} >> (8 * (9 - width)));
    return -static_cast<double>((~m & mask) + 1) / scale;
  }
  return -static_cast<double>(m) / scale;
}

bool PutText(const FieldValue& value, std::span<std::uint8_t> field, char separator) {
  const std::string text = ValueText(value, separator);
  const size_t n = std::min(text.size(), field.size());
  std::copy_n(text.begin(), n, field.begin());
  // The rest of the field is already 0, so a shorter text ends in its NUL.
  return true;
}

std::string GetText(std::span<const std::uint8_t> field) {
  std::string text;
  for (std::uint8_t b : field) {
    if (b == 0) break;
    text.push_back(b == 0x01 ? ' ' : static_cast<char>(b));
  }
  return text;
}

std::string GetHex(std::span<const std::uint8_t> field) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (std::uint8_t b : field) {
    text.push_back(kDigits[b >> 4]);
    text.push_back(kDigits[b & 0x0F]);
  }
  return text;
}

std::string TwoDigits(int n) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%02d", ((n % 100) + 100) % 100);
  return text.data();
}

void PutDateTime(const DateTime& t, std::span<std::uint8_t> field) {
  const std::string digits = TwoDigits(t.Year) + TwoDigits(t.Month) + TwoDigits(t.Day) +
                             TwoDigits(t.Hour) + TwoDigits(t.Minute) + TwoDigits(t.Second);
  (void)PutDigits(digits, field.data(), static_cast<int>(field.size()));
}

void PutDate(const DateTime& t, std::span<std::uint8_t> field) {
  const std::string digits =
      TwoDigits(t.Year / 100) + TwoDigits(t.Year) + TwoDigits(t.Month) + TwoDigits(t.Day);
  (void)PutDigits(digits, field.data(), static_cast<int>(field.size()));
}

// A byte written as two hexadecimal digits and read back as a decimal number:
// 0x24 is 24; a byte with a digit above 9 is unreadable.
std::optional<int> BcdByte(std::uint8_t b) {
  if ((b >> 4) > 9 || (b & 0x0F) > 9) return std::nullopt;
  return (b >> 4) * 10 + (b & 0x0F);
}

DateTime Checked(const DateTime& t) {
  return IsValidDateTime(t) ? t : DateTime::Zero();
}

DateTime GetDateTime(std::span<const std::uint8_t> field) {
  if (field.size() < 6) return DateTime::Zero();
  std::array<int, 6> v{};
  for (size_t i = 0; i < v.size(); ++i) {
    const std::optional<int> n = BcdByte(field[i]);
    if (!n) return DateTime::Zero();
    v[i] = *n;
  }
  return Checked({2000 + v[0], v[1], v[2], v[3], v[4], v[5]});
}

DateTime GetDate(std::span<const std::uint8_t> field) {
  if (field.size() < 4) return DateTime::Zero();
  std::array<int, 4> v{};
  for (size_t i = 0; i < v.size(); ++i) {
    const std::optional<int> n = BcdByte(field[i]);
    if (!n) return DateTime::Zero();
    v[i] = *n;
  }
  return Checked({v[0] * 100 + v[1], v[2], v[3], 0, 0, 0});
}

DateTime GetTime(std::span<const std::uint8_t> field) {
  if (field.size() < 2) return DateTime::Zero();
  const size_t count = field.size() > 2 ? 3 : 2;
  std::array<int, 3> v{};
  for (size_t i = 0; i < count; ++i) {
    const std::optional<int> n = BcdByte(field[i]);
    if (!n) return DateTime::Zero();
    v[i] = *n;
  }
  DateTime t = DateTime::Zero();
  t.Hour = v[0];
  t.Minute = v[1];
  t.Second = v[2];
  return Checked(t);
}

bool PutDouble(const FieldValue& value, std::span<std::uint8_t> field, int decimals,
               char separator) {
  const std::optional<double> number = ValueNumber(value, separator);
  if (!number || field.size() < kDoubleWidth) return false;
  auto bits = std::bit_cast<std::uint64_t>(*number * std::pow(10.0, decimals));
  for (int i = kDoubleWidth - 1; i >= 0; --i, bits >>= 8)
    field[i] = static_cast<std::uint8_t>(bits);
  return true;
}

double GetDouble(std::span<const std::uint8_t> field, int decimals) {
  if (field.size() < kDoubleWidth) return 0.0;
  return std::bit_cast<double>(BigEndian(field.first(kDoubleWidth))) / std::pow(10.0, decimals);
}

}  // namespace

std::string TOrvanencode::TrimDigits(std::string_view digits) {
  std::string text(digits.substr(std::min(digits.find_first_not_of('0'), digits.size())));
  for (char& c : text) {
    if (c != 'F') break;
    c = '0';
  }
  return text;
}

bool TOrvanencode::Put(FieldKind kind, const FieldValue& value, std::span<std::uint8_t> field,
                       int decimals) const {
  switch (kind) {
    case FieldKind::PackedHex:
    case FieldKind::PackedDigitsAlt:
      // An invalid pair only ends the packing early; these kinds never fail.
      (void)PutDigits(ValueText(value, separator_), field.data(), static_cast<int>(field.size()));
      return true;
    case FieldKind::PackedDigits:
      return PutDigitsUntrimmed(ValueText(value, separator_), field.data(),
                                static_cast<int>(field.size()));
    case FieldKind::FixedPoint:
      return PutNumber(value, field, decimals, separator_);
    case FieldKind::Text:
      return PutText(value, field, separator_);
    case FieldKind::DateTime:
      PutDateTime(std::get<DateTime>(value), field);
      return true;
    case FieldKind::Date:
      PutDate(std::get<DateTime>(value), field);
      return true;
    case FieldKind::Time:
      return false;
    case FieldKind::Double:
      return PutDouble(value, field, decimals, separator_);
  }
  return false;
}

FieldValue TOrvanencode::Get(FieldKind kind, std::span<const std::uint8_t> field,
                             int decimals) const {
  switch (kind) {
    case FieldKind::PackedHex:
      return GetHex(field);
    case FieldKind::PackedDigits:
    case FieldKind::PackedDigitsAlt:
      return TrimDigits(GetHex(field));
    case FieldKind::FixedPoint:
      return GetNumber(field, decimals, switches_);
    case FieldKind::Text:
      return GetText(field);
    case FieldKind::DateTime:
      return GetDateTime(field);
    case FieldKind::Date:
      return GetDate(field);
    case FieldKind::Time:
      return GetTime(field);
    case FieldKind::Double:
      return GetDouble(field, decimals);
  }
  return std::string();
}

bool TOrvanencode::EncodeField(FieldKind kind, const FieldValue& value,
                               std::span<std::uint8_t> buffer, int& position, int width,
                               int decimals) const {
  const bool wants_date = kind == FieldKind::DateTime || kind == FieldKind::Date;
  if (wants_date && !std::holds_alternative<DateTime>(value)) return false;
  const int start = position;
  if (switches_.AdvancePosition) position += std::max(width, 0);
  if (start < 0 || width < 0 || static_cast<size_t>(start) + width > buffer.size()) return false;

  std::vector<std::uint8_t> scratch(static_cast<size_t>(width), 0);
  bool ok = Put(kind, value, scratch, decimals);
  // A value that does not fit leaves a zero field rather than a half-written one.
  if (!ok && kind != FieldKind::PackedDigits) std::fill(scratch.begin(), scratch.end(), 0);
  std::copy(scratch.begin(), scratch.end(), buffer.begin() + start);
  return ok;
}

FieldValue TOrvanencode::DecodeField(FieldKind kind, std::span<const std::uint8_t> buffer,
                                     int& position, int width, int decimals) const {
  const int start = position;
  if (switches_.AdvancePosition) position += std::max(width, 0);
  std::vector<std::uint8_t> scratch(static_cast<size_t>(std::max(width, 0)), 0);
  for (int i = 0; i < width; ++i) {
    const long long at = static_cast<long long>(start) + i;
    if (at >= 0 && static_cast<size_t>(at) < buffer.size()) scratch[i] = buffer[at];
  }
  return Get(kind, scratch, decimals);
}

}  // namespace plumgr
