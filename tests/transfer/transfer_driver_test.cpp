// The download and upload sequences: order of the steps, status fields, and
// every way a sequence fails.

#include "transfer/transfer_driver.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "transfer/support/transfer_fixture.h"

namespace plumgr {
namespace {

using test::TransferFixture;

class TransferDriverTest : public TransferFixture {};

TEST_F(TransferDriverTest, DownloadWithoutKindsConnectsChecksTheStatusAndDisconnects) {
  Start();
  driver_.Timings = {};
  EXPECT_TRUE(driver_.DownloadSequence(Data(), {1, 10}));
  std::vector<sim::ReceivedPackage> got = sim_->Received();
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0].Package.Number, kConnectNumber);
  EXPECT_EQ(got[1].Package.Type, kStatusType);
  EXPECT_EQ(got[2].Package.Number, kDisconnectNumber);
  EXPECT_EQ(got[2].Package.Data[4], 0) << "an orderly disconnect";
  EXPECT_EQ(view_.Statuses,
            (std::vector<std::string>{"Connect...", "Check ecr status...", "Disconnect..."}));
  EXPECT_FALSE(progress_.Visible());
  EXPECT_FALSE(bus_.isActive());
  EXPECT_EQ(bus_.RetryInterval(), 1600) << "the download's reply wait stays in force";
}

TEST_F(TransferDriverTest, StatusFieldsAndThePluCountAreKept) {
  Start({.PriceDecimals = 3, .ReportsCleared = true, .PluCount = 70000, .SalesRecordCount = 16});
  bus_.SetRetryInterval(2000);
  EXPECT_TRUE(driver_.UploadSequence(Data(), {1, 10}));
  EXPECT_EQ(driver_.Status().PriceDecimals, 3);
  EXPECT_EQ(driver_.Status().SalesRecordCount, 16u);
  EXPECT_EQ(tables_.EcrPluCount, 70000) << "bytes 3 to 6, least significant first";
  EXPECT_EQ(bus_.RetryInterval(), 2000) << "the upload keeps the stored reply wait";
}

TEST_F(TransferDriverTest, UncleanReportsRefuseEveryDownloadButNotAnUpload) {
  Accept(12);
  sim::RegisterStatus status;
  status.ReportsCleared = false;
  Start(status);
  driver_.DownloadKinds = kAllDownloadKinds;
  EXPECT_FALSE(driver_.DownloadSequence(Data(), {1, 10}));
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"ECR report don't clear!"}));
  EXPECT_TRUE(Received(12).empty() && Received(87).empty() && Received(5).empty())
      << "nothing is sent";
  EXPECT_EQ(ErrorDisconnects(), 4);
  EXPECT_FALSE(bus_.isActive());

  driver_.UploadKinds = 0;
  EXPECT_TRUE(driver_.UploadSequence(Data(), {1, 10}));
}

TEST_F(TransferDriverTest, ASilentRegisterEndsWithTheConnectError) {
  sim_->SetFaults({.Silent = true});
  Start();
  EXPECT_FALSE(driver_.DownloadSequence(Data(), {1, 10}));
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"Connect...Error!"}));
  EXPECT_EQ(ErrorDisconnects(), 12) << "four disconnects, each repeated three times unanswered";
  EXPECT_FALSE(bus_.isActive());
}

TEST_F(TransferDriverTest, AFailedStatusCheckClosesThePort) {
  Refuse(kStatusType);
  Start();
  EXPECT_FALSE(driver_.UploadSequence(Data(), {1, 10}));
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"Check ecr status...Error!"}));
  EXPECT_EQ(ErrorDisconnects(), 4);
  EXPECT_FALSE(bus_.isActive());
  EXPECT_FALSE(progress_.Visible());
}

TEST_F(TransferDriverTest, AFailingStepEndsTheSequenceBeforeTheLaterKinds) {
  Accept(12);
  Refuse(4);
  Accept(98);
  Start();
  driver_.DownloadKinds =
      KindBit(kDownloadDepartment) | KindBit(kDownloadRecycling) | KindBit(kDownloadFastSale);
  EXPECT_FALSE(driver_.DownloadSequence(Data(), {1, 10}));
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"Download:recycling...Error!"}));
  EXPECT_EQ(Numbers(12), (std::vector<int>{0, 1})) << "what came before stays sent";
  EXPECT_EQ(Numbers(4), (std::vector<int>{0, 0})) << "one repeat, then the step fails";
  EXPECT_TRUE(Received(98).empty()) << "later kinds are not run";
  EXPECT_EQ(ErrorDisconnects(), 4);
  EXPECT_FALSE(bus_.isActive());
}

TEST_F(TransferDriverTest, ParameterVatAndHeaderEachRunTheParameterDownload) {
  Serve(5, {{0, {}}, {1, {}}});
  Accept(1);
  Start();
  driver_.DownloadKinds =
      KindBit(kDownloadParameter) | KindBit(kDownloadVat) | KindBit(kDownloadHeader);
  EXPECT_TRUE(driver_.DownloadSequence(Data(), {1, 10}));
  EXPECT_EQ(Numbers(1), (std::vector<int>{0, 1, 2, 0, 1, 2, 0, 1, 2}));
  EXPECT_EQ(view_.Statuses,
            (std::vector<std::string>{"Connect...", "Check ecr status...", "Download:parameter...",
                                      "Download:VAT...", "Download:Header...", "Disconnect..."}));
}

TEST_F(TransferDriverTest, UploadStepsRunInTheirFixedOrder) {
  Serve(10, {{0, {}}, {1, {}}});
  Serve(97, {{0, {}}});
  Start();
  driver_.UploadKinds = KindBit(kUploadFastSale) | KindBit(kUploadDepartment);
  EXPECT_TRUE(driver_.UploadSequence(Data(), {1, 10}));
  EXPECT_EQ(view_.Statuses,
            (std::vector<std::string>{"Connect...", "Check ecr status...", "Upload:department...",
                                      "Upload:Fast Sale Buttons...", "Disconnect..."}));
}

TEST_F(TransferDriverTest, CancelEndsTheWaitAtOnceAndShowsNoError) {
  Serve(5, {});  // never answered
  Start();
  bus_.SetRetryCount(10);
  // A minute a wait: only the Cancel can end the first before a repeat.
  driver_.Timings.DownloadRetryInterval = 60000;
  driver_.DownloadKinds = KindBit(kDownloadParameter) | KindBit(kDownloadFastSale);
  QTimer::singleShot(200, [this] { progress_.PressCancel(); });
  EXPECT_FALSE(driver_.DownloadSequence(Data(), {1, 10}));
  EXPECT_EQ(Received(5).size(), 1u) << "the request was not repeated";
  EXPECT_TRUE(view_.Errors.empty());
  EXPECT_TRUE(Received(98).empty());
  EXPECT_EQ(ErrorDisconnects(), 4) << "the failure path, silently";
  EXPECT_FALSE(bus_.isActive());
}

}  // namespace
}  // namespace plumgr
