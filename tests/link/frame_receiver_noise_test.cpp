// The receiver faces whatever the line delivers: noise, a stuck transmitter, frames
// of other packages, long bursts. It must take all of it without allocating,
// failing or losing its place.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "link/bus_frame.h"

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}

namespace plumgr {
namespace {

BusFrame FrameOf(std::uint8_t type, std::uint16_t number, std::uint8_t fill) {
  package p;
  p.Type = type;
  p.Number = number;
  p.Data.fill(fill);
  return PackFrame(MakePackageBlock(p));
}

// Feeds the bytes in chunks of up to 2048, as the serial port delivers them, and
// counts the frames completed, resetting after each as the bus component would
// (the rest of a chunk after a completed frame is ignored).
int FeedInChunks(FrameReceiver& receiver, const std::vector<std::uint8_t>& bytes,
                 std::size_t chunk = 2048) {
  int frames = 0;
  const long before = allocations;
  for (std::size_t at = 0; at < bytes.size(); at += chunk) {
    const auto n = static_cast<std::uint16_t>(std::min(chunk, bytes.size() - at));
    if (receiver.Feed(bytes.data() + at, n) != ReceiveEvent::None) {
      ++frames;
      receiver.ResetReceiver();
    }
  }
  EXPECT_EQ(allocations - before, 0) << "the receiver allocated";
  return frames;
}

class FrameReceiverNoiseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    request_ = FrameOf(0x0B, 0x1234, 0);
    receiver_.Mode = ReceiveMode::AwaitFrame;
    receiver_.ExpectAnswerTo(request_);
    receiver_.ResetReceiver();
  }
  BusFrame request_{};
  FrameReceiver receiver_;
};

TEST_F(FrameReceiverNoiseTest, RandomMegabyteCompletesNothingAndLeavesTheReceiverUsable) {
  std::mt19937 random(12345);
  std::vector<std::uint8_t> noise(1 << 20);
  for (auto& b : noise)
    b = static_cast<std::uint8_t>(random());
  EXPECT_EQ(FeedInChunks(receiver_, noise), 0);
  EXPECT_LE(receiver_.Position(), 300u);

  const BusFrame answer = FrameOf(0x0B, 0x1234, 0xC7);
  std::vector<std::uint8_t> bytes(answer.begin(), answer.end());
  bytes.insert(bytes.begin(), 0x04);  // ends whatever the noise had started
  EXPECT_EQ(FeedInChunks(receiver_, bytes), 1);
}

TEST_F(FrameReceiverNoiseTest, EndlessStartBytesNeverComplete) {
  std::vector<std::uint8_t> starts(1 << 20, kFrameStart);
  EXPECT_EQ(FeedInChunks(receiver_, starts), 0);
  EXPECT_EQ(receiver_.Position(), 1u);
  std::vector<std::uint8_t> rest(request_.begin() + 1, request_.end());
  EXPECT_EQ(FeedInChunks(receiver_, rest), 1);
}

TEST_F(FrameReceiverNoiseTest, OnlyFramesWithTheExpectedHeaderCompleteInALongBurst) {
  std::vector<std::uint8_t> burst;
  int expected = 0;
  for (int type = 0; type < 256; ++type) {
    for (std::uint16_t number : {0x0000, 0x1234, 0x9234, 0xFFFF}) {
      const BusFrame frame = FrameOf(static_cast<std::uint8_t>(type), number, 0x5A);
      burst.insert(burst.end(), frame.begin(), frame.end());
      // Bit 7 of the header bytes travels elsewhere, so 0x8B matches 0x0B here.
      if ((type & 0x7F) == 0x0B && (number & 0x7F7F) == 0x1234) ++expected;
    }
  }
  EXPECT_EQ(expected, 4);
  EXPECT_EQ(FeedInChunks(receiver_, burst, kBusFrameSize), expected);
}

TEST(FrameReceiverReplyNoiseTest, ReplyIsFoundAfterAMegabyteOfFrameBytes) {
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitReply;
  receiver.ResetReceiver();
  std::vector<std::uint8_t> bytes(1 << 20, 0x80);
  bytes.push_back(kAck);
  EXPECT_EQ(FeedInChunks(receiver, bytes), 1);
}

TEST(BusFrameNoAllocationTest, PackingAndUnpackingAllocateNothing) {
  const long before = allocations;
  const BusFrame frame = FrameOf(1, 2, 3);
  const UnpackedFrame unpacked = UnpackFrame(frame);
  EXPECT_EQ(allocations - before, 0);
  EXPECT_FALSE(unpacked.ChecksumError);
}

}  // namespace
}  // namespace plumgr
