#include "link/bus_frame.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace plumgr {
namespace {

// Hex dump of the bytes from the first difference on, so a failure shows where.
template <typename A, typename B>
::testing::AssertionResult BytesEqual(const A& actual, const B& expected) {
  const std::size_t common = std::min(actual.size(), expected.size());
  std::size_t first = 0;
  while (first < common && actual[first] == expected[first])
    ++first;
  if (first == common && actual.size() == expected.size()) return ::testing::AssertionSuccess();
  auto dump = [first](const auto& bytes) {
    std::string text;
    for (std::size_t i = first; i < bytes.size() && i < first + 16; ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned>(bytes[i]));
      text += hex;
    }
    return text;
  };
  return ::testing::AssertionFailure()
         << "first difference at byte " << first << " (sizes " << actual.size() << " and "
         << expected.size() << ")\n  actual:   " << dump(actual)
         << "\n  expected: " << dump(expected);
}

PackageBlock ConnectLikeBlock() {
  package p;
  p.Type = 14;
  p.Number = 2;
  p.Data[0] = 0x34;
  p.Data[1] = 0x12;
  return MakePackageBlock(p);
}

BusFrame FilledFrame(std::uint8_t value) {
  BusFrame frame;
  frame.fill(value);
  return frame;
}

TEST(BusFrameTest, WorkedExamplePacksByteForByte) {
  const PackageBlock block = ConnectLikeBlock();
  EXPECT_EQ(block.StoredChecksum(), 0x0056);

  BusFrame expected = FilledFrame(0x80);
  const std::vector<std::uint8_t> head = {0x03, 0x8E, 0x82, 0x80, 0xB4, 0x92, 0x80, 0x80, 0x80};
  std::copy(head.begin(), head.end(), expected.begin());
  expected[297] = 0xD6;
  expected[298] = 0x80;
  expected[299] = 0x80;
  expected[300] = 0x04;
  EXPECT_TRUE(BytesEqual(PackFrame(block), expected));
}

TEST(BusFrameTest, HighBitsTravelInTheGroupByteAndTheChecksumBitsByte) {
  PackageBlock block;
  block.SetType(0x85);
  block.Bytes[kBlockChecksumLow] = 0x4B;
  block.Bytes[kBlockChecksumHigh] = 0x80;
  const BusFrame frame = PackFrame(block);
  EXPECT_EQ(frame[1], 0x85);
  EXPECT_EQ(frame[8], 0x81);
  EXPECT_EQ(frame[297], 0xCB);
  EXPECT_EQ(frame[298], 0x80);
  EXPECT_EQ(frame[299], 0x82);
}

TEST(BusFrameTest, ZeroPayloadPacksToStartBodyOf0x80AndEnd) {
  PackageBlock block;
  block.StoreChecksum();
  EXPECT_EQ(block.StoredChecksum(), 0);
  BusFrame expected = FilledFrame(0x80);
  expected[0] = 0x03;
  expected[300] = 0x04;
  EXPECT_TRUE(BytesEqual(PackFrame(block), expected));
}

TEST(BusFrameTest, PackFrameKeepsTheChecksumItIsGiven) {
  PackageBlock block = ConnectLikeBlock();
  block.Bytes[kBlockChecksumLow] = 0x00;
  const UnpackedFrame unpacked = UnpackFrame(PackFrame(block));
  EXPECT_TRUE(unpacked.ChecksumError);
  EXPECT_TRUE(BytesEqual(unpacked.Block.Bytes, block.Bytes));
}

TEST(BusFrameTest, EveryByteValueAtEveryPositionSurvivesARoundTrip) {
  for (std::size_t position = 0; position < kPayloadSize; ++position) {
    for (int value = 0; value < 256; ++value) {
      PackageBlock block;
      block.Bytes[position] = static_cast<std::uint8_t>(value);
      // Neighbours carry a pattern so that a misplaced bit cannot hide among zeros.
      block.Bytes[(position + 1) % kPayloadSize] = 0xA5;
      block.StoreChecksum();
      const UnpackedFrame unpacked = UnpackFrame(PackFrame(block));
      ASSERT_FALSE(unpacked.ChecksumError) << "position " << position << " value " << value;
      ASSERT_TRUE(BytesEqual(unpacked.Block.Bytes, block.Bytes))
          << "position " << position << " value " << value;
    }
  }
}

TEST(BusFrameTest, PackageSurvivesBlockConversion) {
  package p;
  p.Type = 0xFE;
  p.Number = 0xBEEF;
  for (std::size_t i = 0; i < p.Data.size(); ++i)
    p.Data[i] = static_cast<std::uint8_t>(i * 7);
  const PackageBlock block = MakePackageBlock(p);
  EXPECT_EQ(block.Bytes[1], 0xEF);
  EXPECT_EQ(block.Bytes[2], 0xBE);
  EXPECT_EQ(PackageOf(UnpackFrame(PackFrame(block)).Block), p);
}

