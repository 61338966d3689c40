#include "data/hex_digits.h"

#include <algorithm>
#include <string>

#include "data/helpers.h"

namespace plumgr {
namespace {

int HexValue(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  return -1;
}

}  // namespace

bool PutDigitsUntrimmed(std::string_view text, std::uint8_t* field, int width) {
  if (width <= 0) return true;
  std::fill(field, field + width, std::uint8_t{0});
  std::string digits(text);
  for (char& ch : digits) {
    if (ch != '0') break;
    ch = 'F';
  }
  int end = static_cast<int>(digits.size());
  for (int p = width - 1; p >= 0 && end > 0; --p, end -= 2) {
    int low = HexValue(digits[end - 1]);
    int high = end >= 2 ? HexValue(digits[end - 2]) : 0;
    if (low < 0 || high < 0) return false;
    field[p] = static_cast<std::uint8_t>(high * 16 + low);
  }
  return true;
}

bool PutDigits(std::string_view text, std::uint8_t* field, int width) {
  return PutDigitsUntrimmed(TrimBlanksAndControls(text), field, width);
}

}  // namespace plumgr
