// plumgr-cli export and print on real files.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/code_page.h"
#include "output/table_print.h"
#include "support/output_test_support.h"

namespace plumgr {
namespace {

const std::string kCli = PLUMGR_BINARY_DIR "/src/cli/plumgr-cli";

class OutputCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = test::MakeTempDir();
    // The .PLU file of the test set: columns 1..9 of every row, CR LF.
    StringGrid plu = test::MakeTestPluTable();
    plu.SetCell(2, 10, "");  // a row without a Name
    plu.SetCell(1, 11, "");  // a Name without a Barcode
    std::ofstream out(dir_ + "/shop.PLU", std::ios::binary);
    for (int r = 1; r < plu.RowCount(); ++r) {
      for (int c = 1; c < plu.ColCount(); ++c)
        out << (c > 1 ? "\t" : "") << plu.Cell(c, r);
      out << "\r\n";
    }
    plu_ = plu;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  test::ProgramRun Cli(std::vector<std::string> args) {
    return test::RunProgram(kCli, args, {"QT_QPA_PLATFORM=offscreen", "LC_ALL=C"});
  }

  // A stand-in for the spooler's lp: a shell script with the given body.
  void WriteLp(const std::string& body) {
    std::filesystem::create_directories(dir_ + "/bin");
    std::ofstream(dir_ + "/bin/lp") << "#!/bin/sh\n" << body;
    std::filesystem::permissions(dir_ + "/bin/lp", std::filesystem::perms::owner_all);
  }
  // plumgr-cli with only the stand-in's folder on PATH.
  test::ProgramRun CliWithLp(std::vector<std::string> args) {
    return test::RunProgram(kCli, args,
                            {"QT_QPA_PLATFORM=offscreen", "LC_ALL=C", "PATH=" + dir_ + "/bin"});
  }
  // Each page of a PDF is one "/Type /Page" object ("/Type /Pages" is the tree).
  static int CountPages(const std::string& pdf) {
    int pages = 0;
    for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
      pages += pdf.compare(at, 12, "/Type /Pages") != 0;
    return pages;
  }

