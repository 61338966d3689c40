// The data file set: its five formats, saving and loading, and what happens to
// the files on disk when something goes wrong.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <csignal>

#include "data/data_file_format.h"
#include "data/data_file_set.h"
#include "data/set_conversion.h"
#include "temp_dir.h"

namespace plumgr {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

constexpr int kPluRows = 3000;
constexpr int kDeptRows = 16;

// The cells as a reset leaves them, which the reader keeps where a line has no field.
void ResetPlu(StringGrid& grid, char sep) {
  const std::string defaults[] = {
      "",  "",  "", std::string("0") + sep + "00", "1", std::string("0") + sep + "000", "0",
      "0", "0", "0"};
  for (int row = 1; row < grid.RowCount(); ++row)
    for (int col = 1; col < grid.ColCount(); ++col)
      grid.SetCell(col, row, defaults[col]);
}

void ResetDepartments(StringGrid& grid, char sep) {
  const std::string defaults[] = {"", "", "1", std::string("0") + sep + "00"};
  for (int row = 1; row < grid.RowCount(); ++row)
    for (int col = 1; col < grid.ColCount(); ++col)
      grid.SetCell(col, row, defaults[col]);
}

struct Tables {
  explicit Tables(char sep, std::string settings)
      : Recycling(InitialRecyclingTable(sep)), SettingsPath(std::move(settings)) {
    ResetPlu(Plu, sep);
    ResetDepartments(Departments, sep);
  }
  DataFileSetTables View() { return {Plu, Departments, FastSale, Recycling, SettingsPath}; }

