#pragma once
// The fast-sale buttons in one package (sent as type 98, read back as type 97,
// number 0): entry e at bytes 9e to 9e + 8 holds the button number (low 8 bits),
// the sign flag (low 8 bits) and the barcode as seven bytes of packed
// hexadecimal digits. Bytes 144 to 255 are 0.

#include "data/small_tables.h"
#include "link/bus_frame.h"
#include "transfer/field_codec.h"

namespace plumgr {

inline constexpr std::size_t kFastSaleEntrySize = 9;
inline constexpr int kFastSaleBarcodeWidth = 7;

// A barcode longer than 14 digits keeps its last 14; a character that is not a
// hexadecimal digit leaves its pair and the bytes before it 0.
PackageBytes EncodeFastSalePackage(const FastSaleTable& table, const TOrvanencode& codec);

// Barcodes come back as the text that packs into the same bytes again (an
// empty button as the empty text); bytes that no barcode packs into come back
// as the raw 14 hexadecimal digits of their field.
FastSaleTable DecodeFastSalePackage(const PackageBytes& data, const TOrvanencode& codec);

}  // namespace plumgr
