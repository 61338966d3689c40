// The PLU download over the bus: the plain and the compared layout, the
// comparison read with its jumps and end marker, the repeat report and dumps.

#include "transfer/plu_download.h"

#include <gtest/gtest.h>

#include <fstream>

#include "data/helpers.h"
#include "transfer/support/bytes.h"
#include "transfer/support/transfer_fixture.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

using test::Hex;
using test::ReadFile;

std::string Slice(const PackageBytes& data, std::size_t offset, std::size_t length) {
  return Hex(std::span<const std::uint8_t>(data.data() + offset, length));
}

class PluDownloadTest : public test::TransferFixture, public ::testing::WithParamInterface<char> {
 protected:
  PluDownloadTest() { separator_ = GetParam(); }
  void Name(int row, const std::string& name) { tables_.PLUGrid.SetCell(PluCol::Name, row, name); }
};

TEST_P(PluDownloadTest, PlainRangeOneToFourTakesTwoPackages) {
  Accept(kPluDownloadType);
  Start();
  for (int row = 1; row <= 4; ++row)
    Name(row, "P" + std::to_string(row));
  ASSERT_TRUE(RunStep(DownloadPluPlain, {1, 4}));
  std::vector<package> sent = Received(kPluDownloadType);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Number, 0);
  EXPECT_EQ(sent[0].Data[0], 3);
  EXPECT_EQ(Slice(sent[0].Data, 137, 4), "02 00 00 00");
  EXPECT_EQ(sent[1].Number, 1);
  EXPECT_EQ(sent[1].Data[0], 1);
  EXPECT_EQ(Slice(sent[1].Data, 1, 4), "03 00 00 00") << "row 4 in slot 0";
  EXPECT_EQ(Slice(sent[1].Data, 5 + 29, 3), "FF FF FF") << "the plain layout's filler";
  EXPECT_EQ(sent[1].Data[69], 0) << "no slot of the first package travels again";
  EXPECT_EQ(sent[1].Data[255], 0);
  std::string dump = ReadFile(DumpPath(kDownloadPluDump));
  ASSERT_EQ(dump.size(), 512u);
  EXPECT_EQ(dump.substr(256), std::string(sent[1].Data.begin(), sent[1].Data.end()));
  EXPECT_EQ(view_.Statuses.back(), "Download:PLU...");
}

TEST_P(PluDownloadTest, PlainRangeSevenToNineIsPackageZero) {
  Accept(kPluDownloadType);
  Start();
  ASSERT_TRUE(RunStep(DownloadPluPlain, {7, 9}));
  std::vector<package> sent = Received(kPluDownloadType);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].Number, 0);
  EXPECT_EQ(Slice(sent[0].Data, 1, 4), "06 00 00 00");
  EXPECT_EQ(Slice(sent[0].Data, 69, 4), "07 00 00 00");
  EXPECT_EQ(Slice(sent[0].Data, 137, 4), "08 00 00 00");
}

TEST_P(PluDownloadTest, CellsTravelInTheirWireForms) {
  Accept(kPluDownloadType);
  Start();
  StringGrid& grid = tables_.PLUGrid;
  grid.SetCell(PluCol::Barcode, 1, "1234567800001");
  Name(1, "ABCDEFGHIJKLMNOPQRSTU");
  grid.SetCell(PluCol::Price, 1, test::Dec("12.34", separator_));
  grid.SetCell(PluCol::Dept, 1, "1");
  grid.SetCell(PluCol::Stocks, 1, test::Dec("1.5", separator_));
  grid.SetCell(PluCol::Barcode, 2, "");
  grid.SetCell(PluCol::Dept, 2, "");
  ASSERT_TRUE(RunStep(DownloadPluPlain, {1, 2}));
  const PackageBytes data = Received(kPluDownloadType).at(0).Data;
  const std::size_t r1 = 5, r2 = 73;  // records of slots 0 and 1
  EXPECT_EQ(Slice(data, r1, 7), "01 23 45 67 80 00 01");
  EXPECT_EQ(std::string(data.begin() + r1 + 7, data.begin() + r1 + 25), "ABCDEFGHIJKLMNOPQR")
      << "18 characters and no NUL";
  EXPECT_EQ(Slice(data, r1 + 25, 4), "00 00 04 D2");
  EXPECT_EQ(Slice(data, r1 + 44, 1), "00");
  EXPECT_EQ(Slice(data, r1 + 45, 4), "00 00 05 DC");
  EXPECT_EQ(Slice(data, r2, 7), "00 00 00 00 00 00 00");
  EXPECT_EQ(Slice(data, r2 + 44, 1), "FF") << "an empty department";
}

