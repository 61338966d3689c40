#include "data/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/helpers.h"

namespace plumgr {
namespace {

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(0.5), 0);
  EXPECT_EQ(RoundHalfEven(1.5), 2);
  EXPECT_EQ(RoundHalfEven(2.5), 2);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(-3.5), -4);
  EXPECT_EQ(RoundHalfEven(2.5000001), 3);
  EXPECT_EQ(RoundHalfEven(0.125, 2), 12);
  EXPECT_EQ(RoundHalfEven(0.375, 2), 38);
  EXPECT_EQ(RoundHalfEven(12.34, 2), 1234);
  EXPECT_EQ(RoundHalfEven(1.5, 3), 1500);
  EXPECT_EQ(RoundHalfEven(12.346, 2), 1235);
}

// A naive value * 100 sees 101.49999... for the double nearest 1.015; the rule
// works on the decimal the operator typed.
TEST(RoundHalfEvenTest, RoundsTheDecimalAsTyped) {
  EXPECT_EQ(RoundHalfEven(1.015, 2), 102);
  EXPECT_EQ(RoundHalfEven(1.025, 2), 102);
  EXPECT_EQ(RoundHalfEven(1.005, 2), 100);
  EXPECT_EQ(RoundHalfEven(0.0005, 3), 0);
  EXPECT_EQ(RoundHalfEven(0.0015, 3), 2);
  EXPECT_EQ(RoundHalfEven(0.0004, 3), 0);
  EXPECT_EQ(RoundHalfEven(1e-30, 2), 0);
}

TEST(RoundHalfEvenTest, ExtremesSaturate) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  EXPECT_EQ(RoundHalfEven(1e30, 2), kMax);
  EXPECT_EQ(RoundHalfEven(-1e30, 2), -kMax - 1);
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(-0.0, 2), 0);
  EXPECT_EQ(RoundHalfEven(1234567800001.0), 1234567800001);
}

TEST(FormatFixedTest, TwoAndThreeDecimalsWithTheSeparator) {
  EXPECT_EQ(FormatFixed(-5, 2, '.'), "-5.00");
  EXPECT_EQ(FormatFixed(-5, 2, ','), "-5,00");
  EXPECT_EQ(FormatFixed(30000, 2, ','), "30000,00");
  EXPECT_EQ(FormatFixed(0.05, 2, '.'), "0.05");
  EXPECT_EQ(FormatFixed(-9999.999, 3, '.'), "-9999.999");
  EXPECT_EQ(FormatFixed(1.015, 2, '.'), "1.02");
  EXPECT_EQ(FormatFixed(-0.001, 2, '.'), "0.00");  // no negative zero
  EXPECT_EQ(FormatFixed(7, 0, '.'), "7");
  EXPECT_EQ(FormatScaled(std::numeric_limits<std::int64_t>::min(), 2, '.'),
            "-92233720368547758.08");
}

// What a cell shows is exactly what the transfers send.
TEST(FormatFixedTest, ReadingTheTextBackGivesTheSameScaledValue) {
  for (int i = -2000; i <= 2000; ++i) {
    double value = i * 0.0137 + 0.0005;
    for (char sep : {'.', ','}) {
      std::string text = FormatFixed(value, 2, sep);
      EXPECT_EQ(RoundHalfEven(TextToFloat(text, 0, sep), 2), RoundHalfEven(value, 2)) << text;
    }
  }
}

}  // namespace
}  // namespace plumgr
