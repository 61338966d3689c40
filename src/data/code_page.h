#pragma once
// Cell texts are single-byte code-page text; spreadsheets hold Unicode. These
// turn one into the other at the file boundary.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace plumgr {

// The Unicode characters of the bytes 0x80..0xFF of a single-byte code page; the
// lower half is ASCII in every code page the register uses.
using CodePageUpperHalf = std::array<char16_t, 128>;

// Windows-1250 (Central European), the default code page of the cell texts. The
// five bytes the code page leaves undefined map to the C1 control of the same value.
const CodePageUpperHalf& Windows1250();
// IBM code page 852 (DOS Latin 2), which registers and their older PC tools use.
const CodePageUpperHalf& Cp852();
// Mazovia, the Polish DOS code page: code page 437 with the eighteen Polish
// letters in place of some of its accented letters and symbols.
const CodePageUpperHalf& Mazovia();

// The code pages the register's text may be kept in.
enum class CodePageId { Windows1250, Cp852, Mazovia };
inline constexpr std::array<CodePageId, 3> kCodePages = {CodePageId::Windows1250, CodePageId::Cp852,
                                                         CodePageId::Mazovia};

const CodePageUpperHalf& UpperHalf(CodePageId page);
// "Windows-1250", "CP852", "Mazovia": as the settings file and the windows name them.
std::string_view CodePageName(CodePageId page);
// A name as an operator may write it, ignoring case: the names above, "1250",
// "cp1250", "windows1250", "852", "ibm852", "mazowia".
std::optional<CodePageId> CodePageNamed(std::string_view name);

// The code page of the register's text in force for this process, like the
// register model: set at start-up from the settings file and again whenever the
// settings file is replaced by a set's copy. Windows-1250 until then.
CodePageId CodePageInForce();
void SetCodePageInForce(CodePageId page);
inline const CodePageUpperHalf& UpperHalfInForce() {
  return UpperHalf(CodePageInForce());
}

std::u16string DecodeCodePage(std::string_view bytes, const CodePageUpperHalf& upper);

// UTF-8 of UTF-16 text; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The code page's bytes of Unicode text. A character the code page cannot hold
// is never replaced: the result is empty and `refused_at`, when given, is the
// index of the first such character.
std::optional<std::string> EncodeCodePage(std::u16string_view text, const CodePageUpperHalf& upper,
                                          std::size_t* refused_at = nullptr);

// UTF-16 of UTF-8 text, or nothing when the bytes are not well-formed UTF-8
// (overlong forms, surrogates and truncated sequences included).
std::optional<std::u16string> Utf8ToUtf16(std::string_view bytes);

}  // namespace plumgr