TEST_P(PluDownloadTest, ARowWhoseNameTheRegisterHoldsGoesToItsSlotAndIsReported) {
  std::map<int, PackageBytes> table;
  for (int q = 0; q <= 10; ++q) {
    PackageBytes data{};
    for (int k = 0; k < 4; ++k)
      test::PutPluRecord(data, k, "R" + std::to_string(4 * q + k), 1000 + 4 * q + k, 150, 2, 2000);
    table[q] = data;
  }
  table[11] = test::FilledPackage(0xFF);
  Serve(kPluCompareType, table);
  Accept(kPluDownloadType);
  Start();
  Name(2, "R41");
  tables_.AlcoholFlags[1] = true;
  ASSERT_TRUE(RunStep(DownloadPluCompared, {1, 48}));

  EXPECT_EQ(Numbers(kPluCompareType), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}))
      << "(48 - 1) / 4 packages at most";
  const PackageBytes first = Received(kPluDownloadType).at(0).Data;
  EXPECT_EQ(Slice(first, 1, 8), "00 00 00 00 FF FF FF FF") << "a blank row is an empty PLU";
  EXPECT_EQ(Slice(first, 69, 4), "29 00 00 00") << "sent to index 41";
  EXPECT_EQ(Slice(first, 69 + 4 + 29, 3), "00 00 00") << "the compared layout's filler";
  EXPECT_EQ(first[69 + 4 + 51], 1) << "the alcohol mark";

  const std::string line = "42\t1041\tR41\t" + test::Dec("1.5", separator_) + "\t3\t2";
  EXPECT_EQ(repeat_report_, (std::vector<std::string>{kRepeatReportHeader, line}));
  EXPECT_EQ(ReadFile((dir_ / kRepeatReportFile).string()),
            std::string(kRepeatReportHeader) + "\r\n" + line + "\r\n");
  ASSERT_EQ(opened_.size(), 1u);
  EXPECT_EQ(opened_[0], (dir_ / kRepeatReportFile).string());
  EXPECT_EQ(ReadFile(DumpPath(kComparePluDump)).size(), 11u * 256);
}

TEST_P(PluDownloadTest, ANameRepeatedInTheRangeGoesToItsFirstSlot) {
  Serve(kPluCompareType, {{0, test::FilledPackage(0xFF)}});
  Accept(kPluDownloadType);
  Start();
  Name(1, "A");
  Name(2, "B");
  Name(3, " A ");
  ASSERT_TRUE(RunStep(DownloadPluCompared, {1, 12}));
  EXPECT_EQ(Numbers(kPluCompareType), (std::vector<int>{0})) << "the end marker stops the read";
  const PackageBytes first = Received(kPluDownloadType).at(0).Data;
  EXPECT_EQ(Slice(first, 137, 4), "00 00 00 00") << "row 3 goes to index 0";
  EXPECT_EQ(repeat_report_.at(1), "1\t\tA\t0\t0\t0");
  EXPECT_EQ(ReadFile(DumpPath(kComparePluDump)), "") << "without the closing package";
}

TEST_P(PluDownloadTest, WithoutRepeatedNamesNoReportIsWritten) {
  Accept(kPluDownloadType);
  Start();
  Name(1, "A");
  Name(2, "B");
  ASSERT_TRUE(RunStep(DownloadPluCompared, {1, 3}));
  EXPECT_TRUE(Received(kPluCompareType).empty()) << "a range of 3 reads no package";
  EXPECT_EQ(repeat_report_.size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(dir_ / kRepeatReportFile));
  EXPECT_TRUE(opened_.empty());
}

