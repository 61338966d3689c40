// The register's data work without the line: how long it takes to serve a
// full PLU table (10000 records) through the download, upload and comparison
// packages, to count it for the status, and to write and read it as a state
// file. These costs sit on top of the line time of every package.

#include <chrono>
#include <cstdio>
#include <string>

#include "sim/package_handlers.h"
#include "sim/state_file.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace plumgr;
using namespace plumgr::sim;

template <typename Work>
double MeasureMs(Work work) {
  Clock::time_point start = Clock::now();
  work();
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

PackageBlock Request(std::uint8_t type, std::uint16_t number) {
  PackageBlock block;
  block.SetType(type);
  block.SetNumber(number);
  return block;
}

}  // namespace

int main() {
  PackageHandlerTable handlers = DefaultPackageHandlers();
  RegisterState state;
  FrameContext context{115200, {}};
  std::size_t sink = 0;

  // 3334 download packages of three slots each fill the table.
  double download = MeasureMs([&] {
    for (int n = 0; n * 3 < kPluCapacity; ++n) {
      PackageBlock block = Request(13, static_cast<std::uint16_t>(n));
      auto data = block.Data();
      int count = std::min(3, kPluCapacity - 3 * n);
      data[0] = static_cast<std::uint8_t>(count);
      for (int s = 0; s < count; ++s) {
        int index = 3 * n + s;
        data[1 + 68 * s] = static_cast<std::uint8_t>(index);
        data[2 + 68 * s] = static_cast<std::uint8_t>(index >> 8);
        data[5 + 68 * s] = 0x01;  // a barcode, so the record is present
      }
      sink += handlers.Handle(block, context, state).What == Answer::Kind::Ack;
    }
  });
  double upload = MeasureMs([&] {
    for (int n = 0; n < kPluPackages; ++n)
      sink += handlers.Handle(Request(11, static_cast<std::uint16_t>(n)), context, state)
                  .Reply.Bytes[3];
  });
  double compare = MeasureMs([&] {
    for (int n = 0; n <= kPluPackages; ++n)
      sink += handlers.Handle(Request(87, static_cast<std::uint16_t>(n)), context, state)
                  .Reply.Bytes[3];
  });
  constexpr int kStatusRounds = 1000;
  double status = MeasureMs([&] {
    for (int i = 0; i < kStatusRounds; ++i)
      sink += handlers.Handle(Request(0, 0), context, state).Reply.Bytes[6];
  });
  RegisterImage image{state.Status, state.Memory};
  std::string text;
  double write = MeasureMs([&] { text = StateText(image); });
  RegisterImage read;
  double parse = MeasureMs([&] { sink += ParseStateText(text, read).has_value(); });

  std::printf("full PLU table, %d records (handler work only, no line):\n", kPluCapacity);
  std::printf("  download, %d packages of type 13: %8.2f ms\n", (kPluCapacity + 2) / 3, download);
  std::printf("  upload, %d packages of type 11:   %8.2f ms\n", kPluPackages, upload);
  std::printf("  comparison, %d packages of type 87: %6.2f ms\n", kPluPackages + 1, compare);
  std::printf("  status request (counts the table): %8.4f ms each\n", status / kStatusRounds);
  std::printf("  state file: %zu bytes, written in %.2f ms, read in %.2f ms\n", text.size(), write,
              parse);
  std::printf("  (line time of one package at 115200 baud: %.2f ms)\n", 301 * 10 * 1000.0 / 115200);
  return sink == 0 ? 1 : 0;
}
