#include "data/hex_digits.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace plumgr {
namespace {

using Record = std::array<std::uint8_t, 7>;

struct Packed {
  Record bytes{};
  bool ok = false;
};

Packed Pack(std::string_view text) {
  Packed packed;
  packed.bytes.fill(0xAA);  // every byte must be written
  packed.ok = PutDigits(text, packed.bytes.data(), 7);
  return packed;
}

TEST(PutDigitsTest, RightAlignsDigitPairs) {
  EXPECT_EQ(Pack("123").bytes, (Record{0, 0, 0, 0, 0, 0x01, 0x23}));
  EXPECT_EQ(Pack("12345").bytes, (Record{0, 0, 0, 0, 0x01, 0x23, 0x45}));
  EXPECT_TRUE(Pack("12345").ok);
  EXPECT_EQ(Pack("abCD").bytes, (Record{0, 0, 0, 0, 0, 0xAB, 0xCD}));
}

TEST(PutDigitsTest, LeadingZerosBecomeF) {
  EXPECT_EQ(Pack("0012").bytes, (Record{0, 0, 0, 0, 0, 0xFF, 0x12}));
  EXPECT_EQ(Pack("000").bytes, (Record{0, 0, 0, 0, 0, 0x0F, 0xFF}));
  EXPECT_EQ(Pack("0").bytes, (Record{0, 0, 0, 0, 0, 0, 0x0F}));
  // Only the leading run: the zero inside stays a zero.
  EXPECT_EQ(Pack(" 0012345 ").bytes, (Record{0, 0, 0, 0x0F, 0xF1, 0x23, 0x45}));
}

TEST(PutDigitsTest, EmptyOrBlankTextGivesZeros) {
  EXPECT_EQ(Pack("").bytes, Record{});
  EXPECT_EQ(Pack("   ").bytes, Record{});
  EXPECT_TRUE(Pack("").ok);
}

TEST(PutDigitsTest, InvalidPairStopsAndReportsFailure) {
  Packed packed = Pack("G123");
  EXPECT_EQ(packed.bytes, (Record{0, 0, 0, 0, 0, 0, 0x23}));
  EXPECT_FALSE(packed.ok);
  // A single invalid character at the front fails too, its byte stays 0.
  packed = Pack("X12");
  EXPECT_EQ(packed.bytes, (Record{0, 0, 0, 0, 0, 0, 0x12}));
  EXPECT_FALSE(packed.ok);
}

TEST(PutDigitsTest, LongCodesKeepTheirRightmostDigits) {
  EXPECT_EQ(Pack("12345678901234567").bytes, (Record{0x45, 0x67, 0x89, 0x01, 0x23, 0x45, 0x67}));
  EXPECT_EQ(Pack("5901234123457").bytes, (Record{0x05, 0x90, 0x12, 0x34, 0x12, 0x34, 0x57}));
  // Dropped characters are never looked at, even when they are not digits.
  EXPECT_TRUE(Pack("ZZ12345678901234").ok);
}

TEST(PutDigitsTest, UntrimmedTreatsBlanksAsInvalid) {
  Record bytes{};
  EXPECT_FALSE(PutDigitsUntrimmed("12 ", bytes.data(), 7));
  EXPECT_EQ(bytes, Record{});
  EXPECT_TRUE(PutDigitsUntrimmed("0012345", bytes.data(), 7));
  EXPECT_EQ(bytes, (Record{0, 0, 0, 0x0F, 0xF1, 0x23, 0x45}));
}

}  // namespace
}  // namespace plumgr
