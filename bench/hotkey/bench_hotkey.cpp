// Saving and loading an 80-key layout, encoding its table, and drawing its key
// sheet to a PDF.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "hotkey/hotkey_table.h"
#include "hotkey/key_grid.h"
#include "hotkey/sheet_painter.h"

namespace {

using namespace plumgr;

void FillLayout(TMyGrid& grid) {
  grid.ColCount = 10;
  grid.RowCount = 8;
  grid.SetCount(80);
  for (int i = 0; i < 80; ++i) {
    TGridList& key = grid.Items(i);
    key.fs1Btn().Caption = "Item number " + std::to_string(i);
    key.fs1Btn().Code = "590123412" + std::to_string(1000 + i);
    key.fs1Btn().BTNType = 1;
    key.fs1Btn().Price = 1.25 * i;
    key.sc2Btn().Caption = "Dept " + std::to_string(i % 16 + 1);
    key.sc2Btn().Code = std::to_string(i % 16 + 1);
    key.sc2Btn().BTNType = 2;
    key.CenterLine = i % 2 == 0;
    key.TLCaption = "A";
    key.BLCaption = "B";
    key.ShowLBCaption = true;
  }
}

std::string ScratchFile() {
  return (std::filesystem::temp_directory_path() / "bench_hotkey.Key").string();
}

void BM_SaveLayout80(benchmark::State& state) {
  TMyGrid grid;
  FillLayout(grid);
  std::string path = ScratchFile();
  for (auto _ : state)
    benchmark::DoNotOptimize(grid.SaveToFile(path, '.').Ok);
}
BENCHMARK(BM_SaveLayout80)->Unit(benchmark::kMicrosecond);

void BM_LoadLayout80(benchmark::State& state) {
  TMyGrid saved;
  FillLayout(saved);
  std::string path = ScratchFile();
  if (!saved.SaveToFile(path, '.')) state.SkipWithError("cannot write the layout");
  TMyGrid grid;
  grid.ColCount = 10;
  grid.RowCount = 8;
  grid.SetCount(80);
  for (auto _ : state)
    benchmark::DoNotOptimize(grid.LoadFromFile(path, '.').Ok);
}
BENCHMARK(BM_LoadLayout80)->Unit(benchmark::kMicrosecond);

void BM_EncodeTable80(benchmark::State& state) {
  TMyGrid grid;
  FillLayout(grid);
  for (auto _ : state)
    benchmark::DoNotOptimize(EncodeHotKeyTable(grid).Table.data());
}
BENCHMARK(BM_EncodeTable80)->Unit(benchmark::kMicrosecond);

void BM_SheetToPdf80(benchmark::State& state) {
  TMyGrid grid;
  FillLayout(grid);
  TmyPaintBox box;
  box.SetMyGrid(&grid);
  ApplyPreviewGeometry(box, 160);
  box.Context.Palette = QGuiApplication::palette();
  std::size_t size = 0;
  for (auto _ : state) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    QPainter painter(&writer);
    box.DrawSheets(painter, 1, 0);
    painter.end();
    size = static_cast<std::size_t>(bytes.size());
  }
  state.counters["pdf_bytes"] = static_cast<double>(size);
}
BENCHMARK(BM_SheetToPdf80)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int app_argc = 1;
  QGuiApplication app(app_argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(ScratchFile());
  return 0;
}
