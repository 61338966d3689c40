// The PLU upload: the records of the range into their rows, then the sales
// stream across package boundaries into Quantity and Total.

#include "transfer/plu_upload.h"

#include <gtest/gtest.h>

#include "data/helpers.h"
#include "transfer/support/bytes.h"
#include "transfer/support/transfer_fixture.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

using test::Dec;

class PluUploadTest : public test::TransferFixture, public ::testing::WithParamInterface<char> {
 protected:
  PluUploadTest() { separator_ = GetParam(); }
  const std::string& Cell(int col, int row) { return tables_.PLUGrid.Cell(col, row); }
  // Package n with the records of PLU numbers 4n + 1 to 4n + 4 named after them.
  static PackageBytes Numbered(int n) {
    PackageBytes data{};
    for (int k = 0; k < 4; ++k)
      test::PutPluRecord(data, k, "N" + std::to_string(4 * n + k + 1), 4 * n + k + 1, 0, 0, 0);
    return data;
  }
};

TEST_P(PluUploadTest, ARangeRequestsOnlyThePackagesThatHoldIt) {
  Serve(kPluUploadType, {{0, Numbered(0)}, {1, Numbered(1)}});
  Start();
  ASSERT_TRUE(RunStep(UploadPlu, {5, 5}));
  EXPECT_EQ(Numbers(kPluUploadType), (std::vector<int>{1}));
  EXPECT_EQ(Cell(PluCol::Name, 5), "N5");
  EXPECT_EQ(Cell(PluCol::Name, 6), "") << "records outside the range are ignored";

  ASSERT_TRUE(RunStep(UploadPlu, {4, 5}));
  EXPECT_EQ(Numbers(kPluUploadType), (std::vector<int>{1, 0, 1}));
  EXPECT_EQ(Cell(PluCol::Name, 4), "N4");
  EXPECT_EQ(Cell(PluCol::Name, 3), "");
  EXPECT_EQ(test::ReadFile(DumpPath(kUploadPluDump)).size(), 512u);

  ASSERT_TRUE(RunStep(UploadPlu, {1, 4}));
  EXPECT_EQ(Numbers(kPluUploadType), (std::vector<int>{1, 0, 1, 0}));
}

TEST_P(PluUploadTest, RecordsBecomeCellTexts) {
  PackageBytes data{};
  test::PutPluRecord(data, 0, "TEA", 1234567800001, 12346, 0xFF, 0xFFFFFF9C);
  data[49] = 7;
  data[51] = 1;
  data[64] = 0xFF;  // record 1 is empty
  Serve(kPluUploadType, {{0, data}});
  Start();
  tables_.PLUGrid.SetCell(PluCol::Name, 2, "OLD");
  tables_.AlcoholFlags[1] = true;
  ASSERT_TRUE(RunStep(UploadPlu, {1, 2}, 3));
  EXPECT_EQ(Cell(PluCol::Barcode, 1), "1234567800001");
  EXPECT_EQ(Cell(PluCol::Name, 1), "TEA");
  EXPECT_EQ(Cell(PluCol::Price, 1), Dec("12.35", separator_)) << "two decimals whatever arrives";
  EXPECT_EQ(Cell(PluCol::Dept, 1), "256");
  EXPECT_EQ(Cell(PluCol::Stocks, 1), Dec("-0.100", separator_));
  EXPECT_EQ(Cell(PluCol::Flag, 1), "7");
  EXPECT_TRUE(tables_.AlcoholFlags[0]);
  EXPECT_EQ(Cell(PluCol::Name, 2), "");
  EXPECT_EQ(Cell(PluCol::Price, 2), Dec("0.00", separator_));
  EXPECT_EQ(Cell(PluCol::Dept, 2), "1");
  EXPECT_TRUE(tables_.AlcoholFlags[1]) << "an empty record keeps the mark";
}

// 16 records take 272 bytes: the sixteenth starts at byte 255 of package 0.
TEST_P(PluUploadTest, SalesRecordsCrossPackagesAndGoToTheFirstMatchingRow) {
  PackageBytes records{};
  test::PutPluRecord(records, 0, "A", 111, 0, 0, 0);
  test::PutPluRecord(records, 1, "B", 222, 0, 0, 0);
  test::PutPluRecord(records, 2, "C", 333, 0, 0, 0);
  test::PutPluRecord(records, 3, "D", 333, 0, 0, 0);
  std::vector<std::uint8_t> stream(512, 0);
  auto put = [&](int i, std::int64_t barcode, std::uint32_t quantity, std::uint64_t amount) {
    std::uint8_t* r = stream.data() + 17 * i;
    Int64ToBcd(13, r, barcode);
    PutBig32(stream, 17 * i + 7, quantity);
    for (int b = 0; b < 6; ++b)
      r[11 + b] = static_cast<std::uint8_t>(amount >> (8 * (5 - b)));
  };
  put(0, 0, 9000, 900);  // barcode 0: skipped
  put(1, 333, 2000, 500);
  put(15, 222, 1500, 12345);
  PackageBytes first{}, second{};
  std::copy(stream.begin(), stream.begin() + 256, first.begin());
  std::copy(stream.begin() + 256, stream.end(), second.begin());
  Serve(kPluUploadType, {{0, records}});
  Serve(kPluSalesType, {{0, first}, {1, second}});
  sim::RegisterStatus status;
  Start(status);
  status_.SalesRecordCount = 16;
  ASSERT_TRUE(RunStep(UploadPlu, {1, 4}));
  EXPECT_EQ(Numbers(kPluSalesType), (std::vector<int>{0, 1}));
  EXPECT_EQ(Cell(PluCol::Quantity, 2), Dec("1.500", separator_));
  EXPECT_EQ(Cell(PluCol::Total, 2), Dec("123.45", separator_));
  EXPECT_EQ(Cell(PluCol::Quantity, 3), Dec("2.000", separator_));
  EXPECT_EQ(Cell(PluCol::Quantity, 4), "0") << "only the first row with the barcode";
  EXPECT_EQ(Cell(PluCol::Quantity, 1), "0");
}

TEST_P(PluUploadTest, AFailedSalesRequestKeepsTheRecordsAndTheDump) {
  Serve(kPluUploadType, {{0, Numbered(0)}});
  Serve(kPluSalesType, {});
  Start();
  status_.SalesRecordCount = 1;
  EXPECT_FALSE(RunStep(UploadPlu, {1, 2}));
  EXPECT_EQ(Cell(PluCol::Name, 2), "N2");
  EXPECT_EQ(test::ReadFile(DumpPath(kUploadPluDump)).size(), 256u);
}

INSTANTIATE_TEST_SUITE_P(Separators, PluUploadTest, ::testing::ValuesIn(test::kSeparators));

}  // namespace
}  // namespace plumgr
