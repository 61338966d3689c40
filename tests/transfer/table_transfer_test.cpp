// Departments, recycling prices, the parameter block and the fast-sale buttons
// over the bus, both ways.

#include <gtest/gtest.h>

#include <fstream>

#include "data/definitions.h"
#include "data/ini_file.h"
#include "transfer/department_transfer.h"
#include "transfer/fast_sale_transfer.h"
#include "transfer/parameter_transfer.h"
#include "transfer/recycling_transfer.h"
#include "transfer/support/bytes.h"
#include "transfer/support/transfer_fixture.h"
#include "transfer/transfer_driver.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

using test::Dec;
using test::Hex;

std::string Slice(const PackageBytes& data, std::size_t offset, std::size_t length) {
  return Hex(std::span<const std::uint8_t>(data.data() + offset, length));
}

class TableTransferTest : public test::TransferFixture, public ::testing::WithParamInterface<char> {
 protected:
  TableTransferTest() { separator_ = GetParam(); }
  void UseDepartments(int count) {
    CurrentProfile().DeptCount = count;
    SizeTables(tables_, CurrentProfile());
    ResetAllRows(tables_, separator_);
  }
  void WriteSettings(const std::string& lines) {
    std::ofstream(data_.SettingsPath, std::ios::binary) << "[Default]\r\n" << lines;
  }
  std::string Setting(const std::string& key) {
    return IniFile(data_.SettingsPath).ReadString("Default", key, "<none>");
  }
  // The parameter block as the register delivers it: byte i is i mod 251.
  void ServeParameters() {
    PackageBytes first, second;
    for (int i = 0; i < 256; ++i) {
      first[i] = static_cast<std::uint8_t>(i % 251);
      second[i] = static_cast<std::uint8_t>((256 + i) % 251);
    }
    Serve(kParameterReadType, {{0, first}, {1, second}});
  }
  std::vector<std::uint8_t> SentBlock() {
    std::vector<std::uint8_t> block;
    for (const package& p : Received(kParameterWriteType))
      block.insert(block.end(), p.Data.begin(), p.Data.end());
    return block;
  }
};

TEST_P(TableTransferTest, SixteenDepartmentsTravelInTwoPackagesEachWay) {
  Accept(kDepartmentDownloadType);
  PackageBytes back{};
  PutTextField(back, 0, 18, "MILK");
  back[18] = 2;
  PutBig32(back, 20, 0xFFFFFF9C);
  Serve(kDepartmentUploadType, {{0, back}, {1, {}}});
  Start();
  StringGrid& grid = tables_.DeptmentGrid;
  grid.SetCell(DeptCol::Name, 1, "BREAD");
  grid.SetCell(DeptCol::Tax, 1, "3");
  grid.SetCell(DeptCol::Price, 2, Dec("5.00", separator_));  // blank name
  ASSERT_TRUE(RunStep(DownloadDepartments));
  std::vector<package> sent = Received(kDepartmentDownloadType);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].Data[18], 2) << "tax 3 (rate C) is sent as 2";
  EXPECT_EQ(Slice(sent[0].Data, 32, 32), Hex(std::vector<std::uint8_t>(32, 0)));

  ASSERT_TRUE(RunStep(UploadDepartments));
  EXPECT_EQ(Numbers(kDepartmentUploadType), (std::vector<int>{0, 1}));
  EXPECT_EQ(grid.Cell(DeptCol::Name, 1), "MILK");
  EXPECT_EQ(grid.Cell(DeptCol::Tax, 1), "3");
  EXPECT_EQ(grid.Cell(DeptCol::Price, 1), Dec("-1.00", separator_));
  EXPECT_EQ(grid.Cell(DeptCol::Name, 2), "");
  EXPECT_EQ(grid.Cell(DeptCol::Tax, 2), "1");
  EXPECT_EQ(grid.Cell(DeptCol::Price, 2), Dec("0.00", separator_));
}

