#include "data/cell_validation.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_ui_port.h"
#include "support/table_fixture.h"

namespace plumgr {
namespace {

// Every case runs under both decimal separators; a '.' in a case's texts stands
// for the separator in force.
class CellValidationTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override { test::PrepareTables(tables_, GetParam()); }

  std::string Local(std::string text) const {
    for (char& c : text)
      if (c == '.') c = GetParam();
    return text;
  }

  // Types `typed` into the cell and validates it; returns the cell text when
  // accepted, or nothing.
  std::optional<std::string> Validate(GridId grid, int col, const std::string& typed, int row = 5) {
    tables_.Grid(grid).SetCell(col, row, Local(typed));
    if (!ValidateCell(tables_, grid, col, row, GetParam(), ui_)) return std::nullopt;
    return tables_.Grid(grid).Cell(col, row);
  }

  Tables tables_;
  test::RecordingUiPort ui_;
};

TEST_P(CellValidationTest, EmptyCellsTakeTheirColumnDefault) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, ""), Local("0.00"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, ""), Local("0.000"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, ""), "1");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, ""), "");
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Tax, ""), "1");
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Price, ""), Local("0.00"));
}

TEST_P(CellValidationTest, BarcodeIsANonNegativeWholeNumberWithoutLeadingZeros) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "0012"), "12");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "0000"), "0");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "1234567803000"), "1234567803000");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "12345678030001"), std::nullopt);  // 14 > 13
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "12a"), std::nullopt);
  // The register holds barcodes as unsigned packed digits.
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Barcode, "-5"), std::nullopt);
}

TEST_P(CellValidationTest, UnitPriceHasAnUpperBoundOnly) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "-5"), Local("-5.00"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "1000000"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "999999.99"), Local("999999.99"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "12.345"), Local("12.34"));  // half to even
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, ".5"), Local("0.50"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "1.2.3"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "5-"), std::nullopt);
}

// "-1000000" fits the 9-character limit but "-1000000.00" does not, so the cell
// would be refused the next time it was left; it is refused at once instead.
TEST_P(CellValidationTest, ValuesWhoseNormalFormOverflowsTheColumnAreRefused) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "-1000000"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Price, "-99999.99"), Local("-99999.99"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "-10000"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Price, "123456789"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Price, "123456"), Local("123456.00"));
}

TEST_P(CellValidationTest, StocksWithinTheirMagnitude) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "-9999.999"), Local("-9999.999"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "-79999.999"), std::nullopt);  // 10 characters
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "79999.999"), Local("79999.999"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "80000"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Stocks, "1.5"), Local("1.500"));
}

TEST_P(CellValidationTest, WholeNumberRanges) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, "0"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, "17"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, "16"), "16");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, "08"), "8");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Flag, "100"), "100");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Flag, "101"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Flag, "007"), "7");
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Tax, "0"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Tax, "10"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Tax, "9"), "9");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Dept, "1.0"), std::nullopt);
}

TEST_P(CellValidationTest, LengthOnlyColumnsKeepTheTextAsTyped) {
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Quantity, "-1.5x"), Local("-1.5x"));
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Total, "12345678901"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Name, "exactly 18 chars!!"), "exactly 18 chars!!");
  EXPECT_EQ(Validate(GridId::Plu, PluCol::Name, "nineteen characters"), std::nullopt);
  EXPECT_EQ(Validate(GridId::Dept, DeptCol::Name, " Bread "), " Bread ");
  EXPECT_TRUE(ui_.Messages.empty());
}

TEST_P(CellValidationTest, TheOtherNotationIsRefused) {
  std::string foreign = GetParam() == '.' ? "1,5" : "1.5";
  tables_.PLUGrid.SetCell(PluCol::Price, 3, foreign);
  EXPECT_FALSE(ValidateCell(tables_, GridId::Plu, PluCol::Price, 3, GetParam(), ui_));
  EXPECT_EQ(tables_.PLUGrid.Cell(PluCol::Price, 3), foreign);  // left for correction
}

TEST_P(CellValidationTest, NumberColumnAndCellsOutsideAreLeftAlone) {
  EXPECT_TRUE(ValidateCell(tables_, GridId::Plu, PluCol::No, 1, GetParam(), ui_));
  EXPECT_TRUE(ValidateCell(tables_, GridId::Plu, PluCol::Price, 3001, GetParam(), ui_));
  EXPECT_TRUE(ValidateCell(tables_, GridId::Dept, DeptCol::Count, 1, GetParam(), ui_));
}

INSTANTIATE_TEST_SUITE_P(Separators, CellValidationTest, ::testing::Values('.', ','),
                         [](const auto& info) {
                           return std::string(info.param == '.' ? "Point" : "Comma");
                         });

TEST(TablesTest, SizingFollowsTheProfileAndResetGivesDefaults) {
  Tables tables;
  test::PrepareTables(tables, ',');
  EXPECT_EQ(tables.PLUGrid.RowCount(), 3001);
  EXPECT_EQ(tables.DeptmentGrid.RowCount(), 17);
  EXPECT_EQ(tables.AlcoholFlags.size(), 3000u);
  EXPECT_EQ(tables.EcrPluTable.size(), 10000u);
  const char* plu_defaults[] = {"", "", "", "0,00", "1", "0,000", "0", "0", "0", "0"};
  for (int col = 0; col < PluCol::Count; ++col)
    EXPECT_EQ(tables.PLUGrid.Cell(col, 3000), plu_defaults[col]) << col;
  EXPECT_EQ(tables.DeptmentGrid.Cell(DeptCol::Price, 16), "0,00");

  tables.PLUGrid.SetCell(PluCol::Name, 2, "Milk");
  tables.AlcoholFlags[1] = true;
  EcrProfile smaller = test::DefaultProfile();
  smaller.PluCount = 2;
  SizeTables(tables, smaller);
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Name, 2), "Milk");
  EXPECT_EQ(tables.AlcoholFlags, (std::vector<bool>{false, true}));
  ResetRows(tables, GridId::Plu, 0, 99, ',');  // clamped to the data rows
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Name, 2), "");
  EXPECT_EQ(tables.PLUGrid.Cell(PluCol::Name, 0), "");
}

}  // namespace
}  // namespace plumgr
