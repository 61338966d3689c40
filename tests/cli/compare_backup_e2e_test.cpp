// plumgr-cli diff, download --backup, restore and the backups an upload keeps,
// against the real ecrsim program.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/support/run_process.h"
#include "cli/support/sim_process.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettings =
    "[Default]\r\nVAT1=23.00\r\nVAT2=08.00\r\nHeader1=Corner shop and delicatessen\r\n"
    "ClerkName1=Anna\r\nClerkPWD1=1234\r\nFlag13=1\r\n-% rate=05.00\r\n";

class CompareBackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_cli_compare_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = Path("SYSTEM.CFG");
    std::ofstream(settings_, std::ios::binary) << kSettings;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Read(const std::string& name) { return test::ReadWholeFile(Path(name)); }
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary | std::ios::trunc) << bytes;
  }

  test::ProcessResult Cli(const std::string& port, std::vector<std::string> args) {
    args.insert(args.begin(),
                {"--settings", settings_, "--dump-dir", Path("dumps"), "--port", port, "-q"});
    return test::RunProcess(test::CliPath(), args, dir_.string());
  }

  // Replaces line `row` (from 1) of a CR LF file; lines beyond the end are added.
  void SetLine(const std::string& name, int row, const std::string& line) {
    std::vector<std::string> lines = test::CrLfLines(Read(name));
    if (lines.size() < static_cast<std::size_t>(row)) lines.resize(row);
    lines[row - 1] = line;
    std::string text;
    for (const std::string& l : lines)
      text += l + "\r\n";
    Write(name, text);
  }
  std::string Line(const std::string& name, int row) {
    return test::CrLfLines(Read(name)).at(row - 1);
  }

  // The register's frames of one package type in the ecrsim log.
  int Received(const std::string& log, int type) {
    std::istringstream in(Read(log));
    int count = 0;
    for (std::string line; std::getline(in, line);)
      if (line.find("\"type\":" + std::to_string(type) + ",") != std::string::npos) ++count;
    return count;
  }

  fs::path dir_;
  std::string settings_;
};

// JSON lines of one event in a command's output.
std::vector<std::string> Events(const std::string& out, const std::string& event) {
  std::vector<std::string> found;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    if (line.rfind("{\"event\":\"" + event + "\"", 0) == 0) found.push_back(line);
  return found;
}

TEST_F(CompareBackupTest, TheDiffFindsTheOneChangedPriceAmong3000AndSendsNothing) {
  test::SimProcess sim({"--log", Path("sim.log"), "--no-line-rate"});
  ASSERT_FALSE(sim.Path().empty());
  ASSERT_EQ(Cli(sim.Path(), {"fill-test-data", "shop"}).ExitCode, 0);
  test::ProcessResult down = Cli(sim.Path(), {"download", "shop"});
  ASSERT_EQ(down.ExitCode, 0) << down.Err;
  ASSERT_EQ(Received("sim.log", 13), 1000) << "3000 PLUs, three to a package";
  const std::vector<int> write_types = {13, 12, 4, 1, 98};
  std::vector<int> written;
  for (int type : write_types)
    written.push_back(Received("sim.log", type));

  test::ProcessResult same = Cli(sim.Path(), {"--json", "diff", "shop"});
  EXPECT_EQ(same.ExitCode, 0) << same.Out << same.Err;
  EXPECT_TRUE(Events(same.Out, "difference").empty()) << same.Out;

  SetLine("shop.PLU", 1234, "1234567801234\tPLU-1234\t12345.67\t3\t0.000\t0\t0\t0\t0");
  test::ProcessResult diff = Cli(sim.Path(), {"--json", "diff", "shop"});
  EXPECT_EQ(diff.ExitCode, 1) << diff.Err;
  const std::vector<std::string> rows = Events(diff.Out, "difference");
  ASSERT_EQ(rows.size(), 1u) << diff.Out;
  EXPECT_EQ(rows[0],
            R"({"event":"difference","kind":"plu","number":1234,"action":"change","fields":)"
            R"([{"field":"Unit price","old":"12340.00","new":"12345.67"}]})");
  EXPECT_NE(test::LastLine(diff.Out).find(R"("exit":1,)"), std::string::npos);
  EXPECT_NE(test::LastLine(diff.Out).find(R"("differences":1)"), std::string::npos);

  // Reading for a comparison writes nothing to the register.
  for (std::size_t i = 0; i < write_types.size(); ++i)
    EXPECT_EQ(Received("sim.log", write_types[i]), written[i]) << "type " << write_types[i];
}

