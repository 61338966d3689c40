#include "transfer/fast_sale_packages.h"

#include <string>
#include <variant>

namespace plumgr {

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
    table[e].Barcode = std::get<std::string>(
        codec.DecodeField(FieldKind::PackedHex, data, position, kFastSaleBarcodeWidth));
  }
  return table;
}

}  // namespace plumgr
