#include "transfer/register_diff.h"

#include <gtest/gtest.h>

#include "data/settings_keys.h"
#include "transfer/department_packages.h"
#include "transfer/parameter_block.h"
#include "transfer/plu_record.h"
#include "transfer/transfer_driver.h"

namespace plumgr {
namespace {

const ParameterLayout kLayout{24, 24};

IniDocument Parameters(const std::string& text) {
  return IniDocument::Parse(text);
}

// The register's parameter block as a download of these settings leaves it.
std::vector<std::uint8_t> BlockOf(const std::string& settings_text) {
  IniDocument document = Parameters(settings_text);
  ParameterBlock block{};
  EXPECT_TRUE(MergeParameterSettings(block, Settings(document, '.'),
                                     ParameterGroups{true, true, true}, kLayout));
  return {block.begin(), block.begin() + kParameterReadSize};
}

class RegisterDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentProfile() = EcrProfileTable().front();
    SizeTables(tables_, CurrentProfile());
    ResetAllRows(tables_, '.');
    snapshot_.PriceDecimals = 2;
  }
  std::vector<DiffRow> Compare(std::uint8_t kinds, const IniDocument& parameters) {
    const DownloadSource source{tables_, recycling_, fast_sale_, parameters, '.'};
    return CompareWithSnapshot(snapshot_, source, kinds, {1, 10}, PluDownloadLayout::Compared);
  }
  Tables tables_;
  RecyclingTable recycling_ = InitialRecyclingTable('.');
  FastSaleTable fast_sale_ = InitialFastSaleTable();
  RegisterSnapshot snapshot_;
};

// The parameter block shows the settings keys that would change, split by the
// kinds that send them; only the kinds chosen; passwords never in the clear.
TEST_F(RegisterDiffTest, ParameterKeysThatWouldChangeShowUnderTheirKindWithPasswordsHidden) {
  const std::string held = "[Default]\r\nVAT1=23.00\r\nHeader1=Shop\r\nClerkPWD1=1234\r\n";
  snapshot_.Parameters = BlockOf(held);
  const IniDocument set =
      Parameters("[Default]\r\nVAT1=08.00\r\nHeader1=Shop\r\nClerkPWD1=4321\r\nClerkName1=Eva\r\n");

  const std::vector<DiffRow> all = Compare(kAllDownloadKinds, set);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].Kind, kDownloadParameter);
  ASSERT_EQ(all[0].Fields.size(), 2u);
  EXPECT_EQ(all[0].Fields[0].Field, "ClerkName1");
  EXPECT_EQ(all[0].Fields[0].New, "Eva");
  EXPECT_EQ(all[0].Fields[1].Field, "ClerkPWD1");
  EXPECT_EQ(all[0].Fields[1].Old, kHiddenValue);
  EXPECT_EQ(all[0].Fields[1].New, kHiddenValue);
  EXPECT_EQ(all[1].Kind, kDownloadVat);
  ASSERT_EQ(all[1].Fields.size(), 1u);
  EXPECT_EQ(all[1].Fields[0].Field, "VAT1");
  EXPECT_EQ(all[1].Fields[0].Old, "23.00");
  EXPECT_EQ(all[1].Fields[0].New, "08.00");

  const std::vector<DiffRow> vat_only = Compare(KindBit(kDownloadVat), set);
  ASSERT_EQ(vat_only.size(), 1u) << "a VAT download leaves the clerks as they are";
  EXPECT_EQ(vat_only[0].Kind, kDownloadVat);
  EXPECT_TRUE(Compare(KindBit(kDownloadHeader), set).empty());
}

// A department the register lacks is added, one the set leaves blank is
// cleared (the download sends it as zeros), and only changed fields show.
TEST_F(RegisterDiffTest, DepartmentsAreAddedChangedAndCleared) {
  StringGrid held(DeptCol::Count, 17);
  for (int row = 1; row <= 16; ++row) {
    held.SetCell(DeptCol::Name, row, row == 3 ? "" : "Dept " + std::to_string(row));
    held.SetCell(DeptCol::Tax, row, "1");
    held.SetCell(DeptCol::Price, row, "1.00");
  }
  const WireUnits units{2, '.'};
  for (int n = 0; n < 2; ++n) {
    const PackageBytes data = EncodeDepartmentPackage(held, 16, n, units);
    snapshot_.Departments.insert(snapshot_.Departments.end(), data.begin(), data.end());
  }
  tables_.DeptmentGrid = held;
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 3, "Bakery");
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 4, "  ");
  tables_.DeptmentGrid.SetCell(DeptCol::Price, 5, "2.5");

  const std::vector<DiffRow> rows = Compare(KindBit(kDownloadDepartment), IniDocument{});
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].Number, 3);
  EXPECT_EQ(rows[0].Action, DiffAction::Add);
  EXPECT_EQ(rows[0].Fields.size(), 3u);
  EXPECT_EQ(rows[1].Number, 4);
  EXPECT_EQ(rows[1].Action, DiffAction::Clear);
  EXPECT_EQ(rows[1].Fields[0].Old, "Dept 4");
  EXPECT_EQ(rows[2].Number, 5);
  EXPECT_EQ(rows[2].Action, DiffAction::Change);
  ASSERT_EQ(rows[2].Fields.size(), 1u);
  EXPECT_EQ(rows[2].Fields[0].Old, "1.00");
  EXPECT_EQ(rows[2].Fields[0].New, "2.50") << "as the register would hold it";
}

// The register answers the comparison read of a package without any PLU with a
// jump, so the names after it stand at lower entries than their PLUs; the
// compared download then sends a row whose name lies there to the entry's
// number. The comparison shows the PLU the download really writes.
TEST_F(RegisterDiffTest, PlusFollowTheComparisonReadAcrossAPackageWithoutPlus) {
  const WireUnits units{2, '.'};
  StringGrid& plu = tables_.PLUGrid;
  for (int row = 1; row <= 13; ++row) {
    if (row >= 9 && row <= 12) continue;
    plu.SetCell(PluCol::Name, row, row == 13 ? "M" : "N" + std::to_string(row));
    plu.SetCell(PluCol::Barcode, row, std::to_string(100 + row));
  }
  snapshot_.PluSpans = {{1, 20}};
  for (int n = 0; n < 5; ++n) {
    PackageBytes& data = snapshot_.PluPackages[n];
    data.fill(0xFF);
    for (int k = 0; k < 4; ++k) {
      const int row = 4 * n + k + 1;
      if (HasBlankPluName(plu, row)) continue;
      const PluRecordBytes record =
          EncodePluRecord(plu, row, PluDownloadLayout::Compared, false, units);
      std::copy(record.begin(), record.end(), data.begin() + 64 * k);
    }
  }
  plu.SetCell(PluCol::Name, 13, "");
  plu.SetCell(PluCol::Name, 20, "M");
  plu.SetCell(PluCol::Barcode, 20, "120");

  const DownloadSource source{tables_, recycling_, fast_sale_, IniDocument{}, '.'};
  const std::vector<DiffRow> rows = CompareWithSnapshot(snapshot_, source, KindBit(kDownloadPlu),
                                                        {1, 20}, PluDownloadLayout::Compared);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].Number, 9) << "entry 8 holds PLU 13's name";
  EXPECT_EQ(rows[0].Action, DiffAction::Add);
  EXPECT_EQ(rows[0].FromRow, 20);
  EXPECT_EQ(rows[1].Number, 13);
  EXPECT_EQ(rows[1].Action, DiffAction::Clear) << "its row is blank in the set";
}

}  // namespace
}  // namespace plumgr
