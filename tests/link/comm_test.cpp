#include "link/comm.h"

#include "link/bus_frame.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QTimer>

#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

namespace plumgr {
namespace {

// Runs the owner thread's event loop until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, int timeout_ms = 5000) {
  bool timed_out = false;
  QObject context;
  QTimer::singleShot(timeout_ms, &context, [&] { timed_out = true; });
  while (!done() && !timed_out)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

// The register's end of the line is the master side of a pseudo-terminal.
struct Pty {
  Pty() {
    char name[256] = {};
    if (::openpty(&master, &slave, name, nullptr, nullptr) != 0) std::perror("openpty");
    path = name;
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
  }
  ~Pty() { CloseMaster(); }
  void CloseMaster() {
    if (master >= 0) ::close(master);
    if (slave >= 0) ::close(slave);
    master = slave = -1;
  }

  void Write(const std::vector<std::uint8_t>& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(master, bytes.data() + done, bytes.size() - done);
      if (n > 0) {
        done += static_cast<std::size_t>(n);
      } else {
        pollfd p{master, POLLOUT, 0};
        ::poll(&p, 1, 1000);
      }
    }
  }

  // Reads until count bytes have come or nothing came for timeout_ms.
  std::vector<std::uint8_t> Read(std::size_t count, int timeout_ms = 5000) const {
    std::vector<std::uint8_t> bytes;
    std::vector<std::uint8_t> buffer(65536);
    while (bytes.size() < count) {
      pollfd p{master, POLLIN, 0};
      if (::poll(&p, 1, timeout_ms) <= 0) break;
      const ssize_t n = ::read(master, buffer.data(), buffer.size());
      if (n <= 0) break;
      bytes.insert(bytes.end(), buffer.begin(), buffer.begin() + n);
    }
    return bytes;
  }

  speed_t Speed() const {
    const termios t = Settings();
    return cfgetospeed(&t);
  }

  termios Settings() const {
    termios t{};
    ::tcgetattr(master, &t);
    return t;
  }

  int master = -1;
  int slave = -1;
  std::string path;
};

std::vector<std::uint8_t> Pattern(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t x = seed;
  for (auto& b : bytes) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return bytes;
}

class CommTest : public ::testing::Test {
 protected:
  void SetUp() override { Attach(port_); }

  // Counts every event and keeps the received bytes; flow control is off so that
  // any byte value passes the line unchanged.
  void Attach(TComm& port) {
    port.SetCommName(pty_.path);
    CommLineSettings line = port.LineSettings();
    line.Outx_XonXoffFlow = false;
    line.Inx_XonXoffFlow = false;
    port.SetLineSettings(line);
    port.OnReceiveData = [this](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
      received_.insert(received_.end(), buffer, buffer + length);
      terminated_ = terminated_ && buffer[length] == 0;
      ++chunks_;
    };
    port.OnSendDataEmpty = [this](TComm*) { ++empties_; };
    port.OnRequestHangup = [this](TComm*) { ++hangups_; };
  }

  Pty pty_;
  TComm port_;
  std::vector<std::uint8_t> received_;
  bool terminated_ = true;
  int chunks_ = 0;
  int empties_ = 0;
  int hangups_ = 0;
};

TEST_F(CommTest, SecondOpeningOfTheSameDeviceIsRefused) {
  port_.OpenPort();
  port_.OpenPort();  // already open: nothing happens
  EXPECT_TRUE(port_.IsOpen());

  TComm other;
  other.SetCommName(pty_.path);
  try {
    other.OpenPort();
    FAIL() << "a second opening succeeded";
  } catch (const ECommsError& e) {
    EXPECT_STREQ(e.what(), "Error opening serial port");
    EXPECT_NE(e.Detail().find(pty_.path), std::string::npos) << e.Detail();
  }
  EXPECT_FALSE(other.IsOpen());

  port_.ClosePort();
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_NO_THROW(other.OpenPort());  // released on close
  other.ClosePort();
}

TEST_F(CommTest, DevicesThatCannotServeAsAPortAreRefusedWithTheirMessage) {
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"/dev/no-such-port", "Error opening serial port"},
      {"LPT1", "Error opening serial port"},
      {"/dev/null", "File handle is not a comm handle "},
  };
  for (const auto& c : cases) {
    TComm port;
    port.SetCommName(c.name);
    try {
      port.OpenPort();
      ADD_FAILURE() << c.name << " opened";
    } catch (const ECommsError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
      EXPECT_FALSE(e.Detail().empty()) << c.name;
    }
    EXPECT_FALSE(port.IsOpen()) << c.name;
    EXPECT_FALSE(port.WriteBytes(reinterpret_cast<const std::uint8_t*>("x"), 1));
  }
}

