#include "sim/ecr_simulator.h"

#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>

#include "link/line_speed.h"
#include "sim/frame_assembler.h"
#include "sim/line_pacer.h"
#include "sim/support/pc_port.h"

namespace plumgr::sim {
namespace {

using namespace std::chrono_literals;
using testing::Block;
using testing::ConnectBlock;
using testing::DisconnectBlock;
using testing::PcPort;
using testing::StatusRequest;

// Long enough for a loaded machine, short enough to keep silence tests quick.
constexpr auto kAnswerWait = 2000ms;
constexpr auto kSilenceWait = 150ms;

class SimulatorTest : public ::testing::Test {
 protected:
  std::string Start(SimConfig config = {}, bool line_rate = false) {
    config.LineRate = line_rate;
    config.Log = [this](std::string_view line) {
      {
        std::lock_guard lock(log_mutex_);
        log_.emplace_back(line);
      }
      log_changed_.notify_all();
    };
    simulator_ = std::make_unique<EcrSimulator>(std::move(config));
    return simulator_->Start();
  }

  std::vector<std::string> Log() {
    std::lock_guard lock(log_mutex_);
    return log_;
  }

  // Waits until the register has thrown away bytes sent at a speed it does not
  // hear, so that the PC may change its speed without racing the register.
  bool WaitForIgnoredBytes(int count) {
    std::unique_lock lock(log_mutex_);
    return log_changed_.wait_for(lock, kAnswerWait, [&] {
      return std::count_if(log_.begin(), log_.end(), [](const std::string& line) {
               return line.find("\"event\":\"ignored\"") != std::string::npos;
             }) >= count;
    });
  }

  std::mutex log_mutex_;
  std::condition_variable log_changed_;
  std::vector<std::string> log_;
  // Last, so that it stops before the log it writes to goes away.
  std::unique_ptr<EcrSimulator> simulator_;
};

TEST_F(SimulatorTest, ConnectIsAnsweredOnlyAtTheAllowedSpeeds) {
  SimConfig config;
  config.Speeds = {38400, 115200};
  PcPort pc(Start(config), 9600);
  pc.Send(ConnectBlock(4));
  ASSERT_TRUE(WaitForIgnoredBytes(1));
  EXPECT_FALSE(pc.ReadReply(kSilenceWait));
  EXPECT_TRUE(simulator_->Received().empty());

  pc.SetSpeed(38400);
  pc.Send(ConnectBlock(4));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  RegisterState state = simulator_->State();
  EXPECT_TRUE(state.Connected);
  EXPECT_EQ(state.LineSpeed, 115200);
  EXPECT_EQ(state.Station, 1234u);
  EXPECT_EQ(state.PcClock, (std::array<int, 6>{26, 12, 31, 23, 59, 58}));
}

TEST_F(SimulatorTest, AfterTheConnectTheRegisterHearsOnlyTheAgreedSpeed) {
  PcPort pc(Start(), 9600);
  pc.Send(ConnectBlock(4));
  ASSERT_EQ(pc.ReadReply(kAnswerWait), kAck);

  pc.Send(StatusRequest());
  ASSERT_TRUE(WaitForIgnoredBytes(1)) << "heard at the old speed";
  pc.SetSpeed(115200);
  pc.Send(StatusRequest());
  EXPECT_TRUE(pc.ReadAnswer(StatusRequest(), kAnswerWait));

  pc.Send(DisconnectBlock(true));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  RegisterState state = simulator_->State();
  EXPECT_FALSE(state.Connected);
  EXPECT_TRUE(state.DisconnectedAfterFailure);
  // Outside a connection any speed is heard again.
  pc.SetSpeed(19200);
  pc.Send(ConnectBlock(0));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
}

TEST_F(SimulatorTest, ConnectToASpeedTheRegisterLacksIsRefused) {
  PcPort pc(Start(), 9600);
  pc.Send(ConnectBlock(5));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  EXPECT_FALSE(simulator_->State().Connected);
}

TEST_F(SimulatorTest, StatusRequestCarriesTheStatusFields) {
  SimConfig config;
  config.Status = {3, false, 0x00010BB8, 0x01020304};
  PcPort pc(Start(config), 9600);
  pc.Send(StatusRequest());
  std::optional<UnpackedFrame> answer = pc.ReadAnswer(StatusRequest(), kAnswerWait);
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->ChecksumError);
  auto data = answer->Block.Data();
  std::vector<std::uint8_t> head(data.begin(), data.begin() + 12);
  EXPECT_EQ(head, (std::vector<std::uint8_t>{3, 1, 0, 0xB8, 0x0B, 0x01, 0x00, 0x01, 0x02, 0x03,
                                             0x04, 0}));