TEST(BusFrameTest, AnySingleBitFlipInTheBodyIsAChecksumError) {
  PackageBlock block = ConnectLikeBlock();
  block.Bytes[100] = 0xC3;
  block.StoreChecksum();
  const BusFrame good = PackFrame(block);
  for (std::size_t index = 1; index <= 298; ++index) {
    for (int bit = 0; bit < 7; ++bit) {
      BusFrame bad = good;
      bad[index] ^= static_cast<std::uint8_t>(1 << bit);
      EXPECT_TRUE(UnpackFrame(bad).ChecksumError) << "index " << index << " bit " << bit;
    }
  }
  for (int bit = 0; bit < 2; ++bit) {
    BusFrame bad = good;
    bad[299] ^= static_cast<std::uint8_t>(1 << bit);
    EXPECT_TRUE(UnpackFrame(bad).ChecksumError) << "bit " << bit;
  }
  for (int bit = 2; bit < 7; ++bit) {
    BusFrame spare = good;
    spare[299] ^= static_cast<std::uint8_t>(1 << bit);
    EXPECT_FALSE(UnpackFrame(spare).ChecksumError) << "bit " << bit;
  }
}

// A receiver waiting for the answer to a request with the worked example's header.
class FrameReceiverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = PackFrame(ConnectLikeBlock());
    receiver_.Mode = ReceiveMode::AwaitFrame;
    receiver_.ExpectAnswerTo(frame_);
    receiver_.ResetReceiver();
  }

  ReceiveEvent FeedAll(const std::vector<std::uint8_t>& bytes, std::size_t chunk) {
    ReceiveEvent last = ReceiveEvent::None;
    for (std::size_t at = 0; at < bytes.size(); at += chunk) {
      const std::size_t n = std::min(chunk, bytes.size() - at);
      const ReceiveEvent event = receiver_.Feed(bytes.data() + at, static_cast<std::uint16_t>(n));
      if (event != ReceiveEvent::None) last = event;
    }
    return last;
  }

  std::vector<std::uint8_t> Bytes() const { return {frame_.begin(), frame_.end()}; }

  BusFrame frame_{};
  FrameReceiver receiver_;
};

TEST_F(FrameReceiverTest, FrameInAnyChunkSizeIsAssembledIdentically) {
  for (std::size_t chunk : {1u, 7u, 100u, 301u}) {
    receiver_.ResetReceiver();
    EXPECT_EQ(FeedAll(Bytes(), chunk), ReceiveEvent::FrameReceived) << "chunk " << chunk;
    EXPECT_TRUE(receiver_.Complete());
    EXPECT_EQ(receiver_.Position(), 0u);
    EXPECT_TRUE(BytesEqual(receiver_.Frame(), frame_)) << "chunk " << chunk;
  }
}

TEST_F(FrameReceiverTest, GarbageBeforeTheStartIsSkipped) {
  std::vector<std::uint8_t> bytes = {0x00, 0x55, 0x02, 0xFF, 0x04, 0x80};
  const std::vector<std::uint8_t> frame = Bytes();
  bytes.insert(bytes.end(), frame.begin(), frame.end());
  EXPECT_EQ(FeedAll(bytes, bytes.size()), ReceiveEvent::FrameReceived);
  EXPECT_TRUE(BytesEqual(receiver_.Frame(), frame_));
}

TEST_F(FrameReceiverTest, StartByteInsideAFrameRestartsAssembly) {
  std::vector<std::uint8_t> bytes = Bytes();
  bytes.resize(150);
  bytes.push_back(0x03);  // cut short: the frame starts over here
  EXPECT_EQ(FeedAll(bytes, 1), ReceiveEvent::None);
  EXPECT_EQ(receiver_.Position(), 1u);
  const std::vector<std::uint8_t> rest(frame_.begin() + 1, frame_.end());
  EXPECT_EQ(FeedAll(rest, 64), ReceiveEvent::FrameReceived);
  EXPECT_TRUE(BytesEqual(receiver_.Frame(), frame_));
}

TEST_F(FrameReceiverTest, WrongLowByteInTheBodyDropsThePartialFrame) {
  std::vector<std::uint8_t> bytes = Bytes();
  bytes[200] = 0x7F;
  EXPECT_EQ(FeedAll(bytes, 301), ReceiveEvent::None);
  EXPECT_EQ(receiver_.Position(), 0u);
}