TEST_F(CommTest, WriteOfNothingOrOnAClosedPortIsRefused) {
  const std::uint8_t byte = 0x02;
  EXPECT_FALSE(port_.WriteBytes(&byte, 1));
  EXPECT_TRUE(port_.SendDataEmpty());
  port_.OpenPort();
  EXPECT_FALSE(port_.WriteBytes(&byte, 0));
  EXPECT_TRUE(port_.SendDataEmpty());
}

TEST_F(CommTest, SettersRewriteTheLineOfAnOpenPortOnlyOnChange) {
  port_.OpenPort();
  EXPECT_EQ(pty_.Speed(), B9600);

  CommLineSettings line = port_.LineSettings();
  line.BaudRate = 115200;
  line.ByteSize = TByteSize::_7;
  line.Parity = TParity::Even;
  line.StopBits = TStopBits::_2;
  line.Outx_XonXoffFlow = true;
  line.XonChar = 0x21;
  port_.SetLineSettings(line);
  termios t = pty_.Settings();
  EXPECT_EQ(cfgetospeed(&t), B115200);
  // A pseudo-terminal keeps 8 bits without parity whatever it is given.
  EXPECT_TRUE(t.c_cflag & CSTOPB);
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_FALSE(t.c_iflag & IXOFF);
  EXPECT_EQ(t.c_cc[VSTART], 0x21);

  // Changed behind the component's back, the line keeps that speed when the
  // component is given the speed it already has.
  cfsetospeed(&t, B9600);
  cfsetispeed(&t, B9600);
  ::tcsetattr(pty_.master, TCSANOW, &t);
  port_.SetBaudRate(115200);
  EXPECT_EQ(pty_.Speed(), B9600);
  port_.SetBaudRate(57600);
  EXPECT_EQ(pty_.Speed(), B57600);

  // Modem lines do not exist on a pseudo-terminal; asking for them is harmless.
  line = port_.LineSettings();
  line.DtrControl = TDtrControl::DtrDisable;
  line.RtsControl = TRtsControl::RtsTransmissionAvailable;
  EXPECT_NO_THROW(port_.SetLineSettings(line));
}

TEST_F(CommTest, OneSendDataEmptyArrivesAfterOpeningAndOneAfterARunOfWrites) {
  port_.OpenPort();
  ASSERT_TRUE(WaitUntil([&] { return empties_ == 1; }));

  // The first blocks fill the pseudo-terminal, so the last is queued while the
  // transmit thread is still writing: the three make one run of writes.
  const auto first = Pattern(65535, 1);
  const auto second = Pattern(65535, 2);
  const std::vector<std::uint8_t> last = {0x03, 0x80, 0x04};
  ASSERT_TRUE(port_.WriteBytes(first.data(), 65535));
  ASSERT_TRUE(port_.WriteBytes(second.data(), 65535));
  ASSERT_TRUE(port_.WriteBytes(last.data(), 3));
  EXPECT_FALSE(port_.SendDataEmpty());

  std::vector<std::uint8_t> expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  expected.insert(expected.end(), last.begin(), last.end());
  EXPECT_TRUE(pty_.Read(expected.size()) == expected) << "written out of order or incomplete";
  ASSERT_TRUE(WaitUntil([&] { return empties_ == 2; }));
  QCoreApplication::processEvents();
  EXPECT_EQ(empties_, 2);
  EXPECT_TRUE(port_.SendDataEmpty());
}

TEST_F(CommTest, ReceivedChunkIsFollowedByAZeroByte) {
  port_.OpenPort();
  pty_.Write({'A', 'B', 'C'});
  ASSERT_TRUE(WaitUntil([&] { return received_.size() == 3; }));
  EXPECT_EQ(received_, (std::vector<std::uint8_t>{'A', 'B', 'C'}));
  EXPECT_TRUE(terminated_);
}

TEST_F(CommTest, ZeroBytesAreDroppedWhenAskedTo) {
  port_.OpenPort();
  CommLineSettings line = port_.LineSettings();
  line.IgnoreNullChar = true;
  port_.SetLineSettings(line);
  pty_.Write({0, 'A', 0, 0, 'B', 0});
  ASSERT_TRUE(WaitUntil([&] { return received_.size() == 2; }));
  EXPECT_EQ(received_, (std::vector<std::uint8_t>{'A', 'B'}));
}

