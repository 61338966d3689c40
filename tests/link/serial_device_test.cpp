#include "link/serial_device.h"

#include <termios.h>

#include <cerrno>

#include <gtest/gtest.h>

namespace plumgr {
namespace {

termios Built(const CommLineSettings& settings) {
  termios t{};
  cfmakeraw(&t);
  BuildTermios(t, settings);
  return t;
}

TEST(SerialDeviceTest, ParityByteSizeAndStopBitsMapToTheControlFlags) {
  const struct {
    TParity parity;
    tcflag_t flags;
  } parities[] = {
      {TParity::None, 0},
      {TParity::Odd, PARENB | PARODD},
      {TParity::Even, PARENB},
      {TParity::Mark, PARENB | PARODD | CMSPAR},
      {TParity::Space, PARENB | CMSPAR},
  };
  for (const auto& p : parities) {
    CommLineSettings s;
    s.Parity = p.parity;
    EXPECT_EQ(Built(s).c_cflag & (PARENB | PARODD | CMSPAR), p.flags) << static_cast<int>(p.parity);
  }
  const tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
  for (int i = 0; i < 4; ++i) {
    CommLineSettings s;
    s.ByteSize = static_cast<TByteSize>(i);
    EXPECT_EQ(Built(s).c_cflag & CSIZE, sizes[i]) << i;
  }
  CommLineSettings s;
  EXPECT_FALSE(Built(s).c_cflag & CSTOPB);
  s.StopBits = TStopBits::_1_5;
  EXPECT_TRUE(Built(s).c_cflag & CSTOPB);
  s.StopBits = TStopBits::_2;
  EXPECT_TRUE(Built(s).c_cflag & CSTOPB);
  EXPECT_TRUE(Built(s).c_cflag & CLOCAL);
  EXPECT_TRUE(Built(s).c_cflag & CREAD);
}

TEST(SerialDeviceTest, FlowControlAndParityCheckMapToTheInputFlags) {
  CommLineSettings s;  // XON/XOFF both ways by default
  termios t = Built(s);
  EXPECT_TRUE(t.c_iflag & IXON);
  EXPECT_TRUE(t.c_iflag & IXOFF);
  EXPECT_EQ(t.c_cc[VSTART], 0x11);
  EXPECT_EQ(t.c_cc[VSTOP], 0x13);
  EXPECT_FALSE(t.c_iflag & INPCK);
  EXPECT_FALSE(t.c_cflag & CRTSCTS);

  s.Outx_XonXoffFlow = false;
  s.Inx_XonXoffFlow = false;
  s.XonChar = 0x01;
  s.XoffChar = static_cast<char>(0xFE);
  s.ParityCheck = true;
  t = Built(s);
  EXPECT_FALSE(t.c_iflag & (IXON | IXOFF));
  EXPECT_EQ(t.c_cc[VSTART], 0x01);
  EXPECT_EQ(t.c_cc[VSTOP], 0xFE);
  EXPECT_TRUE(t.c_iflag & INPCK);
  EXPECT_FALSE(t.c_iflag & (IGNPAR | PARMRK));

  CommLineSettings cts;
  cts.Outx_CtsFlow = true;
  EXPECT_TRUE(Built(cts).c_cflag & CRTSCTS);
  CommLineSettings rts;
  rts.RtsControl = TRtsControl::RtsHandshake;
  EXPECT_TRUE(Built(rts).c_cflag & CRTSCTS);
}

TEST(SerialDeviceTest, ReadsReturnWhatIsThereWithoutWaiting) {
  const termios t = Built(CommLineSettings{});
  EXPECT_EQ(t.c_cc[VMIN], 1);
  EXPECT_EQ(t.c_cc[VTIME], 0);
  EXPECT_FALSE(t.c_lflag & (ICANON | ECHO | ISIG));
  EXPECT_FALSE(t.c_oflag & OPOST);
}

TEST(SerialDeviceTest, PermissionFailureSaysHowToGetAccess) {
  EXPECT_EQ(OpenFailureMessage(ENOENT), "Error opening serial port");
  EXPECT_EQ(OpenFailureMessage(EBUSY), "Error opening serial port");
  const std::string denied = OpenFailureMessage(EACCES);
  EXPECT_EQ(denied.rfind("Error opening serial port\n", 0), 0u) << denied;
  EXPECT_NE(denied.find("dialout"), std::string::npos) << denied;
  EXPECT_NE(denied.find("usermod -aG dialout"), std::string::npos) << denied;
}

TEST(SerialDeviceTest, CounterChangesBecomeErrorAndModemBits) {
  LineCounters before;
  LineCounters after = before;
  EXPECT_EQ(ErrorBits(before, after), 0u);
  EXPECT_EQ(ModemBits(before, after), 0u);
  after.Overrun = 1;
  after.Frame = 2;
  after.Ring = 1;
  after.CarrierDetect = 1;
  EXPECT_EQ(ErrorBits(before, after), kCommErrorOverrun | kCommErrorFrame);
  EXPECT_EQ(ModemBits(before, after), kModemRing | kModemCarrierDetect);
  after = before;
  after.BufferOverrun = 3;
  after.Parity = 1;
  after.Break = 1;
  EXPECT_EQ(ErrorBits(before, after), kCommErrorInputOverflow | kCommErrorParity | kCommErrorBreak);
}

}  // namespace
}  // namespace plumgr
