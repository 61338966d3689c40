#include "transfer/fast_sale_packages.h"

#include <string>
#include <variant>

namespace plumgr {
namespace {

// The text that packs back into the field's bytes: the field is right-aligned
// with 0 bytes before it, and a leading zero of the barcode is written as F.
// So the register's 00 00 00 0F F1 23 45 is the barcode "0012345" and seven
// bytes 0 an empty button. The field's raw 14 digits would not do: packed
// again they turn every leading 0 into F, so a set read from the register
// and sent back would change every button. Bytes that no barcode packs into
// keep their raw digits.
std::string BarcodeOfField(const std::string& raw, const PackageBytes& data, int at,
                           const TOrvanencode& codec) {
  const std::string barcode = TOrvanencode::TrimDigits(raw);
  PackageBytes packed{};
  int position = 0;
  (void)codec.EncodeField(FieldKind::PackedHex, barcode, packed, position, kFastSaleBarcodeWidth);
  for (int i = 0; i < kFastSaleBarcodeWidth; ++i)
    if (packed[i] != data[at + i]) return raw;
  return barcode;
}

}  // namespace

// Each field is placed at its own offset, so the result does not depend on the
// codec's AdvancePosition switch.
PackageBytes EncodeFastSalePackage(const FastSaleTable& table, const TOrvanencode& codec) {
  PackageBytes data{};
  for (int e = 0; e < kFastSaleButtons; ++e) {
    const int at = static_cast<int>(kFastSaleEntrySize) * e;
    data[at] = static_cast<std::uint8_t>(table[e].ButtonNumber);
    data[at + 1] = static_cast<std::uint8_t>(table[e].SignFlag);
    int position = at + 2;
    // Packed digits never fail: an invalid pair only ends the packing early.
    (void)codec.EncodeField(FieldKind::PackedHex, table[e].Barcode, data, position,
                            kFastSaleBarcodeWidth);
  }
  return data;
}

FastSaleTable DecodeFastSalePackage(const PackageBytes& data, const TOrvanencode& codec) {
  FastSaleTable table;
  for (int e = 0; e < kFastSaleButtons; ++e) {
    const int at = static_cast<int>(kFastSaleEntrySize) * e;
    table[e].ButtonNumber = data[at];
    table[e].SignFlag = data[at + 1];
    int position = at + 2;
    const std::string raw = std::get<std::string>(
        codec.DecodeField(FieldKind::PackedHex, data, position, kFastSaleBarcodeWidth));
    table[e].Barcode = BarcodeOfField(raw, data, at + 2, codec);
  }
  return table;
}

}  // namespace plumgr
