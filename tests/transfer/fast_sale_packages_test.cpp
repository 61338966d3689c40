#include "transfer/fast_sale_packages.h"

#include <gtest/gtest.h>

#include <vector>

#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Hex;

std::string Entry(const PackageBytes& data, int e) {
  return Hex(std::span(data).subspan(9 * e, 9));
}

TEST(FastSalePackageTest, EntriesAreByteExact) {
  FastSaleTable table = InitialFastSaleTable();
  table[0] = {3, "12345", 1};
  table[1] = {4, "", 0};
  table[2] = {5, "0012345", 1};
  table[3] = {256, "1234567890123456", 0};
  table[4] = {6, "1234Z678", 1};
  const TOrvanencode codec(',');
  const PackageBytes data = EncodeFastSalePackage(table, codec);
  EXPECT_EQ(Entry(data, 0), "03 01 00 00 00 00 01 23 45");
  EXPECT_EQ(Entry(data, 1), "04 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Entry(data, 2), "05 01 00 00 00 0F F1 23 45");
  EXPECT_EQ(Entry(data, 3), "00 00 34 56 78 90 12 34 56");
  EXPECT_EQ(Entry(data, 4), "06 01 00 00 00 00 00 00 78");
  EXPECT_EQ(Hex(std::span(data).subspan(144)), Hex(std::vector<std::uint8_t>(112, 0)));
}

TEST(FastSalePackageTest, UploadGivesTheRawDigits) {
  FastSaleTable table = InitialFastSaleTable();
  table[0] = {3, "12345", 1};
  table[1] = {4, "", 0};
  table[15] = {200, "0012345", 1};
  const TOrvanencode codec('.');
  const FastSaleTable back = DecodeFastSalePackage(EncodeFastSalePackage(table, codec), codec);
  EXPECT_EQ(back[0].ButtonNumber, 3);
  EXPECT_EQ(back[0].SignFlag, 1);
  // Each barcode comes back as the text that is sent as the same bytes again,
  // so a set read from the register and sent back changes nothing.
  EXPECT_EQ(back[0].Barcode, "12345");
  EXPECT_EQ(back[1].Barcode, "");
  EXPECT_EQ(back[15].ButtonNumber, 200);
  EXPECT_EQ(back[15].Barcode, "0012345");
  EXPECT_EQ(EncodeFastSalePackage(back, codec), EncodeFastSalePackage(table, codec));

  // Bytes no barcode packs into (a 0 after an F) keep their raw digits.
  PackageBytes odd{};
  odd[2 + 5] = 0x0F;
  odd[2 + 6] = 0x0F;
  EXPECT_EQ(DecodeFastSalePackage(odd, codec)[0].Barcode, "00000000000F0F");
}

TEST(FastSalePackageTest, PositionSwitchDoesNotMoveTheEntries) {
  FastSaleTable table = InitialFastSaleTable();
  table[1] = {2, "99", 1};
  const PackageBytes moving = EncodeFastSalePackage(table, TOrvanencode('.'));
  const PackageBytes fixed =
      EncodeFastSalePackage(table, TOrvanencode('.', {.AdvancePosition = false}));
  EXPECT_EQ(Hex(moving), Hex(fixed));
  EXPECT_EQ(Entry(fixed, 1), "02 01 00 00 00 00 00 00 99");
}

}  // namespace
}  // namespace plumgr
