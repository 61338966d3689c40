// Comparing a set with the register, against the simulated register at line
// rate: every PLU of the model (the register holding the set's rows, one price
// changed in the set), and every kind. The goal: the wall time stays within
// 1.05 of the time the packages read take on the line, so the comparison costs
// no more than the reading; the time of the comparison itself, after the
// reading, is printed apart. Also the backup read a download --backup makes.
//
// Usage: bench_register_diff [ROWS [SPEED...]]   (default 3000 rows at 115200)

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "../support/bench_common.h"
#include "../support/bench_support.h"
#include "app/register_commands.h"
#include "app/service_commands.h"

namespace {

constexpr double kGoal = 1.05;

struct Bench {
  std::string Name;
  std::function<std::string(plumgr::RegisterLink&)> Run;  // what it found, or "FAILED"
};

// The register holds the set's rows as its download left them.
void HoldRows(plumgr::sim::RegisterMemory& memory, const plumgr::Tables& tables, int rows) {
  const plumgr::WireUnits units{2, '.'};
  for (int row = 1; row <= rows; ++row)
    plumgr::sim::StorePlu(
        memory, row - 1,
        plumgr::EncodePluRecord(tables.PLUGrid, row, plumgr::PluDownloadLayout::Compared,
                                tables.AlcoholFlags[row - 1], units));
}

void RunOne(const Bench& bench, int rows, int speed, plumgr::MainWindowState& state,
            const plumgr::sim::RegisterMemory& held) {
  plumgr::sim::SimConfig config = plumgr::bench::LineRateRegister();
  config.Memory = held;
  plumgr::sim::EcrSimulator sim(config);
  const std::string path = sim.Start();

  plumgr::TKovoIBusComm bus;
  plumgr::ProgressModel progress(&bus);
  plumgr::RegisterLink link{state, bus, progress,
                            [&] { plumgr::bench::ConnectBus(bus, path, speed); },
                            plumgr::TransferTimings{}};

  const double cpu_start = plumgr::bench::CpuSeconds();
  QElapsedTimer timer;
  timer.start();
  const std::string found = bench.Run(link);
  const double wall = static_cast<double>(timer.nsecsElapsed()) / 1e9;
  const double cpu = plumgr::bench::CpuSeconds() - cpu_start;
  const double line = plumgr::bench::LineSeconds(sim.Received());
  const double ratio = wall / line;
  std::printf(
      "%-28s %6d baud  %5d rows  wall %7.2f s  line %7.2f s  ratio %.4f (goal %.2f: %s)"
      "  cpu %5.2f%%  %s\n",
      bench.Name.c_str(), speed, rows, wall, line, ratio, kGoal, ratio <= kGoal ? "met" : "MISSED",
      100.0 * cpu / wall, found.c_str());
  std::fflush(stdout);
}

std::string Differences(const plumgr::CompareOutcome& outcome) {
  if (!outcome.Read) return "FAILED";
  return std::to_string(outcome.Rows.size()) + " rows differ";
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  const int rows = argc > 1 ? std::atoi(argv[1]) : 3000;
  std::vector<int> speeds = plumgr::bench::SpeedsFromArgs(argc, argv, 2);
  if (argc <= 2) speeds = {115200};

  const plumgr::bench::ScratchDir dir("plumgr-bench-register-diff");
  plumgr::bench::SilentUi ui;
  plumgr::MainWindowState state(ui);
  state.StartUp({dir.File("SYSTEM.CFG"), dir.File("dumps"), '.'});
  plumgr::FillTestData(state);
  // The simulated register's test items are the set's rows; one price differs.
  plumgr::StringGrid& plu = state.GetTables().PLUGrid;
  for (int row = rows + 1; row < plu.RowCount(); ++row)
    plu.SetCell(plumgr::PluCol::Name, row, "");
  const plumgr::PluRange range{1, rows};
  plumgr::sim::RegisterMemory held;
  HoldRows(held, state.GetTables(), rows);

  // The comparison alone, on a snapshot as the reading leaves it.
  plumgr::RegisterSnapshot snapshot;
  snapshot.DownloadKinds = plumgr::KindBit(plumgr::kDownloadPlu);
  snapshot.PluSpans = {range};
  for (int n = 0; n < (rows + 3) / 4; ++n)
    for (int k = 0; k < 4; ++k)
      std::copy(held.Plus[static_cast<std::size_t>(4 * n + k)].begin(),
                held.Plus[static_cast<std::size_t>(4 * n + k)].end(),
                snapshot.PluPackages[n].begin() + 64 * k);
  plu.SetCell(plumgr::PluCol::Price, rows / 2, "1.23");
  const plumgr::IniDocument no_parameters;
  const plumgr::DownloadSource source{state.GetTables(), state.Recycling(), state.FastSale(),
                                      no_parameters, '.'};
  QElapsedTimer compare;
  compare.start();
  const std::size_t found = plumgr::CompareWithSnapshot(snapshot, source, snapshot.DownloadKinds,
                                                        range, plumgr::PluDownloadLayout::Compared)
                                .size();
  std::printf("the comparison of %d PLUs read: %.1f ms, %zu row differs\n", rows,
              static_cast<double>(compare.nsecsElapsed()) / 1e6, found);

  const std::vector<Bench> benches = {
      {"diff: PLUs",
       [&](plumgr::RegisterLink& link) {
         return Differences(
             CompareWithRegister(link, plumgr::KindBit(plumgr::kDownloadPlu), range));
       }},
      {"diff: every kind",
       [&](plumgr::RegisterLink& link) {
         return Differences(CompareWithRegister(link, plumgr::kAllDownloadKinds, range));
       }},
      {"backup read: every kind",
       [&](plumgr::RegisterLink& link) {
         const plumgr::BackupOutcome backup =
             BackUpRegister(link, plumgr::kAllDownloadKinds, range, dir.File("backups"),
                            "bench.PLU", state.SettingsPath(), 1, std::time(nullptr));
         return backup.Ok ? "backup written" : "FAILED " + backup.Message;
       }},
  };
  for (int speed : speeds)
    for (const Bench& bench : benches)
      RunOne(bench, rows, speed, state, held);
  return 0;
}
