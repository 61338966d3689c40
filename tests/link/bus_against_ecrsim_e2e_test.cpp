// The real serial port and bus component against the simulated register on a
// pseudo-terminal, with the register's faults switched on one at a time.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "link/kovo_ibus_comm.h"
#include "sim/ecr_simulator.h"

namespace plumgr {
namespace {

class BusAgainstEcrsimTest : public ::testing::Test {
 protected:
  // Starts a register that moves bytes at once, with these faults.
  void StartRegister(const sim::FaultPlan& faults = {}, std::vector<int> speeds = {}) {
    sim::SimConfig config;
    config.LineRate = false;
    config.Faults = faults;
    config.Speeds = std::move(speeds);
    sim_ = std::make_unique<sim::EcrSimulator>(config);
    bus_.SetCommName(sim_->Start());
    bus_.SetBaudRate(TBaudRate::tbr115200);
    bus_.SetRetryInterval(300);
    bus_.SetRetryCount(3);
    bus_.SetConnectInterval(300);
    bus_.TraceEnabled = true;
    ASSERT_TRUE(bus_.Activate(true).Ok);
  }
  // Connects with a healthy register and then switches its faults on.
  void ConnectThenFault(const sim::FaultPlan& faults) {
    StartRegister();
    ASSERT_TRUE(bus_.Connect(kStationNumber));
    sim_->SetFaults(faults);
  }
  std::vector<sim::ReceivedPackage> Frames(std::uint8_t type) const {
    std::vector<sim::ReceivedPackage> frames;
    for (const sim::ReceivedPackage& r : sim_->Received())
      if (r.Package.Type == type) frames.push_back(r);
    return frames;
  }
  int RetryLines() const {
    int count = 0;
    for (const std::string& line : bus_.TraceLog)
      count += line.rfind("Retry:", 0) == 0;
    return count;
  }

  std::unique_ptr<sim::EcrSimulator> sim_;
  TKovoIBusComm bus_;
};

TEST_F(BusAgainstEcrsimTest, ARegisterAt38400IsReachedOnTheFourthFrameThenRunsAtTheWorkingSpeed) {
  StartRegister({}, {38400});
  ASSERT_TRUE(bus_.Connect(kStationNumber));
  std::vector<sim::ReceivedPackage> connects = Frames(kLinkControlType);
  ASSERT_EQ(connects.size(), 1u) << "only the frame at 38400 reached the register";
  EXPECT_EQ(connects[0].Speed, 38400);
  EXPECT_EQ(RetryLines(), 3) << "9600, 9600 and 19200 went unanswered";
  ASSERT_TRUE(bus_.RequestPackage(0, 0));
  EXPECT_EQ(Frames(0).back().Speed, 115200);
}

TEST_F(BusAgainstEcrsimTest, NaksRepeatTheFrameRetryCountTimesAndTraceEachRetry) {
  sim::FaultPlan faults;
  faults.NakFirst = 100;
  ConnectThenFault(faults);
  bus_.PackageData.fill(0);
  EXPECT_FALSE(bus_.SendPackage(12, 0));
  EXPECT_EQ(Frames(12).size(), 4u) << "RetryCount + 1 frames";
  EXPECT_EQ(RetryLines(), 3);
}

TEST_F(BusAgainstEcrsimTest, ADamagedAnswerIsRequestedAgainAndTheGoodOneKept) {
  sim::FaultPlan faults;
  faults.CorruptRate = 0.5;
  faults.Seed = 3;
  ConnectThenFault(faults);
  int good = 0;
  for (int i = 0; i < 8; ++i)
    good += bus_.RequestPackage(0, 0);
  EXPECT_EQ(good, 8) << "every request ends with a good answer";
  EXPECT_GT(Frames(0).size(), 8u) << "some answers were damaged and asked for again";
  EXPECT_EQ(bus_.PackageData[0], 2) << "the price decimals of the status";
}

TEST_F(BusAgainstEcrsimTest, AnAnswerWithAnotherNumberIsIgnoredAndTheRequestRepeated) {
  sim::FaultPlan faults;
  faults.WrongNumberFirst = 1;
  ConnectThenFault(faults);
  EXPECT_TRUE(bus_.RequestPackage(0, 0));
  EXPECT_EQ(Frames(0).size(), 2u);
  EXPECT_EQ(RetryLines(), 1);
}

TEST_F(BusAgainstEcrsimTest, NoiseBetweenFramesIsSkipped) {
  sim::FaultPlan faults;
  faults.NoiseRate = 1.0;
  ConnectThenFault(faults);
  for (int i = 0; i < 5; ++i)
    ASSERT_TRUE(bus_.RequestPackage(0, 0)) << i;
  bus_.PackageData.fill(0);
  EXPECT_TRUE(bus_.SendPackage(12, 0));
}

TEST_F(BusAgainstEcrsimTest, AbortDuringAWaitEndsTheRequestAtOnce) {
  sim::FaultPlan faults;
  faults.Silent = true;
  ConnectThenFault(faults);
  // A minute a wait: only the abort can end the first before a repeat.
  bus_.SetRetryInterval(60000);
  QTimer::singleShot(100, [this] { bus_.Abort(); });
  EXPECT_FALSE(bus_.RequestPackage(0, 0));
  EXPECT_TRUE(bus_.Failed());
  EXPECT_EQ(Frames(0).size(), 1u) << "no further attempt after the abort";
}

TEST_F(BusAgainstEcrsimTest, DisconnectFromASilentRegisterStillSucceeds) {
  sim::FaultPlan faults;
  faults.Silent = true;
  ConnectThenFault(faults);
  EXPECT_TRUE(bus_.Disconnect(kStationNumber, false));
  // Unanswered, the disconnect went out three times, whole, from station 1234
  // and not marked as after a failure.
  std::vector<sim::ReceivedPackage> disconnects;
  for (const sim::ReceivedPackage& r : Frames(kLinkControlType))
    if (r.Package.Number == kDisconnectNumber) disconnects.push_back(r);
  ASSERT_EQ(disconnects.size(), 3u);
  for (const sim::ReceivedPackage& r : disconnects) {
    EXPECT_TRUE(r.ChecksumOk);
    EXPECT_EQ(r.Reply, "none");
    EXPECT_EQ(r.Package.Data[0], 0x34);
    EXPECT_EQ(r.Package.Data[1], 0x12);
    EXPECT_EQ(r.Package.Data[4], 0) << "afterFailure false";
  }
}

TEST_F(BusAgainstEcrsimTest, ALineClosedDuringAnExchangeFailsItAndTheNextOnes) {
  sim::FaultPlan faults;
  faults.HangupAfter = 1;
  ConnectThenFault(faults);
  EXPECT_FALSE(bus_.RequestPackage(0, 0));
  EXPECT_FALSE(bus_.RequestPackage(0, 0));
  (void)bus_.Activate(false);
  EXPECT_FALSE(bus_.isActive());
}

TEST_F(BusAgainstEcrsimTest, ActivateAgainReopensThePortAndClearsTheTrace) {
  StartRegister();
  ASSERT_TRUE(bus_.Connect(kStationNumber));
  ASSERT_FALSE(bus_.TraceLog.empty());
  ASSERT_TRUE(bus_.Activate(true).Ok);
  EXPECT_TRUE(bus_.TraceLog.empty());
  EXPECT_TRUE(bus_.Connect(kStationNumber));
}

}  // namespace
}  // namespace plumgr