  StringGrid Plu{10, kPluRows + 1};
  StringGrid Departments{4, kDeptRows + 1};
  FastSaleTable FastSale = InitialFastSaleTable();
  RecyclingTable Recycling;
  std::string SettingsPath;
};

class DataFileSetTest : public ::testing::TestWithParam<char> {
 protected:
  char sep_ = GetParam();
  std::string Money(const char* whole, const char* cents) {
    return std::string(whole) + sep_ + cents;
  }
  TempDir dir_;
  std::string settings_ = dir_.File("SYSTEM.CFG");
  std::string name_ = dir_.File("shop.PLU");
  Tables tables_{sep_, settings_};
};

TEST_P(DataFileSetTest, UnusedRowsBeforeTheLastUsedOneAreWrittenWithTheirDefaults) {
  tables_.Plu.SetCell(2, 2, "Bread");
  tables_.Plu.SetCell(2, 5, "Milk");
  tables_.Plu.SetCell(1, 7, "5900000000007");  // a barcode without a name is not a used row
  const std::string blank =
      "\t\t" + Money("0", "00") + "\t1\t" + Money("0", "000") + "\t0\t0\t0\t0\r\n";
  const std::string bread =
      "\tBread\t" + Money("0", "00") + "\t1\t" + Money("0", "000") + "\t0\t0\t0\t0\r\n";
  const std::string milk =
      "\tMilk\t" + Money("0", "00") + "\t1\t" + Money("0", "000") + "\t0\t0\t0\t0\r\n";
  ASSERT_TRUE(SaveSet(name_, tables_.View()));
  EXPECT_EQ(ReadBytes(name_), blank + bread + blank + blank + milk);
}

TEST_P(DataFileSetTest, AnEmptySetWritesItsFixedFilesAndAnEmptyTable) {
  ASSERT_TRUE(SaveSet(name_, tables_.View()));
  EXPECT_EQ(ReadBytes(name_), "");
  EXPECT_EQ(ReadBytes(dir_.File("shop.DEP")), "");
  std::string sign;
  for (int i = 0; i < 16; ++i)
    sign += "\t0\r\n";
  EXPECT_EQ(ReadBytes(dir_.File("shop.Sign")), sign);
  std::string recycling;
  for (int i = 1; i <= 100; ++i)
    recycling += std::to_string(i) + "\t" + Money("0", "00") + "\r\n";
  EXPECT_EQ(ReadBytes(dir_.File("shop.RCY")), recycling);
  // No settings file means every key at its default, which an empty copy says too.
  EXPECT_EQ(ReadBytes(dir_.File("shop.PAR")), "");

  Tables loaded(sep_, settings_);
  ASSERT_TRUE(LoadSet(name_, loaded.View()));
  Tables fresh(sep_, settings_);
  for (int row = 1; row <= kPluRows; ++row)
    for (int col = 1; col < 10; ++col)
      ASSERT_EQ(loaded.Plu.Cell(col, row), fresh.Plu.Cell(col, row)) << row << "," << col;
  EXPECT_EQ(ReadBytes(settings_), "");
}

TEST_P(DataFileSetTest, ASavedSetReadsBackAndSavesToTheSameBytes) {
  for (int row = 1; row <= kPluRows; row += 7) {
    tables_.Plu.SetCell(1, row, "590" + std::to_string(row));
    tables_.Plu.SetCell(2, row, "Name \xA3\xF3 " + std::to_string(row));
    tables_.Plu.SetCell(3, row, Money("12", "50"));
  }
  tables_.Departments.SetCell(1, 16, "Last");
  tables_.FastSale[3] = {4, "5901234123457", 1};
  tables_.Recycling[99] = {"100", Money("1", "25")};
  WriteBytes(settings_, "[Default]\r\nHeader1=\"  SKLEP  \"\r\n; kept\n");
  ASSERT_TRUE(SaveSet(name_, tables_.View()));

  Tables loaded(sep_, dir_.File("other.CFG"));
  ASSERT_TRUE(LoadSet(name_, loaded.View()));
  EXPECT_EQ(loaded.Plu.Cell(2, 7 * 100 + 1), "Name \xA3\xF3 701");
  EXPECT_EQ(loaded.Departments.Cell(1, 16), "Last");
  EXPECT_EQ(loaded.FastSale[3].Barcode, "5901234123457");
  EXPECT_EQ(loaded.FastSale[3].SignFlag, 1);
  EXPECT_EQ(loaded.FastSale[0].ButtonNumber, 1);
  EXPECT_EQ(loaded.Recycling[99].PackagePrice, Money("1", "25"));
  EXPECT_EQ(ReadBytes(loaded.SettingsPath), ReadBytes(settings_));

  const std::string copy = dir_.File("copy.PLU");
  ASSERT_TRUE(SaveSet(copy, loaded.View()));
  for (const char* ext : {".PLU", ".Sign", ".DEP", ".RCY", ".PAR"})
    EXPECT_EQ(ReadBytes(CompanionName(copy, ext)), ReadBytes(CompanionName(name_, ext))) << ext;
}

TEST_P(DataFileSetTest, ASetWrittenByTheWindowsProgramReads) {
  WriteBytes(name_, "5900001\tMas\xB3o\t" + Money("7", "99") + "\t2\t" + Money("1", "500") +
                        "\t1\t0\t0\t1\r\n\t\t" + Money("0", "00") + "\t1\t" + Money("0", "000") +
                        "\t0\t0\t0\t0\r\n\tSer\t" + Money("3", "10") + "\t3\t" + Money("0", "000") +
                        "\t0\t0\t0\t0\r\n");
  WriteBytes(dir_.File("shop.DEP"), "Nabia\xB3\t1\t" + Money("0", "00") + "\r\n");
  WriteBytes(dir_.File("shop.Sign"), "5900001\t1\r\n\t0\r\n");
  WriteBytes(dir_.File("shop.RCY"), "1\t" + Money("0", "50") + "\r\n");
  WriteBytes(dir_.File("shop.PAR"), "[Comm]\r\nPort=1\r\n");
  ASSERT_TRUE(LoadSet(name_, tables_.View()));
  EXPECT_EQ(tables_.Plu.Cell(2, 1), "Mas\xB3o");
  EXPECT_EQ(tables_.Plu.Cell(9, 1), "1");
  EXPECT_EQ(tables_.Plu.Cell(3, 3), Money("3", "10"));
  EXPECT_EQ(tables_.Departments.Cell(1, 1), "Nabia\xB3");
  EXPECT_EQ(tables_.FastSale[0].Barcode, "5900001");
  EXPECT_EQ(tables_.FastSale[0].SignFlag, 1);
  EXPECT_EQ(tables_.FastSale[1].ButtonNumber, 2);
  EXPECT_EQ(tables_.FastSale[2].ButtonNumber, 0);  // past the last line: unchanged
  EXPECT_EQ(tables_.Recycling[0].PackagePrice, Money("0", "50"));
  EXPECT_EQ(tables_.Recycling[1].Number, "2");
  EXPECT_EQ(ReadBytes(settings_), "[Comm]\r\nPort=1\r\n");
}

INSTANTIATE_TEST_SUITE_P(Separators, DataFileSetTest, ::testing::Values('.', ','));

TEST(TableReader, ExtraLinesAndFieldsAreIgnoredAndMissingFieldsKeepTheirText) {
  StringGrid grid(10, kPluRows + 1);
  ResetPlu(grid, '.');
  std::string text;
  for (int i = 1; i <= 3500; ++i)
    text.append("b").append(std::to_string(i)).append("\tn").append(std::to_string(i)) += '\n';
  ReadTable(text, grid);
  EXPECT_EQ(grid.Cell(2, kPluRows), "n3000");
  EXPECT_EQ(grid.Cell(3, kPluRows), "0.00");

  ReadTable("1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\r\nonly\r\n", grid);
  for (int col = 1; col <= 9; ++col)
    EXPECT_EQ(grid.Cell(col, 1), std::to_string(col));
  EXPECT_EQ(grid.Cell(0, 1), "");
  EXPECT_EQ(grid.Cell(1, 2), "only");
  EXPECT_EQ(grid.Cell(2, 2), "n2");
}

TEST(TableReader, EveryLineEndCountsAndAnEmptyLineClearsTheFirstColumn) {
  for (const char* text : {"a\tA\r\n\r\nc\tC", "a\tA\n\nc\tC\n", "a\tA\r\rc\tC\r"}) {
    StringGrid grid(4, kDeptRows + 1);
    ResetDepartments(grid, '.');
    grid.SetCell(1, 2, "old");
    ReadTable(text, grid);
    EXPECT_EQ(grid.Cell(1, 1), "a") << text;
    EXPECT_EQ(grid.Cell(1, 2), "") << text;
    EXPECT_EQ(grid.Cell(2, 2), "1") << text;
    EXPECT_EQ(grid.Cell(2, 3), "C") << text;
  }
}

TEST(EntryReader, ShortLinesAreSkippedWithoutUsingAnEntry) {
  RecyclingTable table = InitialRecyclingTable(',');
  ReadRecycling("1\t0,10\r\n\r\nlonely\r\n3\t0,30\textra\r\n", table);
  EXPECT_EQ(table[0].PackagePrice, "0,10");
  EXPECT_EQ(table[1].Number, "3");
  EXPECT_EQ(table[1].PackagePrice, "0,30");
  EXPECT_EQ(table[2].Number, "3");
  EXPECT_EQ(table[2].PackagePrice, "0,00");

  std::string many;
  for (int i = 0; i < 150; ++i)
    many += "n\tp" + std::to_string(i) + "\n";
  ReadRecycling(many, table);
  EXPECT_EQ(table[99].PackagePrice, "p99");
  EXPECT_EQ(table[100].PackagePrice, "0,00");  // the 101st entry is never read
}

TEST(EntryReader, ASignFlagThatIsNotAWholeNumberStopsAtItsLine) {
  FastSaleTable table = InitialFastSaleTable();
  EntryReadResult result = ReadFastSale("111\t1\n\n222\t-0\n333\tyes\n444\t1\n", table);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Line, 4);
  EXPECT_EQ(result.Message, "'yes' is not a valid integer value");
  EXPECT_EQ(table[1].Barcode, "222");
  EXPECT_EQ(table[2].Barcode, "");
  for (const char* bad : {"1.0", "", " 1", "99999999999", "0x1"}) {
    FastSaleTable t = InitialFastSaleTable();
    EXPECT_FALSE(ReadFastSale(std::string("b\t") + bad, t).Ok) << bad;
  }
}

