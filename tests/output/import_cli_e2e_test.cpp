// plumgr-cli import and convert on files as shops have them: a back office's
// CSV export, the same list saved by a spreadsheet as .xlsx and .xls, and sets
// whose text is in another code page.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/output_test_support.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

const std::string kCli = PLUMGR_BINARY_DIR "/src/cli/plumgr-cli";

// Polish item names, 18 characters at most, in UTF-8 and in Windows-1250.
struct Item {
  const char* Utf8;
  const char* Ansi;
};
constexpr Item kItems[] = {
    {"Chleb żytni", "Chleb \xBFytni"},
    {"Masło ekstra", "Mas\xB3o ekstra"},
    {"Śledź w oleju", "\x8Cled\x9F w oleju"},
    {"Żurek", "\xAFurek"},
    {"Gęś wędzona",
     "G\xEA\x9C w\xEA"
     "dzona"},
    {"Łosoś", "\xA3oso\x9C"},
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::string Write(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

class ImportCliTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(); }
  void TearDown() override { fs::remove_all(dir_); }

  test::ProgramRun Cli(std::vector<std::string> args) {
    args.insert(args.begin(), {"--settings", Path("SYSTEM.CFG")});
    return test::RunProgram(kCli, args, {"LC_ALL=C", "HOME=" + dir_});
  }
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  std::string Read(const std::string& name) const { return test::ReadWholeFile(Path(name)); }

  // A set whose companions must come through an import untouched.
  void WriteSetCompanions(const std::string& set) {
    Write(Path(set + ".DEP"), "Pieczywo\t1\t0.00\r\nNabia\xB3\t2\t0.00\r\n");
    Write(Path(set + ".Sign"), "123\t1\r\n");
    Write(Path(set + ".RCY"), "1\t0.50\r\n");
    Write(Path(set + ".PAR"),
          "[Default]\r\nHeader1=Sklep \xAF"
          "abka\r\n");
  }

  std::string dir_;
};

// The back office's export: UTF-8 with a byte-order mark, semicolons, decimal
// commas, Polish headers the mapping names, a column the table does not have.
std::string BackOfficeCsv() {
  std::string csv = "\xEF\xBB\xBFNr;Kod kreskowy;Nazwa;Cena;Dzia\xC5\x82;Kategoria\r\n";
  for (int n = 1; n <= 3000; ++n) {
    const Item& item = kItems[n % 6];
    csv += std::to_string(n) + ";" + std::to_string(5900000000000LL + n) + ";" + item.Utf8 + " " +
           std::to_string(n) + ";" + std::to_string(n % 400) + "," + (n % 2 ? "99" : "5") + ";" +
           std::to_string(n % 16 + 1) + ";spo\xC5\xBCywcze\r\n";
  }
  return csv;
}

std::string ExpectedPluLine(int n) {
  const Item& item = kItems[n % 6];
  return std::to_string(5900000000000LL + n) + "\t" + item.Ansi + " " + std::to_string(n) + "\t" +
         std::to_string(n % 400) + (n % 2 ? ".99" : ".50") + "\t" + std::to_string(n % 16 + 1) +
         "\t0.000\t0\t0\t0\t0";
}

const std::string kMap = "Nr=NO.,Kod kreskowy=Barcode,Nazwa=Name,Cena=Unit price,Dział=Department";

