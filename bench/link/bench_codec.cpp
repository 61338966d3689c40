// Cost of the frame codec: one PackFrame, one UnpackFrame, and one byte fed to the
// receiver while it assembles frames.

#include <benchmark/benchmark.h>

#include <vector>

#include "link/bus_frame.h"

namespace plumgr {
namespace {

PackageBlock SampleBlock() {
  package p;
  p.Type = 13;
  p.Number = 0x0123;
  for (std::size_t i = 0; i < p.Data.size(); ++i)
    p.Data[i] = static_cast<std::uint8_t>(i * 31);
  return MakePackageBlock(p);
}

void BM_PackFrame(benchmark::State& state) {
  PackageBlock block = SampleBlock();
  for (auto _ : state) {
    benchmark::DoNotOptimize(block);
    BusFrame frame = PackFrame(block);
    benchmark::DoNotOptimize(frame);
  }
}
BENCHMARK(BM_PackFrame);

void BM_UnpackFrame(benchmark::State& state) {
  BusFrame frame = PackFrame(SampleBlock());
  for (auto _ : state) {
    benchmark::DoNotOptimize(frame);
    UnpackedFrame unpacked = UnpackFrame(frame);
    benchmark::DoNotOptimize(unpacked);
  }
}
BENCHMARK(BM_UnpackFrame);

// Frames byte by byte and a frame to a chunk; the rate is per byte. (Longer chunks
// would skip what follows a completed frame and flatter the figure.)
void BM_FeedFrames(benchmark::State& state) {
  const BusFrame frame = PackFrame(SampleBlock());
  std::vector<std::uint8_t> stream;
  for (int i = 0; i < 64; ++i)
    stream.insert(stream.end(), frame.begin(), frame.end());
  const std::size_t chunk = static_cast<std::size_t>(state.range(0));
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitFrame;
  receiver.ExpectAnswerTo(frame);
  for (auto _ : state) {
    receiver.ResetReceiver();
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
      const auto n = static_cast<std::uint16_t>(std::min(chunk, stream.size() - at));
      if (receiver.Feed(stream.data() + at, n) != ReceiveEvent::None) receiver.ResetReceiver();
    }
    benchmark::DoNotOptimize(receiver.Frame());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_FeedFrames)->Arg(1)->Arg(301);

// Noise without a start byte: the cheapest path, the one a chattering line takes.
void BM_FeedNoise(benchmark::State& state) {
  std::vector<std::uint8_t> noise(1 << 16, 0x41);
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitFrame;
  for (auto _ : state) {
    for (std::size_t at = 0; at < noise.size(); at += 2048)
      receiver.Feed(noise.data() + at, 2048);
    benchmark::DoNotOptimize(receiver.Position());
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * noise.size()));
}
BENCHMARK(BM_FeedNoise);

}  // namespace
}  // namespace plumgr

BENCHMARK_MAIN();
