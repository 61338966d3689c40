#include "data/repeat_checks.h"

#include <gtest/gtest.h>

#include "data/cell_validation.h"
#include "support/recording_ui_port.h"
#include "support/table_fixture.h"

namespace plumgr {
namespace {

class RepeatChecksTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PrepareTables(tables_, '.'); }

  bool Type(GridId grid, int col, int row, const std::string& text) {
    tables_.Grid(grid).SetCell(col, row, text);
    return ValidateCell(tables_, grid, col, row, '.', ui_);
  }

  Tables tables_;
  test::RecordingUiPort ui_;
};

TEST_F(RepeatChecksTest, BeforeAnyTransferOnlyDepartmentNamesCount) {
  tables_.PLUGrid.SetCell(PluCol::Name, 2, "Milk");
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 3, "Dairy");
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 4, "Milk"));
  EXPECT_TRUE(ui_.Messages.empty());

  EXPECT_FALSE(Type(GridId::Plu, PluCol::Name, 7, "Dairy"));
  EXPECT_EQ(ui_.Messages,
            (std::vector<std::string>{"PLU name and Dept name repeat: No. 7 and No. 3"}));
  EXPECT_EQ(tables_.PLUGrid.Cell(PluCol::Name, 7), "Dairy");  // kept for correction

  ui_.Clear();
  EXPECT_TRUE(Type(GridId::Dept, DeptCol::Name, 5, "Milk"));  // PLU rows not looked at
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Barcode, 9, "12"));
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Barcode, 10, "12"));
  EXPECT_TRUE(ui_.Messages.empty());
}

// The register reported 100 PLUs: row 50 lies in 1..100, row 120 does not.
TEST_F(RepeatChecksTest, OnlyRowsTheRegisterHoldsAreSearched) {
  tables_.EcrPluCount = 100;
  tables_.PLUGrid.SetCell(PluCol::Name, 50, "Bread");
  EXPECT_FALSE(Type(GridId::Plu, PluCol::Name, 120, "Bread"));
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"PLU name repeat: No. 120 and No. 50"}));

  ui_.Clear();
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 50, "Bread"));  // row 120 is not searched
  EXPECT_TRUE(ui_.Messages.empty());

  tables_.PLUGrid.SetCell(PluCol::Barcode, 50, "590");
  EXPECT_FALSE(Type(GridId::Plu, PluCol::Barcode, 120, "590"));
  EXPECT_EQ(ui_.Messages.back(), "PLU BCode repeat: No. 120 and No. 50");
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Barcode, 50, "590"));  // not against itself
}

TEST_F(RepeatChecksTest, DepartmentNamesAgainstDepartmentsThenPlus) {
  tables_.EcrPluCount = 100;
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 2, "Fruit");
  tables_.PLUGrid.SetCell(PluCol::Name, 60, "Fruit");
  tables_.PLUGrid.SetCell(PluCol::Name, 80, "Veg");
  EXPECT_FALSE(Type(GridId::Dept, DeptCol::Name, 4, "Fruit"));
  EXPECT_FALSE(Type(GridId::Dept, DeptCol::Name, 5, "Veg"));
  EXPECT_EQ(ui_.Messages,
            (std::vector<std::string>{"Dept name repeat: No. 4 and No. 2",
                                      "Dept name and PLU name repeat: No. 5 and No. 80"}));
  EXPECT_TRUE(Type(GridId::Dept, DeptCol::Name, 2, "Fruit2"));
}

TEST_F(RepeatChecksTest, OnlyTheFirstRepeatInAscendingOrderIsReported) {
  tables_.EcrPluCount = 3000;
  for (int row : {30, 10, 20})
    tables_.PLUGrid.SetCell(PluCol::Name, row, "Tea");
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 1, "Tea");
  EXPECT_FALSE(Type(GridId::Plu, PluCol::Name, 3000, "Tea"));
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"PLU name repeat: No. 3000 and No. 10"}));
}

TEST_F(RepeatChecksTest, TextsCompareExactly) {
  tables_.EcrPluCount = 100;
  tables_.PLUGrid.SetCell(PluCol::Name, 1, "Cola");
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 1, "Cola ");
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 2, "cola"));
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 3, "Cola  "));
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 4, ""));  // empty cells never take part
  EXPECT_TRUE(Type(GridId::Plu, PluCol::Name, 5, ""));
  EXPECT_TRUE(ui_.Messages.empty());
}

// "0012" is stored as "12", so checking only the typed text would let a second
// 12 into the table.
TEST_F(RepeatChecksTest, BarcodeIsCheckedAsTypedAndInNormalForm) {
  tables_.EcrPluCount = 100;
  tables_.PLUGrid.SetCell(PluCol::Barcode, 3, "12");
  tables_.PLUGrid.SetCell(PluCol::Barcode, 4, "0077");
  EXPECT_FALSE(CheckPluBarcodeRepeat(tables_, 5, "0077", ui_));
  EXPECT_TRUE(CheckPluBarcodeRepeat(tables_, 5, "0012", ui_));
  EXPECT_FALSE(Type(GridId::Plu, PluCol::Barcode, 5, "0012"));
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"PLU BCode repeat: No. 5 and No. 4",
                                                    "PLU BCode repeat: No. 5 and No. 3"}));
  EXPECT_EQ(tables_.PLUGrid.Cell(PluCol::Barcode, 5), "0012");
}

// A count above the table's rows (another register model) must not read past it.
TEST_F(RepeatChecksTest, CountsBeyondTheTableAreClamped) {
  tables_.EcrPluCount = 9999;
  tables_.PLUGrid.SetCell(PluCol::Name, 3000, "Last");
  EXPECT_FALSE(CheckDeptNameRepeat(tables_, 1, "Last", ui_));
  EcrProfile small = test::DefaultProfile();
  small.DeptCount = 4;
  SizeTables(tables_, small);
  EXPECT_TRUE(CheckPluNameRepeat(tables_, 1, "none", ui_));
}

}  // namespace
}  // namespace plumgr
