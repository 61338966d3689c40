#include "transfer/recycling_packages.h"

#include <gtest/gtest.h>

#include <vector>

#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Dec;
using test::Hex;

std::vector<std::uint8_t> SevenPackages(const RecyclingBlock& block) {
  std::vector<std::uint8_t> received;
  for (int i = 0; i < kRecyclingPackages; ++i) {
    const PackageBytes data = RecyclingPackage(block, i);
    received.insert(received.end(), data.begin(), data.end());
  }
  return received;
}

class RecyclingPackagesTest : public testing::TestWithParam<char> {
 protected:
  char sep() const { return GetParam(); }
  WireUnits units() const { return {2, sep()}; }
};

TEST_P(RecyclingPackagesTest, EntryHundredTravelsInTheLastPackage) {
  RecyclingTable table = InitialRecyclingTable(sep());
  table[99].PackagePrice = Dec("1.25", sep());
  const RecyclingBlock block = EncodeRecyclingBlock(table, units());
  EXPECT_EQ(Hex(std::span(block).subspan(1584, 16)),
            "00 00 00 00 00 00 00 00 00 00 00 00 7D 00 00 00");
  const PackageBytes last = RecyclingPackage(block, 6);
  EXPECT_EQ(Hex(std::span(last).subspan(57, 4)), "00 00 00 7D");
  EXPECT_EQ(Hex(std::span(last).subspan(64)), Hex(std::vector<std::uint8_t>(192, 0)));
}

TEST_P(RecyclingPackagesTest, NegativePriceComesBackAsItself) {
  RecyclingTable table = InitialRecyclingTable(sep());
  table[0].PackagePrice = Dec("-1", sep());
  const RecyclingBlock block = EncodeRecyclingBlock(table, units());
  EXPECT_EQ(Hex(std::span(block).subspan(9, 4)), "FF FF FF 9C");

  RecyclingTable uploaded = InitialRecyclingTable(sep());
  ASSERT_TRUE(StoreRecyclingBlock(SevenPackages(block), uploaded, units()));
  EXPECT_EQ(uploaded[0].PackagePrice, Dec("-1.00", sep()));
  EXPECT_EQ(uploaded[1].PackagePrice, Dec("0.00", sep()));
}

TEST_P(RecyclingPackagesTest, NumbersChooseTheRecordAndUploadRenumbers) {
  RecyclingTable table;
  for (auto& entry : table)
    entry = {"0", Dec("8", sep())};
  table[0] = {"5", Dec("1", sep())};
  table[1] = {"5", Dec("2", sep())};  // the later entry wins
  table[2] = {"101", Dec("3", sep())};
  table[3] = {"x", Dec("4", sep())};
  table[100] = {"7", Dec("9", sep())};  // the 101st entry never travels
  const RecyclingBlock block = EncodeRecyclingBlock(table, units());
  EXPECT_EQ(Hex(std::span(block).subspan(16 * 4 + 9, 4)), "00 00 00 C8");
  EXPECT_EQ(Hex(std::span(block).subspan(16 * 6 + 9, 4)), "00 00 00 00");

  RecyclingTable uploaded;
  for (auto& entry : uploaded)
    entry = {"42", "?"};
  ASSERT_TRUE(StoreRecyclingBlock(SevenPackages(block), uploaded, units()));
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(uploaded[i].Number, std::to_string(i + 1));
  EXPECT_EQ(uploaded[4].PackagePrice, Dec("2.00", sep()));
  EXPECT_EQ(uploaded[100].Number, "42");
}

INSTANTIATE_TEST_SUITE_P(Separators, RecyclingPackagesTest, testing::ValuesIn(test::kSeparators));

TEST(RecyclingUploadTest, TooFewBytesLeaveTheTableAlone) {
  RecyclingTable table = InitialRecyclingTable('.');
  table[0].Number = "9";
  std::vector<std::uint8_t> received(1599, 0);
  EXPECT_FALSE(StoreRecyclingBlock(received, table, {}));
  EXPECT_EQ(table[0].Number, "9");
}

}  // namespace
}  // namespace plumgr