TEST_F(ImportCliTest, ThreeThousandItemsFromCsvXlsxAndXlsFillTheSameTable) {
  WriteSetCompanions("shop");
  const std::string csv = Write(Path("items.csv"), BackOfficeCsv());
  test::ProgramRun run = Cli({"import", Path("shop"), csv, "--map", kMap});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_NE(run.Out.find("Imported 3000 rows"), std::string::npos) << run.Out;
  EXPECT_NE(run.Err.find("column F (\"Kategoria\") is not imported"), std::string::npos);

  const std::vector<std::string> lines = Lines(Read("shop.PLU"));
  ASSERT_EQ(lines.size(), 3000u);
  for (int n : {1, 2, 17, 1500, 2999, 3000})
    EXPECT_EQ(lines[n - 1], ExpectedPluLine(n)) << n;
  // The other files of the set are the operator's and stay as they were.
  EXPECT_EQ(Read("shop.DEP"), "Pieczywo\t1\t0.00\r\nNabia\xB3\t2\t0.00\r\n");
  EXPECT_EQ(Read("shop.Sign"), "123\t1\r\n");
  EXPECT_EQ(Read("shop.RCY"), "1\t0.50\r\n");
  EXPECT_EQ(Read("shop.PAR"),
            "[Default]\r\nHeader1=Sklep \xAF"
            "abka\r\n");

  // Departments under the language file's titles ("Nazwa", "VAT"), which
  // replace the .DEP alone.
  const std::string plu_before = Read("shop.PLU");
  Write(Path("depts.csv"), "NAZWA,vat\nPieczywo,1\nNabia\xC5\x82,2\nS\xC5\x82odycze,3\n");
  test::ProgramRun depts = Cli({"import", Path("shop"), Path("depts.csv"), "--table", "department",
                                "--language", PLUMGR_SOURCE_DIR "/lang/pl.LNG"});
  ASSERT_EQ(depts.ExitCode, 0) << depts.Err;
  EXPECT_EQ(Read("shop.DEP"),
            "Pieczywo\t1\t0.00\r\nNabia\xB3\t2\t0.00\r\nS\xB3odycze\t3\t0.00\r\n");
  EXPECT_EQ(Read("shop.PLU"), plu_before);

  // The same list saved by a spreadsheet program as workbooks.
  std::optional<std::string> office = test::ProgramOnPath("soffice");
  if (!office) GTEST_SKIP() << "no soffice on PATH (package libreoffice-calc-nogui)";
  for (const char* format : {"xlsx", "xls"}) {
    SCOPED_TRACE(format);
    test::ProgramRun converted = test::RunProgram(
        *office,
        {"--headless", "--infilter=CSV:59,34,76,1", "--convert-to", format, "--outdir", dir_, csv},
        {"HOME=" + dir_});
    ASSERT_EQ(converted.ExitCode, 0) << converted.Err;
    const std::string set = std::string("from_") + format;
    test::ProgramRun imported =
        Cli({"import", Path(set), Path(std::string("items.") + format), "--map", kMap});
    ASSERT_EQ(imported.ExitCode, 0) << imported.Err;
    EXPECT_EQ(Read(set + ".PLU"), Read("shop.PLU"));
  }
}

TEST_F(ImportCliTest, RefusedCellsAreReportedAndTheSetKeepsItsBytesUnlessLeftOut) {
  const std::string plu = "1\tHerbata\t4.00\t1\t0.000\t0\t0\t0\t0\r\n";
  Write(Path("shop.PLU"), plu);
  const std::string csv = Write(Path("bad.csv"),
                                "NO.,Name,Unit price,Department\n"
                                "1,Kawa mielona,\"12,50\",2\n"
                                "2,Kawa ☕,9,2\n"
                                "3,Cukier,1.234.5,17\n"
                                "4,Kawa mielona,3,1\n"
                                "5,Sól,1.5,3\n");
  test::ProgramRun refused = Cli({"import", Path("shop.PLU"), csv});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_NE(refused.Out.find("bad.csv: row 3, column B (Name): \"Kawa ☕\": U+2615"),
            std::string::npos)
      << refused.Out;
  EXPECT_NE(refused.Out.find("row 4, column C (Unit price)"), std::string::npos);
  EXPECT_NE(refused.Out.find("row 4, column D (Department): \"17\": not a whole number from 1 "
                             "to 16"),
            std::string::npos);
  EXPECT_NE(refused.Out.find("row 5, column B (Name): \"Kawa mielona\": PLU name repeat: No. 4 "
                             "and No. 1"),
            std::string::npos);
  EXPECT_NE(refused.Err.find("nothing imported"), std::string::npos);
  EXPECT_EQ(Read("shop.PLU"), plu);

  test::ProgramRun skipped = Cli({"--json", "import", Path("shop.PLU"), csv, "--skip-refused"});
  ASSERT_EQ(skipped.ExitCode, 0) << skipped.Err;
  EXPECT_NE(skipped.Out.find("\"imported\":1"), std::string::npos) << skipped.Out;
  EXPECT_EQ(Lines(Read("shop.PLU")),
            (std::vector<std::string>{
                "1\tHerbata\t4.00\t1\t0.000\t0\t0\t0\t0", "\t\t0.00\t1\t0.000\t0\t0\t0\t0",
                "\t\t0.00\t1\t0.000\t0\t0\t0\t0", "\t\t0.00\t1\t0.000\t0\t0\t0\t0",
                "\tS\xF3l\t1.50\t3\t0.000\t0\t0\t0\t0"}));

  // An editor's UTF-8 .PLU with a letter no code page here holds: writing the
  // file back would turn it into '?', and its bytes are not in any code page.
  const std::string utf8 = "\tKawa \xE2\x98\x95\r\n";
  Write(Path("shop.PLU"), utf8);
  test::ProgramRun lossy = Cli({"import", Path("shop.PLU"), csv, "--skip-refused"});
  EXPECT_EQ(lossy.ExitCode, 2);
  EXPECT_NE(lossy.Err.find("row 1, column 2: U+2615"), std::string::npos) << lossy.Err;
  test::ProgramRun garbled = Cli({"convert", Path("shop.PLU"), "--to", "cp852"});
  EXPECT_EQ(garbled.ExitCode, 2);
  EXPECT_NE(garbled.Err.find("is UTF-8 text"), std::string::npos) << garbled.Err;
  EXPECT_EQ(Read("shop.PLU"), utf8);
}

