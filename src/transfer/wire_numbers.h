#pragma once
// The numbers and texts inside package data: big-endian integers, prices and
// quantities as scaled whole numbers, and NUL-terminated text fields. Offsets are
// checked by the callers' fixed layouts; every function here stays inside the
// span it is given.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plumgr {

// How numbers travel: prices as price x 10^PriceDecimals (byte 0 of the
// register's status), and how table texts write them (the locale's separator).
struct WireUnits {
  int PriceDecimals = 2;
  char DecimalSeparator = '.';
};

inline constexpr int kStockDecimals = 3;  // quantities travel x 1000
inline constexpr int kRateDecimals = 2;   // rates travel x 100

void PutBig16(std::span<std::uint8_t> bytes, std::size_t offset, std::uint16_t value);
void PutBig32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);
std::uint16_t GetBig16(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint32_t GetBig32(std::span<const std::uint8_t> bytes, std::size_t offset);
std::int32_t GetBig32Signed(std::span<const std::uint8_t> bytes, std::size_t offset);
std::uint64_t GetBig48(std::span<const std::uint8_t> bytes, std::size_t offset);

// A decimal text (0 when it is not a number) x 10^decimals, rounded to the
// nearest whole number with halves to even; the low 32 bits, as the register's
// fields are 32 bits wide.
std::uint32_t ScaledLow32(std::string_view text, int decimals, char decimal_separator);

// A whole number text, or 0 when it is not one.
std::int64_t WholeNumberOrZero(std::string_view text);

// scaled / 10^scale_decimals written with `decimals` digits after the separator.
std::string ScaledText(double scaled, int scale_decimals, int decimals, char decimal_separator);

// The first `width` characters of the text at bytes[offset]; a shorter text is
// followed by one NUL and the bytes after it are left as they are.
void PutTextField(std::span<std::uint8_t> bytes, std::size_t offset, std::size_t width,
                  std::string_view text);

// The bytes at bytes[offset] up to the first NUL, at most `width` of them.
std::string GetTextField(std::span<const std::uint8_t> bytes, std::size_t offset,
                         std::size_t width);

}  // namespace plumgr