TEST_P(PluDownloadTest, TheComparisonReadFollowsJumpsAndSkipsPackagesWithoutTarget) {
  PackageBytes jump = test::FilledPackage(0xFF);
  jump[7] = 0x00;
  jump[8] = 0x05;
  PackageBytes records{};
  test::PutPluRecord(records, 0, "FIRST", 1, 100, 0, 0);
  test::PutPluRecord(records, 3, "FOURTH", 4, 100, 0, 0);
  PackageBytes skip = test::FilledPackage(0xFF);
  skip[0] = 0xFF;
  skip[7] = 0x12;
  Serve(kPluCompareType, {{0, jump}, {5, records}, {6, skip}, {7, test::FilledPackage(0xFF)}});
  Start();
  ASSERT_TRUE(RunStep(ReadEcrPluTable, {1, 41}));
  EXPECT_EQ(Numbers(kPluCompareType), (std::vector<int>{0, 5, 6, 7}));
  EXPECT_EQ(tables_.EcrPluTable[0].Name, "FIRST");
  EXPECT_EQ(tables_.EcrPluTable[3].Name, "FOURTH");
  EXPECT_EQ(tables_.EcrPluTable[3].No, 3);
  EXPECT_EQ(tables_.EcrPluTable[4].Name, "") << "nothing stored for a jump or a skip";
  EXPECT_EQ(ReadFile(DumpPath(kComparePluDump)).size(), 3u * 256);
  EXPECT_EQ(view_.Statuses.back(), "Compare:PLU...");
}

TEST_P(PluDownloadTest, AFailedComparisonReadSendsNothingAndKeepsTheReplyWait) {
  Serve(kPluCompareType, {});
  Accept(kPluDownloadType);
  Start();
  Name(1, "A");
  EXPECT_FALSE(RunStep(DownloadPluCompared, {1, 10}));
  EXPECT_TRUE(Received(kPluDownloadType).empty());
  EXPECT_TRUE(std::filesystem::exists(DumpPath(kComparePluDump)));
  EXPECT_EQ(bus_.RetryInterval(), 300);
}

TEST_P(PluDownloadTest, AFailedPackageEndsTheStepButTheDumpAndReportAreWritten) {
  RefuseNumbers(kPluDownloadType, {1});
  Serve(kPluCompareType, {{0, test::FilledPackage(0xFF)}});
  Start();
  Name(1, "A");
  Name(4, "A");
  bus_.SetRetryInterval(1234);
  EXPECT_FALSE(RunStep(DownloadPluCompared, {1, 9}));
  EXPECT_EQ(Numbers(kPluDownloadType), (std::vector<int>{0, 1, 1}));
  EXPECT_EQ(ReadFile(DumpPath(kDownloadPluDump)).size(), 512u) << "the failed package included";
  EXPECT_EQ(opened_.size(), 1u);
  EXPECT_EQ(bus_.RetryInterval(), 1234) << "put back after the step's own 3000 ms";
}

// The register takes PLU numbers up to 10000 while the table has the model's
// 3000 rows: rows past the table travel as empty rows.
TEST_P(PluDownloadTest, RowsPastTheTableAreSentEmpty) {
  Serve(kPluCompareType, {{0, test::FilledPackage(0xFF)}});
  Accept(kPluDownloadType);
  Start();
  Name(3000, "LAST");
  ASSERT_TRUE(RunStep(DownloadPluCompared, {3000, 3002}));
  const PackageBytes sent = Received(kPluDownloadType).at(0).Data;
  EXPECT_EQ(Slice(sent, 1, 4), "B7 0B 00 00");
  EXPECT_EQ(Slice(sent, 69, 6), "B8 0B 00 00 FF FF");
  EXPECT_EQ(tables_.PLUGrid.RowCount(), 3001) << "the table keeps its size";
}

// A dump is a diagnostic: a folder that cannot be made is told, and the
// register's data still travels.
TEST_P(PluDownloadTest, ADumpThatCannotBeWrittenIsAWarningOnly) {
  Accept(kPluDownloadType);
  Start();
  std::ofstream(dir_ / "blocker") << "a file where the folder should be";
  data_.DumpDir = (dir_ / "blocker" / "dumps").string();
  EXPECT_TRUE(RunStep(DownloadPluPlain, {1, 3}));
  EXPECT_EQ(Received(kPluDownloadType).size(), 1u);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("blocker"), std::string::npos) << warnings_[0];
}

INSTANTIATE_TEST_SUITE_P(Separators, PluDownloadTest, ::testing::ValuesIn(test::kSeparators));

}  // namespace
}  // namespace plumgr