TEST_P(TableTransferTest, TwelveDepartmentsAreSentWholeButReadOnlyInWholePackages) {
  UseDepartments(12);
  Accept(kDepartmentDownloadType);
  Serve(kDepartmentUploadType, {{0, {}}, {1, {}}});
  Start();
  tables_.DeptmentGrid.SetCell(DeptCol::Name, 12, "LAST");
  ASSERT_TRUE(RunStep(DownloadDepartments));
  std::vector<package> sent = Received(kDepartmentDownloadType);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(std::string(sent[1].Data.begin() + 96, sent[1].Data.begin() + 100), "LAST");
  EXPECT_EQ(Slice(sent[1].Data, 128, 4), "00 00 00 00") << "nothing of package 0 again";
  ASSERT_TRUE(RunStep(UploadDepartments));
  EXPECT_EQ(Numbers(kDepartmentUploadType), (std::vector<int>{0}));

  UseDepartments(7);
  ASSERT_TRUE(RunStep(UploadDepartments));
  EXPECT_EQ(Numbers(kDepartmentUploadType), (std::vector<int>{0})) << "seven: nothing requested";
}

TEST_P(TableTransferTest, RecyclingNumberOneHundredTravelsInTheLastPackage) {
  Accept(kRecyclingDownloadType);
  Start();
  recycling_[99].PackagePrice = Dec("1.25", separator_);
  ASSERT_TRUE(RunStep(DownloadRecycling));
  std::vector<package> sent = Received(kRecyclingDownloadType);
  ASSERT_EQ(sent.size(), 7u);
  EXPECT_EQ(sent[6].Number, 6);
  EXPECT_EQ(Slice(sent[6].Data, 1593 - 1536, 4), "00 00 00 7D");
  EXPECT_EQ(Slice(sent[6].Data, 64, 4), "00 00 00 00");
}

// The download sends prices signed, so the upload reads them signed too: a
// price of -1 comes back as -1.00, not as 42949671.96.
TEST_P(TableTransferTest, RecyclingUploadReadsSignedPricesAndRenumbersEveryEntry) {
  std::map<int, PackageBytes> pages;
  for (int a = 0; a < 7; ++a)
    pages[a] = PackageBytes{};
  PutBig32(pages[0], 9, 0xFFFFFF9C);
  Serve(kRecyclingUploadType, pages);
  Start();
  recycling_[4].Number = "77";
  ASSERT_TRUE(RunStep(UploadRecycling));
  EXPECT_EQ(recycling_[0].PackagePrice, Dec("-1.00", separator_));
  EXPECT_EQ(recycling_[4].Number, "5");
  EXPECT_EQ(recycling_[99].PackagePrice, Dec("0.00", separator_));
}

TEST_P(TableTransferTest, ARecyclingUploadThatFailsChangesNothing) {
  Serve(kRecyclingUploadType, {{0, {}}, {1, {}}, {2, {}}});
  Start();
  recycling_[0].PackagePrice = "9";
  EXPECT_FALSE(RunStep(UploadRecycling));
  EXPECT_EQ(Numbers(kRecyclingUploadType), (std::vector<int>{0, 1, 2, 3, 3}));
  EXPECT_EQ(recycling_[0].PackagePrice, "9");
}

TEST_P(TableTransferTest, OnlyTheVatGroupIsMergedWhenOnlyVatIsChosen) {
  ServeParameters();
  Accept(kParameterWriteType);
  Start();
  WriteSettings("VAT1=" + Dec("12.50", separator_) + "\r\nTax-free=2\r\nHeader1=ABC\r\n");
  ASSERT_TRUE(RunStep(DownloadParameters, {1, 10}, 2, KindBit(kDownloadVat)));
  std::vector<std::uint8_t> block = SentBlock();
  ASSERT_EQ(block.size(), 768u);
  for (int i = 0; i < 512; ++i) {
    if (i < 445 || i > 462) {
      ASSERT_EQ(block[i], i % 251) << "byte " << i << " kept";
    }
  }
  EXPECT_EQ(Hex(std::span(block).subspan(445, 6)), "04 E2 00 00 27 10");
  EXPECT_EQ(std::count(block.begin() + 512, block.end(), 0), 256);
  EXPECT_EQ(test::ReadFile(DumpPath(kDownloadParameterDump)),
            std::string(block.begin(), block.end()));
}

