// The simulated register against the hand-written golden packages: what it
// reads out of each package it is sent, and the bytes of each package it serves.

#include "golden/golden_packages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "sim/package_handlers.h"
#include "sim/plu_handlers.h"
#include "sim/register_layouts.h"

namespace plumgr::sim {
namespace {

class GoldenRegister : public testing::Test {
 protected:
  Answer Send(std::uint8_t type, std::uint16_t number, const PackageBytes& data) {
    PackageBlock block;
    block.SetType(type);
    block.SetNumber(number);
    std::copy(data.begin(), data.end(), block.Data().begin());
    block.StoreChecksum();
    return handlers_.Handle(block, FrameContext{115200, {}}, state_);
  }
  PackageBytes Served(std::uint8_t type, std::uint16_t number) {
    Answer answer = Send(type, number, {});
    EXPECT_EQ(answer.What, Answer::Kind::Frame) << "type " << int{type} << " number " << number;
    EXPECT_EQ(answer.Reply.Type(), type);
    EXPECT_EQ(answer.Reply.Number(), number);
    PackageBytes data;
    std::copy_n(answer.Reply.Data().begin(), data.size(), data.begin());
    return data;
  }

  PackageHandlerTable handlers_ = DefaultPackageHandlers();
  RegisterState state_;
};

TEST_F(GoldenRegister, StatusAndLinkControlFields) {
  state_.Status = {2, true, 1234u, 16u};
  EXPECT_EQ(Served(0, 0), golden::Package(golden::kStatus));

  EXPECT_EQ(Send(14, 1, golden::Package(golden::kConnect)).What, Answer::Kind::Ack);
  EXPECT_TRUE(state_.Connected);
  EXPECT_EQ(state_.Station, 1234u);
  EXPECT_EQ(state_.PcClock, (std::array<int, 6>{26, 12, 31, 23, 59, 58}));
  EXPECT_EQ(state_.LineSpeed, 115200);

  EXPECT_EQ(Send(14, 2, golden::Package(golden::kDisconnectAfterFailure)).What, Answer::Kind::Ack);
  EXPECT_FALSE(state_.Connected);
  EXPECT_TRUE(state_.DisconnectedAfterFailure);
}

TEST_F(GoldenRegister, PluDownloadSlotLandsInItsIndexWithEveryField) {
  ASSERT_EQ(Send(13, 0, golden::Package(golden::kPluDownload)).What, Answer::Kind::Ack);
  const PluRecordBytes& record = state_.Memory.Plus[golden::kPluDownloadIndex];
  PluEntry expected{"01234567800001", "COLA", 1234, 3, 1500, 7, 1};
  EXPECT_EQ(ReadPlu(record), expected);
  EXPECT_EQ(CountPlus(state_.Memory), 1u);

  // Served back as record 1 of upload package 10 (slots 40 to 43), byte for byte.
  PackageBytes upload = Served(11, 10);
  PackageBytes sent = golden::Package(golden::kPluDownload);
  EXPECT_TRUE(std::equal(sent.begin() + 5, sent.begin() + golden::kPluDownloadSize,
                         upload.begin() + kPluRecordSize))
      << "the record is kept as it travelled";
}

TEST_F(GoldenRegister, TestItemsTravelInTheUploadAndSalesLayouts) {
  FillTestPlus(state_.Memory, 2, 2);
  PackageBytes upload = Served(11, 0);
  PackageBytes item1 = golden::Package(golden::kPluRecordItem1);
  PackageBytes item2 = golden::Package(golden::kPluRecordItem2);
  auto record = [&upload](int k) { return std::span(upload).subspan(kPluRecordSize * k, 64); };
  EXPECT_TRUE(std::ranges::equal(record(0), std::span(item1).first(64)));
  EXPECT_TRUE(std::ranges::equal(record(1), std::span(item2).first(64)));
  EXPECT_TRUE(std::ranges::all_of(upload.begin() + 128, upload.end(), [](std::uint8_t b) {
    return b == 0xFF;
  })) << "empty slots are 64 bytes FF";

  EXPECT_EQ(Served(8, 0), golden::Package(golden::kSales));
  EXPECT_EQ(ReadSale(std::span(state_.Memory.Sales[1])), (SaleEntry{"02000000000002", 2000, 400}));
}

TEST_F(GoldenRegister, ComparisonReadJumpsOverEmptyPackages) {
  FillTestPlus(state_.Memory, 21, 2);
  for (int i = 0; i < 20; ++i)
    state_.Memory.Plus[i].fill(0xFF);  // only slot 20, in package 5, holds a PLU
  EXPECT_EQ(Served(87, 0), golden::Package(golden::kComparisonJump));
  PackageBytes end;
  end.fill(0xFF);
  EXPECT_EQ(Served(87, 6), end);
}

TEST_F(GoldenRegister, DepartmentsRecyclingAndFastSaleAreReadByTheirFields) {
  PackageBytes departments = golden::Package(golden::kDepartments);
  ASSERT_EQ(Send(12, 0, departments).What, Answer::Kind::Ack);
  auto first = std::span(state_.Memory.Departments).first(kDepartmentRecordSize);
  EXPECT_EQ(ReadText(first, department_field::kName), "MILK");
  EXPECT_EQ(ReadUnsigned(first, department_field::kTax) + 1, 3u);
  EXPECT_EQ(ReadSigned(first, department_field::kPrice), 250);
  EXPECT_EQ(Served(10, 0), departments);

  PackageBytes recycling{};
  recycling[golden::kRecyclingPriceOffset + 3] = 0x7D;
  ASSERT_EQ(Send(4, golden::kRecyclingPackageNumber, recycling).What, Answer::Kind::Ack);
  auto hundredth = std::span(state_.Memory.Recycling).subspan(99 * kRecyclingRecordSize);
  EXPECT_EQ(ReadUnsigned(hundredth, kRecyclingPrice), 125u);
  EXPECT_EQ(Send(4, 7, recycling).What, Answer::Kind::Nak) << "seven packages, 0 to 6";

  PackageBytes fast_sale = golden::Package(golden::kFastSale);
  ASSERT_EQ(Send(98, 0, fast_sale).What, Answer::Kind::Ack);
  auto second = std::span(state_.Memory.FastSale).subspan(kFastSaleEntrySize);
  EXPECT_EQ(ReadUnsigned(second, fast_sale_field::kButton), 2u);
  EXPECT_EQ(ReadDigits(second, fast_sale_field::kBarcode), "0000000FF12345");
  EXPECT_EQ(Served(97, 0), fast_sale);
}

TEST_F(GoldenRegister, ParameterBlockFieldsAndItsShorterReadBack) {
  PackageBytes block0 = golden::Package(golden::kParameters0);
  PackageBytes block1{};
  PackageBytes vat = golden::Package(golden::kVatRates);
  std::copy_n(vat.begin(), 18, block1.begin() + golden::kVatOffsetInPackage1);
  PackageBytes block2;
  block2.fill(0x5A);
  ASSERT_EQ(Send(1, 0, block0).What, Answer::Kind::Ack);
  ASSERT_EQ(Send(1, 1, block1).What, Answer::Kind::Ack);
  ASSERT_EQ(Send(1, 2, block2).What, Answer::Kind::Ack);

  const ParameterBlock& p = state_.Memory.Parameters;
  EXPECT_EQ(ReadUnsigned(p, parameter_field::kDiscount), 500u);
  EXPECT_EQ(ReadUnsigned(p, parameter_field::kSurcharge), 1250u);
  EXPECT_EQ(p[parameter_field::kFlagBytes], 0x01);
  EXPECT_EQ(p[parameter_field::kFlagBytes + 1], 0x80);
  EXPECT_EQ(p[parameter_field::kHeaderLines], 0x01) << "a bold header line";
  EXPECT_EQ(p[parameter_field::kHeaderLines + 1], 'A');
  Field rate_i{parameter_field::kVatRates + 16, 2, FieldKind::UnsignedBig};
  Field rate_a{parameter_field::kVatRates, 2, FieldKind::UnsignedBig};
  EXPECT_EQ(ReadUnsigned(p, rate_i), 10000u);
  EXPECT_EQ(ReadUnsigned(p, rate_a), 2300u);

  EXPECT_EQ(Served(5, 0), block0);
  EXPECT_EQ(Served(5, 1), block1);
  EXPECT_EQ(Send(5, 2, {}).What, Answer::Kind::Nak) << "only the first 512 bytes are read back";
}

TEST_F(GoldenRegister, ServiceRequestsAndReportPieces) {
  state_.Memory.Pages[{MemoryBank::Ram, 0x1F}].fill(0x42);
  Answer answer = Send(14, 16, golden::Package(golden::kMemoryPageRequest));
  EXPECT_EQ(answer.Reply.Data()[0], 0x42) << "page 0x1F of RAM";

  ASSERT_TRUE(SetReport(state_.Memory, "ABC"));
  EXPECT_EQ(Served(7, 0), golden::Package(golden::kReportPiece));
  EXPECT_EQ(Served(7, 1), PackageBytes{}) << "a package of NULs ends the report";
}

}  // namespace
}  // namespace plumgr::sim
