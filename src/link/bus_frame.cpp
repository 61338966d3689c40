#include "link/bus_frame.h"

#include <algorithm>

namespace plumgr {

namespace {

constexpr std::uint8_t kHighBit = 0x80;
constexpr std::size_t kGroupPayload = 7;
constexpr std::size_t kFrameChecksumLow = 297;
constexpr std::size_t kFrameChecksumHigh = 298;
constexpr std::size_t kFrameChecksumBits = 299;
constexpr std::size_t kFrameLast = kBusFrameSize - 1;

// Each group of seven payload bytes travels as their low seven bits followed by
// one byte holding their high bits; the groups fill indices 1 to 296 exactly.
static_assert(kPayloadSize % kGroupPayload == 0);
static_assert(kPayloadSize / kGroupPayload * 8 + 1 == kFrameChecksumLow);

}  // namespace

std::uint16_t PackageBlock::Number() const {
  return static_cast<std::uint16_t>(Bytes[kBlockNumberLow] | Bytes[kBlockNumberHigh] << 8);
}

std::uint16_t PackageBlock::StoredChecksum() const {
  return static_cast<std::uint16_t>(Bytes[kBlockChecksumLow] | Bytes[kBlockChecksumHigh] << 8);
}

std::span<const std::uint8_t, kPayloadSize> PackageBlock::Payload() const {
  return std::span<const std::uint8_t, kPayloadSize>(Bytes.data(), kPayloadSize);
}

std::span<std::uint8_t, kPackageDataSize> PackageBlock::Data() {
  return std::span<std::uint8_t, kPackageDataSize>(Bytes.data() + kBlockData, kPackageDataSize);
}

std::span<const std::uint8_t, kPackageDataSize> PackageBlock::Data() const {
  return std::span<const std::uint8_t, kPackageDataSize>(Bytes.data() + kBlockData,
                                                         kPackageDataSize);
}

void PackageBlock::SetNumber(std::uint16_t number) {
  Bytes[kBlockNumberLow] = static_cast<std::uint8_t>(number & 0xFF);
  Bytes[kBlockNumberHigh] = static_cast<std::uint8_t>(number >> 8);
}

void PackageBlock::StoreChecksum() {
  const std::uint16_t sum = PackageChecksum(Payload());
  Bytes[kBlockChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
  Bytes[kBlockChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

std::uint16_t PackageChecksum(std::span<const std::uint8_t, kPayloadSize> payload) {
  std::uint16_t sum = 0;
  for (std::uint8_t b : payload)
    sum = static_cast<std::uint16_t>(sum + b);
  return sum;
}

PackageBlock MakePackageBlock(const package& p) {
  PackageBlock block;
  block.SetType(p.Type);
  block.SetNumber(p.Number);
  std::copy(p.Data.begin(), p.Data.end(), block.Data().begin());
  block.StoreChecksum();
  return block;
}

package PackageOf(const PackageBlock& block) {
  package p;
  p.Type = block.Type();
  p.Number = block.Number();
  std::copy(block.Data().begin(), block.Data().end(), p.Data.begin());
  return p;
}

BusFrame PackFrame(const PackageBlock& block) {
  BusFrame frame{};
  frame[0] = kFrameStart;
  frame[kFrameLast] = kFrameEnd;
  for (std::size_t g = 0; g < kPayloadSize / kGroupPayload; ++g) {
    const std::uint8_t* payload = block.Bytes.data() + g * kGroupPayload;
    std::uint8_t* group = frame.data() + g * 8 + 1;
    std::uint8_t high_bits = 0;
    for (std::size_t k = 0; k < kGroupPayload; ++k) {
      group[k] = payload[k] & 0x7F;
      high_bits |= static_cast<std::uint8_t>((payload[k] >> 7) << k);
    }
    group[kGroupPayload] = high_bits;
  }
  const std::uint8_t low = block.Bytes[kBlockChecksumLow];
  const std::uint8_t high = block.Bytes[kBlockChecksumHigh];
  frame[kFrameChecksumLow] = low;
  frame[kFrameChecksumHigh] = high;
  if (low & kHighBit) frame[kFrameChecksumBits] |= 0x01;
  if (high & kHighBit) frame[kFrameChecksumBits] |= 0x02;
  for (std::size_t i = 1; i < kFrameLast; ++i)
    frame[i] |= kHighBit;
  return frame;
}

UnpackedFrame UnpackFrame(const BusFrame& frame) {
  UnpackedFrame result;
  auto& bytes = result.Block.Bytes;
  for (std::size_t g = 0; g < kPayloadSize / kGroupPayload; ++g) {
    const std::uint8_t* group = frame.data() + g * 8 + 1;
    std::uint8_t* payload = bytes.data() + g * kGroupPayload;
    const std::uint8_t high_bits = group[kGroupPayload];
    for (std::size_t k = 0; k < kGroupPayload; ++k) {
      payload[k] = static_cast<std::uint8_t>((group[k] & 0x7F) | ((high_bits >> k) & 1) << 7);
    }
  }
  const std::uint8_t bits = frame[kFrameChecksumBits];
  bytes[kBlockChecksumLow] =
      static_cast<std::uint8_t>((frame[kFrameChecksumLow] & 0x7F) | (bits & 0x01 ? kHighBit : 0));
  bytes[kBlockChecksumHigh] =
      static_cast<std::uint8_t>((frame[kFrameChecksumHigh] & 0x7F) | (bits & 0x02 ? kHighBit : 0));
  result.ChecksumError = PackageChecksum(result.Block.Payload()) != result.Block.StoredChecksum();
  return result;
}

void FrameReceiver::ExpectAnswerTo(const BusFrame& request) {
  std::copy(request.begin() + 1, request.begin() + 4, ExpectedHeader.begin());
}

void FrameReceiver::ResetReceiver() {
  position_ = 0;
  complete_ = false;
  reply_byte_ = 0;
}

ReceiveEvent FrameReceiver::Feed(const std::uint8_t* data, std::uint16_t length) {
  if (complete_ || data == nullptr || length == 0) return ReceiveEvent::None;
  return Mode == ReceiveMode::AwaitReply ? FeedReply(data, length) : FeedFrame(data, length);
}

ReceiveEvent FrameReceiver::FeedReply(const std::uint8_t* data, std::uint16_t length) {
  const std::uint8_t* end = data + length;
  const std::uint8_t* reply =
      std::find_if(data, end, [](std::uint8_t b) { return b == kAck || b == kNak; });
  if (reply == end) return ReceiveEvent::None;
  reply_byte_ = *reply;
  complete_ = true;
  return ReceiveEvent::ReplyReceived;
}

bool FrameReceiver::Acceptable(std::uint8_t b) const {
  if (position_ == 0) return b == kFrameStart;
  if (position_ <= 3) return b == ExpectedHeader[position_ - 1];
  if (position_ < kFrameLast) return (b & kHighBit) != 0;
  return b == kFrameEnd;
}

ReceiveEvent FrameReceiver::FeedFrame(const std::uint8_t* data, std::uint16_t length) {
  for (std::uint16_t n = 0; n < length; ++n) {
    const std::uint8_t b = data[n];
    if (Acceptable(b)) {
      frame_[position_] = b;
      if (position_ == kFrameLast) {
        complete_ = true;
        position_ = 0;
        return ReceiveEvent::FrameReceived;
      }
      ++position_;
    } else if (b == kFrameStart) {
      // A start byte where it does not belong begins a new frame: the partial one
      // was cut short by noise or by the register starting over.
      frame_[0] = b;
      position_ = 1;
    } else {
      position_ = 0;
    }
  }
  return ReceiveEvent::None;
}

}  // namespace plumgr