TEST_F(ImportCliTest, ConvertToCp852AndBackGivesTheSameBytesAndRefusesWhatCp852Lacks) {
  const std::string plu =
      "5900000000001\tG\xEA\x9C w\xEA"
      "dzona\t29.99\t1\t0.000\t0\t0\t0\t0\r\n"
      "\t\xAF\xF3\xB3w \xA3\xC6\xA5\t1.00\t2\t0.000\t0\t0\t0\t0\r\n";
  const std::string dep = "Mi\xEAso\t1\t0.00\r\n";
  const std::string par =
      "[Other]\r\nCodePage=Windows-1250\r\n[Default]\r\nHeader1=Sklep \xAF"
      "abka\r\n";
  Write(Path("shop.PLU"), plu);
  Write(Path("shop.DEP"), dep);
  Write(Path("shop.PAR"), par);

  test::ProgramRun to852 = Cli({"convert", Path("shop"), "--to", "cp852"});
  ASSERT_EQ(to852.ExitCode, 0) << to852.Err;
  EXPECT_EQ(Read("shop.PLU"),
            "5900000000001\tG\xA9\x98 w\xA9"
            "dzona\t29.99\t1\t0.000\t0\t0\t0\t0\r\n"
            "\t\xBD\xA2\x88w \x9D\x8F\xA4\t1.00\t2\t0.000\t0\t0\t0\t0\r\n");
  EXPECT_EQ(Read("shop.PAR"),
            "[Other]\r\nCodePage=CP852\r\n[Default]\r\nHeader1=Sklep \xBD"
            "abka\r\n");

  // A set that says CP852 takes imported names as CP852 bytes.
  fs::copy_file(Path("shop.PLU"), Path("copy.PLU"));
  fs::copy_file(Path("shop.PAR"), Path("copy.PAR"));
  Write(Path("more.csv"), "NO.;Name\n3;Żółć\n");
  ASSERT_EQ(Cli({"import", Path("copy"), Path("more.csv")}).ExitCode, 0);
  EXPECT_EQ(Lines(Read("copy.PLU")).back(), "\t\xBD\xA2\x88\x86\t0.00\t1\t0.000\t0\t0\t0\t0");

  test::ProgramRun back = Cli({"convert", Path("shop"), "--to", "windows-1250"});
  ASSERT_EQ(back.ExitCode, 0) << back.Err;
  EXPECT_EQ(Read("shop.PLU"), plu);
  EXPECT_EQ(Read("shop.DEP"), dep);
  EXPECT_EQ(Read("shop.PAR"), par);

  // A euro sign has no place in CP852: nothing is converted, every file stays.
  const std::string euro = plu + "\tKawa 5\x80\t5.00\t1\t0.000\t0\t0\t0\t0\r\n";
  Write(Path("shop.PLU"), euro);
  test::ProgramRun refused = Cli({"convert", Path("shop"), "--to", "cp852"});
  EXPECT_EQ(refused.ExitCode, 1);
  EXPECT_NE(refused.Out.find("shop.PLU: line 3, column 2: U+20AC \"€\" is not in CP852"),
            std::string::npos)
      << refused.Out;
  EXPECT_EQ(Read("shop.PLU"), euro);
  EXPECT_EQ(Read("shop.DEP"), dep);
  EXPECT_EQ(Read("shop.PAR"), par);
}

}  // namespace
}  // namespace plumgr
