// Importing rows into the tables: a cell must fare as it would if typed, and a
// refused cell must never leave the tables half changed.

#include "app/table_import.h"

#include <gtest/gtest.h>

#include "data/code_page.h"
#include "data/definitions.h"

namespace plumgr {
namespace {

ImportSheet SheetOf(std::vector<std::vector<std::u16string>> rows) {
  return ImportSheet{std::move(rows)};
}

class TableImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Texts() = DefaultDisplayTexts(',');
    SizeTables(tables_, EcrProfileTable().front());
    ResetAllRows(tables_, ',');
    tables_.PLUGrid.SetCell(PluCol::Name, 5, "Mleko");
    tables_.PLUGrid.SetCell(PluCol::Price, 5, "2,00");
    tables_.DeptmentGrid.SetCell(DeptCol::Name, 1, "Pieczywo");
  }

  ImportOutcome Import(const ImportSheet& sheet, RefusedRows refused,
                       const std::vector<ColumnMapEntry>& map = {}) {
    const ImportTitles titles = TitlesForImport(GridId::Plu);
    ColumnMatch match = MatchColumns(sheet.Rows.front(), titles, map);
    EXPECT_TRUE(match.Problems.empty()) << match.Problems.front();
    EXPECT_TRUE(CheckTargets(sheet.Rows.front(), titles, match.Columns).empty());
    ImportRequest request;
    request.Columns = match.Columns;
    request.DecimalSeparator = ',';
    request.Page = CodePageId::Windows1250;
    request.Refused = refused;
    return ImportRows(sheet, request, tables_);
  }

  const std::string& Plu(int col, int row) const { return tables_.PLUGrid.Cell(col, row); }

  Tables tables_;
};

TEST_F(TableImportTest, CellsTakeTheirNormalFormsAndRowsTheirNumbers) {
  // Headers in any case and accents; "Cena" only through the mapping.
  ImportSheet sheet = SheetOf({{u"no.", u" NAME ", u"Cena", u"barcode", u"Alcohol", u"Kolor"},
                               {u"3", u"Chleb żytni", u"3.5", u"0012", u"1", u"red"},
                               {},
                               {u"1", u"Kawa", u"-5", u"", u"", u""}});
  ImportOutcome outcome = Import(sheet, RefusedRows::RefuseImport, {{u"cena", u"UNIT PRICE"}});
  ASSERT_TRUE(outcome.Refused.empty()) << DescribeRefusal(outcome.Refused.front());
  EXPECT_TRUE(outcome.Applied);
  EXPECT_EQ(outcome.RowsImported, 2);
  EXPECT_EQ(Plu(PluCol::Name, 3), "Chleb \xBFytni");
  EXPECT_EQ(Plu(PluCol::Price, 3), "3,50");
  EXPECT_EQ(Plu(PluCol::Barcode, 3), "12");
  EXPECT_EQ(Plu(PluCol::Alcohol, 3), "0");  // set by a click only, never imported
  EXPECT_EQ(Plu(PluCol::Price, 1), "-5,00");
  EXPECT_EQ(Plu(PluCol::Barcode, 1), "");
  EXPECT_EQ(Plu(PluCol::Name, 5), "Mleko");  // rows the file does not name keep their text
}

TEST_F(TableImportTest, ARefusedCellRefusesAllOrLeavesOutItsRow) {
  const Tables before = tables_;
  ImportSheet sheet = SheetOf({{u"Name", u"Unit price", u"Department"},
                               {u"Chleb", u"1e5", u"1"},         // 'e' cannot be typed
                               {u"Bułka", u"0,80", u"17"},       // department beyond 16
                               {u"Kawa ☕", u"9", u"2"},          // not in the code page
                               {u"Pieczywo", u"2", u"1"},        // a department's name
                               {u"Chleb razowy", u"abc", u"1"},  // PLU 5, now "Mleko"
                               {u"Mleko", u"3", u"1"},           // PLU 6
                               {u"Ser\tżółty", u"7", u"1"},      // would split the line
                               {u"Woda", u"1,234.5", u"1"},      // two decimal marks
                               {u"Sok", u"4", u"1"}});
  ImportOutcome refused = Import(sheet, RefusedRows::RefuseImport);
  ASSERT_EQ(refused.Refused.size(), 7u);
  EXPECT_EQ(DescribeRefusal(refused.Refused[0]),
            "row 2, column B (Unit price): \"1e5\": only digits, one \"-\" and one decimal "
            "separator can be typed into this column");
  EXPECT_EQ(refused.Refused[1].SheetRow, 3);
  EXPECT_EQ(refused.Refused[1].SheetCol, 2);
  EXPECT_NE(refused.Refused[2].Reason.find("U+2615"), std::string::npos);
  EXPECT_EQ(refused.Refused.back().Reason, "PLU name and Dept name repeat: No. 4 and No. 1");
  EXPECT_FALSE(refused.Applied);
  for (int row = 1; row <= 9; ++row)
    EXPECT_EQ(Plu(PluCol::Name, row), before.PLUGrid.Cell(PluCol::Name, row));

  // Row 6 left out, PLU 5 keeps "Mleko", which row 7 then repeats.
  ImportOutcome left_out = Import(sheet, RefusedRows::LeaveOut);
  EXPECT_EQ(left_out.RowsImported, 1);
  EXPECT_EQ(left_out.RowsLeftOut, 8);
  EXPECT_EQ(DescribeRefusal(left_out.Refused.back()),
            "row 7, column A (Name): \"Mleko\": PLU name repeat: No. 6 and No. 5");
  EXPECT_TRUE(left_out.Applied);
  EXPECT_EQ(Plu(PluCol::Name, 9), "Sok");
  EXPECT_EQ(Plu(PluCol::Price, 9), "4,00");
  EXPECT_EQ(Plu(PluCol::Name, 5), "Mleko");
  EXPECT_EQ(Plu(PluCol::Price, 5), "2,00");
  EXPECT_EQ(Plu(PluCol::Name, 6), "");
}

}  // namespace
}  // namespace plumgr