// A set written in CP852 is shown in its own letters: the JSON lines hold the
// name as UTF-8, not its bytes read as Windows-1250.
TEST_F(CompareBackupTest, TheDiffShowsTheNamesInTheCodePageOfTheSet) {
  test::SimProcess sim({"--no-line-rate"});
  ASSERT_FALSE(sim.Path().empty());
  ASSERT_EQ(Cli(sim.Path(), {"fill-test-data", "shop"}).ExitCode, 0);
  Write("shop.PAR", Read("shop.PAR") + "[Other]\r\nCodePage=CP852\r\n");
  ASSERT_EQ(Cli(sim.Path(), {"download", "shop", "--kinds", "plu", "--to", "3"}).ExitCode, 0);
  SetLine("shop.PLU", 2,
          "1234567800002\t\x9D\xA2"
          "d\xAB\t20.00\t3\t0.000\t0\t0\t0\t0");
  test::ProcessResult diff =
      Cli(sim.Path(), {"--json", "diff", "shop", "--kinds", "plu", "--to", "3"});
  EXPECT_EQ(diff.ExitCode, 1) << diff.Err;
  const std::vector<std::string> rows = Events(diff.Out, "difference");
  ASSERT_EQ(rows.size(), 1u) << diff.Out;
  EXPECT_NE(rows[0].find("\"new\":\"\xC5\x81\xC3\xB3"
                         "d\xC5\xBA\""),
            std::string::npos)
      << rows[0];
}

// The compared download sends a row whose name the register holds to the PLU
// that holds it; the comparison shows that PLU, and after the download there
// is nothing left to show.
TEST_F(CompareBackupTest, TheDiffFollowsTheDownloadWhereItMovesARowToItsName) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate"});
  ASSERT_EQ(Cli(sim.Path(), {"fill-test-data", "shop"}).ExitCode, 0);
  ASSERT_EQ(Cli(sim.Path(), {"download", "shop", "--kinds", "plu", "--to", "20"}).ExitCode, 0);
  SetLine("shop.PLU", 2, "1234567800002\tRenamed-2\t20.00\t3\t0.000\t0\t0\t0\t0");
  SetLine("shop.PLU", 5, "1234567800005\tPLU-2\t50.00\t6\t0.000\t0\t0\t0\t0");

  const std::vector<std::string> narrow = {"--kinds", "plu", "--from", "5", "--to", "13"};
  std::vector<std::string> args = {"diff", "shop"};
  args.insert(args.end(), narrow.begin(), narrow.end());
  test::ProcessResult diff = Cli(sim.Path(), args);
  EXPECT_EQ(diff.ExitCode, 1) << diff.Err;
  EXPECT_EQ(diff.Out,
            "PLU 2 change (from row 5): Barcode \"1234567800002\" -> \"1234567800005\"; "
            "Unit price \"20.00\" -> \"50.00\"; Department \"3\" -> \"6\"\n"
            "1 row differs: a download of shop.PLU would change them\n");

  args[0] = "download";
  ASSERT_EQ(Cli(sim.Path(), args).ExitCode, 0);
  args[0] = "diff";
  EXPECT_EQ(Cli(sim.Path(), args).ExitCode, 0) << "the register holds what was predicted";
  ASSERT_EQ(Cli(sim.Path(), {"upload", "back", "--kinds", "plu", "--to", "5"}).ExitCode, 0);
  EXPECT_EQ(Line("back.PLU", 2), "1234567800005\tPLU-2\t50.00\t6\t0.000\t0\t0\t0\t0");
  EXPECT_EQ(Line("back.PLU", 5), "1234567800005\tPLU-5\t50.00\t6\t0.000\t0\t0\t0\t0");
}

