#include "data/text_folding.h"

namespace plumgr {
namespace {

// The base letter of U+00C0..U+017F; '_' keeps the character (symbols, and
// letters such as Æ that have no one base letter).
constexpr std::string_view kLatinBase =
    "aaaaaa_ceeeeiiii_nooooo_ouuuuy_s"   // U+00C0
    "aaaaaa_ceeeeiiii_nooooo_ouuuuy_y"   // U+00E0
    "aaaaaaccccccccddddeeeeeeeeeegggg"   // U+0100
    "gggghhhhiiiiiiiiii__jjkk_lllllll"   // U+0120
    "lllnnnnnn___oooooo__rrrrrrssssss"   // U+0140
    "ssttttttuuuuuuuuuuuuwwyyyzzzzzz_";  // U+0160

char16_t FoldCharacter(char16_t c) {
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  if (c >= 0xC0 && c < 0x180) {
    const char base = kLatinBase[c - 0xC0];
    if (base != '_') return static_cast<char16_t>(base);
  }
  return c;
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == 0xA0 || c == u'\r' || c == u'\n';
}

}  // namespace

std::u16string FoldForMatching(std::u16string_view text) {
  std::u16string folded;
  folded.reserve(text.size());
  bool blank_pending = false;
  for (char16_t c : text) {
    if (IsBlank(c)) {
      blank_pending = !folded.empty();
      continue;
    }
    if (blank_pending) folded.push_back(u' ');
    blank_pending = false;
    folded.push_back(FoldCharacter(c));
  }
  return folded;
}

}  // namespace plumgr
