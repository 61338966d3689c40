#include "transfer/sales_records.h"

#include <gtest/gtest.h>

#include <vector>

#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Bytes;
using test::Dec;

// A record as the register writes it: barcode, quantity x 1000, amount.
std::vector<std::uint8_t> SalesRecord(const char* barcode, const char* quantity,
                                      const char* amount) {
  std::vector<std::uint8_t> record = Bytes(barcode);
  for (const char* part : {quantity, amount}) {
    const auto bytes = Bytes(part);
    record.insert(record.end(), bytes.begin(), bytes.end());
  }
  return record;
}

TEST(SalesRecordsTest, PackageCountCoversEveryRecord) {
  EXPECT_EQ(SalesPackageCount(0), 0);
  EXPECT_EQ(SalesPackageCount(15), 1);  // 255 bytes
  EXPECT_EQ(SalesPackageCount(16), 2);  // 272 bytes
  EXPECT_EQ(SalesPackageCount(0xFFFFFFFFu), (0xFFFFFFFFll * 17 + 255) / 256);
}

TEST(SalesRecordsTest, RecordCrossingAPackageBoundary) {
  // Sixteen records: the last starts at byte 255 of the first package.
  std::vector<std::uint8_t> stream;
  for (int i = 0; i < 15; ++i) {
    const auto filler = SalesRecord("00 00 00 00 00 00 01", "00 00 00 01", "00 00 00 00 00 01");
    stream.insert(stream.end(), filler.begin(), filler.end());
  }
  const auto last = SalesRecord("01 23 45 67 80 00 01", "FF FF FF 9C", "01 00 00 00 00 2A");
  stream.insert(stream.end(), last.begin(), last.end());
  stream.resize(512, 0);  // the second package's unused tail

  const std::vector<PluSalesRecord> records = DecodeSalesRecords(stream, 16);
  ASSERT_EQ(records.size(), 16u);
  EXPECT_EQ(records[15].Barcode, 1234567800001);
  EXPECT_EQ(records[15].QuantityThousandths, -100);
  EXPECT_EQ(records[15].Amount, 0x01000000002Aull);
  EXPECT_EQ(records[14].Barcode, 1);
}

TEST(SalesRecordsTest, RecordsTheStreamDoesNotHoldAreLeftOut) {
  std::vector<std::uint8_t> stream(17 * 2 + 5, 0);
  EXPECT_EQ(DecodeSalesRecords(stream, 100).size(), 2u);
  EXPECT_EQ(DecodeSalesRecords(stream, 1).size(), 1u);
}

class StoreSalesTest : public testing::TestWithParam<char> {};

TEST_P(StoreSalesTest, FiguresGoToTheFirstMatchingRowOfTheRange) {
  const char sep = GetParam();
  StringGrid grid(PluCol::Count, 6);
  for (int row = 1; row <= 5; ++row) {
    grid.SetCell(PluCol::Quantity, row, "0");
    grid.SetCell(PluCol::Total, row, "0");
  }
  grid.SetCell(PluCol::Barcode, 1, "77");  // outside the range
  grid.SetCell(PluCol::Barcode, 2, "77");
  grid.SetCell(PluCol::Barcode, 3, "77");
  grid.SetCell(PluCol::Barcode, 4, "0");
  grid.SetCell(PluCol::Barcode, 5, " 88");  // matched byte for byte only

  const std::vector<PluSalesRecord> records = {
      {77, 1500, 1234}, {0, 9000, 9000}, {88, 1000, 100}, {99, 1000, 100}};
  StoreSalesRecords(records, {2, 5}, grid, {2, sep});
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 1), "0");
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 2), Dec("1.500", sep));
  EXPECT_EQ(grid.Cell(PluCol::Total, 2), Dec("12.34", sep));
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 3), "0");
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 4), "0");
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 5), "0");
}

TEST_P(StoreSalesTest, AmountsFollowThePriceDecimals) {
  const char sep = GetParam();
  StringGrid grid(PluCol::Count, 2);
  grid.SetCell(PluCol::Barcode, 1, "5");
  const std::vector<PluSalesRecord> records = {{5, -250, 12345}};
  StoreSalesRecords(records, {1, 1}, grid, {3, sep});
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 1), Dec("-0.250", sep));
  // 12.345 shown with two decimals: the tie goes to the even neighbour.
  EXPECT_EQ(grid.Cell(PluCol::Total, 1), Dec("12.34", sep));
}

INSTANTIATE_TEST_SUITE_P(Separators, StoreSalesTest, testing::ValuesIn(test::kSeparators));

}  // namespace
}  // namespace plumgr