TEST(HostileInput, ReadersTakeHugeLinesNulBytesAndEndlessFields) {
  const std::string huge(10 * 1024 * 1024, 'x');
  const std::string nul("a\0b\tc\0\r\0", 8);
  const std::string tabs(100000, '\t');
  for (const std::string& text : {huge, nul, tabs, huge + "\t1\r\n" + nul + "\n" + tabs}) {
    StringGrid plu(10, kPluRows + 1);
    ReadTable(text, plu);
    FastSaleTable signs = InitialFastSaleTable();
    (void)ReadFastSale(text, signs);
    RecyclingTable recycling = InitialRecyclingTable('.');
    ReadRecycling(text, recycling);
  }
  StringGrid plu(10, kPluRows + 1);
  ReadTable(huge + "\t" + nul, plu);
  EXPECT_EQ(plu.Cell(1, 1).size(), huge.size());
  EXPECT_EQ(plu.Cell(2, 1), std::string("a\0b", 3));
  EXPECT_EQ(plu.Cell(3, 1), std::string("c\0", 2));
  EXPECT_EQ(plu.Cell(1, 2), std::string("\0", 1));
  FastSaleTable signs = InitialFastSaleTable();
  EntryReadResult result = ReadFastSale(huge + "\t" + huge, signs);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Line, 1);
}

