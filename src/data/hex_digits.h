#pragma once
// Codes (barcodes, key codes, date digits) travel to the register as packed
// hexadecimal digits: two digits a byte, right-aligned in a fixed-width field.

#include <cstdint>
#include <string_view>

namespace plumgr {

// Packs the text, without its surrounding blanks, into width bytes at field: the
// leading run of '0' becomes 'F' (so the register can tell leading zeros from an
// empty field), the rightmost pair goes to the last byte, a single character left
// at the front becomes a byte with high nibble 0, and characters that do not fit
// are dropped. All width bytes are written; those not reached stay 0. A pair that
// is not two hexadecimal digits ends the packing there and the result is false;
// the bytes already packed stay.
bool PutDigits(std::string_view text, std::uint8_t* field, int width);

// The same without removing blanks, so a blank makes its pair invalid.
bool PutDigitsUntrimmed(std::string_view text, std::uint8_t* field, int width);

}  // namespace plumgr
