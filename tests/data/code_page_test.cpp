// Cell texts are Windows-1250 bytes; these conversions are the only way text
// crosses to and from Unicode, so a wrong byte here is a wrong letter everywhere.

#include "data/code_page.h"

#include <gtest/gtest.h>

#include <set>

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

namespace plumgr {
namespace {

// Each page must hold the eighteen Polish letters at their published places
// and be one to one, or a round trip between pages would change letters.
TEST(CodePageTest, PolishLettersSitWhereEachPagePutsThem) {
  const std::u16string polish = u"ąćęłńóśźżĄĆĘŁŃÓŚŹŻ";
  struct Expected {
    CodePageId Page;
    std::string Bytes;
  } expected[] = {
      {CodePageId::Windows1250,
       "\xB9\xE6\xEA\xB3\xF1\xF3\x9C\x9F\xBF\xA5\xC6\xCA\xA3\xD1\xD3\x8C\x8F\xAF"},
      {CodePageId::Cp852,
       "\xA5\x86\xA9\x88\xE4\xA2\x98\xAB\xBE\xA4\x8F\xA8\x9D\xE3\xE0\x97\x8D\xBD"},
      {CodePageId::Mazovia,
       "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1"},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(std::string(CodePageName(e.Page)));
    EXPECT_EQ(EncodeCodePage(polish, UpperHalf(e.Page)), e.Bytes);
    EXPECT_EQ(DecodeCodePage(e.Bytes, UpperHalf(e.Page)), polish);
    const CodePageUpperHalf& upper = UpperHalf(e.Page);
    EXPECT_EQ(std::set<char16_t>(upper.begin(), upper.end()).size(), upper.size());
    EXPECT_EQ(CodePageNamed(CodePageName(e.Page)), e.Page);
  }
  EXPECT_EQ(EncodeCodePage(u"\u20AC", Cp852()), std::nullopt);  // no euro sign in CP852
  EXPECT_EQ(CodePageNamed("IBM-852"), CodePageId::Cp852);
  EXPECT_EQ(CodePageNamed("latin2"), std::nullopt);
}

}  // namespace
}  // namespace plumgr
