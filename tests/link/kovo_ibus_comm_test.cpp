#include "link/kovo_ibus_comm.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "data/definitions.h"
#include "data/ui_port.h"
#include "link/comm.h"
#include "link/support/scripted_register.h"

namespace plumgr {
namespace {

using test::Ack;
using test::AnswerFrame;
using test::AnswerFrameNumbered;
using test::Bytes;
using test::Nak;
using test::ReceivedFrame;
using test::Reply;
using test::ScriptedRegister;
using test::WaitEnd;

const BusDateTime kNewYearsEve{2026, 12, 31, 23, 59, 58};

PackageBytes Filled(std::uint8_t first) {
  PackageBytes data{};
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(first + i);
  return data;
}

std::vector<std::uint8_t> Head(const PackageBytes& data, std::size_t n) {
  return std::vector<std::uint8_t>(data.begin(), data.begin() + n);
}

long Count(const std::vector<std::string>& lines, const std::string& line) {
  return std::count(lines.begin(), lines.end(), line);
}

class RecordingUi : public UiPort {
 public:
  void ShowMessage(const std::string&) override {}
  void ShowError(const std::string& text) override { errors.push_back(text); }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Cancel; }
  Answer AskYesNo(const std::string&) override { return Answer::No; }
  std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
  void Beep() override {}

  std::vector<std::string> errors;
};

class BusTest : public ::testing::Test {
 protected:
  // The waits go by the register: one times out when the register has heard
  // its frame and left it unanswered, however busy the machine is.
  void SetUp() override {
    bus.SetCommName(reg.PortName());
    bus.SetReplyTimer(reg.MakeReplyTimer());
    bus.SetClock([] { return kNewYearsEve; });
    bus.TraceEnabled = true;
    ASSERT_TRUE(bus.Activate(true));
  }
  void TearDown() override { EXPECT_EQ(reg.BackstopExpiries(), 0) << "a wait did not end"; }

  void ReplyAlways(Bytes bytes, WaitEnd end = WaitEnd::Answer) {
    reg.SetScript([bytes, end](const ReceivedFrame&, std::size_t) { return Reply{bytes, end}; });
  }
  void HoldEveryFrame() { ReplyAlways({}, WaitEnd::Held); }

