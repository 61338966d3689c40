// Feeds arbitrary bytes to the frame receiver in arbitrary chunks, and decodes
// arbitrary frames: whatever is recognised or decoded must pack back to the bytes
// it came from, up to the bits a frame does not carry.

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "link/bus_frame.h"

using namespace plumgr;

namespace {

// The frame as PackFrame would write it: the ends fixed, bit 7 set in the body,
// and only bits 0 and 1 of the checksum's high-bit byte kept.
BusFrame Canonical(BusFrame frame) {
  frame[0] = kFrameStart;
  frame[300] = kFrameEnd;
  for (std::size_t i = 1; i < 300; ++i)
    frame[i] |= 0x80;
  frame[299] &= 0x83;
  return frame;
}

void CheckRoundTrip(const BusFrame& frame) {
  const UnpackedFrame unpacked = UnpackFrame(frame);
  if (PackFrame(unpacked.Block) != Canonical(frame)) std::abort();
  const UnpackedFrame again = UnpackFrame(PackFrame(unpacked.Block));
  if (again.Block != unpacked.Block || again.ChecksumError != unpacked.ChecksumError) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  // The first bytes choose the mode, the request answered and the chunk size.
  FrameReceiver receiver;
  receiver.Mode = data[0] & 1 ? ReceiveMode::AwaitFrame : ReceiveMode::AwaitReply;
  PackageBlock request;
  request.SetType(data[1]);
  request.SetNumber(static_cast<std::uint16_t>(data[2] | data[0] << 8));
  request.StoreChecksum();
  receiver.ExpectAnswerTo(PackFrame(request));
  receiver.ResetReceiver();
  const std::size_t chunk = 1 + data[3] % 64 * 37;
  data += 4;
  size -= 4;

  for (std::size_t at = 0; at < size; at += chunk) {
    const auto n = static_cast<std::uint16_t>(size - at < chunk ? size - at : chunk);
    const ReceiveEvent event = receiver.Feed(data + at, n);
    if (event == ReceiveEvent::ReplyReceived && receiver.ReplyByte() != kAck &&
        receiver.ReplyByte() != kNak) {
      std::abort();
    }
    if (event == ReceiveEvent::FrameReceived) {
      const BusFrame& frame = receiver.Frame();
      if (frame[0] != kFrameStart || frame[300] != kFrameEnd) std::abort();
      for (std::size_t i = 1; i < 300; ++i) {
        if (!(frame[i] & 0x80)) std::abort();  // the receiver let a bad byte in
      }
      if (std::memcmp(frame.data() + 1, receiver.ExpectedHeader.data(), 3) != 0) std::abort();
      CheckRoundTrip(frame);
      receiver.ResetReceiver();
    }
    if (receiver.Position() > 300) std::abort();
  }

  if (size >= kBusFrameSize) {
    BusFrame frame;
    std::memcpy(frame.data(), data, kBusFrameSize);
    CheckRoundTrip(frame);
  }
  return 0;
}
