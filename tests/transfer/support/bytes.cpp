#include "transfer/support/bytes.h"

#include <algorithm>
#include <cstdio>

namespace plumgr::test {

std::string Hex(std::span<const std::uint8_t> bytes) {
  std::string text;
  for (std::uint8_t b : bytes) {
    char pair[4];
    std::snprintf(pair, sizeof pair, "%02X", b);
    if (!text.empty()) text += ' ';
    text += pair;
  }
  return text;
}

std::vector<std::uint8_t> Bytes(std::string_view hex) {
  std::vector<std::uint8_t> bytes;
  std::string digits;
  for (char c : hex)
    if (c != ' ') digits += c;
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(digits.substr(i, 2), nullptr, 16)));
  return bytes;
}

std::string Dec(std::string_view text, char separator) {
  std::string s(text);
  std::replace(s.begin(), s.end(), '.', separator);
  return s;
}

}  // namespace plumgr::test
