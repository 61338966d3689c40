#include "data/helpers.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace plumgr {
namespace {

TEST(NumberKeyTest, MinusAndSeparatorOnceEach) {
  EXPECT_FALSE(IsNumberKey("1.5", '.', '.'));
  EXPECT_TRUE(IsNumberKey("12", '-', '.'));  // the minus may be typed anywhere, once
  EXPECT_FALSE(IsNumberKey("-12", '-', '.'));
  EXPECT_FALSE(IsNumberKey("12-", '-', '.'));
  EXPECT_TRUE(IsNumberKey("", '.', '.'));
  EXPECT_FALSE(IsNumberKey("1", 'a', '.'));
  EXPECT_FALSE(IsNumberKey("1", '+', '.'));
}

TEST(NumberKeyTest, OnlyTheLocaleSeparatorCounts) {
  EXPECT_TRUE(IsNumberKey("1", ',', ','));
  EXPECT_FALSE(IsNumberKey("1", '.', ','));
  EXPECT_FALSE(IsNumberKey("1,5", ',', ','));
  EXPECT_TRUE(IsNumberKey("1,5", '7', ','));
  EXPECT_TRUE(IsDigitKey('0'));
  EXPECT_TRUE(IsDigitKey('9'));
  EXPECT_FALSE(IsDigitKey('-'));
  EXPECT_FALSE(IsDigitKey('\xB9'));
}

TEST(TextToFloatTest, ReadsTheLocaleNotationOnly) {
  EXPECT_DOUBLE_EQ(TextToFloat("12.34", -1, '.'), 12.34);
  EXPECT_DOUBLE_EQ(TextToFloat("12,34", -1, ','), 12.34);
  EXPECT_DOUBLE_EQ(TextToFloat("12.34", -1, ','), -1);  // the other notation does not parse
  EXPECT_DOUBLE_EQ(TextToFloat("-5", 0, '.'), -5);
  EXPECT_DOUBLE_EQ(TextToFloat(" 5. ", 0, '.'), 5);
  EXPECT_DOUBLE_EQ(TextToFloat(",5", 0, ','), 0.5);
  EXPECT_DOUBLE_EQ(TextToFloat("1e3", 0, '.'), 1000);
}

TEST(TextToFloatTest, GarbageGivesTheFallback) {
  for (const char* text :
       {"", "-", ".", "1-", "1..2", "1.2.3", "inf", "nan", "0x10", "1e", "1e999", "12a", "- 1"})
    EXPECT_DOUBLE_EQ(TextToFloat(text, 7, '.'), 7) << text;
}

TEST(ParseWholeNumberTest, DecimalDigitsWithinSixtyFourBits) {
  EXPECT_EQ(ParseWholeNumber("0012"), 12);
  EXPECT_EQ(ParseWholeNumber("-7"), -7);
  EXPECT_EQ(ParseWholeNumber("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(ParseWholeNumber("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseWholeNumber("9223372036854775808"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(""), std::nullopt);
  EXPECT_EQ(ParseWholeNumber("-"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber(" 1"), std::nullopt);
  EXPECT_EQ(ParseWholeNumber("1.0"), std::nullopt);
}

TEST(TrimLeftCharTest, DropsOnlyTheLeadingRun) {
  EXPECT_EQ(TrimLeftChar("0012", '0'), "12");
  EXPECT_EQ(TrimLeftChar("000", '0'), "");
  EXPECT_EQ(TrimLeftChar("", '0'), "");
  EXPECT_EQ(TrimLeftChar("1000", '0'), "1000");
}

// A name, code or password loses every control character at its ends; a number
// only its spaces and tabs, so "1.5\r" is no number while " Cola\r" is "Cola".
TEST(TrimTest, NamesLoseControlsNumbersOnlySpacesAndTabs) {
  EXPECT_EQ(TrimBlanksAndControls(" \t\r\nCola 1\x01 "), "Cola 1");
  EXPECT_EQ(TrimBlanksAndControls("\x7f"), "\x7f");
  EXPECT_EQ(TrimSpacesAndTabs(" \t1.5\t "), "1.5");
  EXPECT_EQ(TrimSpacesAndTabs("1.5\r"), "1.5\r");
  EXPECT_FALSE(ParseDecimal("1.5\r", '.'));
}

TEST(PowerTest, WholeAndNegativeExponents) {
  EXPECT_EQ(Power(10, 0), 1);
  EXPECT_EQ(Power(10, 2), 100);
  EXPECT_EQ(Power(-2, 3), -8);
  EXPECT_EQ(Power(10, -2), 0);
  EXPECT_EQ(Power(1, -5), 1);
  EXPECT_EQ(Power(-1, -3), -1);
  EXPECT_EQ(Power(0, -1), 0);          // no division by zero
  EXPECT_EQ(Power(2, 31), INT32_MIN);  // wraps like 32-bit arithmetic
}

TEST(CeilDivTest, RoundsUpPositiveDividends) {
  EXPECT_EQ(CeilDiv(0, 3), 0);
  EXPECT_EQ(CeilDiv(7, 3), 3);
  EXPECT_EQ(CeilDiv(9, 3), 3);
  EXPECT_EQ(CeilDiv(-5, 3), 0);
  EXPECT_EQ(CeilDiv(3000, 4), 750);
  EXPECT_EQ(CeilDiv(5, 0), 0);  // no division by zero
}

TEST(SplitTextTest, EverySeparatorMakesAField) {
  std::vector<std::string> fields;
  SplitText("a\t\tb", "\t", fields);
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "", "b"}));
  SplitText("", "\t", fields);  // appends, does not clear
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "", "b", ""}));
  fields.clear();
  SplitText("\tx\t", "\t", fields);
  EXPECT_EQ(fields, (std::vector<std::string>{"", "x", ""}));
  fields.clear();
  SplitText("a::b", "::", fields);
  EXPECT_EQ(fields, (std::vector<std::string>{"a", "b"}));
}

TEST(BcdTest, ThirteenDigitBarcodeRoundTrip) {
  std::array<std::uint8_t, 7> bcd{};
  Int64ToBcd(13, bcd.data(), 1234567800001);
  EXPECT_EQ(bcd, (std::array<std::uint8_t, 7>{0x01, 0x23, 0x45, 0x67, 0x80, 0x00, 0x01}));
  EXPECT_EQ(BcdToInt64(bcd.data(), 13), 1234567800001);
}

TEST(BcdTest, WritesExactlyTheFieldAndDropsExcessDigits) {
  std::array<std::uint8_t, 4> bcd{0xEE, 0xEE, 0xEE, 0xEE};
  Int64ToBcd(5, bcd.data(), 1234567);  // (5 + 1) / 2 bytes, higher digits dropped
  EXPECT_EQ(bcd, (std::array<std::uint8_t, 4>{0x23, 0x45, 0x67, 0xEE}));
  Int64ToBcd(5, bcd.data(), -1);
  EXPECT_EQ(bcd, (std::array<std::uint8_t, 4>{0x00, 0x00, 0x00, 0xEE}));
  EXPECT_EQ(BcdToInt64(bcd.data(), 0), 0);
}

TEST(BytesTest, SwapAndCopy) {
  EXPECT_EQ(SwapBytes32(0x11223344u), 0x44332211u);
  std::array<std::uint8_t, 5> buffer{1, 2, 3, 4, 5};
  CopyBytes(buffer.data() + 1, buffer.data(), 3);  // ascending order repeats the first byte
  EXPECT_EQ(buffer, (std::array<std::uint8_t, 5>{1, 1, 1, 1, 5}));
}

}  // namespace
}  // namespace plumgr
