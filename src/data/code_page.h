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
