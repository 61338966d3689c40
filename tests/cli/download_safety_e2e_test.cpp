// What plumgr-cli download refuses to send and what it sends, judged by the
// register's memory (ecrsim's saved state) and the files afterwards.

#include <gtest/gtest.h>

#include "cli/support/contract_fixture.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;
constexpr auto npos = std::string::npos;

class DownloadSafetyTest : public test::ContractTest {};

TEST_F(DownloadSafetyTest, MissingFilesAreRefusedBeforeThePortOpens) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::SimProcess sim(SimArgs({"--no-line-rate", "--fill-plus", "5"}));
  const auto refused = [&](const std::vector<std::string>& args,
                           const std::vector<std::string>& said) {
    test::ProcessResult r = Download(sim, args);
    EXPECT_EQ(r.ExitCode, 2) << r.Err;
    for (const std::string& text : said)
      EXPECT_NE(r.Err.find(text), npos) << text << " in " << r.Err;
  };
  refused({"shop.plu"}, {"\"shop.plu\" does not exist", "there is \"shop.PLU\""});
  fs::remove(Path("shop.DEP"));
  refused({"shop", "--kinds", "plu,department"},
          {"department kind: \"shop.DEP\" does not exist", "--kinds plu"});
  for (const char* name : {"shop.RCY", "shop.Sign", "shop.PAR"})
    fs::remove(Path(name));
  refused({"shop", "--kinds", "recycling,fastsale,vat"},
          {"\"shop.RCY\"", "\"shop.Sign\"", "vat kind: \"shop.PAR\" does not exist",
           "None of the chosen kinds"});
  sim.Stop();
  EXPECT_TRUE(Frames().empty()) << "the port was opened";
  EXPECT_EQ(Memory().Plus.size(), 5u) << "the register's PLUs were touched";
}

