// What back-office programs and spreadsheets write as CSV: the reader must find
// the separator and the encoding itself, since the operator is not asked.

#include "data/csv_reader.h"

#include <gtest/gtest.h>

#include "data/code_page.h"

namespace plumgr {
namespace {

std::vector<std::vector<std::string>> Utf8Rows(const ImportSheet& sheet) {
  std::vector<std::vector<std::string>> rows;
  for (const auto& row : sheet.Rows) {
    rows.emplace_back();
    for (const std::u16string& cell : row)
      rows.back().push_back(Utf16ToUtf8(cell));
  }
  return rows;
}

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvReaderTest, SeparatorEncodingAndQuotesAreFoundInTheFile) {
  // UTF-8 with a byte-order mark, semicolons, a quoted field holding the
  // separator, a doubled quote and a line break, and a last line without end.
  CsvReadResult utf8 = ReadCsv(
      "\xEF\xBB\xBFNr;Nazwa;Cena\r\n1;\"Mleko; 2%\";2,99\r\n2;\"Ser \"\"Gouda\"\"\nplastry\";"
      "12,50\r\n3;\xC5\xBB"
      "urek;");
  EXPECT_EQ(utf8.Separator, ';');
  EXPECT_EQ(utf8.Encoding, CsvEncoding::Utf8);
  EXPECT_EQ(Utf8Rows(utf8.Sheet), (Rows{{"Nr", "Nazwa", "Cena"},
                                        {"1", "Mleko; 2%", "2,99"},
                                        {"2", "Ser \"Gouda\"\nplastry", "12,50"},
                                        {"3", "Żurek", ""}}));

  // Windows-1250 bytes are not UTF-8; tabs outnumber the commas in the header.
  CsvReadResult ansi = ReadCsv("Name\tUnit price\n\xAF\xF3\xB3w, ma\xB3y\t1,5\n");
  EXPECT_EQ(ansi.Separator, '\t');
  EXPECT_EQ(ansi.Encoding, CsvEncoding::Windows1250);
  EXPECT_EQ(Utf8Rows(ansi.Sheet), (Rows{{"Name", "Unit price"}, {"Żółw, mały", "1,5"}}));

  CsvReadResult plain = ReadCsv("Name,Unit price\rTea,1\r");
  EXPECT_EQ(plain.Separator, ',');
  EXPECT_EQ(Utf8Rows(plain.Sheet), (Rows{{"Name", "Unit price"}, {"Tea", "1"}}));
  EXPECT_TRUE(ReadCsv("").Sheet.Rows.empty());
  // A quote inside a field opens nothing: 5" is a size, not the start of a quote.
  CsvReadResult inch = ReadCsv("Name;Unit price\nPizza 5\";1\n");
  EXPECT_EQ(inch.Separator, ';');
  EXPECT_EQ(Utf8Rows(inch.Sheet), (Rows{{"Name", "Unit price"}, {"Pizza 5\"", "1"}}));
  EXPECT_EQ(ReadCsv("Size 5\";Name\n").Separator, ';');
}

}  // namespace
}  // namespace plumgr
