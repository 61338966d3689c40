// The PLU report as real readers see it: xlrd and LibreOffice for .xls, the
// package's XML for .xlsx, and the comma-separated text.

#include <gtest/gtest.h>

#include <filesystem>

#include "data/code_page.h"
#include "output/plu_report.h"
#include "support/output_test_support.h"

namespace plumgr {
namespace {

using test::CellRows;

const std::vector<std::string> kTitles = {"NO.",        "Barcode", "Name", "Unit price",
                                          "Department", "Stocks",  "Flag", "Quantity",
                                          "Total",      "Alcohol"};

class SpreadsheetExportTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Save(const StringGrid& plu, const std::string& name) {
    TOLEExcel excel;
    std::string saved;
    FileResult result = SavePluReport(excel, plu, kTitles, dir_ + "/" + name, &saved);
    EXPECT_TRUE(result.Ok) << result.Message;
    return saved;
  }

  // Compares whole sheets, reporting the first differing cell.
  static void ExpectSameSheet(const CellRows& actual, const CellRows& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t r = 0; r < expected.size(); ++r) {
      ASSERT_EQ(actual[r].size(), expected[r].size()) << "row " << r;
      for (size_t c = 0; c < expected[r].size(); ++c)
        ASSERT_EQ(actual[r][c], expected[r][c]) << "row " << r << " column " << c;
    }
  }

  std::string dir_;
};

TEST_F(SpreadsheetExportTest, XlsOfTheFullTableReadsBackInXlrd) {
  if (!test::PythonThatImports("xlrd")) GTEST_SKIP() << test::kNoXlrd;
  StringGrid plu = test::MakeTestPluTable();
  std::string file = Save(plu, "report.xls");
  std::string error;
  auto rows = test::ReadXlsWithXlrd(file, &error);
  ASSERT_TRUE(rows.has_value()) << error;
  ExpectSameSheet(*rows, test::ExpectedPluSheet(plu, kTitles));
  EXPECT_EQ((*rows)[7][2], "PLU-7\u0105\u0119\u0142\u0144\u015B\u017A\u017C");
  EXPECT_EQ((*rows)[3000][0], "3000");
  EXPECT_EQ((*rows)[3000][1], "1234567803000");
}

TEST_F(SpreadsheetExportTest, XlsOfASparseTableWithLongAndUnusualTexts) {
  if (!test::PythonThatImports("xlrd")) GTEST_SKIP() << test::kNoXlrd;
  StringGrid plu(10, 3001);
  plu.SetCell(2, 2, "");                                  // an unused row is empty in the sheet
  plu.SetCell(2, 5, std::string(300, 'n') + "\x8A\x80");  // Š and the euro sign
  plu.SetCell(7, 5, "=1+1");                              // stays text, not a formula
  plu.SetCell(1, 3000, "0012");
  std::string file = Save(plu, "sparse.xls");
  std::string error;
  auto rows = test::ReadXlsWithXlrd(file, &error);
  ASSERT_TRUE(rows.has_value()) << error;
  ExpectSameSheet(*rows, test::ExpectedPluSheet(plu, kTitles));
  EXPECT_EQ((*rows)[5][2], std::string(300, 'n') + "\u0160\u20AC");
}

TEST_F(SpreadsheetExportTest, XlsConvertedByLibreOfficeMatchesTheTable) {
  std::optional<std::string> libreoffice = test::ProgramOnPath("libreoffice");
  if (!libreoffice) GTEST_SKIP() << "no libreoffice on PATH";
  StringGrid plu = test::MakeTestPluTable(',');
  std::string file = Save(plu, "lo.xls");
  std::string out = dir_ + "/csv";
  test::ProgramRun run =
      test::RunProgram(*libreoffice,
                       {"--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                        "--outdir", out, file},
                       {"HOME=" + dir_});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  CellRows rows = test::ParseCsv(test::ReadWholeFile(out + "/lo.csv"));
  ExpectSameSheet(rows, test::ExpectedPluSheet(plu, kTitles));
}

TEST_F(SpreadsheetExportTest, XlsxReadsBackFromItsSheetXml) {
  StringGrid plu = test::MakeTestPluTable();
  std::string file = Save(plu, "report.xlsx");
  std::string error;
  auto rows = test::ReadXlsxWithPython(file, &error);
  ASSERT_TRUE(rows.has_value()) << error;
  ExpectSameSheet(*rows, test::ExpectedPluSheet(plu, kTitles));
}

TEST_F(SpreadsheetExportTest, CsvIsUtf8WithQuotedDecimalCommas) {
  StringGrid plu = test::MakeTestPluTable(',', 20);
  plu.SetCell(2, 3, "say \"hi\"");
  std::string file = Save(plu, "report.csv");
  std::string text = test::ReadWholeFile(file);
  EXPECT_EQ(text.substr(0, text.find("\r\n", text.find("\r\n") + 2) + 2),
            "NO.,Barcode,Name,Unit price,Department,Stocks,Flag,Quantity,Total,Alcohol\r\n"
            "1,1234567800001,PLU-1,\"10,00\",2,\"0,000\",0,0,0,0\r\n");
  EXPECT_NE(text.find("\"say \"\"hi\"\"\""), std::string::npos);
  EXPECT_NE(text.find("PLU-7\u0105\u0119\u0142"), std::string::npos);
  ExpectSameSheet(test::ParseCsv(text), test::ExpectedPluSheet(plu, kTitles));
}

}  // namespace
}  // namespace plumgr