TEST_F(DownloadSafetyTest, TheSettingsFileStaysAndTheSetsParFeedsTheParameters) {
  const std::string settings = "[Comm]\r\nPort=3\r\n[Default]\r\nClerkPWD1=1234\r\nVAT1=05.00\r\n";
  Write("SYSTEM.CFG", settings);
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  Write("shop.PAR", "[Default]\r\nVAT1=23.00\r\nHeader1=Corner\r\nPrint Speed=3\r\n");
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  test::ProcessResult r = Download(sim, {"shop", "--kinds", "parameter,vat,header"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;

  // A .PAR without the kind's keys would send VAT rates of 00.00.
  Write("shop.PAR", "");
  r = Download(sim, {"shop", "--kinds", "vat"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("\"shop.PAR\" is empty or holds no settings key"), npos) << r.Err;
  Write("shop.PAR", "[Default]\r\nHeader1=Kiosk\r\n");
  r = Download(sim, {"shop", "--kinds", "vat"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("holds no VAT rate (VAT1 to VAT9)"), npos) << r.Err;
  r = Download(sim, {"shop", "--kinds", "header"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;

  sim.Stop();
  EXPECT_EQ(Read("SYSTEM.CFG"), settings);
  const std::string block = Memory().Parameters;
  EXPECT_EQ(block.substr(445, 2), "\x08\xFC") << "VAT rate A 23.00 from shop.PAR";
  EXPECT_EQ(block[223], 3) << "print speed";
  EXPECT_EQ(block.substr(45, 6), std::string("Kiosk\0", 6)) << "the last header sent";
}

// An editor's UTF-8 .PAR reaches the register in the set's code page, as the
// table files do; a letter that page lacks is refused before the port opens.
TEST_F(DownloadSafetyTest, AUtf8ParIsSentInTheSetsCodePage) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  Write("shop.PAR",
        "\xEF\xBB\xBF[Default]\r\nHeader1=Sklep \xC5\xBB"
        "abka\r\nClerkName1=\xC5\x81ucja\r\n");
  test::ProcessResult r = Download(sim, {"shop", "--kinds", "parameter,header"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;

  const std::size_t frames = Frames().size();
  Write("shop.PAR", "[Other]\r\nCodePage=CP852\r\n[Default]\r\nHeader1=Cena w \xE2\x82\xAC\r\n");
  r = Download(sim, {"shop", "--kinds", "plu,header"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find("header kind: \"shop.PAR\" [Default] Header1: U+20AC"), npos) << r.Err;
  EXPECT_NE(r.Err.find("is not in CP852"), npos) << r.Err;
  EXPECT_NE(r.Err.find("--kinds plu"), npos) << r.Err;
  sim.Stop();
  EXPECT_EQ(Frames().size(), frames) << "the port was opened";
  const std::string block = Memory().Parameters;
  EXPECT_EQ(block.substr(45, 12), std::string("Sklep \xAF"
                                              "abka\0",
                                              12));
  EXPECT_EQ(block.substr(364, 6), std::string("\xA3ucja\0", 6)) << "clerk 1 in Windows-1250";
}

TEST_F(DownloadSafetyTest, WithoutARangeTheWholeTableGoesAndABadRangeIsRefused) {
  ASSERT_EQ(Cli({"fill-test-data", "shop"}).ExitCode, 0);
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  test::ProcessResult r = Download(sim, {"shop", "--kinds", "plu"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("Downloaded PLU 1 to 3000 from shop.PLU"), npos) << r.Out;

  r = Cli({"--port", sim.Path(), "upload", "tail", "--kinds", "plu", "--from", "2999"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("Uploaded PLU 2999 to 3000"), npos) << r.Out;
  const std::vector<std::string> sent = test::CrLfLines(Read("shop.PLU"));
  const std::vector<std::string> tail = test::CrLfLines(Read("tail.PLU"));
  ASSERT_EQ(tail.size(), 3000u);
  EXPECT_EQ(tail[2998], sent[2998]);
  EXPECT_EQ(tail[2999], sent[2999]);
  r = Cli({"--port", sim.Path(), "upload", "head", "--kinds", "plu", "--to", "2"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(test::CrLfLines(Read("head.PLU")),
            std::vector<std::string>(sent.begin(), sent.begin() + 2));

  for (const std::vector<std::string>& range : std::vector<std::vector<std::string>>{
           {"--from", "5", "--to", "3"}, {"--from", "0"}, {"--to", "3001"}}) {
    std::vector<std::string> args = {"shop", "--kinds", "plu"};
    args.insert(args.end(), range.begin(), range.end());
    r = Download(sim, args);
    EXPECT_EQ(r.ExitCode, 2) << range[0];
    EXPECT_EQ(test::LastLine(r.Err), "Invalid PLU range");
    EXPECT_NE(r.Err.find("PLU 1 to 3000"), npos) << r.Err;
  }
  sim.Stop();
  const test::RegisterMemory memory = Memory();
  EXPECT_EQ(memory.Plus.size(), 3000u);
  EXPECT_EQ(memory.PluName(2999), "PLU-3000");
}

TEST_F(DownloadSafetyTest, AServiceValueNamingNoModelWarnsAndUsesModelZero) {
  Write("SYSTEM.CFG", "[Other]\r\nService=5\r\n");
  Write("shop.PLU", "11\tTea\t1.50\t1\r\n12\tMilk\t2.50\t2\r\n");
  test::SimProcess sim(SimArgs({"--no-line-rate", "--fill-plus", "5"}));
  test::ProcessResult r = Download(sim, {"shop", "--kinds", "plu", "--to", "2"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Err.find("[Other] Service=5 names no register model: using model 0"), npos) << r.Err;
  sim.Stop();
  const test::RegisterMemory memory = Memory();
  EXPECT_EQ(memory.PluName(0), "Tea");
  EXPECT_EQ(memory.PluName(1), "Milk");
  EXPECT_EQ(memory.Plus.size(), 5u) << "PLUs 3 to 5 are not the download's";
}

TEST_F(DownloadSafetyTest, CellsTheRegisterCannotHoldAreRefusedAndCheckReportsThem) {
  Write("shop.PLU",
        "1\tTea\t1.00\t\t0.000\t0\r\n"                     // Department empty
        "2\tCoffee from the hills\t1.00\t1\t0.000\t0\r\n"  // Name over 18 characters
        "3\tMilk\t1.00\t1\t0.000\t300\r\n"                 // Flag over 100
        "\t\t\t\t\t\r\n"                                   // no name: sent as an empty PLU
        "5\tTea\t2.00\t2\t0.000\t0\r\n");                  // a repeat: redirected, not refused
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  const std::vector<std::string> faults = {"shop.PLU: row 1, column 4 (Department)",
                                           "shop.PLU: row 2, column 2 (Name)",
                                           "shop.PLU: row 3, column 6 (Flag)"};
  test::ProcessResult r = Download(sim, {"shop", "--kinds", "plu", "--to", "5"});
  EXPECT_EQ(r.ExitCode, 2);
  test::ProcessResult check = Cli({"check", "shop"});
  EXPECT_EQ(check.ExitCode, 1);
  for (const std::string& fault : faults) {
    EXPECT_NE(r.Err.find(fault), npos) << r.Err;
    EXPECT_NE(check.Out.find(fault), npos) << check.Out;
  }
  EXPECT_EQ(r.Err.find("row 4"), npos) << r.Err;
  EXPECT_EQ(r.Err.find("row 5"), npos) << r.Err;
  EXPECT_NE(check.Out.find("PLU name repeat: No. 1 and No. 5"), npos) << check.Out;

  Write("shop.PLU",
        "1\tTea\t1.00\t1\r\n2\tCoffee\t1.00\t1\r\n3\tMilk\t1.00\t1\r\n\t\t\r\n5\tTea\t2.00\t2\r\n");
  r = Download(sim, {"shop", "--kinds", "plu", "--to", "5"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(test::CrLfLines(Read("RepeatPLUReport.txt")).size(), 2u);
  sim.Stop();
  const test::RegisterMemory memory = Memory();
  EXPECT_EQ(memory.Plus.size(), 3u);
  EXPECT_EQ(memory.Plus.at(0).substr(25, 4), std::string("\0\0\0\xC8", 4))
      << "the repeated Tea at 2.00 took the first one's slot";
}

TEST_F(DownloadSafetyTest, Utf8FilesAreConvertedAndWindows1250OnesSentByteForByte) {
  Write("utf.PLU", "1\tŻółw\t1.00\t1\r\n2\tŹdźbło żółte ąęćńś\t1.00\t1\r\n");
  Write("cp.PLU", "\r\n\r\n3\t\xA3\xF3\x64\x9F\t1.00\t1\r\n");  // Łódź in Windows-1250
  Write("bad.PLU", "1\tJalapeño\t1.00\t1\r\n");
  test::SimProcess sim(SimArgs({"--no-line-rate"}));
  test::ProcessResult r = Download(sim, {"utf", "--kinds", "plu", "--to", "2"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  r = Download(sim, {"cp", "--kinds", "plu", "--from", "3", "--to", "3"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;

  const std::string fault = "bad.PLU: row 1, column 2 (Name): U+00F1";
  test::ProcessResult check = Cli({"check", "bad"});
  EXPECT_EQ(check.ExitCode, 1);
  EXPECT_NE(check.Out.find(fault), npos) << check.Out;
  r = Download(sim, {"bad", "--kinds", "plu", "--to", "1"});
  EXPECT_EQ(r.ExitCode, 2);
  EXPECT_NE(r.Err.find(fault), npos) << r.Err;

  sim.Stop();
  const test::RegisterMemory memory = Memory();
  EXPECT_EQ(memory.PluName(0), "\xAF\xF3\xB3w");
  EXPECT_EQ(memory.PluName(1), "\x8F\x64\x9F\x62\xB3o \xBF\xF3\xB3te \xB9\xEA\xE6\xF1\x9C");
  EXPECT_EQ(memory.PluName(2), "\xA3\xF3\x64\x9F");
}

}  // namespace
}  // namespace plumgr
