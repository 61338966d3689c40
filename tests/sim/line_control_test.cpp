// How the register treats what it does not control: the stop signals when the
// platform has no descriptor for them, and a line that refuses a speed.

#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>

#include "golden/golden_packages.h"
#include "sim/package_handlers.h"
#include "sim/sim_line.h"
#include "sim/stop_signals.h"

namespace plumgr::sim {
namespace {

bool Blocked(int signal) {
  sigset_t mask;
  sigprocmask(SIG_BLOCK, nullptr, &mask);
  return sigismember(&mask, signal) == 1;
}

// Runs body in a child process (the signal mask and the descriptor limit stay
// its own) and returns its exit status.
template <typename Body>
int InChild(Body body) {
  pid_t child = fork();
  if (child == 0) _exit(body());
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST(StopSignals, ArriveOnTheDescriptorOrStayDeliverable) {
  EXPECT_EQ(InChild([] {
              int fd = OpenStopSignals();
              if (fd < 0 || !Blocked(SIGINT) || !Blocked(SIGTERM)) return 1;
              raise(SIGTERM);  // blocked: waits on the descriptor instead of ending us
              char info[128];
              return read(fd, info, sizeof info) > 0 ? 0 : 2;
            }),
            0);
  // Without a free descriptor the signals must not stay blocked, or Ctrl+C
  // would no longer end the register.
  EXPECT_EQ(InChild([] {
              rlimit none{0, 0};
              setrlimit(RLIMIT_NOFILE, &none);
              if (OpenStopSignals() >= 0) return 1;
              return Blocked(SIGINT) || Blocked(SIGTERM) ? 2 : 0;
            }),
            0);
}

TEST(LineSpeed, AConnectToASpeedTheLineCannotTakeIsRefused) {
  PackageBlock connect;
  connect.SetType(14);
  connect.SetNumber(1);
  PackageBytes data = golden::Package(golden::kConnect);  // asks for 115200
  std::copy(data.begin(), data.end(), connect.Data().begin());
  RegisterState state;
  FrameContext slow_line{9600, [](int speed) { return speed <= 38400; }};
  EXPECT_EQ(HandleLinkControl(connect, slow_line, state).What, Answer::Kind::Nak);
  EXPECT_FALSE(state.Connected);

  connect.Data()[10] = 2;  // 38400
  EXPECT_EQ(HandleLinkControl(connect, slow_line, state).What, Answer::Kind::Ack);
  EXPECT_EQ(state.LineSpeed, 38400);
}

TEST(LineSpeed, ADeviceReportsASpeedItRefused) {
  int master = -1;
  int slave = -1;
  char name[256] = {};
  ASSERT_EQ(openpty(&master, &slave, name, nullptr, nullptr), 0);
  {
    SimLine device = SimLine::OpenDevice(name, 9600);
    EXPECT_TRUE(device.SetSpeed(115200));
    EXPECT_EQ(device.Speed(), 115200);
    EXPECT_FALSE(device.CanUseSpeed(12345));
    EXPECT_FALSE(device.SetSpeed(12345));
    EXPECT_EQ(device.Speed(), 115200) << "a refused speed leaves the line as it was";
  }
  close(slave);
  close(master);
}

}  // namespace
}  // namespace plumgr::sim
