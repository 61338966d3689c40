#include "transfer/field_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Bytes;
using test::Dec;
using test::Hex;

struct EncodeRow {
  const char* name;
  FieldKind kind;
  const char* text;  // '.' stands for the decimal separator
  int width;
  int decimals;
  const char* expected;
  bool ok;
};

const EncodeRow kEncodeRows[] = {
    {"HexDigits", FieldKind::PackedHex, "12345", 7, 0, "00 00 00 00 01 23 45", true},
    {"HexLeadingZerosBecomeF", FieldKind::PackedHex, " 0012345 ", 7, 0, "00 00 00 0F F1 23 45",
     true},
    {"HexZero", FieldKind::PackedHex, "0", 7, 0, "00 00 00 00 00 00 0F", true},
    {"HexEmpty", FieldKind::PackedHex, "", 7, 0, "00 00 00 00 00 00 00", true},
    {"HexKeepsLast14Digits", FieldKind::PackedHex, "1234567890123456", 7, 0, "34 56 78 90 12 34 56",
     true},
    {"HexInvalidPairStopsButSucceeds", FieldKind::PackedHex, "1G2345", 7, 0, "00 00 00 00 00 23 45",
     true},
    {"AltPacksLikeHex", FieldKind::PackedDigitsAlt, "0012345", 7, 0, "00 00 00 0F F1 23 45", true},
    {"DigitsPacked", FieldKind::PackedDigits, "0012345", 7, 0, "00 00 00 0F F1 23 45", true},
    {"DigitsBlankIsInvalid", FieldKind::PackedDigits, " 12", 7, 0, "00 00 00 00 00 00 12", false},
    {"FixedPoint", FieldKind::FixedPoint, "12.34", 4, 2, "00 00 04 D2", true},
    {"FixedPointNegative", FieldKind::FixedPoint, "-1", 4, 2, "FF FF FF 9C", true},
    {"FixedPointHalfDown", FieldKind::FixedPoint, "0.125", 4, 2, "00 00 00 0C", true},
    {"FixedPointHalfUp", FieldKind::FixedPoint, "0.375", 4, 2, "00 00 00 26", true},
    {"FixedPointTooLarge", FieldKind::FixedPoint, "65536", 2, 0, "00 00", false},
    {"FixedPointNotANumber", FieldKind::FixedPoint, "abc", 4, 2, "00 00 00 00", false},
    {"FixedPointTooWide", FieldKind::FixedPoint, "1", 9, 0, "00 00 00 00 00 00 00 00 00", false},
    {"TextShort", FieldKind::Text, "AB", 5, 0, "41 42 00 00 00", true},
    {"TextCut", FieldKind::Text, "ABCDEFG", 5, 0, "41 42 43 44 45", true},
    {"Double", FieldKind::Double, "1.5", 8, 0, "3F F8 00 00 00 00 00 00", true},
    {"DoubleScaled", FieldKind::Double, "0.5", 8, 2, "40 49 00 00 00 00 00 00", true},
    {"DoubleNotANumber", FieldKind::Double, "x", 8, 0, "00 00 00 00 00 00 00 00", false},
    {"TimeHasNoEncoding", FieldKind::Time, "12", 3, 0, "00 00 00", false},
};

class EncodeFieldTest : public testing::TestWithParam<std::tuple<EncodeRow, char>> {};

TEST_P(EncodeFieldTest, WritesTheFieldAndMovesOn) {
  const auto& [row, separator] = GetParam();
  TOrvanencode codec(separator);
  std::vector<std::uint8_t> buffer(2 + row.width, 0xAA);
  int position = 1;
  const bool ok = codec.EncodeField(row.kind, std::string(Dec(row.text, separator)), buffer,
                                    position, row.width, row.decimals);
  EXPECT_EQ(ok, row.ok);
  EXPECT_EQ(Hex(std::span(buffer).subspan(1, row.width)), row.expected);
  EXPECT_EQ(buffer.front(), 0xAA);
  EXPECT_EQ(buffer.back(), 0xAA);
  EXPECT_EQ(position, 1 + row.width);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EncodeFieldTest,
                         testing::Combine(testing::ValuesIn(kEncodeRows),
                                          testing::ValuesIn(test::kSeparators)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) +
                                  (std::get<1>(info.param) == '.' ? "Point" : "Comma");
                         });

struct DecodeRow {
  const char* name;
  FieldKind kind;
  const char* bytes;
  int decimals;
  FieldValue expected;
};

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) {
  return {y, mo, d, h, mi, s};
}