  simulator_->SetStatus({0, true, 5, 0});
  pc.Send(StatusRequest());
  answer = pc.ReadAnswer(StatusRequest(), kAnswerWait);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->Block.Data()[1], 0) << "reports cleared";
  EXPECT_EQ(answer->Block.Data()[3], 5);
}

TEST_F(SimulatorTest, PackagesItDoesNotKnowAndDamagedFramesAreRefused) {
  PcPort pc(Start(), 9600);
  for (const PackageBlock& block : {Block(0, 1), Block(14, 17), Block(200, 0)}) {
    pc.Send(block);
    EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak) << int(block.Type()) << "/" << block.Number();
  }
  PackageBlock damaged = ConnectBlock(0);
  damaged.Bytes[kBlockChecksumLow] ^= 1;
  pc.Send(damaged);
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  std::vector<ReceivedPackage> received = simulator_->Received();
  ASSERT_EQ(received.size(), 4u);
  EXPECT_FALSE(received[3].ChecksumOk);
  EXPECT_FALSE(simulator_->State().Connected);
}

TEST_F(SimulatorTest, RequireConnectRefusesRequestsOutsideAConnection) {
  SimConfig config;
  config.RequireConnect = true;
  PcPort pc(Start(config), 9600);
  pc.Send(StatusRequest());
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  pc.Send(ConnectBlock(0));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  pc.Send(StatusRequest());
  EXPECT_TRUE(pc.ReadAnswer(StatusRequest(), kAnswerWait));
}

TEST_F(SimulatorTest, NakFirstRefusesTheFirstFramesThenServes) {
  SimConfig config;
  config.Faults.NakFirst = 2;
  PcPort pc(Start(config), 9600);
  for (int attempt = 0; attempt < 2; ++attempt) {
    pc.Send(ConnectBlock(0));
    EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  }
  EXPECT_FALSE(simulator_->State().Connected) << "a refused connect is not handled";
  pc.Send(ConnectBlock(0));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  EXPECT_EQ(simulator_->Received()[0].Fault, "nak");
}

TEST_F(SimulatorTest, SilentRegisterRecordsButNeverAnswers) {
  SimConfig config;
  config.Faults.Silent = true;
  PcPort pc(Start(config), 9600);
  pc.Send(ConnectBlock(0));
  ASSERT_TRUE(simulator_->WaitForFrames(1, kAnswerWait));
  EXPECT_TRUE(pc.Read(1, kSilenceWait).empty());
  EXPECT_EQ(simulator_->Received()[0].Reply, "none");
  EXPECT_FALSE(simulator_->State().Connected);
}

