#include "link/port_names.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace plumgr {
namespace {

namespace fs = std::filesystem;

PortSettingLookup Settings(std::map<std::string, std::string> keys) {
  return [keys](const std::string& key) {
    const auto found = keys.find(key);
    return found == keys.end() ? std::string() : found->second;
  };
}

TEST(PortNamesTest, ComNamesLeadToTheirDefaultOrConfiguredDevice) {
  const auto lookup = Settings({{"COM3", " /dev/ttyUSB0 "}, {"COM2", ""}});
  const struct {
    const char* name;
    const char* device;
  } cases[] = {
      {"COM1", "/dev/ttyS0"},           {"com2", "/dev/ttyS1"},
      {"COM3", "/dev/ttyUSB0"},         {"Com4", "/dev/ttyS3"},
      {"/dev/ttyACM0", "/dev/ttyACM0"}, {"/dev/serial/by-id/usb-x", "/dev/serial/by-id/usb-x"},
  };
  for (const auto& c : cases) {
    const ResolvedPort port = ResolvePortName(c.name, lookup);
    EXPECT_TRUE(port) << c.name << ": " << port.Error;
    EXPECT_EQ(port.Device, c.device) << c.name;
  }
  EXPECT_EQ(ResolvePortName("COM3", nullptr).Device, "/dev/ttyS2");
}

TEST(PortNamesTest, AnythingElseIsRefusedWithAReason) {
  for (const char* name : {"COM5", "COM0", "COM", "LPT1", "ttyUSB0", "", "COM12"}) {
    const ResolvedPort port = ResolvePortName(name, nullptr);
    EXPECT_FALSE(port) << name;
    EXPECT_NE(port.Error.find("COM1 to COM4"), std::string::npos) << port.Error;
    EXPECT_NE(port.Error.find('"' + std::string(name) + '"'), std::string::npos) << port.Error;
  }
  const ResolvedPort bad = ResolvePortName("COM1", Settings({{"COM1", "ttyUSB0"}}));
  EXPECT_FALSE(bad);
  EXPECT_NE(bad.Error.find("COM1=ttyUSB0"), std::string::npos) << bad.Error;
}

// A /sys/class/tty and /dev laid out like a machine with two UARTs (one of them a
// phantom), a USB adapter and a virtual console.
class PortListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("port_list_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "dev");
    for (const char* name : {"ttyS0", "ttyS1", "ttyS10", "ttyS2"})
      AddTty(name, "serial8250");
    AddTty("ttyUSB0", "ftdi_sio");
    fs::create_directories(root_ / "sys" / "tty0");  // no device link
    fs::create_directories(root_ / "dev" / "serial" / "by-id");
    fs::create_symlink("../../ttyUSB0",
                       root_ / "dev" / "serial" / "by-id" / "usb-FTDI_FT232R_A1-if00-port0");
  }
  void TearDown() override { fs::remove_all(root_); }

  void AddTty(const std::string& name, const std::string& driver) {
    const fs::path device = root_ / "devices" / name;
    fs::create_directories(device);
    fs::create_directories(root_ / "drivers" / driver);
    fs::create_symlink(root_ / "drivers" / driver, device / "driver");
    fs::create_directories(root_ / "sys" / name);
    fs::create_symlink(device, root_ / "sys" / name / "device");
    std::ofstream(root_ / "dev" / name).put('\n');
  }

  fs::path root_;
};

TEST_F(PortListTest, ListsRealPortsInNaturalOrderWithTheirStableNames) {
  const std::string dev = (root_ / "dev").string();
  const auto phantom = [&](const std::string& device) { return device == dev + "/ttyS1"; };
  const auto ports = ListSerialPorts((root_ / "sys").string(), dev, phantom);

  ASSERT_EQ(ports.size(), 4u);
  EXPECT_EQ(ports[0].Device, dev + "/ttyS0");
  EXPECT_EQ(ports[0].Driver, "serial8250");
  EXPECT_EQ(ports[1].Device, dev + "/ttyS2");
  EXPECT_EQ(ports[2].Device, dev + "/ttyS10");
  EXPECT_EQ(ports[3].Device, dev + "/ttyUSB0");
  EXPECT_EQ(ports[3].Driver, "ftdi_sio");
  ASSERT_EQ(ports[3].StableNames.size(), 1u);
  EXPECT_EQ(ports[3].StableNames[0], dev + "/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
  EXPECT_TRUE(ports[0].StableNames.empty());
}

TEST_F(PortListTest, MissingTreeListsNothing) {
  EXPECT_TRUE(ListSerialPorts((root_ / "none").string(), "/dev", nullptr).empty());
}

}  // namespace
}  // namespace plumgr
