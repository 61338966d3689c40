#include "transfer/support/service_register.h"

#include "transfer/memory_dump.h"
#include "transfer/report_upload.h"

namespace plumgr::test {
namespace {

// Runs on the register's thread only, so the count needs no lock.
// The scripted fault for a package, if it has one.
std::optional<sim::Answer> Fault(const ServiceScript& script, const PackageBlock& package,
                                 int& answered) {
  if (script.IgnoreType && package.Type() == *script.IgnoreType) return sim::Answer::Silence();
  if (!script.RefuseType || package.Type() != *script.RefuseType) return std::nullopt;
  if (answered >= script.RefuseAfter) return sim::Answer::Nak();
  ++answered;
  return std::nullopt;
}

sim::SimConfig Config(const ServiceScript& script) {
  sim::SimConfig config;
  config.LineRate = false;
  config.Faults.Silent = script.Silent;
  return config;
}

}  // namespace

PackageBytes TestPage(std::uint16_t page, int kind) {
  PackageBytes data{};
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(page + i + 0x40 * kind);
  return data;
}

ServiceRegister::ServiceRegister(ServiceScript script) : sim_(Config(script)) {
  auto answered = std::make_shared<int>(0);
  sim_.SetHandler(kReportType, [script, answered](const PackageBlock& p, const sim::FrameContext&,
                                                  sim::RegisterState&) {
    if (auto fault = Fault(script, p, *answered)) return *fault;
    PackageBytes data{};
    if (script.Report) data = script.Report(p.Number());
    return sim::Answer::Frame(p, data);
  });
  sim_.SetHandler(kMemoryPageType,
                  [script, answered](const PackageBlock& p, const sim::FrameContext& c,
                                     sim::RegisterState& state) {
                    if (p.Number() != kMemoryPageNumber) return sim::HandleLinkControl(p, c, state);
                    if (auto fault = Fault(script, p, *answered)) return *fault;
                    const auto data = p.Data();
                    const auto page = static_cast<std::uint16_t>(data[0] | data[1] << 8);
                    return sim::Answer::Frame(p, TestPage(page, data[2] / 16));
                  });
  sim_.SetHandler(
      2, [script, answered](const PackageBlock& p, const sim::FrameContext&, sim::RegisterState&) {
        return Fault(script, p, *answered).value_or(sim::Answer::Ack());
      });
  bus_.SetCommName(sim_.Start());
  // Refusals are NAKs, which end a wait at once; only a silent register makes
  // the waits run out, so they are short for it alone and generous otherwise,
  // for a loaded machine.
  bus_.SetRetryInterval(script.Silent ? 20 : 1000);
  bus_.SetRetryCount(2);
  bus_.SetConnectInterval(script.Silent ? 20 : 800);
  bus_.SetDisconnectInterval(script.Silent ? 20 : 100);
}

std::vector<package> ServiceRegister::Packages(std::uint8_t type) const {
  std::vector<package> packages;
  for (const sim::ReceivedPackage& r : sim_.Received()) {
    const package& p = r.Package;
    if (p.Type != type || (type == kLinkControlType && p.Number != kMemoryPageNumber)) continue;
    packages.push_back(p);
  }
  return packages;
}

std::vector<bool> ServiceRegister::Disconnects() const {
  std::vector<bool> disconnects;
  for (const sim::ReceivedPackage& r : sim_.Received())
    if (r.Package.Type == kLinkControlType && r.Package.Number == kDisconnectNumber)
      disconnects.push_back(r.Package.Data[4] == 1);
  return disconnects;
}

}  // namespace plumgr::test