const DecodeRow kDecodeRows[] = {
    {"HexIsRaw", FieldKind::PackedHex, "00 00 00 0F F1 23 45", 0, std::string("0000000FF12345")},
    {"DigitsAreTrimmed", FieldKind::PackedDigits, "00 00 00 0F F1 23 45", 0,
     std::string("0012345")},
    {"AltIsTrimmed", FieldKind::PackedDigitsAlt, "00 00 00 0F F1 23 45", 0, std::string("0012345")},
    {"DigitsOfZeros", FieldKind::PackedDigits, "00 00 00 00 00 00 00", 0, std::string()},
    {"DigitsOfAllF", FieldKind::PackedDigits, "FF FF FF FF FF FF FF", 0,
     std::string("00000000000000")},
    {"FixedPoint", FieldKind::FixedPoint, "00 00 04 D2", 2, 12.34},
    {"FixedPointTwosComplement", FieldKind::FixedPoint, "FF FF FF 9C", 2, -1.0},
    {"TextBlanksAndNul", FieldKind::Text, "41 01 42 00 43", 0, std::string("A B")},
    {"TextFull", FieldKind::Text, "41 42 43", 0, std::string("ABC")},
    {"DateTime", FieldKind::DateTime, "24 02 29 13 45 00", 0, At(2024, 2, 29, 13, 45, 0)},
    {"DateTimeMonthZero", FieldKind::DateTime, "24 00 10 00 00 00", 0, DateTime::Zero()},
    {"DateTimeNoSuchDay", FieldKind::DateTime, "23 02 29 00 00 00", 0, DateTime::Zero()},
    {"DateTimeNotDecimal", FieldKind::DateTime, "24 1A 01 00 00 00", 0, DateTime::Zero()},
    {"DateTimeBadHour", FieldKind::DateTime, "24 01 01 24 00 00", 0, DateTime::Zero()},
    {"DateTimeOfTheFirstDecade", FieldKind::DateTime, "F5 03 04 00 00 00", 0, DateTime::Zero()},
    {"Date", FieldKind::Date, "20 24 02 29", 0, At(2024, 2, 29)},
    {"DateYearZero", FieldKind::Date, "00 00 01 01", 0, DateTime::Zero()},
    {"TimeTwoBytes", FieldKind::Time, "13 45", 0, At(1899, 12, 30, 13, 45, 0)},
    {"TimeThreeBytes", FieldKind::Time, "13 45 30", 0, At(1899, 12, 30, 13, 45, 30)},
    {"TimeInvalid", FieldKind::Time, "25 00", 0, DateTime::Zero()},
    {"Double", FieldKind::Double, "3F F8 00 00 00 00 00 00", 0, 1.5},
    {"DoubleScaled", FieldKind::Double, "40 49 00 00 00 00 00 00", 2, 0.5},
};

class DecodeFieldTest : public testing::TestWithParam<DecodeRow> {};

TEST_P(DecodeFieldTest, ReadsTheFieldAndMovesOn) {
  const DecodeRow& row = GetParam();
  const std::vector<std::uint8_t> field = Bytes(row.bytes);
  std::vector<std::uint8_t> buffer{0x99};
  buffer.insert(buffer.end(), field.begin(), field.end());
  buffer.push_back(0x99);
  TOrvanencode codec('.');
  int position = 1;
  const FieldValue value =
      codec.DecodeField(row.kind, buffer, position, static_cast<int>(field.size()), row.decimals);
  if (const double* expected = std::get_if<double>(&row.expected))
    EXPECT_DOUBLE_EQ(std::get<double>(value), *expected);
  else
    EXPECT_EQ(value, row.expected);
  EXPECT_EQ(position, 1 + static_cast<int>(field.size()));
}

