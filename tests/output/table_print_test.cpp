// The text of "Print..." and the plain-text print job.

#include "output/table_print.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

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
};

// Only PDF writers: no test hands a job to a print queue of the machine.
TEST_F(TextPrinterTest, LongTableRunsOverSeveralPdfPages) {
  PdfDocument pdf = TextLinesAsPdf(PluPrintLines(test::MakeTestPluTable()), Windows1250(), "PLU");
  ASSERT_TRUE(pdf.Result.Ok) << pdf.Result.Message;
  EXPECT_GT(pdf.Result.Pages, 30);
  EXPECT_LT(pdf.Result.Pages, 150);
  EXPECT_EQ(pdf.Bytes.substr(0, 5), "%PDF-");

  // A table without a Name still makes a job: one empty page.
  pdf = TextLinesAsPdf({}, Windows1250(), "PLU");
  EXPECT_TRUE(pdf.Result.Ok);
  EXPECT_EQ(pdf.Result.Pages, 1);
  EXPECT_EQ(pdf.Bytes.substr(0, 5), "%PDF-");
}

TEST_F(TextPrinterTest, RowsWiderThanThePageShrinkThenWrapInsteadOfLosingCells) {
  auto pages = [](int count, int columns) {
    std::vector<std::string> lines(count, "123\t" + std::string(columns - 8, 'x'));
    PrintResult printed = TextLinesAsPdf(lines, Windows1250(), "rows").Result;
    EXPECT_TRUE(printed.Ok) << printed.Message;
    return printed.Pages;
  };
  // Page counts compared with each other, as the fixed-pitch font (and with it
  // the lines a page holds) is the machine's. 60 characters fit at the usual size.
  const int usual = pages(600, 60);
  const int shrunk = pages(600, 130);
  const int wrapped = pages(600, 400);
  // A smaller font fits 130 characters a line, and more lines on a page: a row
  // cut at the margin would keep the usual count, a wrapped one double it.
  EXPECT_LT(shrunk, usual);
  // Below the smallest size a row wraps instead: more lines, more pages.
  EXPECT_GT(wrapped, shrunk);
  // Wrapped rows keep every cell, so a longer row takes more lines still.
  EXPECT_GT(pages(600, 1200), wrapped);
}

// Whether ink lies in columns [from, to) of the image.
bool Inked(const QImage& image, qreal from, qreal to) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = static_cast<int>(from); x < std::min<int>(to, image.width()); ++x)
      if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
  return false;
}

TEST_F(TextPrinterTest, TabsStopEveryEighthCharacterAtPrinterResolution) {
  // 300 dpi, not the screen's 96: Qt scales its own tab stops by that ratio.
  QImage page(2400, 120, QImage::Format_RGB32);
  page.setDotsPerMeterX(11811);
  page.setDotsPerMeterY(11811);
  page.fill(Qt::white);
  QPainter painter(&page);
  TextPages pages(painter, {"1\t\t\t\t\t\t\t\tX", "2", "3", "4", "5"}, Windows1250());
  const qreal advance = QFontMetricsF(painter.font(), &page).horizontalAdvance(QLatin1Char(' '));
  pages.DrawPage();
  int page_count = 1;
  for (; !pages.AtEnd(); ++page_count)
    pages.DrawPage();
  painter.end();
  EXPECT_TRUE(Inked(page, 0, advance));
  EXPECT_FALSE(Inked(page, advance * 1.5, advance * 63.5));
  EXPECT_TRUE(Inked(page, advance * 64, advance * 65));  // the X in column 64
  EXPECT_FALSE(Inked(page, advance * 65.5, page.width()));
  EXPECT_EQ(page_count, 3);  // two lines of 10 points fit in 0.4 inches
}

TEST_F(TextPrinterTest, WriterThatCannotOpenItsDeviceIsAPrintFailure) {
  QPdfWriter writer(QStringLiteral("/no/such/dir/table.pdf"));
  PrintResult printed = PrintTextLines(writer, {"a\tb"}, Windows1250());
  EXPECT_FALSE(printed.Ok);
  EXPECT_FALSE(printed.Message.empty());
}

}  // namespace
}  // namespace plumgr
