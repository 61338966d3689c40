// What plumgr-cli writes into the operator's files, and what it leaves: the
// files of an existing set, read-only files, names from the register, exports.

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "cli/support/contract_fixture.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

class SetWritingTest : public test::ContractTest {
 protected:
  void ReadOnly(const std::string& name) const { ::chmod(Path(name).c_str(), 0444); }
};

// A 64-byte PLU record as the register keeps it, in a state file's hex.
std::string PluRecordHex(int barcode, const std::string& name) {
  std::string record(64, '\0');
  record[6] = static_cast<char>(barcode);
  record.replace(7, name.size(), name);
  record[28] = 100;  // 1.00
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (unsigned char c : record)
    hex += {digits[c >> 4], digits[c & 15]};
  return hex;
}

TEST_F(SetWritingTest, AnUploadWritesOnlyTheFilesOfItsKindsAndTriesThemFirst) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::SimProcess sim(SimArgs({"--no-line-rate", "--fill-plus", "8"}));
  std::map<std::string, std::string> before = SetFiles("shop");
  test::ProcessResult r = Upload(sim, {"shop", "--kinds", "parameter"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  std::map<std::string, std::string> after = SetFiles("shop");
  EXPECT_EQ(after["shop.PAR"], Read("SYSTEM.CFG"));
  after.erase("shop.PAR");
  before.erase("shop.PAR");
  EXPECT_EQ(after, before) << "only shop.PAR is the parameter kind's";

  r = Upload(sim, {"shop", "--kinds", "plu", "--from", "5", "--to", "8"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::vector<std::string> old_rows = test::CrLfLines(before["shop.PLU"]);
  const std::vector<std::string> rows = test::CrLfLines(Read("shop.PLU"));
  ASSERT_EQ(rows.size(), old_rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (i < 4 || i >= 8) {
      EXPECT_EQ(rows[i], old_rows[i]) << "PLU " << i + 1;
    }
  EXPECT_NE(rows[4].find("\tITEM 5\t"), npos) << "PLU 5 comes from the register: " << rows[4];
  EXPECT_EQ(Read("shop.DEP"), before["shop.DEP"]);

  // Nothing is read from the register that could not be written afterwards.
  const std::size_t frames_before = test::ReceivedFrames(Path("sim.log")).size();
  ReadOnly("shop.DEP");
  r = Upload(sim, {"shop", "--kinds", "plu,department"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("\"shop.DEP\". The file is read-only"), npos) << r.Err;
  ReadOnly("SYSTEM.CFG");
  r = Upload(sim, {"shop", "--kinds", "parameter"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("SYSTEM.CFG\". The file is read-only"), npos) << r.Err;
  r = Upload(sim, {Path("gone/shop"), "--kinds", "plu"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("the folder does not exist"), npos) << r.Err;
  EXPECT_EQ(test::ReceivedFrames(Path("sim.log")).size(), frames_before);
  EXPECT_EQ(Read("shop.DEP"), before["shop.DEP"]);
}

TEST_F(SetWritingTest, NoCommandReplacesASetOrWritesThroughAReadOnlyFile) {
  Write("shop.PLU", "1\tMine\t1.00\t1\r\n");
  test::ProcessResult r = Cli({"fill-test-data", "shop"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("--force"), npos) << r.Err;
  EXPECT_EQ(SetFiles("shop").size(), 1u) << "no companion was written";

  ReadOnly("shop.PLU");
  r = Cli({"fill-test-data", "--force", "shop"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("\"shop.PLU\". The file is read-only"), npos) << r.Err;
  EXPECT_EQ(SetFiles("shop").size(), 1u) << "no file of the set was replaced";
  EXPECT_EQ(Read("shop.PLU"), "1\tMine\t1.00\t1\r\n");

  Write("out.xls", "kept");
  ReadOnly("out.xls");
  r = Cli({"export", "shop", "out.xls"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("out.xls"), npos) << r.Err;
  EXPECT_EQ(Read("out.xls"), "kept");

  // What the register answered does not excuse writing through the mark.
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  fs::create_directories(Path("dumps"));
  Write("dumps/downloadplu.hex", "old");
  ReadOnly("dumps/downloadplu.hex");
  r = Cli({"--port", sim.Path(), "download", "shop", "--kinds", "plu", "--to", "3"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("downloadplu.hex\". The file is read-only"), npos) << r.Err;
  EXPECT_EQ(Read("dumps/downloadplu.hex"), "old");
  const std::string settings = "[Comm]\r\nCOM3=" + sim.Path() + "\r\n";
  Write("SYSTEM.CFG", settings);
  ReadOnly("SYSTEM.CFG");
  r = Cli({"detect", "--apply", "--port", "COM3"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("SYSTEM.CFG\". The file is read-only"), npos) << r.Err;
  EXPECT_EQ(Read("SYSTEM.CFG"), settings);

  ::chmod(Path("shop.PLU").c_str(), 0644);
  r = Cli({"fill-test-data", "--force", "shop"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(test::CrLfLines(Read("shop.PLU")).size(), 3000u);
}

TEST_F(SetWritingTest, NamesFromTheRegisterStayInTheirColumns) {
  Write("tabs.state", "ecrsim-state 1\nplu 0 " + PluRecordHex(1, "Tea\tgreen") + "\nplu 1 " +
                          PluRecordHex(2, "Milk\r\nfull") + "\nplu 2 " + PluRecordHex(3, "Bread") +
                          "\n");
  test::SimProcess sim(SimArgs({"--no-line-rate", "--state", Path("tabs.state")}));
  test::ProcessResult r = Upload(sim, {"up", "--kinds", "plu", "--to", "3"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("2 name(s) held a tab or line break, stored as a space"), npos) << r.Out;
  const std::vector<std::string> expected = {"1\tTea green\t1.00\t1\t0.000\t0\t0\t0\t0",
                                             "2\tMilk  full\t1.00\t1\t0.000\t0\t0\t0\t0",
                                             "3\tBread\t1.00\t1\t0.000\t0\t0\t0\t0"};
  EXPECT_EQ(test::CrLfLines(Read("up.PLU")), expected);

  // The set reads back as it was written, row for row.
  ASSERT_EQ(Cli({"--port", sim.Path(), "download", "up", "--kinds", "plu", "--to", "3"}).ExitCode,
            0);
  r = Upload(sim, {"again", "--kinds", "plu", "--to", "3"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(Read("again.PLU"), Read("up.PLU"));
  EXPECT_EQ(r.Out.find("name(s) held"), npos) << r.Out;
}

TEST_F(SetWritingTest, ExportNamesChooseTheFormatAndOverlongCellsAreRefused) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  const std::string xls_magic = "\xD0\xCF\x11\xE0";
  ASSERT_EQ(Cli({"export", "shop", "report"}).ExitCode, 0);
  EXPECT_EQ(Read("report.xls").substr(0, 4), xls_magic);
  ASSERT_EQ(Cli({"export", "shop", "report.dat"}).ExitCode, 0);
  EXPECT_EQ(Read("report.dat").substr(0, 4), xls_magic) << "the name is kept, the file is .xls";
  ASSERT_EQ(Cli({"export", "shop", "report.xlsx"}).ExitCode, 0);
  EXPECT_EQ(Read("report.xlsx").substr(0, 2), "PK");
  ASSERT_EQ(Cli({"export", "shop", "report.csv"}).ExitCode, 0);
  EXPECT_EQ(Read("report.csv").substr(0, 4), "NO.,");

  Write("long.PLU", "1\t" + std::string(70000, 'A') + "\t1.00\t1\r\n");
  for (const char* name : {"long.xls", "long.xlsx"}) {
    test::ProcessResult r = Cli({"export", "long", name});
    EXPECT_EQ(r.ExitCode, 2) << name;
    EXPECT_NE(r.Err.find("cell C2 holds 70000 characters"), npos) << r.Err;
    EXPECT_FALSE(fs::exists(Path(name)));
  }
  EXPECT_EQ(Cli({"export", "long", "long.csv"}).ExitCode, 0) << "a .csv cell has no limit";
}

}  // namespace
}  // namespace plumgr