TEST_F(CommTest, AnswerFrameIsAssembledFromTheDeliveredChunks) {
  package request;
  request.Type = 11;
  request.Number = 300;
  const BusFrame sent = PackFrame(MakePackageBlock(request));
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitFrame;
  receiver.ExpectAnswerTo(sent);
  receiver.ResetReceiver();
  port_.OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
    receiver.Feed(buffer, length);
  };
  port_.OpenPort();
  ASSERT_TRUE(port_.WriteBytes(sent.data(), static_cast<std::uint16_t>(sent.size())));
  EXPECT_EQ(pty_.Read(sent.size()), std::vector<std::uint8_t>(sent.begin(), sent.end()));

  package answer = request;
  answer.Data.fill(0xA7);
  const BusFrame reply = PackFrame(MakePackageBlock(answer));
  std::vector<std::uint8_t> line = {0x00, 0x41};  // noise before the answer
  line.insert(line.end(), reply.begin(), reply.end());
  pty_.Write(line);
  ASSERT_TRUE(WaitUntil([&] { return receiver.Complete(); }));
  const UnpackedFrame unpacked = UnpackFrame(receiver.Frame());
  EXPECT_FALSE(unpacked.ChecksumError);
  EXPECT_EQ(PackageOf(unpacked.Block), answer);
}

TEST_F(CommTest, MegabyteBurstArrivesWholeAndInOrder) {
  port_.OpenPort();
  const auto burst = Pattern(1 << 20, 7);
  pty_.Write(burst);
  ASSERT_TRUE(WaitUntil([&] { return received_.size() >= burst.size(); }, 20000))
      << received_.size() << " bytes received";
  EXPECT_TRUE(received_ == burst);
  EXPECT_TRUE(terminated_);
}

TEST_F(CommTest, CloseReturnsPromptlyWithAReadOrAWritePendingAndThePortReopens) {
  port_.OpenPort();
  // Nobody reads the other end, so the transmit thread waits for room.
  const auto block = Pattern(65535, 3);
  for (int i = 0; i < 3; ++i)
    port_.WriteBytes(block.data(), 65535);
  QElapsedTimer clock;
  clock.start();
  port_.ClosePort();
  // Blocked on the line, the close would wait for a reader that never comes.
  EXPECT_LT(clock.elapsed(), 10000) << "the close waited for the pending write";
  EXPECT_FALSE(port_.IsOpen());
  EXPECT_TRUE(port_.SendDataEmpty());

  // Nothing of the closed opening is raised after the close.
  const int empties = empties_;
  QCoreApplication::processEvents();
  EXPECT_EQ(empties_, empties);

  pty_.Read(1 << 20, 100);  // discard what got through
  port_.OpenPort();
  ASSERT_TRUE(WaitUntil([&] { return empties_ == empties + 1; }));
  pty_.Write({0x02});
  ASSERT_TRUE(WaitUntil([&] { return received_.size() == 1; }));
}

TEST_F(CommTest, PortPulledAwayRaisesOneHangupAndLeavesClosingAndReopeningWorking) {
  port_.OpenPort();
  ASSERT_TRUE(WaitUntil([&] { return empties_ == 1; }));
  pty_.Write({0x55});
  ASSERT_TRUE(WaitUntil([&] { return received_.size() == 1; }));

  pty_.CloseMaster();
  ASSERT_TRUE(WaitUntil([&] { return hangups_ == 1; }));
  const std::uint8_t byte = 0x02;
  EXPECT_FALSE(port_.WriteBytes(&byte, 1));
  QCoreApplication::processEvents();
  EXPECT_EQ(hangups_, 1);
  EXPECT_TRUE(port_.IsOpen());  // until the owner closes it

  port_.ClosePort();
  Pty replacement;
  port_.SetCommName(replacement.path);
  port_.OpenPort();
  ASSERT_TRUE(WaitUntil([&] { return empties_ == 2; }));
  ASSERT_TRUE(port_.WriteBytes(&byte, 1));
  EXPECT_EQ(replacement.Read(1), std::vector<std::uint8_t>{0x02});
  EXPECT_EQ(hangups_, 1);
}

}  // namespace
}  // namespace plumgr
