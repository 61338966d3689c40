#include "transfer/wire_numbers.h"

#include <algorithm>
#include <cmath>

#include "data/helpers.h"
#include "data/rounding.h"

namespace plumgr {

void PutBig16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value) {
  bytes[offset] = static_cast<std::uint8_t>(value >> 8);
  bytes[offset + 1] = static_cast<std::uint8_t>(value);
}

void PutBig32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 3; i >= 0; --i, value >>= 8)
    bytes[offset + i] = static_cast<std::uint8_t>(value);
}

std::uint16_t GetBig16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

std::uint32_t GetBig32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | bytes[offset + i];
  return value;
}

std::int32_t GetBig32Signed(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return static_cast<std::int32_t>(GetBig32(bytes, offset));
}

std::uint64_t GetBig48(std::span<const std::uint8_t> bytes, std::size_t offset) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < 6; ++i)
    value = (value << 8) | bytes[offset + i];
  return value;
}

std::uint32_t ScaledLow32(std::string_view text, int decimals, char decimal_separator) {
  return static_cast<std::uint32_t>(
      RoundHalfEven(TextToFloat(text, 0.0, decimal_separator), decimals));
}

std::int64_t WholeNumberOrZero(std::string_view text) {
  return ParseWholeNumber(text).value_or(0);
}

std::string ScaledText(double scaled, int scale_decimals, int decimals, char decimal_separator) {
  return FormatFixed(scaled / std::pow(10.0, scale_decimals), decimals, decimal_separator);
}

void PutTextField(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
                  std::string_view text) {
  const std::size_t n = std::min(text.size(), width);
  std::copy_n(text.begin(), n, bytes.begin() + offset);
  if (n < width) bytes[offset + n] = 0;
}

std::string GetTextField(std::span<const std::uint8_t> bytes, std::size_t offset,
                         std::size_t width) {
  std::string text;
  for (std::size_t i = 0; i < width && bytes[offset + i] != 0; ++i)
    text.push_back(static_cast<char>(bytes[offset + i]));
  return text;
}

}  // namespace plumgr
