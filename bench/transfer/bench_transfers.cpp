// The transfers against the simulated register with line-rate emulation: a
// compared PLU download of every row (comparison read included), a PLU upload
// of every row with a sales record for each, and a full parameter download
// (parameter, VAT and header). For each: wall time, the time its bytes need on
// the line (10 bits a byte, at the speed each frame travelled), their ratio, and
// the process CPU time as a share of the wall time.
//
// Usage: bench_transfers [ROWS [SPEED...]]   (default 3000 rows at 115200 and 9600)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "../support/bench_common.h"
#include "../support/bench_support.h"
#include "app/main_window_state.h"
#include "app/service_commands.h"
#include "sim/ecr_simulator.h"
#include "transfer/transfer_driver.h"

namespace {

using plumgr::bench::CpuSeconds;
using plumgr::bench::LineSeconds;

struct Bench {
  std::string Name;
  std::function<bool(plumgr::TransferDriver&, plumgr::TransferData&)> Run;
  bool PrefillRegister = false;
};

void RunOne(const Bench& bench, int rows, int speed, plumgr::MainWindowState& state) {
  plumgr::sim::SimConfig config = plumgr::bench::LineRateRegister();
  if (bench.PrefillRegister) plumgr::sim::FillTestPlus(config.Memory, rows, 2);
  plumgr::sim::EcrSimulator sim(config);
  const std::string path = sim.Start();

  plumgr::TKovoIBusComm bus;
  plumgr::bench::ConnectBus(bus, path, speed);
  plumgr::ProgressModel progress(&bus);
  plumgr::TransferDriver driver(bus, progress);
  plumgr::TransferData data{state.GetTables(),
                            state.Recycling(),
                            state.FastSale(),
                            state.RepeatReport(),
                            state.SettingsPath(),
                            state.DumpDir(),
                            state.DecimalSeparator(),
                            {},
                            {}};

  const double cpu_start = CpuSeconds();
  QElapsedTimer timer;
  timer.start();
  const bool ok = bench.Run(driver, data);
  const double wall = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  const double cpu = CpuSeconds() - cpu_start;
  const double line = LineSeconds(sim.Received());
  std::printf("%-34s %6d baud  %5d rows  wall %8.2f s  line %8.2f s  ratio %.4f  cpu %5.2f%%%s\n",
              bench.Name.c_str(), speed, rows, wall, line, wall / line, 100.0 * cpu / wall,
              ok ? "" : "  FAILED");
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 3000;
  const std::vector<int> speeds = plumgr::bench::SpeedsFromArgs(argc, argv, 2);

  const plumgr::bench::ScratchDir dir("plumgr-bench-transfers");
  plumgr::bench::SilentUi ui;
  plumgr::MainWindowState state(ui);
  state.StartUp({dir.File("SYSTEM.CFG"), dir.File("dumps"), '.'});
  plumgr::FillTestData(state);
  const plumgr::PluRange range{1, rows};

  const std::vector<Bench> benches = {
      {"compared PLU download + compare",
       [&](plumgr::TransferDriver& d, plumgr::TransferData& data) {
         d.DownloadKinds = plumgr::KindBit(plumgr::kDownloadPlu);
         return d.DownloadSequence(data, range);
       },
       true},
      {"PLU upload with sales records",
       [&](plumgr::TransferDriver& d, plumgr::TransferData& data) {
         d.UploadKinds = plumgr::KindBit(plumgr::kUploadPlu);
         return d.UploadSequence(data, range);
       },
       true},
      {"parameter download (3 kinds)",
       [&](plumgr::TransferDriver& d, plumgr::TransferData& data) {
         d.DownloadKinds = plumgr::KindBit(plumgr::kDownloadParameter) |
                           plumgr::KindBit(plumgr::kDownloadVat) |
                           plumgr::KindBit(plumgr::kDownloadHeader);
         return d.DownloadSequence(data, range);
       },
       false},
  };
  for (int speed : speeds)
    for (const Bench& bench : benches)
      RunOne(bench, rows, speed, state);
  return 0;
}