// Set B on the register; set A downloaded over it with --backup; the backup
// restored: the register's memory is B's again, byte for byte, although A
// moved names, cleared PLUs, shortened the header and packed barcodes with
// leading zeros, none of which the set files alone could put back.
TEST_F(CompareBackupTest, ARestoredBackupGivesTheRegisterItsMemoryBackByteForByte) {
  ASSERT_EQ(Cli("COM1", {"fill-test-data", "b"}).ExitCode, 0);
  ASSERT_EQ(Cli("COM1", {"fill-test-data", "a"}).ExitCode, 0);
  Write("b.PAR", std::string(kSettings) +
                     "Header2=Open every day from dawn\r\n"
                     "ClerkName2=Bartholomew\r\nBCode3=7\r\n");
  Write("a.PAR",
        "[Default]\r\nVAT1=05.00\r\nVAT2=08.00\r\nHeader1=Shop\r\nHeader2=Open\r\n"
        "HeaderBold2=1\r\nClerkName1=Bo\r\nClerkPWD1=99\r\nFlag13=0\r\nTax-free=1\r\n");
  SetLine("b.Sign", 1, "0000123\t1");
  SetLine("b.Sign", 2, "5900000000017\t0");
  SetLine("a.PLU", 3, "1234567800009\tPLU-9\t1.00\t1\t0.000\t0\t0\t0\t0");
  SetLine("a.PLU", 9, "1234567800003\tSwapped-3\t3.00\t1\t0.000\t0\t0\t0\t0");
  std::string a_plu = Read("a.PLU");
  Write("a.PLU", a_plu.substr(0, a_plu.find("\tPLU-2001\t") - 13));  // rows 2001.. cleared
  SetLine("a.DEP", 4, "\t1\t0.00");
  SetLine("a.RCY", 7, "7\t99.99");
  SetLine("a.Sign", 1, "0012\t0");

  {
    test::SimProcess sim({"--log", "/dev/null", "--no-line-rate", "--save-state", Path("b.state")});
    ASSERT_EQ(Cli(sim.Path(), {"download", "b"}).ExitCode, 0);
  }
  {
    test::SimProcess sim({"--log", "/dev/null", "--no-line-rate", "--state", Path("b.state"),
                          "--save-state", Path("after.state")});
    test::ProcessResult down = Cli(sim.Path(), {"--json", "download", "a", "--backup"});
    ASSERT_EQ(down.ExitCode, 0) << down.Err;
    ASSERT_EQ(Events(down.Out, "backup").size(), 1u) << down.Out;
    ASSERT_EQ(Cli(sim.Path(), {"diff", "b"}).ExitCode, 1) << "the register no longer holds B";

    std::vector<fs::path> backups;
    for (const auto& entry : fs::directory_iterator(dir_ / "a.backups"))
      backups.push_back(entry.path());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].filename().string().rfind("register-", 0), 0u);
    EXPECT_EQ(test::ReadWholeFile((backups[0] / "a.DEP").string()), Read("b.DEP"))
        << "the backup is a set that opens like any other";
    test::ProcessResult restore = Cli(sim.Path(), {"restore", backups[0].string()});
    ASSERT_EQ(restore.ExitCode, 0) << restore.Err;
  }
  const std::string before = Read("b.state");
  ASSERT_NE(before.find("parameters "), std::string::npos);
  EXPECT_EQ(Read("after.state"), before);
}