TEST_F(SimulatorTest, AnswerFaultsReachThePcAsItsReceiverSeesThem) {
  SimConfig config;
  config.Faults.WrongNumberFirst = 1;
  PcPort pc(Start(config), 9600);
  pc.Send(StatusRequest());
  EXPECT_FALSE(pc.ReadAnswer(StatusRequest(), kSilenceWait)) << "another number is no answer";
  pc.Send(StatusRequest());
  EXPECT_TRUE(pc.ReadAnswer(StatusRequest(), kAnswerWait));

  FaultPlan corrupt;
  corrupt.CorruptRate = 1;
  corrupt.NoiseRate = 1;
  simulator_->SetFaults(corrupt);
  pc.Send(StatusRequest());
  std::optional<UnpackedFrame> answer = pc.ReadAnswer(StatusRequest(), kAnswerWait);
  // Corrupted in the header, the frame cannot complete; anywhere else it fails its checksum.
  if (answer) {
    EXPECT_TRUE(answer->ChecksumError);
  }
  EXPECT_EQ(simulator_->Received().back().Fault, "corrupt,noise");

  FaultPlan drop;
  drop.DropRate = 1;
  simulator_->SetFaults(drop);
  pc.Send(ConnectBlock(0));
  EXPECT_FALSE(pc.ReadReply(kSilenceWait));
  EXPECT_TRUE(simulator_->State().Connected) << "the answer is lost, not the package";
}

TEST_F(SimulatorTest, NoiseBeforeAnswersLeavesThemReadable) {
  SimConfig config;
  config.Faults.NoiseRate = 1;
  PcPort pc(Start(config), 9600);
  for (int i = 0; i < 5; ++i) {
    pc.Send(StatusRequest());
    std::optional<UnpackedFrame> answer = pc.ReadAnswer(StatusRequest(), kAnswerWait);
    ASSERT_TRUE(answer);
    EXPECT_FALSE(answer->ChecksumError);
    pc.Send(ConnectBlock(0));
    EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  }
}

TEST_F(SimulatorTest, DelayedAnswersComeNoSoonerThanTheDelay) {
  SimConfig config;
  config.Faults.DelayMs = 120;
  PcPort pc(Start(config), 115200);
  auto sent = Clock::now();
  pc.Send(ConnectBlock(4));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  EXPECT_GE(Clock::now() - sent, 120ms);
}

TEST_F(SimulatorTest, HangupAfterClosesTheLineInTheMiddleOfAnExchange) {
  SimConfig config;
  config.Faults.HangupAfter = 2;
  PcPort pc(Start(config), 9600);
  pc.Send(ConnectBlock(0));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  pc.Send(StatusRequest());
  EXPECT_TRUE(pc.WaitForHangup(kAnswerWait));
  EXPECT_EQ(simulator_->WaitUntilEnded(kAnswerWait), EndReason::HungUp);
  EXPECT_EQ(simulator_->Received().back().Fault, "hangup");
}

TEST_F(SimulatorTest, ExitOnCloseEndsWhenThePcClosesTheLine) {
  SimConfig config;
  config.ExitOnClose = true;
  std::string path = Start(config);
  {
    PcPort pc(path, 9600);
    pc.Send(ConnectBlock(0));
    EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
    EXPECT_FALSE(simulator_->WaitUntilEnded(0ms)) << "still open";
  }
  EXPECT_EQ(simulator_->WaitUntilEnded(kAnswerWait), EndReason::PeerClosed);
}

TEST_F(SimulatorTest, WithoutExitOnCloseThePcMayCloseAndReopen) {
  std::string path = Start();
  for (int exchange = 0; exchange < 2; ++exchange) {
    PcPort pc(path, 9600);
    pc.Send(ConnectBlock(0));
    EXPECT_EQ(pc.ReadReply(kAnswerWait), kAck);
  }
  EXPECT_TRUE(simulator_->Running());
}