  std::string dir_;
  StringGrid plu_{10, 1};
};

TEST_F(OutputCliTest, ExportWritesEachFormat) {
  for (const char* name : {"out.xls", "out.xlsx", "out.csv"}) {
    test::ProgramRun run = Cli({"export", dir_ + "/shop.PLU", dir_ + "/" + name});
    EXPECT_EQ(run.ExitCode, 0) << name << ": " << run.Err;
  }
  if (!test::PythonThatImports("xlrd")) GTEST_SKIP() << test::kNoXlrd;
  std::string error;
  auto rows = test::ReadXlsWithXlrd(dir_ + "/out.xls", &error);
  ASSERT_TRUE(rows.has_value()) << error;
  ASSERT_EQ(rows->size(), 3001u);
  EXPECT_EQ((*rows)[0][1], "Barcode");
  EXPECT_EQ((*rows)[14][2], "PLU-14\u0105\u0119\u0142\u0144\u015B\u017A\u017C");
  EXPECT_EQ((*rows)[10][2], "");
  EXPECT_EQ(test::ParseCsv(test::ReadWholeFile(dir_ + "/out.csv")), *rows);
  // A set named without its extension means name.PLU.
  EXPECT_EQ(Cli({"export", dir_ + "/shop", dir_ + "/again.xls"}).ExitCode, 0);
}

TEST_F(OutputCliTest, ExportRefusesWhatItCannotDo) {
  // An extension that names no format keeps the name and holds a workbook, as
  // "Report Save As..." writes.
  test::ProgramRun run = Cli({"export", dir_ + "/shop.PLU", dir_ + "/out.txt"});
  EXPECT_EQ(run.ExitCode, 0) << run.Err;
  std::string error;
  EXPECT_TRUE(test::ReadXlsWithXlrd(dir_ + "/out.txt", &error).has_value()) << error;

  run = Cli({"export", dir_ + "/none.PLU", dir_ + "/out.xls"});
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_NE(run.Err.find("none.PLU"), std::string::npos) << run.Err;

  run = Cli({"export", dir_ + "/shop.PLU", dir_ + "/no/dir/out.xls"});
  EXPECT_EQ(run.ExitCode, 2);
  EXPECT_NE(run.Err.find("no/dir/out.xls"), std::string::npos) << run.Err;
  EXPECT_FALSE(std::filesystem::exists(dir_ + "/out.xls"));

  EXPECT_EQ(Cli({"export", dir_ + "/shop.PLU"}).ExitCode, 2);
}

TEST_F(OutputCliTest, PrintOutputHoldsExactlyThePrintedText) {
  test::ProgramRun run = Cli({"print", dir_ + "/shop.PLU", "--output", dir_ + "/print.txt"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  std::string text = test::ReadWholeFile(dir_ + "/print.txt");
  EXPECT_EQ(text, PluPrintText(plu_));
  EXPECT_EQ(text.find("PLU-10\t"), std::string::npos);
  EXPECT_NE(text.find("\r\n\tPLU-11\t110.00\t4\t"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2999);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\t'), 2999 * 8);
}

TEST_F(OutputCliTest, PrintOfAnEmptySetWritesAnEmptyText) {
  std::ofstream(dir_ + "/empty.PLU", std::ios::binary) << "";
  ASSERT_EQ(Cli({"print", dir_ + "/empty.PLU", "--output", dir_ + "/p.txt"}).ExitCode, 0);
  EXPECT_EQ(test::ReadWholeFile(dir_ + "/p.txt"), "");
  EXPECT_EQ(Cli({"print", dir_ + "/missing.PLU", "--output", dir_ + "/p.txt"}).ExitCode, 2);
}

TEST_F(OutputCliTest, PrintOutputToPdfHoldsThePrintedPages) {
  test::ProgramRun run = Cli({"print", dir_ + "/shop.PLU", "--output", dir_ + "/print.PDF"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  std::string pdf = test::ReadWholeFile(dir_ + "/print.PDF");
  EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
  EXPECT_NE(pdf.find("/Title"), std::string::npos);
  // 2999 lines at about sixty a page.
  EXPECT_GT(CountPages(pdf), 40);
}

// The default printer is reached through the spooler's `lp`. A stand-in on
// PATH takes the jobs, so no test ever prints on this machine's printer.
TEST_F(OutputCliTest, PrintHandsTheJobToTheSpoolersLpCommand) {
  WriteLp("printf '%s\\n' \"$@\" > " + dir_ + "/lp.args\n/bin/cat > " + dir_ + "/lp.job\n");
  test::ProgramRun run = CliWithLp({"print", dir_ + "/shop.PLU"});
  ASSERT_EQ(run.ExitCode, 0) << run.Err;
  EXPECT_EQ(run.Out, "Printed 2999 PLU rows\n");
  EXPECT_EQ(test::ReadWholeFile(dir_ + "/lp.args"), "-t\nPLU table\n");
  std::string job = test::ReadWholeFile(dir_ + "/lp.job");
  EXPECT_EQ(job.substr(0, 5), "%PDF-");
  EXPECT_GT(CountPages(job), 40);
}

TEST_F(OutputCliTest, PrintReportsTheSpoolersRefusal) {
  // The spooler refuses before it reads the job, as lp does without a destination.
  WriteLp("echo 'lp: Error - No default destination.' >&2\nexit 1\n");
  test::ProgramRun run = CliWithLp({"print", dir_ + "/shop.PLU"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Out, "");
  const std::string refusal = "plumgr-cli: lp: Error - No default destination.\n";
  EXPECT_TRUE(run.Err.ends_with(refusal)) << run.Err;

  // Without cups-client there is no lp at all.
  std::filesystem::remove(dir_ + "/bin/lp");
  run = CliWithLp({"print", dir_ + "/shop.PLU"});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_NE(run.Err.find("\"lp\""), std::string::npos) << run.Err;
  EXPECT_NE(run.Err.find("cups-client"), std::string::npos) << run.Err;
}

}  // namespace
}  // namespace plumgr
