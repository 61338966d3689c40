#include "transfer/plu_packages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Bytes;
using test::Dec;
using test::Hex;

StringGrid PluGrid(int rows) {
  return StringGrid(PluCol::Count, rows + 1);
}

void SetRow(StringGrid& grid, int row, std::string barcode, std::string name, std::string price,
            std::string dept, std::string stock, std::string flag) {
  grid.SetCell(PluCol::Barcode, row, std::move(barcode));
  grid.SetCell(PluCol::Name, row, std::move(name));
  grid.SetCell(PluCol::Price, row, std::move(price));
  grid.SetCell(PluCol::Dept, row, std::move(dept));
  grid.SetCell(PluCol::Stocks, row, std::move(stock));
  grid.SetCell(PluCol::Flag, row, std::move(flag));
}

std::string Slice(std::span<const std::uint8_t> bytes, std::size_t offset, std::size_t n) {
  return Hex(bytes.subspan(offset, n));
}

class PluRecordTest : public testing::TestWithParam<char> {
 protected:
  char sep() const { return GetParam(); }
  WireUnits units() const { return {2, sep()}; }
};

TEST_P(PluRecordTest, PlainRecordIsByteExact) {
  StringGrid grid = PluGrid(1);
  SetRow(grid, 1, "1234567800001", "Milk", Dec("12.34", sep()), "1", Dec("1.5", sep()), "7");
  const PluRecordBytes record = EncodePluRecord(grid, 1, PluDownloadLayout::Plain, true, units());
  EXPECT_EQ(Hex(record),
            "01 23 45 67 80 00 01 "                                   // barcode
            "4D 69 6C 6B 00 FF FF FF FF FF FF FF FF FF FF FF FF FF "  // name
            "00 00 04 D2 "                                            // price
            "FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "           // unused
            "00 00 00 05 DC 07 FF FF "                                // dept, stock, flag, alcohol
            "FF FF FF FF FF FF FF FF FF FF FF FF");
}

TEST_P(PluRecordTest, ComparedRecordUsesZeroFillerAndSendsTheAlcoholMark) {
  StringGrid grid = PluGrid(1);
  SetRow(grid, 1, "", "Beer", Dec("0.125", sep()), "", Dec("-0.1", sep()), "");
  PluRecordBytes record = EncodePluRecord(grid, 1, PluDownloadLayout::Compared, true, units());
  EXPECT_EQ(Slice(record, 0, 7), "00 00 00 00 00 00 00");
  EXPECT_EQ(Slice(record, 25, 4), "00 00 00 0C");  // halves go to the even neighbour
  EXPECT_EQ(Slice(record, 29, 15), Hex(std::vector<std::uint8_t>(15, 0)));
  EXPECT_EQ(Slice(record, 44, 8), "FF FF FF FF 9C 00 00 01");  // empty department is FF
  record = EncodePluRecord(grid, 1, PluDownloadLayout::Compared, false, units());
  EXPECT_EQ(record[51], 0);
}

TEST_P(PluRecordTest, PriceRoundingAndTextThatIsNoNumber) {
  StringGrid grid = PluGrid(2);
  SetRow(grid, 1, "12a", "X", Dec("0.375", sep()), "x", "abc", "300");
  const PluRecordBytes record = EncodePluRecord(grid, 1, PluDownloadLayout::Plain, false, units());
  EXPECT_EQ(Slice(record, 0, 7), "00 00 00 00 00 00 00");
  EXPECT_EQ(Slice(record, 25, 4), "00 00 00 26");
  EXPECT_EQ(record[44], 0xFF);
  EXPECT_EQ(Slice(record, 45, 4), "00 00 00 00");
  EXPECT_EQ(record[49], 300 & 0xFF);
}

