// The PC's package encoders and decoders against the hand-written golden
// packages that the simulated register is checked against too.

#include "golden/golden_packages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <vector>

#include "data/ini_document.h"
#include "data/settings_keys.h"
#include "data/string_grid.h"
#include "data/table_columns.h"
#include "link/kovo_ibus_comm.h"
#include "transfer/department_packages.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/field_codec.h"
#include "transfer/memory_dump.h"
#include "transfer/parameter_block.h"
#include "transfer/plu_packages.h"
#include "transfer/recycling_packages.h"
#include "transfer/report_upload.h"
#include "transfer/sales_records.h"
#include "transfer/support/bytes.h"
#include "transfer/transfer_step.h"

namespace plumgr {
namespace {

using test::Hex;

const WireUnits kUnits{2, '.'};

std::string HexOf(const PackageBytes& bytes, std::size_t first, std::size_t count) {
  return Hex(std::span(bytes).subspan(first, count));
}

TEST(GoldenPackages, StatusAndConnect) {
  EcrStatus status = DecodeEcrStatus(golden::Package(golden::kStatus));
  EXPECT_EQ(status.PriceDecimals, 2);
  EXPECT_TRUE(status.ReportsCleared);
  EXPECT_EQ(status.PluCount, 1234u);
  EXPECT_EQ(status.SalesRecordCount, 16u);

  PackageBytes connect =
      ConnectPackageData(kStationNumber, {2026, 12, 31, 23, 59, 58}, TBaudRate::tbr115200, false,
                         TBroadCastScaleType::tbs1024, {});
  EXPECT_EQ(Hex(connect), Hex(golden::Package(golden::kConnect)));
}

TEST(GoldenPackages, PluDownloadSlotOfTheComparedLayout) {
  StringGrid grid(PluCol::Count, 43);
  const std::vector<std::string> cells = {
      "", "1234567800001", "COLA", "12.34", "3", "1.5", "7", "0", "0", "0"};
  for (int c = 1; c < PluCol::Count; ++c)
    grid.SetCell(c, 42, cells[static_cast<std::size_t>(c)]);
  std::vector<bool> alcohol(43, false);
  alcohol[41] = true;  // row 42
  PackageBytes package = EncodeComparedPluPackage(
      grid, alcohol, PluRange{42, 42}, 0, [](int, const std::string&) { return 41; }, kUnits);
  EXPECT_EQ(HexOf(package, 0, golden::kPluDownloadSize),
            HexOf(golden::Package(golden::kPluDownload), 0, golden::kPluDownloadSize));
}

TEST(GoldenPackages, PluUploadAndSalesFillTheRows) {
  PackageBytes upload = golden::Package(golden::kPluRecordItem1);
  PackageBytes item2 = golden::Package(golden::kPluRecordItem2);
  std::copy_n(item2.begin(), 64, upload.begin() + 64);
  std::fill(upload.begin() + 128, upload.end(), 0xFF);
  StringGrid grid(PluCol::Count, 5);
  std::vector<bool> alcohol(5, true);
  StorePluUploadPackage(upload, 0, PluRange{1, 4}, grid, alcohol, kUnits);
  auto row = [&grid](int r) {
    std::vector<std::string> cells;
    for (int c = PluCol::Barcode; c <= PluCol::Flag; ++c)
      cells.push_back(grid.Cell(c, r));
    return cells;
  };
  EXPECT_EQ(row(1),
            (std::vector<std::string>{"2000000000001", "ITEM 1", "1.00", "1", "1.000", "0"}));
  EXPECT_EQ(row(2),
            (std::vector<std::string>{"2000000000002", "ITEM 2", "2.00", "2", "2.000", "0"}));
  EXPECT_EQ(row(3), (std::vector<std::string>{"", "", "0.00", "1", "0.000", "0"}));
  EXPECT_FALSE(alcohol[0]);

  PackageBytes sales = golden::Package(golden::kSales);
  std::vector<PluSalesRecord> records = DecodeSalesRecords(sales, 2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].Barcode, 2000000000002);
  EXPECT_EQ(records[1].QuantityThousandths, 2000);
  EXPECT_EQ(records[1].Amount, 400u);
  StoreSalesRecords(records, PluRange{1, 4}, grid, kUnits);
  EXPECT_EQ(grid.Cell(PluCol::Quantity, 2), "2.000");
  EXPECT_EQ(grid.Cell(PluCol::Total, 2), "4.00");
}

TEST(GoldenPackages, ComparisonJump) {
  ComparisonPackage jump = ClassifyComparisonPackage(golden::Package(golden::kComparisonJump));
  EXPECT_EQ(jump.Kind, ComparisonPackageKind::Jump);
  EXPECT_EQ(jump.JumpTarget, 5);
}

TEST(GoldenPackages, DepartmentsBothWays) {
  StringGrid grid(DeptCol::Count, 17);
  grid.SetCell(DeptCol::Name, 1, "MILK");
  grid.SetCell(DeptCol::Tax, 1, "3");
  grid.SetCell(DeptCol::Price, 1, "2.50");
  grid.SetCell(DeptCol::Name, 2, "  ");
  grid.SetCell(DeptCol::Price, 2, "9.99");  // no name: 32 bytes 0
  const PackageBytes golden = golden::Package(golden::kDepartments);
  EXPECT_EQ(Hex(EncodeDepartmentPackage(grid, 16, 0, kUnits)), Hex(golden));

  StringGrid back(DeptCol::Count, 17);
  StoreDepartmentPackage(golden, 0, back, kUnits);
  EXPECT_EQ(back.Cell(DeptCol::Name, 1), "MILK");
  EXPECT_EQ(back.Cell(DeptCol::Tax, 1), "3");
  EXPECT_EQ(back.Cell(DeptCol::Price, 1), "2.50");
}

TEST(GoldenPackages, RecyclingAndFastSale) {
  RecyclingTable recycling = InitialRecyclingTable('.');
  for (TRecy& entry : recycling)
    entry = {"", "0.00"};
  recycling[0] = {"100", "1.25"};
  PackageBytes expected{};
  expected[golden::kRecyclingPriceOffset + 3] = 0x7D;
  EXPECT_EQ(Hex(RecyclingPackage(EncodeRecyclingBlock(recycling, kUnits),
                                 golden::kRecyclingPackageNumber)),
            Hex(expected));

  FastSaleTable fast_sale{};
  for (int i = 0; i < kFastSaleButtons; ++i)
    fast_sale[static_cast<std::size_t>(i)] = {0, "", 0};
  fast_sale[0] = {3, "12345", 1};
  fast_sale[1] = {2, "0012345", 0};
  TOrvanencode codec('.');
  EXPECT_EQ(Hex(EncodeFastSalePackage(fast_sale, codec)), Hex(golden::Package(golden::kFastSale)));
  FastSaleTable back = DecodeFastSalePackage(golden::Package(golden::kFastSale), codec);
  EXPECT_EQ(back[0].ButtonNumber, 3);
  EXPECT_EQ(back[0].SignFlag, 1);
  EXPECT_EQ(back[1].Barcode, "0012345");
}

TEST(GoldenPackages, ParameterFieldsLandAtTheirOffsets) {
  IniDocument document = IniDocument::Parse(
      "[Default]\r\n-% rate=5\r\n+% rate=12.5\r\nFlag00=1\r\nFlag17=1\r\nHeader1=ABC\r\n"
      "HeaderBold1=1\r\nVAT1=23\r\nVAT2=8\r\nTax-free=8\r\n");
  Settings settings(document, '.');
  ParameterBlock block = ParameterBlockFromReceived(std::vector<std::uint8_t>(kParameterReadSize));
  ASSERT_TRUE(MergeParameterSettings(block, settings, {true, true, true}, {24, 24}));
  const PackageBytes package0 = ParameterPackage(block, 0);
  const std::size_t fields_end = 69;  // through the first header line
  EXPECT_EQ(HexOf(package0, 0, fields_end),
            HexOf(golden::Package(golden::kParameters0), 0, fields_end));
  EXPECT_EQ(HexOf(ParameterPackage(block, 1), golden::kVatOffsetInPackage1, 18),
            HexOf(golden::Package(golden::kVatRates), 0, 18));
}

TEST(GoldenPackages, ServiceRequestAndReportPiece) {
  EXPECT_EQ(Hex(MemoryPageRequest(0x1F, MemoryKind::Ram)),
            Hex(golden::Package(golden::kMemoryPageRequest)));
  EXPECT_EQ(ReportPiece(golden::Package(golden::kReportPiece)), "ABC");
}

}  // namespace
}  // namespace plumgr
