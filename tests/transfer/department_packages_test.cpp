#include "transfer/department_packages.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/table_columns.h"
#include "transfer/support/bytes.h"

namespace plumgr {
namespace {

using test::Dec;
using test::Hex;

std::string Zeros(std::size_t n) {
  return Hex(std::vector<std::uint8_t>(n, 0));
}

StringGrid Departments(int count, char sep) {
  StringGrid grid(DeptCol::Count, count + 1);
  for (int row = 1; row <= count; ++row) {
    grid.SetCell(DeptCol::Name, row, "D" + std::to_string(row));
    grid.SetCell(DeptCol::Tax, row, "3");
    grid.SetCell(DeptCol::Price, row, Dec("1.25", sep));
  }
  return grid;
}

class DepartmentPackagesTest : public testing::TestWithParam<char> {
 protected:
  char sep() const { return GetParam(); }
};

TEST_P(DepartmentPackagesTest, RecordIsByteExact) {
  StringGrid grid = Departments(1, sep());
  grid.SetCell(DeptCol::Price, 1, Dec("-1", sep()));
  EXPECT_EQ(Hex(EncodeDepartmentRecord(grid, 1, {2, sep()})),
            "44 31 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "  // name
            "02 00 FF FF FF 9C "                                      // tax C, price
            "00 00 00 00 00 00 00 00");
}

TEST_P(DepartmentPackagesTest, BlankNameIsSentAsZerosAndReadBackEmpty) {
  StringGrid grid = Departments(8, sep());
  grid.SetCell(DeptCol::Name, 2, "   ");
  const PackageBytes data = EncodeDepartmentPackage(grid, 8, 0, {2, sep()});
  EXPECT_EQ(Hex(std::span(data).subspan(32, 32)), Zeros(32));

  StringGrid uploaded(DeptCol::Count, 9);
  StoreDepartmentPackage(data, 0, uploaded, {2, sep()});
  EXPECT_EQ(uploaded.Cell(DeptCol::Name, 2), "");
  EXPECT_EQ(uploaded.Cell(DeptCol::Tax, 2), "1");
  EXPECT_EQ(uploaded.Cell(DeptCol::Price, 2), Dec("0.00", sep()));
  EXPECT_EQ(uploaded.Cell(DeptCol::Name, 8), "D8");
  EXPECT_EQ(uploaded.Cell(DeptCol::Tax, 8), "3");
  EXPECT_EQ(uploaded.Cell(DeptCol::Price, 8), Dec("1.25", sep()));
}

TEST_P(DepartmentPackagesTest, NegativePricesAndLongNamesReadBack) {
  StringGrid grid = Departments(8, sep());
  grid.SetCell(DeptCol::Name, 1, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  grid.SetCell(DeptCol::Price, 1, Dec("-12.5", sep()));
  grid.SetCell(DeptCol::Tax, 1, "x");
  const PackageBytes data = EncodeDepartmentPackage(grid, 8, 0, {2, sep()});
  EXPECT_EQ(data[18], 0xFF);  // a tax that is no number
  StringGrid uploaded(DeptCol::Count, 9);
  StoreDepartmentPackage(data, 0, uploaded, {2, sep()});
  EXPECT_EQ(uploaded.Cell(DeptCol::Name, 1), "ABCDEFGHIJKLMNOPQR");
  EXPECT_EQ(uploaded.Cell(DeptCol::Tax, 1), "256");
  EXPECT_EQ(uploaded.Cell(DeptCol::Price, 1), Dec("-12.50", sep()));
}

INSTANTIATE_TEST_SUITE_P(Separators, DepartmentPackagesTest, testing::ValuesIn(test::kSeparators));

TEST(DepartmentPackageCountTest, SixteenTwelveAndSeven) {
  EXPECT_EQ(DepartmentDownloadPackageCount(16), 2);
  EXPECT_EQ(DepartmentUploadPackageCount(16), 2);
  EXPECT_EQ(DepartmentDownloadPackageCount(12), 2);
  EXPECT_EQ(DepartmentUploadPackageCount(12), 1);
  EXPECT_EQ(DepartmentDownloadPackageCount(7), 1);
  EXPECT_EQ(DepartmentUploadPackageCount(7), 0);
  EXPECT_EQ(DepartmentDownloadPackageCount(0), 0);
}

TEST(DepartmentPackageTest, LastPackageTailIsCleared) {
  const StringGrid grid = Departments(12, '.');
  const PackageBytes second = EncodeDepartmentPackage(grid, 12, 1, {});
  EXPECT_EQ(std::string(second.begin(), second.begin() + 2), "D9");
  EXPECT_EQ(std::string(second.begin() + 96, second.begin() + 99), "D12");
  EXPECT_EQ(Hex(std::span(second).subspan(128)), Zeros(128));
}

TEST(DepartmentPackageTest, UploadStoresOnlyRowsTheTableHas) {
  const StringGrid grid = Departments(8, '.');
  const PackageBytes data = EncodeDepartmentPackage(grid, 8, 0, {});
  StringGrid small(DeptCol::Count, 4);
  StoreDepartmentPackage(data, 0, small, {});
  EXPECT_EQ(small.Cell(DeptCol::Name, 3), "D3");
}

}  // namespace
}  // namespace plumgr
