#pragma once
// Byte buffers written as spaced upper-case hexadecimal ("00 00 04 D2"), so a
// failing comparison shows exactly which byte differs.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace plumgr::test {

std::string Hex(std::span<const std::uint8_t> bytes);

// The bytes of a spaced hexadecimal text.
std::vector<std::uint8_t> Bytes(std::string_view hex);

// Both decimal separators the tests run under, for parameterised suites.
inline constexpr char kSeparators[] = {'.', ','};

// "1.5" with the separator in place of '.'.
std::string Dec(std::string_view text, char separator);

}  // namespace plumgr::test
