#pragma once
// A simulated register for the report upload and the service transfers whose
// answers each test scripts: report pieces by number, memory pages made from
// the request, font packages acknowledged, any package type refused from a
// given number on. The bus component and progress window come ready for it.

#include <QCoreApplication>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"
#include "sim/ecr_simulator.h"

namespace plumgr::test {

struct ServiceScript {
  // The data of report package i; all NUL (the end) when not given.
  std::function<PackageBytes(int number)> Report{};
  // Packages of this type are refused with NAK once this many were answered.
  std::optional<std::uint8_t> RefuseType{};
  int RefuseAfter = 0;
  // Packages of this type get no answer at all.
  std::optional<std::uint8_t> IgnoreType{};
  bool Silent = false;
};

// The page a dump reads: byte i of page p in memory m is p + i + 0x40 * m, so
// page, offset and memory kind all show in the bytes.
PackageBytes TestPage(std::uint16_t page, int kind);

class ServiceRegister {
 public:
  explicit ServiceRegister(ServiceScript script);

  // The bus component on the register's line with short waits.
  TKovoIBusComm& Bus() { return bus_; }
  ProgressModel& Progress() { return progress_; }
  // Every frame the register received, link control included.
  std::vector<sim::ReceivedPackage> Received() const { return sim_.Received(); }
  // The frames of one package type other than link control.
  std::vector<package> Packages(std::uint8_t type) const;
  // The disconnects received and whether each reported a failure.
  std::vector<bool> Disconnects() const;

 private:
  sim::EcrSimulator sim_;
  TKovoIBusComm bus_;
  ProgressModel progress_{&bus_};
};

}  // namespace plumgr::test