// A register that now counts prices with three decimals gets the backup's
// prices from its set files, not its bytes (which would be ten times off); a
// damaged register image is refused before anything is sent.
TEST_F(CompareBackupTest, ARestoreSendsPricesAsTheRegisterCountsThemNowAndRefusesADamagedImage) {
  ASSERT_EQ(Cli("COM1", {"fill-test-data", "shop"}).ExitCode, 0);
  const std::vector<std::string> kinds = {"--kinds", "plu,department", "--to", "8"};
  std::vector<std::string> backup = {"download", "shop", "--backup"};
  backup.insert(backup.end(), kinds.begin(), kinds.end());
  {
    test::SimProcess sim({"--log", "/dev/null", "--no-line-rate", "--fill-plus", "8",
                          "--save-state", Path("held.state")});
    ASSERT_EQ(Cli(sim.Path(), backup).ExitCode, 0);
  }
  fs::path folder;
  for (const auto& entry : fs::directory_iterator(dir_ / "shop.backups"))
    folder = entry.path();
  const std::string image = (folder / "register.img").string();
  const std::string bytes = test::ReadWholeFile(image);
  std::ofstream(image, std::ios::binary | std::ios::app) << "plu-package 0 12\n";
  test::SimProcess sim({"--log", Path("sim.log"), "--no-line-rate", "--state", Path("held.state"),
                        "--price-decimals", "3"});
  test::ProcessResult damaged = Cli(sim.Path(), {"restore", folder.string()});
  EXPECT_EQ(damaged.ExitCode, 2);
  EXPECT_NE(test::LastLine(damaged.Err).find("register.img: line "), std::string::npos)
      << damaged.Err;
  EXPECT_EQ(Received("sim.log", 14), 0) << "nothing reached the register";

  Write((folder / "register.img").lexically_relative(dir_).string(), bytes);
  ASSERT_EQ(Cli(sim.Path(), {"restore", folder.string()}).ExitCode, 0);
  ASSERT_EQ(Cli(sim.Path(), {"upload", "back", "--kinds", "plu", "--to", "8"}).ExitCode, 0);
  // The sales figures the upload adds are the register's, not the backup's.
  EXPECT_EQ(Line("back.PLU", 3).rfind("2000000000003\tITEM 3\t3.00\t3\t3.000\t0\t", 0), 0u)
      << Line("back.PLU", 3);
}

TEST_F(CompareBackupTest, AnUploadKeepsTheSetsPreviousFilesAndOnlyTheNewest20) {
  test::SimProcess sim({"--log", "/dev/null", "--no-line-rate"});
  ASSERT_EQ(Cli(sim.Path(), {"fill-test-data", "shop"}).ExitCode, 0);
  ASSERT_EQ(Cli(sim.Path(), {"download", "shop", "--kinds", "department"}).ExitCode, 0);
  const std::vector<std::string> upload = {"upload", "up", "--kinds", "department"};
  ASSERT_EQ(Cli(sim.Path(), upload).ExitCode, 0);
  EXPECT_FALSE(fs::exists(dir_ / "up.backups")) << "a new set has nothing to keep";

  std::string first_kept;
  for (int i = 1; i <= 21; ++i) {
    SetLine("up.DEP", 1, "Before upload " + std::to_string(i) + "\t1\t0.00");
    test::ProcessResult r = Cli(sim.Path(), upload);
    ASSERT_EQ(r.ExitCode, 0) << r.Err;
    if (i == 1)
      for (const auto& entry : fs::directory_iterator(dir_ / "up.backups"))
        first_kept = entry.path().filename().string();
  }
  std::vector<std::string> kept;
  for (const auto& entry : fs::directory_iterator(dir_ / "up.backups"))
    kept.push_back(entry.path().string());
  std::sort(kept.begin(), kept.end());
  ASSERT_EQ(kept.size(), 20u);
  EXPECT_FALSE(fs::exists(dir_ / "up.backups" / first_kept)) << "the oldest went";
  std::string newest;
  for (const std::string& path : kept)
    if (test::ReadWholeFile(path + "/up.DEP").find("Before upload 21\t") != std::string::npos)
      newest = path;
  ASSERT_FALSE(newest.empty()) << "the files as they were before the last upload";
  EXPECT_NE(test::ReadWholeFile(newest + "/backup.ini").find("Origin=files\r\n"),
            std::string::npos);
  EXPECT_EQ(Line("up.DEP", 1), "Deptment-1\t2\t10.00") << "what the register holds";

  std::ofstream(settings_, std::ios::binary | std::ios::app) << "[Other]\r\nBackups=2\r\n";
  ASSERT_EQ(Cli(sim.Path(), upload).ExitCode, 0);
  kept.clear();
  for (const auto& entry : fs::directory_iterator(dir_ / "up.backups"))
    kept.push_back(entry.path().string());
  EXPECT_EQ(kept.size(), 2u);
}

}  // namespace
}  // namespace plumgr
