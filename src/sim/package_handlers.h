#pragma once
// How the simulated register answers each kind of package. Handlers are kept
// in a table by package type so that each kind of data can be added on its own.

#include <array>
#include <cstdint>
#include <functional>
#include <span>

#include "link/bus_frame.h"
#include "sim/register_state.h"

namespace plumgr::sim {

struct Answer {
  enum class Kind { Ack, Nak, Frame, Silence };
  Kind What = Kind::Nak;
  PackageBlock Reply;  // for Kind::Frame: the block to send, checksum filled in

  static Answer Ack() { return {Kind::Ack, {}}; }
  static Answer Nak() { return {Kind::Nak, {}}; }
  static Answer Silence() { return {Kind::Silence, {}}; }
  // A frame that repeats the request's type and number and carries data.
  static Answer Frame(const PackageBlock& request, std::span<const std::uint8_t, 256> data);
};

// What a handler may know about the frame besides its package.
struct FrameContext {
  int Speed = 0;  // the line speed the frame arrived at
  // Whether the line can go on at a speed; not set: at any.
  std::function<bool(int speed)> LineTakes;
};

using PackageHandler = std::function<Answer(const PackageBlock& package,
                                            const FrameContext& context, RegisterState& state)>;

class PackageHandlerTable {
 public:
  void Set(std::uint8_t type, PackageHandler handler);
  bool Has(std::uint8_t type) const { return static_cast<bool>(handlers_[type]); }
  // A package of a type without a handler is rejected with NAK: the PC then
  // fails fast on a send, and a request ends as it would on silence, by its
  // wait, since the PC takes only a frame as the answer to a request.
  Answer Handle(const PackageBlock& package, const FrameContext& context,
                RegisterState& state) const;

 private:
  std::array<PackageHandler, 256> handlers_;
};

// Type 0: the status package (number 0); other numbers are refused. The PLU
// and sales record counts are those of the memory unless the status sets them.
Answer HandleStatusPackage(const PackageBlock& package, const FrameContext& context,
                           RegisterState& state);
// Type 14: connect (number 1), disconnect (number 2) and the memory page
// request (number 16); other numbers are refused.
Answer HandleLinkControl(const PackageBlock& package, const FrameContext& context,
                         RegisterState& state);

// The table of every kind of package the simulated register understands.
PackageHandlerTable DefaultPackageHandlers();

}  // namespace plumgr::sim
