#include "app/set_check.h"

#include <gtest/gtest.h>

#include "data/definitions.h"

namespace plumgr {
namespace {

class SetCheckTest : public ::testing::TestWithParam<char> {
 protected:
  void SetUp() override {
    SelectProfile(0);
    SizeTables(tables_, CurrentProfile());
    ResetAllRows(tables_, GetParam());
  }
  std::vector<CheckFinding> Check() { return CheckTables(tables_, GetParam()); }
  Tables tables_;
};

TEST_P(SetCheckTest, DefaultTablesAreClean) {
  EXPECT_TRUE(Check().empty());
}

TEST_P(SetCheckTest, ReportsRefusedCellsWithTheirColumn) {
  StringGrid& plu = tables_.PLUGrid;
  plu.SetCell(PluCol::Dept, 5, "17");
  plu.SetCell(PluCol::Barcode, 6, "12a");
  plu.SetCell(PluCol::Price, 7, "1000000");
  tables_.DeptmentGrid.SetCell(DeptCol::Tax, 2, "0");
  std::vector<CheckFinding> findings = Check();
  ASSERT_EQ(findings.size(), 4u);
  EXPECT_EQ(findings[0].Row, 5);
  EXPECT_EQ(findings[0].Col, PluCol::Dept);
  EXPECT_EQ(findings[0].Reason, "not a whole number from 1 to 16");
  EXPECT_EQ(findings[1].Col, PluCol::Barcode);
  EXPECT_EQ(findings[2].Reason, "above " + std::string("999999") + GetParam() + "99");
  EXPECT_EQ(findings[3].Grid, GridId::Dept);
}

TEST_P(SetCheckTest, FindsRepeatsAmongAllRowsAsIfTheRegisterHeldThemAll) {
  StringGrid& plu = tables_.PLUGrid;
  plu.SetCell(PluCol::Name, 50, "Bread");
  plu.SetCell(PluCol::Name, 2999, "Bread");
  plu.SetCell(PluCol::Barcode, 1, "590");
  plu.SetCell(PluCol::Barcode, 3000, "590");
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 3, "Bread");
  std::vector<CheckFinding> findings = Check();
  std::vector<std::string> reasons;
  for (const CheckFinding& f : findings)
    reasons.push_back(f.Reason);
  EXPECT_NE(std::find(reasons.begin(), reasons.end(), "PLU name repeat: No. 2999 and No. 50"),
            reasons.end());
  EXPECT_NE(std::find(reasons.begin(), reasons.end(), "PLU BCode repeat: No. 1 and No. 3000"),
            reasons.end());
  EXPECT_NE(
      std::find(reasons.begin(), reasons.end(), "Dept name and PLU name repeat: No. 3 and No. 50"),
      reasons.end());
  EXPECT_EQ(tables_.EcrPluCount, 0) << "the check does not change the tables";
}

INSTANTIATE_TEST_SUITE_P(Separators, SetCheckTest, ::testing::Values('.', ','),
                         [](const auto& info) { return info.param == '.' ? "dot" : "comma"; });

}  // namespace
}  // namespace plumgr
