#include "link/port_names.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <tuple>

#include "data/helpers.h"

namespace plumgr {

namespace fs = std::filesystem;

namespace {

constexpr int kComPorts = 4;

bool IsDevicePath(const std::string& name) {
  return !name.empty() && name.front() == '/';
}

// 1 to 4 for COM1 to COM4 in any letter case, else 0.
int ComNumber(const std::string& name) {
  if (name.size() != 4) return 0;
  std::string prefix = name.substr(0, 3);
  std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const char digit = name[3];
  if (prefix != "COM" || digit < '1' || digit > '0' + kComPorts) return 0;
  return digit - '0';
}

// ttyS2 before ttyS10: compare the text before the trailing number, then the number.
bool NaturalLess(const std::string& a, const std::string& b) {
  auto split = [](const std::string& s) {
    std::size_t digits = s.size();
    while (digits > 0 && std::isdigit(static_cast<unsigned char>(s[digits - 1])))
      --digits;
    const std::string number = s.substr(digits);
    return std::make_tuple(s.substr(0, digits), number.size(), number);
  };
  return split(a) < split(b);
}

std::string DriverOf(const fs::path& tty_entry) {
  std::error_code error;
  const fs::path driver = fs::read_symlink(tty_entry / "device" / "driver", error);
  return error ? std::string() : driver.filename().string();
}

// The by-id links of the devices, keyed by the device they point at.
std::vector<std::pair<std::string, std::string>> StableLinks(const fs::path& dev) {
  std::vector<std::pair<std::string, std::string>> links;
  std::error_code error;
  const fs::path by_id = dev / "serial" / "by-id";
  for (const auto& entry : fs::directory_iterator(by_id, error)) {
    std::error_code link_error;
    fs::path target = fs::read_symlink(entry.path(), link_error);
    if (link_error) continue;
    if (target.is_relative()) target = by_id / target;
    links.emplace_back(target.lexically_normal().string(), entry.path().string());
  }
  std::sort(links.begin(), links.end());
  return links;
}

}  // namespace

ResolvedPort ResolvePortName(const std::string& name, const PortSettingLookup& lookup) {
  if (IsDevicePath(name)) return {name, {}};
  const int com = ComNumber(name);
  if (com == 0) {
    return {{},
            "\"" + name +
                "\" is not a serial port name: use COM1 to COM4 or a device path such as "
                "/dev/ttyUSB0"};
  }
  const std::string key = "COM" + std::to_string(com);
  const std::string configured =
      lookup ? std::string(TrimSpacesAndTabs(lookup(key))) : std::string();
  if (configured.empty()) return {"/dev/ttyS" + std::to_string(com - 1), {}};
  if (!IsDevicePath(configured)) {
    return {{},
            "[Comm] " + key + "=" + configured +
                " in SYSTEM.CFG is not a device path such as /dev/ttyUSB0"};
  }
  return {configured, {}};
}

std::vector<SerialPortInfo> ListSerialPorts(const std::string& sys_class_tty,
                                            const std::string& dev, const PhantomProbe& probe) {
  std::vector<SerialPortInfo> ports;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(sys_class_tty, error)) {
    std::error_code link_error;
    if (!fs::exists(entry.path() / "device", link_error)) continue;  // virtual consoles, ptys
    SerialPortInfo info;
    info.Device = (fs::path(dev) / entry.path().filename()).string();
    info.Driver = DriverOf(entry.path());
    if (info.Driver == "serial8250" && probe && probe(info.Device)) continue;
    ports.push_back(std::move(info));
  }
  const auto links = StableLinks(dev);
  for (SerialPortInfo& port : ports) {
    const std::string device = fs::path(port.Device).lexically_normal().string();
    for (const auto& [target, link] : links) {
      if (target == device) port.StableNames.push_back(link);
    }
  }
  std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
    return NaturalLess(a.Device, b.Device);
  });
  return ports;
}

std::vector<SerialPortInfo> ListSerialPorts() {
  return ListSerialPorts("/sys/class/tty", "/dev", IsPhantomUart);
}

bool IsPhantomUart(const std::string& device) {
  const int fd = ::open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  serial_struct serial{};
  const bool phantom = ::ioctl(fd, TIOCGSERIAL, &serial) == 0 && serial.type == PORT_UNKNOWN;
  ::close(fd);
  return phantom;
}

}  // namespace plumgr
