#pragma once
// Small number and text helpers shared by the tables, the data files and the
// transfers. All are pure functions; the decimal separator is always passed in.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plumgr {

// True for '0' to '9'.
bool IsDigitKey(char key);

// The key filter of decimal cells: accepts '-', the digits and the separator,
// but not a second separator and not a second '-' (anywhere in the text).
bool IsNumberKey(std::string_view text, char key, char decimal_separator);

// A decimal number in the locale's notation: optional sign, digits with at most
// one separator, an optional exponent, surrounding blanks allowed. Anything else
// (including "inf" and "nan") does not parse.
std::optional<double> ParseDecimal(std::string_view text, char decimal_separator);

// A whole number in decimal: optional sign and digits only, within 64 bits.
std::optional<std::int64_t> ParseWholeNumber(std::string_view text);

// The text read as a decimal number, or the fallback when it does not parse.
double TextToFloat(std::string_view text, double fallback, char decimal_separator);

// The text without the characters at its ends that `blank` says are blanks:
// each kind of text trims its own blanks through this one walk.
template <typename Char, typename IsBlank>
std::basic_string_view<Char> TrimEnds(std::basic_string_view<Char> text, IsBlank blank) {
  while (!text.empty() && blank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && blank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The text without the blanks at its ends, where every byte up to the space
// counts as one (tabs, CR, LF and the other control characters): how a name, a
// code or a password is trimmed before it is compared, packed or read.
std::string_view TrimBlanksAndControls(std::string_view text);

// The text without the spaces and tabs at its ends: the blanks a decimal number
// may carry in a cell or a settings value.
std::string_view TrimSpacesAndTabs(std::string_view text);

// The text without the spaces at its ends.
std::string_view TrimSpaces(std::string_view text);

// The text with the ASCII letters A to Z made lower case; other bytes stay as
// they are, so code-page letters are never touched.
std::string AsciiLower(std::string text);

// The extension of a file name with its dot, in lower case (".xlsx"), or empty.
std::string LowerExtension(const std::string& file_name);

// The text without its leading run of `ch`.
std::string TrimLeftChar(std::string_view text, char ch);

// A name read from the register is stored in a tab-separated, line-based file:
// every tab, CR and LF in it becomes a space. True when the text changed.
bool BlankFieldBreaks(std::string& text);

// base to the power exponent; for a negative exponent the integer quotient of 1
// by base to the absolute exponent. Overflow wraps (as 32-bit arithmetic does)
// rather than being undefined, and 0 to a negative power gives 0.
std::int32_t Power(std::int32_t base, std::int32_t exponent);

// a divided by b, rounded up; 0 when a <= 0 and also when b is 0.
std::int32_t CeilDiv(std::int32_t a, std::int32_t b);

// Copies n bytes in ascending order (an overlapping copy repeats bytes, as the
// register's own routine does).
void CopyBytes(std::uint8_t* destination, const std::uint8_t* source, std::size_t n);

// Appends the fields of the line, cut at every occurrence of the separator, to
// `fields` (not cleared first). n separators give n + 1 fields; an empty line
// gives one empty field. An empty separator appends the whole line.
void SplitText(std::string_view line, std::string_view separator, std::vector<std::string>& fields);

// The parts with the separator between each two: the reverse of SplitText.
std::string JoinText(const std::vector<std::string>& parts, std::string_view separator);

// Packed BCD, most significant pair first: reads (digits + 1) / 2 bytes.
std::int64_t BcdToInt64(const std::uint8_t* bcd, int digits);

// Writes (digits + 1) / 2 bytes of packed BCD, most significant pair first;
// digits beyond the field are dropped. A negative value is written as zeros.
void Int64ToBcd(int digits, std::uint8_t* bcd, std::int64_t value);

// The four bytes in reverse order.
std::uint32_t SwapBytes32(std::uint32_t value);

}  // namespace plumgr
