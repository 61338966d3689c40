#include "app/link_commands.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "data/ini_file.h"
#include "data/support/recording_ui_port.h"
#include "sim/ecr_simulator.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

// A register that moves bytes at once, optionally silent.
sim::SimConfig QuickRegister(bool silent = false) {
  sim::SimConfig config;
  config.LineRate = false;
  config.Faults.Silent = silent;
  return config;
}

class LinkCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_link_cmd_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    settings_ = (dir_ / "SYSTEM.CFG").string();
  }
  void TearDown() override { fs::remove_all(dir_); }
  void Start() { state_.StartUp({settings_, "", '.'}); }
  // COM1..COM4 lead to these devices.
  void MapPorts(const std::vector<std::string>& devices) {
    std::ofstream out(settings_);
    out << "[Comm]\r\n";
    for (std::size_t i = 0; i < devices.size(); ++i)
      out << "COM" << i + 1 << "=" << devices[i] << "\r\n";
  }
  std::string Absent(const std::string& name) { return (dir_ / name).string(); }

  fs::path dir_;
  std::string settings_;
  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
};

TEST_F(LinkCommandsTest, ComNamesLeadWhereTheSettingsFileSays) {
  std::ofstream(settings_) << "[comm]\ncom2 = /dev/serial/by-id/usb-x\n";
  EXPECT_EQ(ResolvePortName("COM2", SettingsPortLookup(settings_)).Device,
            "/dev/serial/by-id/usb-x");
  EXPECT_EQ(ResolvePortName("COM3", SettingsPortLookup(settings_)).Device, "/dev/ttyS2");
  EXPECT_EQ(ResolvePortName("COM2", SettingsPortLookup(Absent("missing.CFG"))).Device,
            "/dev/ttyS1");
}

TEST_F(LinkCommandsTest, SettingsDialogStoresOnlyOnOk) {
  Start();
  EXPECT_FALSE(CommsetCommand(state_, [](CommSettingsModel& m) {
    EXPECT_EQ(m.PortIndex, 2);
    m.PortIndex = 4;
    return false;
  }));
  EXPECT_FALSE(fs::exists(settings_)) << "Cancel writes nothing";
  EXPECT_EQ(state_.PortIndex(), 2);

  EXPECT_TRUE(CommsetCommand(state_, [](CommSettingsModel& m) {
    m.PortIndex = 4;
    m.BaudIndex = 3;
    return true;
  }));
  EXPECT_EQ(state_.PortIndex(), 4);
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "Port", -1), 4);
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "BaudRate", -1), 3);
}

TEST_F(LinkCommandsTest, DetectionFindsTheRegisterOnCom3AndAppliesItOnYes) {
  sim::EcrSimulator sim(QuickRegister());
  MapPorts({Absent("tty1"), Absent("tty2"), sim.Start(), Absent("tty4")});
  Start();
  DetectPortModel model;
  OpenDetectDialog(model);
  auto bus = MakeDetectionBus();
  ui_.Answers = {Answer::Yes};
  DetectBtnClick(state_, model, *bus);
  EXPECT_EQ(model.Results,
            (std::vector<std::string>{kDetectNotFound, kDetectNotFound, kDetectFound, ""}));
  EXPECT_EQ(ui_.Errors.size(), 2u) << "one message per port that cannot be opened";
  EXPECT_EQ(ui_.Messages.back(), kDetectApplyQuestion);
  EXPECT_EQ(state_.PortIndex(), 3);
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "Port", -1), 3);
  EXPECT_TRUE(model.DetectEnabled);
}

TEST_F(LinkCommandsTest, AnsweringNoStillEndsTheSearch) {
  sim::EcrSimulator first(QuickRegister());
  sim::EcrSimulator second(QuickRegister());
  MapPorts({first.Start(), second.Start()});
  Start();
  DetectPortModel model;
  model.Ports = {"COM1", "COM2"};
  OpenDetectDialog(model);
  auto bus = MakeDetectionBus();
  ui_.Answers = {Answer::No};
  DetectBtnClick(state_, model, *bus);
  EXPECT_EQ(model.Results, (std::vector<std::string>{kDetectFound, ""}));
  EXPECT_EQ(IniFile(settings_).ReadInteger("Comm", "Port", -1), -1);
  EXPECT_TRUE(second.Received().empty());
}

TEST_F(LinkCommandsTest, ClosingTheDialogEndsTheSearchAfterTheCurrentPort) {
  sim::EcrSimulator silent(QuickRegister(true));
  sim::EcrSimulator answering(QuickRegister());
  MapPorts({silent.Start(), answering.Start()});
  Start();
  DetectPortModel model;
  model.Ports = {"COM1", "COM2"};
  OpenDetectDialog(model);
  auto bus = MakeDetectionBus();
  QTimer::singleShot(300, [&] { CloseBtnClick(model, *bus); });
  DetectBtnClick(state_, model, *bus);
  EXPECT_TRUE(model.Closed);
  EXPECT_EQ(model.Results[1], "") << "COM2 is not tried after the dialog closed";
  EXPECT_TRUE(answering.Received().empty());
}

TEST_F(LinkCommandsTest, LinkTestConnectsAndDisconnects) {
  sim::EcrSimulator sim(QuickRegister());
  MapPorts({Absent("tty1"), sim.Start()});
  Start();
  auto bus = MakeMainBus();
  ProgressModel progress;
  EXPECT_TRUE(TestItemClick(state_, *bus, progress));
  EXPECT_EQ(progress.StatusText(), "Disconnect...");
  EXPECT_FALSE(progress.Visible());
  ASSERT_TRUE(sim.WaitForFrames(2, std::chrono::seconds(5)));
  std::vector<sim::ReceivedPackage> got = sim.Received();
  EXPECT_EQ(got.back().Package.Number, 2) << "the disconnect package ends the test";
  EXPECT_FALSE(bus->isActive()) << "the port is closed again";
}

}  // namespace
}  // namespace plumgr
