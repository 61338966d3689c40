// The field codec on arbitrary fields: decoding never fails, and the kinds that
// can say the same thing again give back the same field (numbers, doubles,
// date-times from 2010 on) or the same value (decimal digits, text).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "transfer/field_codec.h"

using plumgr::FieldKind;
using plumgr::FieldValue;
using plumgr::TOrvanencode;

namespace {

FieldValue Decode(const TOrvanencode& codec, FieldKind kind, const std::vector<std::uint8_t>& bytes,
                  int width, int decimals) {
  int position = 0;
  return codec.DecodeField(kind, bytes, position, width, decimals);
}

std::vector<std::uint8_t> Encode(const TOrvanencode& codec, FieldKind kind, const FieldValue& value,
                                 int width, int decimals) {
  std::vector<std::uint8_t> field(width);
  int position = 0;
  (void)codec.EncodeField(kind, value, field, position, width, decimals);
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto kind = static_cast<FieldKind>(data[0] % 9);
  const int width = data[1] % 12;
  const int decimals = data[2] % 5;
  const std::vector<std::uint8_t> field(data + 3, data + size);
  const std::vector<std::uint8_t> own(field.begin(),
                                      field.begin() + std::min<std::size_t>(width, field.size()));
  const TOrvanencode codec(',');
  const TOrvanencode unsigned_codec(',', {.Unsigned = true});

  const FieldValue value = Decode(codec, kind, field, width, decimals);
  (void)Encode(codec, kind, value, width, decimals);
  (void)Encode(codec, kind, std::string(own.begin(), own.end()), width, decimals);

  const bool whole = own.size() == static_cast<std::size_t>(width);
  if (kind == FieldKind::FixedPoint && whole && width <= 6) {
    const FieldValue n = Decode(unsigned_codec, kind, own, width, decimals);
    if (Encode(unsigned_codec, kind, n, width, decimals) != own) __builtin_trap();
  }
  if (kind == FieldKind::Double && whole && width == 8 && decimals == 0 &&
      !std::isnan(std::get<double>(value)) && Encode(codec, kind, value, 8, 0) != own)
    __builtin_trap();
  if (kind == FieldKind::PackedDigits && width > 0) {
    // Decimal digits come back as they were. (Texts with F digits need not: a
    // leading run of F is read as zeros, by design of the packing.)
    const std::string& text = std::get<std::string>(value);
    const bool decimal = text.find_first_not_of("0123456789") == std::string::npos;
    const FieldValue again =
        Decode(codec, kind, Encode(codec, FieldKind::PackedHex, value, width, 0), width, 0);
    if (decimal && again != value) __builtin_trap();
  }
  if (kind == FieldKind::Text &&
      Decode(codec, kind, Encode(codec, kind, value, width, 0), width, 0) != value)
    __builtin_trap();
  if (kind == FieldKind::DateTime && width == 6 && whole) {
    const auto& t = std::get<plumgr::DateTime>(value);
    if (!t.IsZero() && t.Year >= 2010 && Encode(codec, kind, value, 6, 0) != own) __builtin_trap();
  }
  return 0;
}