class DataFileSetFailure : public ::testing::Test {
 protected:
  void SaveOldSet() {
    tables_.Plu.SetCell(2, 1, "old");
    WriteBytes(settings_, "[Comm]\r\nPort=1\r\n");
    ASSERT_TRUE(SaveSet(name_, tables_.View()));
    for (const char* ext : {".PLU", ".Sign", ".DEP", ".RCY", ".PAR"})
      old_.push_back(ReadBytes(CompanionName(name_, ext)));
    for (int row = 1; row <= kPluRows; ++row)
      tables_.Plu.SetCell(2, row, "new");
    tables_.FastSale[0].Barcode = "new";
  }
  void ExpectOldSet() {
    int i = 0;
    for (const char* ext : {".PLU", ".Sign", ".DEP", ".RCY", ".PAR"}) {
      std::string path = CompanionName(name_, ext);
      if (!std::filesystem::is_directory(path)) {
        EXPECT_EQ(ReadBytes(path), old_[i]) << ext;
      }
      ++i;
    }
  }

  TempDir dir_;
  std::string settings_ = dir_.File("SYSTEM.CFG");
  std::string name_ = dir_.File("shop.PLU");
  Tables tables_{'.', settings_};
  std::vector<std::string> old_;
};

TEST_F(DataFileSetFailure, ACompanionReplacedByADirectoryLeavesTheOldSet) {
  SaveOldSet();
  std::filesystem::remove(dir_.File("shop.RCY"));
  std::filesystem::create_directory(dir_.File("shop.RCY"));
  FileResult result = SaveSet(name_, tables_.View());
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("shop.RCY"), std::string::npos) << result.Message;
  ExpectOldSet();
  EXPECT_EQ(test::EntryCount(dir_.Path()), 6);  // five files and the settings, no leftovers
}

TEST_F(DataFileSetFailure, AWriteThatFailsHalfwayLeavesTheOldSet) {
  SaveOldSet();
  // A file size limit makes the write fail for root as well.
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 4096;
  ::setrlimit(RLIMIT_FSIZE, &small);
  FileResult result = SaveSet(name_, tables_.View());
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("shop.PLU"), std::string::npos) << result.Message;
  ExpectOldSet();
  EXPECT_EQ(test::EntryCount(dir_.Path()), 6);
}

TEST_F(DataFileSetFailure, TheNextSaveRemovesWhatAKilledSaveLeftAndNoWriterAtWork) {
  SaveOldSet();
  namespace fs = std::filesystem;
  const std::string left = dir_.File("shop.PLU.tmp-k1lled00");
  const std::string at_work = dir_.File("shop.DEP.tmp-0working");
  const std::string operators = dir_.File("shop.PLU.tmp-notes");
  for (const std::string& path : {left, at_work, operators})
    WriteBytes(path, "part");
  const auto two_hours_ago = fs::file_time_type::clock::now() - std::chrono::hours(2);
  fs::last_write_time(left, two_hours_ago);
  fs::last_write_time(operators, two_hours_ago);

  ASSERT_TRUE(SaveSet(name_, tables_.View()));
  EXPECT_FALSE(fs::exists(left));
  EXPECT_TRUE(fs::exists(at_work));    // younger than any save can take
  EXPECT_TRUE(fs::exists(operators));  // not a name a save makes
}

TEST_F(DataFileSetFailure, AnUnreadableSettingsFileStopsTheSaveBeforeAnyWrite) {
  SaveOldSet();
  std::filesystem::remove(settings_);
  std::filesystem::create_directory(settings_);
  FileResult result = SaveSet(name_, tables_.View());
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("SYSTEM.CFG"), std::string::npos) << result.Message;
  ExpectOldSet();
}

TEST_F(DataFileSetFailure, AMissingParameterCopyStopsTheLoadAfterTheOtherFiles) {
  SaveOldSet();
  std::filesystem::remove(dir_.File("shop.PAR"));
  WriteBytes(settings_, "[Comm]\r\nPort=4\r\n");
  Tables loaded('.', settings_);
  FileResult result = LoadSet(name_, loaded.View());
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("shop.PAR"), std::string::npos) << result.Message;
  EXPECT_EQ(loaded.Plu.Cell(2, 1), "old");
  EXPECT_EQ(ReadBytes(settings_), "[Comm]\r\nPort=4\r\n");
}