  ScriptedRegister reg;  // first: it sets up the application the port needs
  TKovoIBusComm bus;
};

TEST(ConnectPackageTest, CarriesStationDateTimeSpeedAndMarker) {
  const PackageBytes data = ConnectPackageData(1234, kNewYearsEve, TBaudRate::tbr115200, false,
                                               TBroadCastScaleType::tbs1024, {});
  const std::vector<std::uint8_t> expected = {0x34, 0x12, 0x00, 0x00, 0x26, 0x12,
                                              0x31, 0x23, 0x59, 0x58, 0x04, 0x01};
  EXPECT_EQ(Head(data, 12), expected);
  EXPECT_TRUE(std::all_of(data.begin() + 12, data.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(ConnectPackageTest, BroadcastCarriesMarkerAndStationTableButNoStation) {
  std::array<std::int32_t, kStationTableSize> stations{};
  stations[0] = 87654321;
  stations[55] = 123456789;  // the ninth digit is dropped
  const PackageBytes data = ConnectPackageData(1234, kNewYearsEve, TBaudRate::tbr9600, true,
                                               TBroadCastScaleType::tbs5120, stations);
  EXPECT_EQ(Head(data, 4), (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(data[10], 0x00);
  EXPECT_EQ(data[11], 0xA5);
  EXPECT_EQ(std::vector<std::uint8_t>(data.begin() + 32, data.begin() + 36),
            (std::vector<std::uint8_t>{0x21, 0x43, 0x65, 0x87}));
  EXPECT_EQ(std::vector<std::uint8_t>(data.begin() + 252, data.end()),
            (std::vector<std::uint8_t>{0x89, 0x67, 0x45, 0x23}));
}

TEST_F(BusTest, ConnectSendsTheDatedPackageAndMovesToTheWorkingSpeed) {
  bus.SetBaudRate(TBaudRate::tbr115200);
  ReplyAlways(Ack());
  ASSERT_TRUE(bus.Connect(kStationNumber));
  ASSERT_EQ(reg.Frames().size(), 1u);
  const ReceivedFrame& frame = reg.Frames()[0];
  EXPECT_EQ(frame.Block.Type(), 14);
  EXPECT_EQ(frame.Block.Number(), 1);
  EXPECT_FALSE(frame.ChecksumError);
  const PackageBytes data = PackageOf(frame.Block).Data;
  EXPECT_EQ(Head(data, 12), (std::vector<std::uint8_t>{0x34, 0x12, 0x00, 0x00, 0x26, 0x12, 0x31,
                                                       0x23, 0x59, 0x58, 0x04, 0x01}));
  EXPECT_EQ(frame.Speed, 9600);
  EXPECT_EQ(reg.Speed(), 115200);
  EXPECT_FALSE(bus.Failed());
}

TEST_F(BusTest, ConnectReachesARegisterListeningAt38400OnTheFourthFrame) {
  bus.SetBaudRate(TBaudRate::tbr57600);
  reg.SetScript([](const ReceivedFrame& frame, std::size_t) {
    return frame.Speed == 38400 ? Reply{Ack()} : Reply{};
  });
  ASSERT_TRUE(bus.Connect(kStationNumber));
  std::vector<int> speeds;
  for (const ReceivedFrame& frame : reg.Frames())
    speeds.push_back(frame.Speed);
  EXPECT_EQ(speeds, (std::vector<int>{9600, 9600, 19200, 38400}));
  EXPECT_EQ(reg.WaitsStarted(), std::vector<int>(4, 800));
  EXPECT_EQ(reg.Speed(), 57600);
  EXPECT_EQ(Count(bus.TraceLog, "Retry:3"), 1);
  EXPECT_EQ(Count(bus.TraceLog, "Retry:4"), 0);
}

TEST_F(BusTest, ConnectToASilentLineGivesUpAfterTwentyOneFramesOf800Ms) {
  EXPECT_FALSE(bus.Connect(kStationNumber));
  EXPECT_TRUE(bus.Failed());
  ASSERT_EQ(reg.Frames().size(), 21u);
  EXPECT_EQ(reg.WaitsStarted(), std::vector<int>(21, 800));
  EXPECT_EQ(reg.Frames()[5].Speed, 115200);
  EXPECT_EQ(reg.Frames()[6].Speed, 9600);
  // The same package, read from the clock once, goes out every time.
  for (const ReceivedFrame& frame : reg.Frames())
    EXPECT_EQ(frame.Block, reg.Frames()[0].Block);
  // The port stays at the speed of the last attempt.
  EXPECT_EQ(reg.Speed(), 115200);
}

TEST_F(BusTest, SendPackageAcknowledgedAtOnceSendsOneFrame) {
  bus.SetRetryCount(0);
  bus.PackageData = Filled(7);
  ReplyAlways(Ack());
  ASSERT_TRUE(bus.SendPackage(13, 0x1234));
  ASSERT_EQ(reg.Frames().size(), 1u);
  EXPECT_EQ(PackageOf(reg.Frames()[0].Block), (package{13, 0x1234, Filled(7)}));
  EXPECT_FALSE(reg.Frames()[0].ChecksumError);
}

TEST_F(BusTest, SendPackageRefusedEveryTimeSendsRetryCountPlusOneFramesAndTracesEachRetry) {
  bus.SetRetryCount(3);
  ReplyAlways(Nak());
  EXPECT_FALSE(bus.SendPackage(4, 2));
  EXPECT_TRUE(bus.Failed());
  EXPECT_EQ(reg.Frames().size(), 4u);
  for (int n = 1; n <= 3; ++n)
    EXPECT_EQ(Count(bus.TraceLog, "Retry:" + std::to_string(n)), 1) << n;
  EXPECT_EQ(Count(bus.TraceLog, "Retry:4"), 0);
  EXPECT_EQ(Count(bus.TraceLog, ">>>>>>Send data<<<<<<<<"), 4);
  EXPECT_EQ(Count(bus.TraceLog, "55 "), 4);
}

TEST_F(BusTest, TraceShowsEachFrameSixteenBytesToALineAndEachReply) {
  ReplyAlways(Ack());
  ASSERT_TRUE(bus.SendPackage(0x85, 0));
  const std::vector<std::string>& log = bus.TraceLog;
  ASSERT_EQ(log.size(), 1u + 19u + 1u + 3u);
  EXPECT_EQ(log[0], ">>>>>>Send data<<<<<<<<");
  EXPECT_EQ(log[1], "03 85 80 80 80 80 80 80 81 80 80 80 80 80 80 80 ");
  for (int i = 1; i <= 18; ++i)
    EXPECT_EQ(log[i].size(), 48u) << i;
  EXPECT_EQ(log[19], "80 80 80 80 80 80 80 80 80 85 80 81 04 ");
  EXPECT_EQ(log[20], "");
  EXPECT_EQ(log[21], ">>>>>>Receive data<<<<<<<<");
  EXPECT_EQ(log[22], "02 ");
  EXPECT_EQ(log[23], "");
}

TEST_F(BusTest, TraceStaysEmptyWhenDisabled) {
  bus.TraceEnabled = false;
  bus.SetRetryCount(1);
  ReplyAlways(Nak());
  EXPECT_FALSE(bus.SendPackage(4, 0));
  EXPECT_TRUE(bus.TraceLog.empty());
}

TEST_F(BusTest, RequestAnsweredWithABadChecksumIsRepeatedAndTheGoodAnswerKept) {
  bus.PackageData = Filled(1);
  reg.SetScript([](const ReceivedFrame& frame, std::size_t index) {
    return Reply{AnswerFrame(frame.Block, Filled(100), index == 0)};
  });
  ASSERT_TRUE(bus.RequestPackage(10, 3));
  ASSERT_EQ(reg.Frames().size(), 2u);
  EXPECT_EQ(PackageOf(reg.Frames()[1].Block), (package{10, 3, Filled(1)}));
  EXPECT_EQ(bus.PackageData, Filled(100));
  EXPECT_EQ(Count(bus.TraceLog, ">>>>>>Receive data<<<<<<<<"), 2);
  EXPECT_EQ(Count(bus.TraceLog, "Retry:1"), 1);
}

TEST_F(BusTest, RequestFailingOnABadChecksumLeavesThatAnswersData) {
  bus.SetRetryCount(1);
  bus.PackageData = Filled(1);
  reg.SetScript([](const ReceivedFrame& frame, std::size_t) {
    return Reply{AnswerFrame(frame.Block, Filled(50), true)};
  });
  EXPECT_FALSE(bus.RequestPackage(8, 0));
  EXPECT_EQ(reg.Frames().size(), 2u);
  EXPECT_EQ(bus.PackageData, Filled(50));
}

TEST_F(BusTest, RequestFailingByTimeOutLeavesTheRequestsData) {
  bus.SetRetryCount(1);
  bus.SetRetryInterval(80);
  bus.PackageData = Filled(9);
  // Reply bytes do not answer a request.
  ReplyAlways(Ack(), WaitEnd::TimeOut);
  EXPECT_FALSE(bus.RequestPackage(8, 0));
  EXPECT_EQ(reg.Frames().size(), 2u);
  EXPECT_EQ(reg.WaitsStarted(), (std::vector<int>{80, 80}));
  EXPECT_EQ(bus.PackageData, Filled(9));
}

TEST_F(BusTest, AnswerWithAnotherNumberIsIgnoredUntilTheTimeOutAndTheRequestRepeated) {
  reg.SetScript([](const ReceivedFrame& frame, std::size_t index) {
    const std::uint16_t number = frame.Block.Number();
    return index == 0
               ? Reply{AnswerFrameNumbered(frame.Block, number + 1, Filled(3)), WaitEnd::TimeOut}
               : Reply{AnswerFrame(frame.Block, Filled(4))};
  });
  ASSERT_TRUE(bus.RequestPackage(11, 5));
  EXPECT_EQ(reg.Frames().size(), 2u);
  EXPECT_EQ(Count(bus.TraceLog, "Retry:1"), 1);
  EXPECT_EQ(bus.PackageData, Filled(4));
}

TEST_F(BusTest, NoiseAroundTheAnswersIsSkipped) {
  reg.SetScript([](const ReceivedFrame& frame, std::size_t) {
    Bytes noise = {0x41, 0x7F, 0x00, 0x03, 0x8E, 0x11, 0x13};
    Bytes answer = frame.Block.Type() == 7 ? AnswerFrame(frame.Block, Filled(200)) : Ack();
    noise.insert(noise.end(), answer.begin(), answer.end());
    noise.insert(noise.end(), {0x7E, 0x03, 0x04});
    return Reply{noise};
  });
  ASSERT_TRUE(bus.RequestPackage(7, 0));
  EXPECT_EQ(bus.PackageData, Filled(200));
  ASSERT_TRUE(bus.SendPackage(12, 0));
  EXPECT_EQ(reg.Frames().size(), 2u);
}

// The register answers the first frame only after its wait has timed out and
// the repeat has arrived: the program takes that answer for the repeat's, and
// counts the package as resent and its reply as late.
TEST_F(BusTest, LateAckCountsForTheNextAttempt) {
  reg.SetScript(
      [](const ReceivedFrame&, std::size_t index) { return index == 0 ? Reply{} : Reply{Ack()}; });
  ASSERT_TRUE(bus.SendPackage(4, 0));
  EXPECT_EQ(reg.Frames().size(), 2u);
  EXPECT_EQ(reg.WaitsStarted(), (std::vector<int>{800, 800}));
  EXPECT_EQ(bus.ResentPackages(), 1);
  EXPECT_EQ(bus.LateReplies(), 1);
}

TEST_F(BusTest, AbortDuringAWaitEndsTheOperationWithoutFurtherAttempts) {
  bus.SetRetryCount(10);
  HoldEveryFrame();
  QTimer::singleShot(50, [this] { bus.Abort(); });
  EXPECT_FALSE(bus.SendPackage(4, 0));
  EXPECT_TRUE(bus.Failed());
  EXPECT_EQ(reg.Frames().size(), 1u);
}

TEST_F(BusTest, AbortOutsideAWaitIsForgottenByTheNextWait) {
  bus.Abort();
  EXPECT_TRUE(bus.Failed());
  ReplyAlways(Ack());
  EXPECT_TRUE(bus.SendPackage(4, 0));
  EXPECT_FALSE(bus.Failed());
}

TEST_F(BusTest, DisconnectFromASilentLineSendsThreeFramesWaiting100MsEach) {
  EXPECT_TRUE(bus.Disconnect(kStationNumber, true));
  ASSERT_EQ(reg.Frames().size(), 3u);
  EXPECT_EQ(reg.WaitsStarted(), (std::vector<int>{100, 100, 100}));
  const package sent = PackageOf(reg.Frames()[2].Block);
  EXPECT_EQ(sent.Type, 14);
  EXPECT_EQ(sent.Number, 2);
  EXPECT_EQ(Head(sent.Data, 6), (std::vector<std::uint8_t>{0x34, 0x12, 0x00, 0x00, 0x01, 0x00}));
  EXPECT_EQ(Count(bus.TraceLog, "Retry:1"), 0);
}

TEST_F(BusTest, DisconnectStopsAtTheFirstAck) {
  ReplyAlways(Ack());
  EXPECT_TRUE(bus.Disconnect(kStationNumber, false));
  ASSERT_EQ(reg.Frames().size(), 1u);
  EXPECT_EQ(PackageOf(reg.Frames()[0].Block).Data[4], 0x00);
}

TEST_F(BusTest, ActivateAgainReopensThePortAndClearsTheTrace) {
  ReplyAlways(Ack());
  ASSERT_TRUE(bus.SendPackage(4, 0));
  ASSERT_FALSE(bus.TraceLog.empty());
  ASSERT_TRUE(bus.Activate(true));
  EXPECT_TRUE(bus.isActive());
  EXPECT_TRUE(bus.TraceLog.empty());
  EXPECT_TRUE(bus.SendPackage(4, 1));
  EXPECT_EQ(reg.Frames().size(), 2u);
  bus.Activate(false);
  EXPECT_FALSE(bus.isActive());
  EXPECT_FALSE(bus.Port().IsOpen());
}

TEST_F(BusTest, PortPulledAwayDuringAWaitFailsAtOnceAndSoDoesTheNextOperation) {
  HoldEveryFrame();
  QTimer::singleShot(50, [this] { reg.PullPlug(); });
  EXPECT_FALSE(bus.SendPackage(4, 0));
  EXPECT_TRUE(bus.LineLost());
  EXPECT_EQ(reg.Frames().size(), 1u) << "no repeat on a lost line";
  EXPECT_FALSE(bus.Connect(kStationNumber));
  EXPECT_TRUE(bus.Disconnect(kStationNumber, true));
  EXPECT_EQ(reg.Frames().size(), 1u);
}

TEST_F(BusTest, OperationsOnAClosedPortFailAtOnce) {
  bus.Activate(false);
  HoldEveryFrame();
  EXPECT_FALSE(bus.SendPackage(4, 0));
  EXPECT_FALSE(bus.RequestPackage(0, 0));
  EXPECT_TRUE(bus.LineLost());
  EXPECT_TRUE(reg.Frames().empty());
}

TEST_F(BusTest, BroadcastTakesSilenceAsSuccessButNotARefusal) {
  bus.SetBroadCast(true);
  bus.SetBroadCastInterval(30);
  bus.SetBaudRate(TBaudRate::tbr38400);
  EXPECT_TRUE(bus.Connect(kStationNumber));
  ASSERT_EQ(reg.Frames().size(), 1u);
  EXPECT_EQ(reg.Frames()[0].Speed, 38400);
  EXPECT_EQ(PackageOf(reg.Frames()[0].Block).Data[11], 0x5A);
  EXPECT_TRUE(bus.SendPackage(4, 0));
  EXPECT_EQ(reg.Frames().size(), 2u);
  // A request still wants its frame: every silent attempt fails.
  bus.SetRetryCount(1);
  bus.SetRetryInterval(80);
  EXPECT_FALSE(bus.RequestPackage(0, 0));
  EXPECT_EQ(reg.Frames().size(), 4u);
  // Disconnect stops after its first frame, since silence reads as ACK.
  bus.SetDisconnectInterval(100);
  EXPECT_TRUE(bus.Disconnect(kStationNumber, false));
  EXPECT_EQ(reg.Frames().size(), 5u);
  ReplyAlways(Nak());
  bus.SetBroadCastInterval(2000);  // the NAK ends the wait early
  EXPECT_FALSE(bus.SendPackage(4, 1));
  EXPECT_EQ(reg.Frames().size(), 6u);
}

TEST(BusOpenTest, PortThatCannotBeOpenedIsReportedThroughTheUiPort) {
  RecordingUi ui;
  TKovoIBusComm bus;
  bus.SetUiPort(&ui);
  bus.SetCommName("/dev/plumgr-no-such-port");
  const ActivateResult result = bus.Activate(true);
  EXPECT_FALSE(result.Ok);
  EXPECT_EQ(result.Message,
            "Error opening /dev/plumgr-no-such-port!\r\nplease select other ports.\r\n"
            "/dev/plumgr-no-such-port: no such device");
  EXPECT_EQ(ui.errors, std::vector<std::string>{result.Message});
  EXPECT_FALSE(bus.isActive());
}

TEST(BusDefaultsTest, StartAsTheRegisterExpects) {
  TKovoIBusComm bus;
  EXPECT_EQ(bus.CommName(), "");
  EXPECT_EQ(bus.BaudRate(), TBaudRate::tbr9600);
  EXPECT_EQ(bus.RetryInterval(), 800);
  EXPECT_EQ(bus.ConnectInterval(), 800);
  EXPECT_EQ(bus.DisconnectInterval(), 100);
  EXPECT_EQ(bus.RetryCount(), 6);
  EXPECT_EQ(bus.BroadCastInterval(), 200);
  EXPECT_EQ(bus.BroadCastScaleType(), TBroadCastScaleType::tbs1024);
  EXPECT_FALSE(bus.TraceEnabled);
  bus.SetRetryCount(11);
  EXPECT_EQ(bus.RetryCount(), 10);
  const TComm& port = bus.Port();
  EXPECT_EQ(port.BaudRate(), 9600u);
  EXPECT_EQ(port.LineSettings().DtrControl, TDtrControl::DtrDisable);
  EXPECT_FALSE(port.LineSettings().Outx_XonXoffFlow);
  EXPECT_TRUE(port.LineSettings().Inx_XonXoffFlow);
  EXPECT_FALSE(port.LineSettings().TxContinueOnXoff);
  EXPECT_EQ(port.Timeouts().ReadIntervalTimeout, 1u);
}

}  // namespace
}  // namespace plumgr