INSTANTIATE_TEST_SUITE_P(Kinds, DecodeFieldTest, testing::ValuesIn(kDecodeRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FieldCodecTest, NegativeNumbersFollowTheSignSwitches) {
  const auto bytes = Bytes("FF FF FF 9C");
  int position = 0;
  TOrvanencode unsigned_codec('.', {.Unsigned = true});
  EXPECT_DOUBLE_EQ(
      std::get<double>(unsigned_codec.DecodeField(FieldKind::FixedPoint, bytes, position, 4, 2)),
      42949671.96);
  position = 0;
  TOrvanencode sign_magnitude('.', {.TwosComplement = false});
  EXPECT_DOUBLE_EQ(
      std::get<double>(sign_magnitude.DecodeField(FieldKind::FixedPoint, bytes, position, 4, 2)),
      -167771.16);
}

TEST(FieldCodecTest, NegativeNumbersOfEveryWidthReadBack) {
  TOrvanencode codec(',');
  for (int width = 2; width <= 8; ++width) {
    std::vector<std::uint8_t> field(width);
    int position = 0;
    ASSERT_TRUE(codec.EncodeField(FieldKind::FixedPoint, -1.25, field, position, width, 2));
    position = 0;
    EXPECT_DOUBLE_EQ(
        std::get<double>(codec.DecodeField(FieldKind::FixedPoint, field, position, width, 2)),
        -1.25)
        << "width " << width;
  }
  // The decoder takes the sign from the whole first byte, so numbers that need
  // part of it for their magnitude would read back wrong and are refused.
  std::array<std::uint8_t, 2> field{};
  int position = 0;
  EXPECT_TRUE(codec.EncodeField(FieldKind::FixedPoint, -256.0, field, position, 2));
  EXPECT_EQ(Hex(field), "FF 00");
  position = 0;
  EXPECT_FALSE(codec.EncodeField(FieldKind::FixedPoint, -257.0, field, position, 2));
  EXPECT_EQ(Hex(field), "00 00");
}

TEST(FieldCodecTest, NumbersAsFloatingValues) {
  TOrvanencode codec(',');
  std::array<std::uint8_t, 4> field{};
  int position = 0;
  EXPECT_TRUE(codec.EncodeField(FieldKind::FixedPoint, 12.34, field, position, 4, 2));
  EXPECT_EQ(Hex(field), "00 00 04 D2");
  position = 0;
  EXPECT_TRUE(codec.EncodeField(FieldKind::Text, 1.5, field, position, 4));
  EXPECT_EQ(Hex(field), "31 2C 35 00");
}

TEST(FieldCodecTest, DatesPackAsDigits) {
  TOrvanencode codec('.');
  std::array<std::uint8_t, 6> field{};
  int position = 0;
  EXPECT_TRUE(
      codec.EncodeField(FieldKind::DateTime, At(2024, 2, 29, 13, 45, 7), field, position, 6));
  EXPECT_EQ(Hex(field), "24 02 29 13 45 07");
  position = 0;
  // The leading year digit 0 turns into F by the packing rule; such a field no
  // longer reads back as a date.
  EXPECT_TRUE(codec.EncodeField(FieldKind::DateTime, At(2005, 3, 4), field, position, 6));
  EXPECT_EQ(Hex(field), "F5 03 04 00 00 00");
  position = 0;
  EXPECT_EQ(codec.DecodeField(FieldKind::DateTime, field, position, 6),
            FieldValue(DateTime::Zero()));
  position = 0;
  EXPECT_TRUE(codec.EncodeField(FieldKind::Date, At(2024, 2, 29), field, position, 4));
  EXPECT_EQ(Hex(std::span(field).first(4)), "20 24 02 29");
}

TEST(FieldCodecTest, DateKindsRefuseOtherValuesWithoutTouchingAnything) {
  TOrvanencode codec('.');
  std::array<std::uint8_t, 6> field{1, 2, 3, 4, 5, 6};
  int position = 0;
  EXPECT_FALSE(codec.EncodeField(FieldKind::DateTime, std::string("2024"), field, position, 6));
  EXPECT_FALSE(codec.EncodeField(FieldKind::Date, 3.0, field, position, 4));
  EXPECT_EQ(Hex(field), "01 02 03 04 05 06");
  EXPECT_EQ(position, 0);
}

TEST(FieldCodecTest, PositionSwitchAndBufferBounds) {
  std::array<std::uint8_t, 4> buffer{};
  TOrvanencode fixed('.', {.AdvancePosition = false});
  int position = 2;
  EXPECT_TRUE(fixed.EncodeField(FieldKind::Text, std::string("AB"), buffer, position, 2));
  EXPECT_EQ(position, 2);
  EXPECT_EQ(Hex(buffer), "00 00 41 42");

  TOrvanencode codec('.');
  position = 3;
  EXPECT_FALSE(codec.EncodeField(FieldKind::Text, std::string("XY"), buffer, position, 2));
  EXPECT_EQ(Hex(buffer), "00 00 41 42");
  position = 3;
  EXPECT_EQ(codec.DecodeField(FieldKind::PackedHex, buffer, position, 2),
            FieldValue(std::string("4200")));
  EXPECT_EQ(position, 5);
}

TEST(FieldCodecTest, PackedDigitsReadBackWithTheirLeadingZeros) {
  TOrvanencode codec('.');
  for (const char* digits : {"0012345", "1", "00000000000009", "12345678901234"}) {
    std::array<std::uint8_t, 7> field{};
    int position = 0;
    ASSERT_TRUE(codec.EncodeField(FieldKind::PackedHex, std::string(digits), field, position, 7));
    position = 0;
    EXPECT_EQ(codec.DecodeField(FieldKind::PackedDigits, field, position, 7),
              FieldValue(std::string(digits)));
  }
}

TEST(FieldCodecTest, TrimDigits) {
  EXPECT_EQ(TOrvanencode::TrimDigits("0000000FF12345"), "0012345");
  EXPECT_EQ(TOrvanencode::TrimDigits("0000"), "");
  EXPECT_EQ(TOrvanencode::TrimDigits("FFF0F1"), "0000F1");
  EXPECT_EQ(TOrvanencode::TrimDigits("120F"), "120F");
}

}  // namespace
}  // namespace plumgr