TEST_F(SimulatorTest, LogHasOneJsonLinePerFrameAndTheIgnoredBytes) {
  SimConfig config;
  config.Speeds = {19200};
  config.Faults.NakFirst = 1;
  PcPort pc(Start(config), 9600);
  pc.Send(ConnectBlock(1));
  ASSERT_TRUE(WaitForIgnoredBytes(1));
  pc.SetSpeed(19200);
  pc.Send(ConnectBlock(1));
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  PackageBlock damaged = StatusRequest();
  damaged.Bytes[kBlockChecksumHigh] = 1;
  pc.Send(damaged);
  EXPECT_EQ(pc.ReadReply(kAnswerWait), kNak);
  simulator_->Stop();

  std::vector<std::string> log = Log();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_NE(log[0].find("\"event\":\"start\""), std::string::npos);
  EXPECT_NE(log[1].find("\"event\":\"ignored\",\"bytes\":301,\"speed\":9600"), std::string::npos);
  EXPECT_NE(log[2].find("\"type\":14,\"number\":1,\"length\":256,\"checksum_ok\":true,"
                        "\"speed\":19200,\"reply\":\"nak\",\"fault\":\"nak\","
                        "\"data\":\"341200002612312359580101000000"),
            std::string::npos)
      << log[2];
  EXPECT_NE(log[3].find("\"type\":0,\"number\":0,\"length\":256,\"checksum_ok\":false"),
            std::string::npos);
  EXPECT_EQ(log[3].size(), log[3].find("\"data\":\"") + 8 + 512 + 2);
  EXPECT_NE(log[4].find("\"event\":\"end\",\"reason\":\"stopped\""), std::string::npos);
  for (const std::string& line : log)
    EXPECT_EQ(line.rfind("{\"time\":\"20", 0), 0u) << line;
}

// Ten bits a byte: 602 bytes (request and answer) at 38400 baud take 156.8 ms.
TEST_F(SimulatorTest, LineRatePacesBothDirections) {
  PcPort pc(Start({}, true), 38400);
  auto sent = Clock::now();
  pc.Send(StatusRequest());
  ASSERT_TRUE(pc.ReadAnswer(StatusRequest(), kAnswerWait));
  auto taken = Clock::now() - sent;
  EXPECT_GE(taken, 156ms);
  EXPECT_LT(taken, 1000ms) << "paced far beyond the line";

  // The answer trickles in over its 78 ms rather than arriving in one piece.
  pc.Send(StatusRequest());
  std::vector<std::uint8_t> first = pc.Read(1, kAnswerWait);
  auto first_byte = Clock::now();
  std::vector<std::uint8_t> rest = pc.Read(kBusFrameSize - 1, kAnswerWait);
  EXPECT_EQ(first.size() + rest.size(), kBusFrameSize);
  EXPECT_GE(Clock::now() - first_byte, 70ms);
}

// On a real tty the register sets the speed itself: it listens at the first
// allowed speed and follows the connect to the speed it names.
TEST(DeviceLineTest, TheRegisterSetsTheDeviceSpeedAfterTheConnect) {
  int pc = -1;
  int device = -1;
  char path[256] = {};
  ASSERT_EQ(openpty(&pc, &device, path, nullptr, nullptr), 0);
  SimConfig config;
  config.Speeds = {19200};
  EcrSimulator simulator(config);
  simulator.StartOnDevice(path);
  auto device_speed = [pc] {
    termios settings{};
    tcgetattr(pc, &settings);
    return static_cast<int>(BaudOfTermiosSpeed(cfgetospeed(&settings)));
  };
  auto exchange = [pc](const PackageBlock& block, std::size_t answer_size) {
    BusFrame frame = PackFrame(block);
    EXPECT_EQ(write(pc, frame.data(), frame.size()), static_cast<ssize_t>(frame.size()));
    std::vector<std::uint8_t> answer;
    while (answer.size() < answer_size) {
      pollfd pfd{pc, POLLIN, 0};
      if (poll(&pfd, 1, 2000) <= 0) break;
      std::uint8_t buffer[512];
      ssize_t n = read(pc, buffer, sizeof buffer);
      if (n <= 0) break;
      answer.insert(answer.end(), buffer, buffer + n);
    }
    return answer;
  };
  EXPECT_EQ(exchange(ConnectBlock(4), 1), std::vector<std::uint8_t>{kAck});
  EXPECT_EQ(exchange(StatusRequest(), kBusFrameSize).size(), kBusFrameSize);
  EXPECT_EQ(device_speed(), 115200);
  EXPECT_EQ(exchange(DisconnectBlock(false), 1), std::vector<std::uint8_t>{kAck});
  EXPECT_EQ(exchange(StatusRequest(), kBusFrameSize).size(), kBusFrameSize);
  EXPECT_EQ(device_speed(), 19200);
  simulator.Stop();
  close(pc);
  close(device);
}