TEST_P(TableTransferTest, TheHeaderGroupWritesABoldLineAsPairs) {
  ServeParameters();
  Accept(kParameterWriteType);
  Start();
  WriteSettings("Header1=ABC\r\nHeaderBold1=1\r\nVAT1=" + Dec("12.50", separator_) + "\r\n");
  ASSERT_TRUE(RunStep(DownloadParameters, {1, 10}, 2, KindBit(kDownloadHeader)));
  std::vector<std::uint8_t> block = SentBlock();
  std::string expected = "01 41 01 42 01 43";
  for (int i = 0; i < 9; ++i)
    expected += " 01 00";
  EXPECT_EQ(Hex(std::span(block).subspan(45, 24)), expected);
  EXPECT_EQ(block[445], 445 % 251) << "the VAT group is not chosen";
}

TEST_P(TableTransferTest, AFailedParameterPackageDoesNotStopTheOthers) {
  ServeParameters();
  RefuseNumbers(kParameterWriteType, {1});
  Start();
  EXPECT_FALSE(RunStep(DownloadParameters, {1, 10}, 2, KindBit(kDownloadParameter)));
  EXPECT_EQ(Numbers(kParameterWriteType), (std::vector<int>{0, 1, 1, 2}));
}

TEST_P(TableTransferTest, UploadStoresEveryKeyAndTheTaxFreeRate) {
  PackageBytes first{}, second{};
  PutBig16(first, 37, 500);  // discount 5 %
  first[45] = 0x01;          // a bold header
  first[46] = 'H';
  first[47] = 0x01;
  first[48] = 'I';
  PutBig16(second, 445 - 256, 2300);
  PutBig16(second, 449 - 256, 10000);  // rate C is tax-free
  Serve(kParameterReadType, {{0, first}, {1, second}});
  Start();
  WriteSettings("VAT3=" + Dec("07.00", separator_) + "\r\n");
  ASSERT_TRUE(RunStep(UploadParameters));
  EXPECT_EQ(Setting("-% rate"), Dec("05.00", separator_));
  EXPECT_EQ(Setting("Header1"), "HI");
  EXPECT_EQ(Setting("HeaderBold1"), "1");
  EXPECT_EQ(Setting("VAT1"), Dec("23.00", separator_));
  EXPECT_EQ(Setting("Tax-free"), "2");
  EXPECT_EQ(Setting("VAT3"), Dec("07.00", separator_)) << "the tax-free rate's own key is kept";
  EXPECT_EQ(Setting("Flag37"), "0");
  EXPECT_EQ(test::ReadFile(DumpPath(kUploadParameterDump)).size(), 512u);
}

TEST_P(TableTransferTest, FastSaleButtonsBothWays) {
  Accept(kFastSaleDownloadType);
  PackageBytes back{};
  back[0] = 7;
  back[1] = 1;
  const std::vector<std::uint8_t> code = test::Bytes("00 00 00 0F F1 23 45");
  std::copy(code.begin(), code.end(), back.begin() + 2);
  Serve(kFastSaleUploadType, {{0, back}});
  Start();
  fast_sale_[0] = {3, "12345", 1};
  fast_sale_[1] = {256, "", 0};
  ASSERT_TRUE(RunStep(DownloadFastSale));
  const PackageBytes sent = Received(kFastSaleDownloadType).at(0).Data;
  EXPECT_EQ(Slice(sent, 0, 9), "03 01 00 00 00 00 01 23 45");
  EXPECT_EQ(Slice(sent, 9, 2), "00 00");
  EXPECT_EQ(std::count(sent.begin() + 144, sent.end(), 0), 112);

  ASSERT_TRUE(RunStep(UploadFastSale));
  EXPECT_EQ(fast_sale_[0].ButtonNumber, 7);
  EXPECT_EQ(fast_sale_[0].SignFlag, 1);
  EXPECT_EQ(fast_sale_[0].Barcode, "0012345");
  EXPECT_EQ(fast_sale_[1].Barcode, "");
}

INSTANTIATE_TEST_SUITE_P(Separators, TableTransferTest, ::testing::ValuesIn(test::kSeparators));

}  // namespace
}  // namespace plumgr
