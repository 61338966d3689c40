// The readers of files to import, on workbooks of the program's own writers
// (libxlsxwriter for .xlsx, our BIFF8 writer for .xls) and on CSV: whatever the
// format, the same sheet must come back, Polish letters, sparse cells and all.

#include "output/import_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/code_page.h"
#include "data/definitions.h"
#include "output/ole_excel.h"
#include "output/plu_report.h"
#include "support/output_test_support.h"

namespace plumgr {
namespace {

TEST(ImportFileTest, ExportedTablesReadBackAsTheSameSheetInEveryFormat) {
  const std::string dir = test::MakeTempDir();
  StringGrid plu = test::MakeTestPluTable('.', 40);
  plu.SetCell(2, 7, "Za\xBF\xF3\xB3\xE6 \"g\xEA\x9Cl\xB9\", ja\x9F\xF1");  // quotes and a comma
  plu.SetCell(2, 9, "");                                                   // an empty cell
  const std::vector<std::string> titles = DefaultDisplayTexts('.').PluTitles.Entries;
  for (const char* name : {"t.xlsx", "t.xls", "t.csv"}) {
    SCOPED_TRACE(name);
    TOLEExcel excel;
    ASSERT_TRUE(SavePluReport(excel, plu, titles, dir + "/" + name).Ok);
    ImportFileResult read = ReadImportFile(dir + "/" + name);
    ASSERT_TRUE(read.Ok) << read.Message;
    ASSERT_EQ(read.Sheet.Rows.size(), 41u);
    EXPECT_EQ(read.Sheet.Cell(0, 3), u"Unit price");
    for (int r = 1; r <= 40; ++r)
      for (int c = 1; c < 10; ++c)
        ASSERT_EQ(Utf16ToUtf8(read.Sheet.Cell(r, c)),
                  Utf16ToUtf8(DecodeCodePage(plu.Cell(c, r), Windows1250())))
            << "row " << r << ", column " << c;
  }
  std::ofstream(dir + "/broken.xlsx", std::ios::binary) << "PK\x03\x04 not really";
  ImportFileResult broken = ReadImportFile(dir + "/broken.xlsx");
  EXPECT_FALSE(broken.Ok);
  EXPECT_NE(broken.Message.find("broken.xlsx"), std::string::npos);
  EXPECT_FALSE(ReadImportFile(dir + "/missing.csv").Ok);
  std::filesystem::remove_all(dir);
}

TEST(ImportFileTest, NumberCellsReadAsTheirShortestText) {
  EXPECT_EQ(SpreadsheetNumberText(5901234123457.0), u"5901234123457");
  EXPECT_EQ(SpreadsheetNumberText(4.99), u"4.99");
  EXPECT_EQ(SpreadsheetNumberText(4.9900000000000002), u"4.99");
  EXPECT_EQ(SpreadsheetNumberText(-12.0), u"-12");
  EXPECT_EQ(SpreadsheetNumberText(0.1 + 0.2), u"0.3");
}

}  // namespace
}  // namespace plumgr