TEST(PacedQueueTest, HundredBytesAt9600TakeTheirTimeOnTheLine) {
  PacedQueue queue;
  std::vector<std::uint8_t> bytes(100, 0x80);
  Clock::time_point start{};
  queue.Push(bytes.data(), bytes.size(), 9600, start);
  std::vector<std::uint8_t> out;
  queue.TakeDue(start + 104ms, out);
  EXPECT_EQ(out.size(), 99u);
  queue.TakeDue(start + 104167us, out);
  EXPECT_EQ(out.size(), 100u);
  EXPECT_TRUE(queue.Empty());

  // Bytes queue behind those still travelling; the last one is never held back
  // by the chunking slice.
  Clock::time_point later = start + 200ms;
  queue.Push(bytes.data(), 2, 115200, later);
  queue.Push(bytes.data(), 1, 115200, later);
  ASSERT_TRUE(queue.NextWake(later, 1ms));
  EXPECT_EQ(*queue.NextWake(later, 1ms), later + 3 * ByteTime(115200));
  EXPECT_EQ(*queue.NextWake(later, 100us), later + 100us);
}

TEST(FaultInjectorTest, TheSameSeedStrikesTheSameFrames) {
  FaultPlan plan;
  plan.Seed = 42;
  plan.NakRate = 0.3;
  plan.DropRate = 0.3;
  auto pattern = [](FaultPlan p) {
    FaultInjector injector(p);
    std::string marks;
    for (int i = 0; i < 64; ++i) {
      FaultDecision d = injector.Decide();
      marks += d.Nak ? (d.Drop ? 'B' : 'N') : (d.Drop ? 'D' : '.');
    }
    return marks;
  };
  EXPECT_EQ(pattern(plan), pattern(plan));
  std::string first = pattern(plan);
  EXPECT_NE(first.find('N'), std::string::npos);
  EXPECT_NE(first.find('.'), std::string::npos);
  plan.Seed = 43;
  EXPECT_NE(pattern(plan), first);
}

TEST(FrameAssemblerTest, TakesAnyHeaderAndResynchronisesOnAStartByte) {
  BusFrame frame = PackFrame(Block(97, 0x1234, {1, 2, 3}));
  FrameAssembler assembler;
  std::vector<std::uint8_t> line = {0x41, 0x03, 0x85, 0x00, 0x04};
  line.insert(line.end(), frame.begin(), frame.begin() + 150);
  line.insert(line.end(), frame.begin(), frame.end());
  int completed = 0;
  for (std::uint8_t byte : line)
    completed += assembler.Push(byte);
  EXPECT_EQ(completed, 1);
  EXPECT_EQ(assembler.Frame(), frame);
  EXPECT_EQ(assembler.DiscardedBytes(), 5u + 150u);
}

TEST(SpeedListTest, AcceptsTheRegisterSpeedsOnly) {
  EXPECT_EQ(ParseSpeedList("any"), std::vector<int>{});
  EXPECT_EQ(ParseSpeedList("38400,115200"), (std::vector<int>{38400, 115200}));
  for (std::string_view bad : {"", "4800", "9600,", "9600;19200", "fast"})
    EXPECT_FALSE(ParseSpeedList(bad)) << bad;
}

}  // namespace
}  // namespace plumgr::sim