TEST_F(FrameReceiverTest, MissingEndByteNeverCompletes) {
  std::vector<std::uint8_t> bytes = Bytes();
  bytes[300] = 0x80;
  EXPECT_EQ(FeedAll(bytes, 301), ReceiveEvent::None);
  EXPECT_EQ(receiver_.Position(), 0u);

  bytes[300] = 0x03;  // a start byte in place of the end starts the next frame
  EXPECT_EQ(FeedAll(bytes, 301), ReceiveEvent::None);
  EXPECT_EQ(receiver_.Position(), 1u);
  const std::vector<std::uint8_t> rest(frame_.begin() + 1, frame_.end());
  EXPECT_EQ(FeedAll(rest, 301), ReceiveEvent::FrameReceived);
}

TEST_F(FrameReceiverTest, BytesAfterTheEndAndLaterChunksAreIgnoredUntilReset) {
  std::vector<std::uint8_t> bytes = Bytes();
  bytes.push_back(0x03);
  bytes.push_back(0x8E);
  EXPECT_EQ(FeedAll(bytes, bytes.size()), ReceiveEvent::FrameReceived);
  EXPECT_EQ(receiver_.Position(), 0u);

  std::vector<std::uint8_t> other = Bytes();
  other[150] = 0x81;  // a different frame must not overwrite the one assembled
  EXPECT_EQ(FeedAll(other, 301), ReceiveEvent::None);
  EXPECT_TRUE(BytesEqual(receiver_.Frame(), frame_));

  receiver_.ResetReceiver();
  EXPECT_FALSE(receiver_.Complete());
  EXPECT_EQ(FeedAll(other, 301), ReceiveEvent::FrameReceived);
  EXPECT_TRUE(BytesEqual(receiver_.Frame(), other));
}

TEST_F(FrameReceiverTest, AnswerWithAnotherHeaderNeverCompletesEvenWithAGoodChecksum) {
  for (std::size_t header_byte : {1u, 2u, 3u}) {
    PackageBlock block = ConnectLikeBlock();
    block.Bytes[header_byte - 1] ^= 0x01;
    block.StoreChecksum();
    const BusFrame other = PackFrame(block);
    ASSERT_FALSE(UnpackFrame(other).ChecksumError);
    receiver_.ResetReceiver();
    EXPECT_EQ(FeedAll({other.begin(), other.end()}, 301), ReceiveEvent::None) << header_byte;
    EXPECT_FALSE(receiver_.Complete());
  }
}

TEST_F(FrameReceiverTest, ReplyBytesAreIgnoredWhileAwaitingAFrame) {
  EXPECT_EQ(FeedAll({0x02, 0x55}, 2), ReceiveEvent::None);
  EXPECT_EQ(receiver_.ReplyByte(), 0);
}

TEST(FrameReceiverReplyTest, FirstReplyByteOfTheChunkWins) {
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitReply;
  receiver.ResetReceiver();
  const std::uint8_t chunk[] = {0x41, 0x55, 0x02};
  EXPECT_EQ(receiver.Feed(chunk, 3), ReceiveEvent::ReplyReceived);
  EXPECT_EQ(receiver.ReplyByte(), 0x55);
  const std::uint8_t ack = 0x02;
  EXPECT_EQ(receiver.Feed(&ack, 1), ReceiveEvent::None);
  EXPECT_EQ(receiver.ReplyByte(), 0x55);
}

TEST(FrameReceiverReplyTest, FramesAreIgnoredWhileAwaitingAReply) {
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitReply;
  receiver.ResetReceiver();
  const BusFrame frame = PackFrame(ConnectLikeBlock());
  EXPECT_EQ(receiver.Feed(frame.data(), 301), ReceiveEvent::None);
  EXPECT_FALSE(receiver.Complete());
}

TEST(FrameReceiverReplyTest, LateReplyDeliveredAfterTheResetCountsForTheNewWait) {
  // The ACK to an attempt that timed out arrives while the next attempt waits.
  FrameReceiver receiver;
  receiver.Mode = ReceiveMode::AwaitReply;
  receiver.ResetReceiver();
  receiver.ResetReceiver();
  const std::uint8_t ack = 0x02;
  EXPECT_EQ(receiver.Feed(&ack, 1), ReceiveEvent::ReplyReceived);
  EXPECT_EQ(receiver.ReplyByte(), 0x02);
  receiver.ResetReceiver();
  EXPECT_EQ(receiver.ReplyByte(), 0);
  EXPECT_FALSE(receiver.Complete());
}

TEST(FrameReceiverReplyTest, EmptyOrNullChunkChangesNothing) {
  FrameReceiver receiver;
  EXPECT_EQ(receiver.Feed(nullptr, 5), ReceiveEvent::None);
  const std::uint8_t ack = 0x02;
  EXPECT_EQ(receiver.Feed(&ack, 0), ReceiveEvent::None);
  EXPECT_FALSE(receiver.Complete());
}

}  // namespace
}  // namespace plumgr
