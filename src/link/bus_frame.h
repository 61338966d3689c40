#pragma once
// The frame that carries one package between the PC and the register, and the
// receiver that recognises the register's answers in the bytes the serial port
// delivers.
//
// A frame is 301 bytes: start byte 0x03, the 259 payload bytes (type, number low,
// number high, 256 data bytes) packed seven to a group of eight so that every
// body byte has bit 7 set, the 16-bit sum of the payload packed the same way,
// and end byte 0x04. The register answers a frame it was sent with one byte,
// ACK 0x02 or NAK 0x55, and a request with a frame that repeats the request's
// header bytes 1 to 3.
//
// Everything here works on fixed arrays and allocates nothing; none of it knows
// about threads, files or the serial port.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace plumgr {

inline constexpr std::size_t kPackageDataSize = 256;
inline constexpr std::size_t kPayloadSize = 259;       // type, number low, number high, data
inline constexpr std::size_t kPackageBlockSize = 261;  // payload and checksum
inline constexpr std::size_t kBusFrameSize = 301;

inline constexpr std::uint8_t kFrameStart = 0x03;
inline constexpr std::uint8_t kFrameEnd = 0x04;
inline constexpr std::uint8_t kAck = 0x02;
inline constexpr std::uint8_t kNak = 0x55;

// Offsets inside a PackageBlock.
inline constexpr std::size_t kBlockType = 0;
inline constexpr std::size_t kBlockNumberLow = 1;
inline constexpr std::size_t kBlockNumberHigh = 2;
inline constexpr std::size_t kBlockData = 3;
inline constexpr std::size_t kBlockChecksumLow = 259;
inline constexpr std::size_t kBlockChecksumHigh = 260;

using PackageBytes = std::array<std::uint8_t, kPackageDataSize>;

// One package as the transfers see it: a type, a number and 256 data bytes.
struct package {
  std::uint8_t Type = 0;
  std::uint16_t Number = 0;
  PackageBytes Data{};

  friend bool operator==(const package&, const package&) = default;
};

// The 261 bytes that are packed into one frame: type, number (low byte first),
// data, checksum (low byte first). Bytes 0 to 258 are the payload.
struct PackageBlock {
  std::array<std::uint8_t, kPackageBlockSize> Bytes{};

  std::uint8_t Type() const { return Bytes[kBlockType]; }
  std::uint16_t Number() const;
  // The checksum as stored in the block, which need not match the payload.
  std::uint16_t StoredChecksum() const;
  std::span<const std::uint8_t, kPayloadSize> Payload() const;
  std::span<std::uint8_t, kPackageDataSize> Data();
  std::span<const std::uint8_t, kPackageDataSize> Data() const;

  void SetType(std::uint8_t type) { Bytes[kBlockType] = type; }
  void SetNumber(std::uint16_t number);
  // Computes PackageChecksum over the payload and stores it at offsets 259 and 260.
  void StoreChecksum();

  friend bool operator==(const PackageBlock&, const PackageBlock&) = default;
};

// The 301 bytes on the line.
using BusFrame = std::array<std::uint8_t, kBusFrameSize>;

// The 16-bit sum, modulo 65536, of the 259 payload bytes.
std::uint16_t PackageChecksum(std::span<const std::uint8_t, kPayloadSize> payload);

// A block of the package with its checksum filled in.
PackageBlock MakePackageBlock(const package& p);

// The type, number and data of a block (the checksum is dropped).
package PackageOf(const PackageBlock& block);

// Packs a block into a frame. The checksum bytes are taken from the block as they
// stand, not recomputed, so a caller can send a deliberately wrong checksum.
BusFrame PackFrame(const PackageBlock& block);

struct UnpackedFrame {
  PackageBlock Block;
  // The checksum carried by the frame differs from the sum of its payload.
  bool ChecksumError = false;
};

// Decodes a frame the receiver has assembled. The start and end bytes and bit 7
// of the body bytes are not examined: the receiver has already enforced them.
[[nodiscard]] UnpackedFrame UnpackFrame(const BusFrame& frame);

enum class ReceiveMode { AwaitReply, AwaitFrame };

// What one Feed call brought about.
enum class ReceiveEvent {
  None,           // nothing completed (or the receiver was already complete)
  ReplyReceived,  // a reply byte was recognised: ReplyByte()
  FrameReceived,  // a whole frame with the expected header was assembled: Frame()
};

// Recognises a reply byte or reassembles a frame from the chunks of bytes the
// serial port delivers, in arrival order. The owner sets the mode and, for
// frames, the header it expects before each wait, calls ResetReceiver at the
// start of the wait and feeds every chunk; once complete, the receiver ignores
// everything until the next reset.
class FrameReceiver {
 public:
  ReceiveMode Mode = ReceiveMode::AwaitReply;
  // Bytes 1 to 3 of the request frame most recently sent (AwaitFrame only).
  std::array<std::uint8_t, 3> ExpectedHeader{};

  // Sets ExpectedHeader from bytes 1 to 3 of the frame just sent.
  void ExpectAnswerTo(const BusFrame& request);

  // Back to idle: position 0, not complete, no reply byte.
  void ResetReceiver();

  // Offers a chunk of received bytes. A chunk may hold part of a frame, a whole
  // frame or more; bytes after the completing one are ignored.
  ReceiveEvent Feed(const std::uint8_t* data, std::uint16_t length);

  bool Complete() const { return complete_; }
  // 0x02 or 0x55 once a reply has been recognised, else 0.
  std::uint8_t ReplyByte() const { return reply_byte_; }
  // The assembled frame; meaningful once complete in AwaitFrame.
  const BusFrame& Frame() const { return frame_; }
  // Index at which the next accepted frame byte is stored (0 to 300).
  std::size_t Position() const { return position_; }

 private:
  ReceiveEvent FeedReply(const std::uint8_t* data, std::uint16_t length);
  ReceiveEvent FeedFrame(const std::uint8_t* data, std::uint16_t length);
  bool Acceptable(std::uint8_t b) const;

  BusFrame frame_{};
  std::size_t position_ = 0;
  bool complete_ = false;
  std::uint8_t reply_byte_ = 0;
};

}  // namespace plumgr