TEST_F(DataFileSetFailure, ABadSignFlagStopsTheLoadBeforeTheDepartments) {
  SaveOldSet();
  WriteBytes(dir_.File("shop.Sign"), "1\t1\r\n2\tx1\r\n");
  WriteBytes(dir_.File("shop.DEP"), "Dept\r\n");
  Tables loaded('.', settings_);
  FileResult result = LoadSet(name_, loaded.View());
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("shop.Sign\", line 2: 'x1'"), std::string::npos) << result.Message;
  EXPECT_EQ(loaded.Plu.Cell(2, 1), "old");
  EXPECT_EQ(loaded.FastSale[0].Barcode, "1");
  EXPECT_EQ(loaded.Departments.Cell(1, 1), "");
}

TEST_F(DataFileSetFailure, MissingTableAndEntryFilesAreSkipped) {
  WriteBytes(dir_.File("shop.PAR"), "");
  tables_.Plu.SetCell(2, 3, "kept");
  ASSERT_TRUE(LoadSet(name_, tables_.View()));
  EXPECT_EQ(tables_.Plu.Cell(2, 3), "kept");
  EXPECT_EQ(tables_.Recycling[5].Number, "6");
}

TEST_F(DataFileSetFailure, ConvertAndOpenKeepTheSettingsAndTheLettersOfTheSet) {
  const std::string settings = "[Other]\r\nCodePage=Windows-1250\r\n[Comm]\r\nPort=3\r\n";
  WriteBytes(settings_, settings);
  WriteBytes(name_, "\tG\xEA\x9C\r\n");
  WriteBytes(dir_.File("shop.PAR"), "");
  ASSERT_TRUE(ConvertSet(name_, CodePageId::Windows1250, CodePageId::Cp852).Ok);
  ASSERT_TRUE(LoadSet(name_, tables_.View()));
  EXPECT_EQ(ReadBytes(settings_), settings);

  // An editor's UTF-8 .PAR is no more in the page converted from than a UTF-8 table.
  const std::string utf8 =
      "[Default]\r\nHeader1=\xC5\xBB"
      "abka\r\n";
  WriteBytes(dir_.File("shop.PAR"), utf8);
  const SetConversionResult refused = ConvertSet(name_, CodePageId::Cp852, CodePageId::Windows1250);
  EXPECT_NE(refused.Message.find("shop.PAR\" is UTF-8 text"), std::string::npos) << refused.Message;
  EXPECT_EQ(ReadBytes(dir_.File("shop.PAR")), utf8);

  // A UTF-8 .PLU comes in the page in force after the Open: the settings file's
  // when a letter keeps the .PAR out, the .PAR's when it is taken.
  WriteBytes(name_, "\t\xC5\x82y\xC5\xBCka\r\n");
  WriteBytes(dir_.File("shop.PAR"),
             "[Other]\r\nCodePage=CP852\r\n[Default]\r\nHeader1=\xE2\x98\x95\r\n");
  ASSERT_TRUE(LoadSet(name_, tables_.View()));
  EXPECT_EQ(tables_.Plu.Cell(2, 1),
            "\xB3y\xBF"
            "ka");
  WriteBytes(dir_.File("shop.PAR"), "[Other]\r\nCodePage=CP852\r\n[Comm]\r\nPort=2\r\n");
  ASSERT_TRUE(LoadSet(name_, tables_.View()));
  EXPECT_EQ(tables_.Plu.Cell(2, 1),
            "\x88y\xBE"
            "ka");
}

TEST(CompanionName, ReplacesOrAddsTheExtension) {
  EXPECT_EQ(CompanionName("/data/shop.PLU", ".Sign"), "/data/shop.Sign");
  EXPECT_EQ(CompanionName("/data/shop", ".DEP"), "/data/shop.DEP");
  EXPECT_EQ(CompanionName("/data.v2/shop", ".RCY"), "/data.v2/shop.RCY");
  EXPECT_EQ(CompanionName("a.b.PLU", ".PAR"), "a.b.PAR");
  EXPECT_EQ(CompanionName("/data/.PLU", ".PAR"), "/data/.PLU.PAR");
}

TEST(SmallTables, StartValues) {
  for (char sep : {'.', ','}) {
    RecyclingTable recycling = InitialRecyclingTable(sep);
    for (int i = 0; i < kRecyclingEntries; ++i) {
      EXPECT_EQ(recycling[i].Number, std::to_string(i + 1));
      EXPECT_EQ(recycling[i].PackagePrice, std::string("0") + sep + "00");
    }
  }
  for (const TSign& sign : InitialFastSaleTable()) {
    EXPECT_EQ(sign.ButtonNumber, 0);
    EXPECT_EQ(sign.Barcode, "");
    EXPECT_EQ(sign.SignFlag, 0);
  }
}

}  // namespace
}  // namespace plumgr
