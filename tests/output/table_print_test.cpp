// The text of "Print..." and the plain-text print job.

#include "output/table_print.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
#include <filesystem>

#include "output/text_printer.h"
#include "support/output_test_support.h"

// Fontconfig keeps a cache for the life of the process that Qt never frees; the
// leak checker of the sanitizer build is told so.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace plumgr {
namespace {

TEST(PluPrintTextTest, OnlyRowsWithANamePrintBarcodeFirstThenTabbedCells) {
  StringGrid plu(10, 6);
  plu.SetCell(1, 1, "590");  // a Barcode without a Name: not printed
  for (int c = 3; c < 10; ++c)
    plu.SetCell(c, 1, "0");
  plu.SetCell(0, 2, "2");  // the number column never prints
  plu.SetCell(2, 2, "Mleko");
  plu.SetCell(3, 2, "2,49");
  plu.SetCell(9, 2, "1");  // the stored Alcohol text, whatever the drawn mark
  plu.SetCell(1, 4, "12");
  plu.SetCell(2, 4, "\xA3y\xBFka");

  EXPECT_EQ(PluPrintText(plu),
            "\tMleko\t2,49\t\t\t\t\t\t1\r\n"
            "12\t\xA3y\xBFka\t\t\t\t\t\t\t\r\n");
}

TEST(PluPrintTextTest, EveryLineOfATenColumnTableHoldsEightTabs) {
  StringGrid plu = test::MakeTestPluTable();
  std::vector<std::string> lines = PluPrintLines(plu);
  ASSERT_EQ(lines.size(), 3000u);
  for (const std::string& line : lines)
    ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 8);
  EXPECT_EQ(lines[0], "1234567800001\tPLU-1\t10.00\t2\t0.000\t0\t0\t0\t0");
}

TEST(PluPrintTextTest, TableWithoutNamesPrintsNothing) {
  StringGrid plu(10, 3001);
  for (int r = 1; r <= 3000; ++r)
    plu.SetCell(1, r, "1");
  EXPECT_EQ(PluPrintText(plu), "");
}

class TextPrinterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (QGuiApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "table_print_test";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);  // lives for the whole test program
    }
  }
};

TEST_F(TextPrinterTest, LongTableRunsOverSeveralPages) {
  std::string dir = test::MakeTempDir();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(dir + "/table.pdf"));
  PrintResult printed =
      PrintTextLines(printer, PluPrintLines(test::MakeTestPluTable()), Windows1250());
  ASSERT_TRUE(printed.Ok) << printed.Message;
  EXPECT_GT(printed.Pages, 30);
  EXPECT_LT(printed.Pages, 150);
  EXPECT_EQ(test::ReadWholeFile(dir + "/table.pdf").substr(0, 5), "%PDF-");

  QPrinter empty(QPrinter::HighResolution);
  empty.setOutputFormat(QPrinter::PdfFormat);
  empty.setOutputFileName(QString::fromStdString(dir + "/empty.pdf"));
  printed = PrintTextLines(empty, {}, Windows1250());
  EXPECT_TRUE(printed.Ok);
  EXPECT_EQ(printed.Pages, 1);
  std::filesystem::remove_all(dir);
}

TEST_F(TextPrinterTest, UnwritableOutputIsAPrintFailure) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName("/no/such/dir/table.pdf");
  PrintResult printed = PrintTextLines(printer, {"a\tb"}, Windows1250());
  EXPECT_FALSE(printed.Ok);
  EXPECT_NE(printed.Message.find("/no/such/dir/table.pdf"), std::string::npos);
}

TEST_F(TextPrinterTest, JobOnTheDefaultQueue) {
  if (QPrinterInfo::defaultPrinter().isNull()) {
    PrintResult printed = PrintOnDefaultPrinter({"x"}, Windows1250(), "PLU table");
    EXPECT_FALSE(printed.Ok);
    EXPECT_FALSE(printed.Message.empty());
    GTEST_SKIP() << "no print queue: " << printed.Message;
  }
  PrintResult printed = PrintOnDefaultPrinter(PluPrintLines(test::MakeTestPluTable('.', 10)),
                                              Windows1250(), "PLU table test");
  EXPECT_TRUE(printed.Ok) << printed.Message;
}

}  // namespace
}  // namespace plumgr