TEST_P(PluRecordTest, LongNamesFillTheFieldWithoutNul) {
  StringGrid grid = PluGrid(1);
  grid.SetCell(PluCol::Name, 1, "ABCDEFGHIJKLMNOPQRSTU");
  const PluRecordBytes record =
      EncodePluRecord(grid, 1, PluDownloadLayout::Compared, false, units());
  EXPECT_EQ(std::string(record.begin() + 7, record.begin() + 25), "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(record[25], 0x00);  // the price of an empty cell
}

TEST_P(PluRecordTest, UploadedRecordBecomesTableCells) {
  PluRecordBytes record;
  record.fill(0);
  const auto barcode = Bytes("01 23 45 67 80 00 01");
  std::copy(barcode.begin(), barcode.end(), record.begin());
  const std::string name = "Bread";
  std::copy(name.begin(), name.end(), record.begin() + 7);
  const auto price = Bytes("00 00 30 3A");  // 12346
  std::copy(price.begin(), price.end(), record.begin() + 25);
  record[44] = 0xFF;
  const auto stock = Bytes("FF FF FF 9C");
  std::copy(stock.begin(), stock.end(), record.begin() + 45);
  record[49] = 200;
  record[51] = 1;

  const UploadedPluRow row = DecodeUploadedPluRecord(record, {3, sep()});
  EXPECT_EQ(row.Cells[PluCol::Barcode], "1234567800001");
  EXPECT_EQ(row.Cells[PluCol::Name], "Bread");
  EXPECT_EQ(row.Cells[PluCol::Price], Dec("12.35", sep()));  // two decimals at three on the wire
  EXPECT_EQ(row.Cells[PluCol::Dept], "256");
  EXPECT_EQ(row.Cells[PluCol::Stocks], Dec("-0.100", sep()));
  EXPECT_EQ(row.Cells[PluCol::Flag], "200");
  EXPECT_FALSE(row.Cells[PluCol::Quantity]);
  EXPECT_EQ(row.Alcohol, true);

  record[51] = 2;  // only 1 marks an alcohol item
  EXPECT_EQ(DecodeUploadedPluRecord(record, {3, sep()}).Alcohol, false);
}

TEST_P(PluRecordTest, EmptyUploadedRecordResetsTheRowButKeepsItsAlcoholMark) {
  PluRecordBytes record;
  record.fill(0xFF);
  StringGrid grid = PluGrid(2);
  SetRow(grid, 2, "5", "Old", "1", "3", "2", "4");
  grid.SetCell(PluCol::Quantity, 2, "9");
  std::vector<bool> alcohol{false, true};
  StoreUploadedPluRow(DecodeUploadedPluRecord(record, units()), 2, grid, alcohol);
  const std::vector<std::string> expected = {
      "", "", Dec("0.00", sep()), "1", Dec("0.000", sep()), "0", "0", "0", "0"};
  for (int col = 1; col < PluCol::Count; ++col)
    EXPECT_EQ(grid.Cell(col, 2), expected[col - 1]) << "column " << col;
  EXPECT_TRUE(alcohol[1]);
}

TEST_P(PluRecordTest, ComparisonRecordBecomesAnEntry) {
  StringGrid grid = PluGrid(1);
  SetRow(grid, 1, "42", "Tea", Dec("-1.5", sep()), "16", Dec("2.25", sep()), "100");
  const PluRecordBytes record =
      EncodePluRecord(grid, 1, PluDownloadLayout::Compared, true, units());
  const TPLUStruct plu = DecodeComparisonRecord(record, 7, 2);
  EXPECT_EQ(plu.No, 7);
  EXPECT_EQ(plu.Barcode, "42");
  EXPECT_EQ(plu.Name, "Tea");
  EXPECT_DOUBLE_EQ(plu.Price, -1.5);
  EXPECT_EQ(plu.Dept, 16);
  EXPECT_DOUBLE_EQ(plu.Stocks, 2.25);
  EXPECT_EQ(plu.Flag, 100);
  EXPECT_EQ(plu.Alcohol, 1);
}

INSTANTIATE_TEST_SUITE_P(Separators, PluRecordTest, testing::ValuesIn(test::kSeparators));

TEST(PluSlotTest, IndexIsLittleEndianAndBlankNamesAreEmptySlots) {
  PluRecordBytes record{};
  EXPECT_EQ(Slice(EncodePluSlot(0x010206, record), 0, 5), "06 02 01 00 00");
  const PluSlotBytes empty = EmptyPluSlot(6);
  EXPECT_EQ(Slice(empty, 0, 4), "06 00 00 00");
  EXPECT_EQ(Slice(empty, 4, 64), Hex(std::vector<std::uint8_t>(64, 0xFF)));

  StringGrid grid = PluGrid(1);
  grid.SetCell(PluCol::Name, 1, " \t ");
  EXPECT_TRUE(HasBlankPluName(grid, 1));
}

TEST(PluDownloadPackageTest, RangeOfFourRowsMakesTwoPackages) {
  StringGrid grid = PluGrid(4);
  for (int row = 1; row <= 4; ++row)
    grid.SetCell(PluCol::Name, row, "N" + std::to_string(row));
  const PluRange range{1, 4};
  ASSERT_EQ(PluDownloadPackageCount(range), 2);
  const PackageBytes first = EncodePlainPluPackage(grid, range, 0, {});
  EXPECT_EQ(first[0], 3);
  EXPECT_EQ(Slice(first, 1, 4), "00 00 00 00");
  EXPECT_EQ(Slice(first, 69, 4), "01 00 00 00");
  EXPECT_EQ(Slice(first, 137, 4), "02 00 00 00");
  EXPECT_EQ(Slice(first, 205, 51), Hex(std::vector<std::uint8_t>(51, 0)));

  const PackageBytes second = EncodePlainPluPackage(grid, range, 1, {});
  EXPECT_EQ(second[0], 1);
  EXPECT_EQ(Slice(second, 1, 4), "03 00 00 00");
  EXPECT_EQ(std::string(second.begin() + 12, second.begin() + 14), "N4");
  // Unused slots are cleared, not left from the package before.
  EXPECT_EQ(Slice(second, 69, 187), Hex(std::vector<std::uint8_t>(187, 0)));
}

TEST(PluDownloadPackageTest, PackagesCountFromZeroWhateverTheFirstRow) {
  StringGrid grid = PluGrid(9);
  const PluRange range{7, 9};
  ASSERT_EQ(PluDownloadPackageCount(range), 1);
  const PackageBytes data = EncodePlainPluPackage(grid, range, 0, {});
  EXPECT_EQ(Slice(data, 1, 4), "06 00 00 00");
  EXPECT_EQ(Slice(data, 69, 4), "07 00 00 00");
  EXPECT_EQ(Slice(data, 137, 4), "08 00 00 00");
  EXPECT_EQ(PluDownloadPackageCount({5, 4}), 0);
}

TEST(PluDownloadPackageTest, ComparedPackageLooksUpNamedRowsOnly) {
  StringGrid grid = PluGrid(3);
  grid.SetCell(PluCol::Name, 1, "A");
  grid.SetCell(PluCol::Name, 2, "  ");
  grid.SetCell(PluCol::Name, 3, "Held");
  std::vector<bool> alcohol{false, false, true};
  std::vector<int> looked_up;
  auto lookup = [&](int row, const std::string& name) {
    looked_up.push_back(row);
    return name == "Held" ? 41 : row - 1;
  };
  const PackageBytes data = EncodeComparedPluPackage(grid, alcohol, {1, 3}, 0, lookup, {});
  EXPECT_EQ(looked_up, (std::vector<int>{1, 3}));
  EXPECT_EQ(data[0], 3);
  EXPECT_EQ(Slice(data, 1, 4), "00 00 00 00");
  EXPECT_EQ(Slice(data, 69, 68), Hex(EmptyPluSlot(1)));
  EXPECT_EQ(Slice(data, 137, 4), "29 00 00 00");
  EXPECT_EQ(data[137 + 4 + 51], 1);
}

TEST(ComparisonPackageTest, MarkersAndRecords) {
  PackageBytes data;
  data.fill(0xFF);
  EXPECT_EQ(ClassifyComparisonPackage(data).Kind, ComparisonPackageKind::End);
  data[7] = 0x00;
  data[8] = 0x05;
  ComparisonPackage jump = ClassifyComparisonPackage(data);
  EXPECT_EQ(jump.Kind, ComparisonPackageKind::Jump);
  EXPECT_EQ(jump.JumpTarget, 5);
  data[7] = 0x01;
  EXPECT_EQ(ClassifyComparisonPackage(data).JumpTarget, 0x0105);
  data[8] = 0xFF;
  EXPECT_EQ(ClassifyComparisonPackage(data).Kind, ComparisonPackageKind::Skip);
  data[6] = 0x00;
  EXPECT_EQ(ClassifyComparisonPackage(data).Kind, ComparisonPackageKind::Records);
}

TEST(ComparisonPackageTest, RecordsFillEntriesAsFarAsTheTableReaches) {
  StringGrid grid = PluGrid(4);
  for (int row = 1; row <= 4; ++row)
    grid.SetCell(PluCol::Name, row, "P" + std::to_string(row));
  PackageBytes data{};
  for (int k = 0; k < 4; ++k) {
    const PluRecordBytes record =
        EncodePluRecord(grid, k + 1, PluDownloadLayout::Compared, false, {});
    std::copy(record.begin(), record.end(), data.begin() + 64 * k);
  }
  std::vector<TPLUStruct> table(6);
  EXPECT_EQ(StoreComparisonRecords(data, 0, 2, table), 4);
  EXPECT_EQ(StoreComparisonRecords(data, 4, 2, table), 8);
  EXPECT_EQ(table[3].Name, "P4");
  EXPECT_EQ(table[4].Name, "P1");
  EXPECT_EQ(table[5].No, 5);
  EXPECT_EQ(table[5].Name, "P2");
}

TEST(PluUploadPackageTest, PackagesAndRecordsOfARange) {
  EXPECT_EQ(PluUploadPackages({1, 4}).First, 0);
  EXPECT_EQ(PluUploadPackages({1, 4}).Last, 0);
  EXPECT_EQ(PluUploadPackages({5, 5}).First, 1);
  EXPECT_EQ(PluUploadPackages({5, 5}).Last, 1);
  EXPECT_EQ(PluUploadPackages({4, 5}).First, 0);
  EXPECT_EQ(PluUploadPackages({4, 5}).Last, 1);

  StringGrid source = PluGrid(8);
  for (int row = 1; row <= 8; ++row)
    source.SetCell(PluCol::Name, row, "R" + std::to_string(row));
  auto package_of = [&](int n) {
    PackageBytes data{};
    for (int k = 0; k < 4; ++k) {
      const PluRecordBytes record =
          EncodePluRecord(source, 4 * n + k + 1, PluDownloadLayout::Compared, false, {});
      std::copy(record.begin(), record.end(), data.begin() + 64 * k);
    }
    return data;
  };
  StringGrid grid = PluGrid(8);
  std::vector<bool> alcohol(8);
  StorePluUploadPackage(package_of(0), 0, {4, 5}, grid, alcohol, {});
  StorePluUploadPackage(package_of(1), 1, {4, 5}, grid, alcohol, {});
  for (int row = 1; row <= 8; ++row)
    EXPECT_EQ(grid.Cell(PluCol::Name, row), row == 4 || row == 5 ? "R" + std::to_string(row) : "")
        << "row " << row;
}

}  // namespace
}  // namespace plumgr
