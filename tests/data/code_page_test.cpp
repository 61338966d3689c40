// Cell texts are Windows-1250 bytes; these conversions are the only way text
// crosses to and from Unicode, so a wrong byte here is a wrong letter everywhere.

#include "data/code_page.h"

#include <gtest/gtest.h>

namespace plumgr {
namespace {

TEST(CodePageTest, PolishLettersRoundTripThroughUnicode) {
  const std::string bytes = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \xA3\xD3\x8C\x8F\xAF";
  std::u16string text = DecodeCodePage(bytes, Windows1250());
  EXPECT_EQ(Utf16ToUtf8(text), "Zażółć gęślą jaźń ŁÓŚŹŻ");
  EXPECT_EQ(EncodeCodePage(text, Windows1250()), bytes);
}

TEST(CodePageTest, CharacterOutsideTheCodePageIsRefusedNotReplaced) {
  std::size_t at = 99;
  EXPECT_EQ(EncodeCodePage(u"ab\u20ACc\u4E2D", Windows1250(), &at), std::nullopt);
  EXPECT_EQ(at, 4u);  // the euro sign is in the code page, the ideograph is not
  EXPECT_EQ(EncodeCodePage(u"\u20AC", Windows1250()), std::string("\x80"));
}

TEST(CodePageTest, Utf8DecodingRefusesMalformedSequences) {
  EXPECT_EQ(Utf8ToUtf16("\xC5\xBC\xC3\xB3\xC5\x82w"), std::u16string(u"żółw"));
  EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string(u"\U0001F600"));
  EXPECT_EQ(Utf8ToUtf16("\xC5"), std::nullopt);               // cut in the middle of a letter
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), std::nullopt);           // overlong
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), std::nullopt);       // a surrogate
  EXPECT_EQ(Utf8ToUtf16("Cena \xB3\xF3\xBF"), std::nullopt);  // Windows-1250 bytes
}

}  // namespace
}  // namespace plumgr
