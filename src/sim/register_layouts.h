#pragma once
// The register's own record layouts: where each field of the data it receives
// and serves lies in a package, and what kind of field it is. They are written
// from the register's side of the wire, apart from the PC's encoders, so that a
// wrong offset on either side shows as a disagreement instead of cancelling out.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "link/bus_frame.h"

namespace plumgr::sim {

enum class FieldKind {
  Bcd,            // packed decimal digits, two a byte, most significant first
  Text,           // single-byte characters, ended by a NUL when shorter than the field
  SignedBig,      // two's complement, most significant byte first
  UnsignedBig,    // most significant byte first
  UnsignedLittle  // least significant byte first
};

struct Field {
  std::size_t Offset;
  std::size_t Width;
  FieldKind Kind;
};

// The PLU record: 64 bytes, the same in the download slots (type 13), the
// upload (type 11) and the comparison read (type 87).
inline constexpr std::size_t kPluRecordSize = 64;
using PluRecordBytes = std::array<std::uint8_t, kPluRecordSize>;
namespace plu_field {
inline constexpr Field kBarcode{0, 7, FieldKind::Bcd};  // 13 digits, first nibble 0
inline constexpr Field kName{7, 18, FieldKind::Text};
inline constexpr Field kPrice{25, 4, FieldKind::SignedBig};         // x 10^price decimals
inline constexpr Field kDepartment{44, 1, FieldKind::UnsignedBig};  // number - 1
inline constexpr Field kStock{45, 4, FieldKind::SignedBig};         // x 1000
inline constexpr Field kFlag{49, 1, FieldKind::UnsignedBig};
inline constexpr Field kAlcohol{51, 1, FieldKind::UnsignedBig};
}  // namespace plu_field
inline constexpr int kBarcodeDigits = 13;

// A PLU download package (type 13): the count of slots, then up to three slots
// of a 32-bit index (least significant byte first) and a record.
inline constexpr std::size_t kSlotCountOffset = 0;
inline constexpr std::size_t kFirstSlotOffset = 1;
inline constexpr std::size_t kPluSlotSize = 68;
inline constexpr int kMaxSlots = 3;
inline constexpr Field kSlotIndex{0, 4, FieldKind::UnsignedLittle};
inline constexpr std::size_t kSlotRecordOffset = 4;

// A PLU sales record: 17 bytes in one stream cut into type-8 packages.
inline constexpr std::size_t kSalesRecordSize = 17;
using SalesRecordBytes = std::array<std::uint8_t, kSalesRecordSize>;
namespace sale_field {
inline constexpr Field kBarcode{0, 7, FieldKind::Bcd};
inline constexpr Field kQuantity{7, 4, FieldKind::SignedBig};   // x 1000
inline constexpr Field kAmount{11, 6, FieldKind::UnsignedBig};  // x 10^price decimals
}  // namespace sale_field

// A department record: 32 bytes, eight a package (types 12 and 10).
inline constexpr std::size_t kDepartmentRecordSize = 32;
inline constexpr int kDepartmentCount = 16;
namespace department_field {
inline constexpr Field kName{0, 18, FieldKind::Text};
inline constexpr Field kTax{18, 1, FieldKind::UnsignedBig};  // rate number - 1
inline constexpr Field kPrice{20, 4, FieldKind::SignedBig};
}  // namespace department_field

// A recycling record: 16 bytes, 100 of them in seven packages (types 4 and 3).
inline constexpr std::size_t kRecyclingRecordSize = 16;
inline constexpr int kRecyclingCount = 100;
inline constexpr std::size_t kRecyclingBlockSize = kRecyclingRecordSize * kRecyclingCount;
inline constexpr Field kRecyclingPrice{9, 4, FieldKind::UnsignedBig};

// The parameter block: written whole as three packages of type 1, read back
// as its first 512 bytes in two packages of type 5. The register's lines are
// 24 characters wide, which fixes the offsets behind the header lines.
inline constexpr std::size_t kParameterBlockSize = 768;
inline constexpr std::size_t kParameterReadSize = 512;
using ParameterBlock = std::array<std::uint8_t, kParameterBlockSize>;
namespace parameter_field {
inline constexpr Field kDiscount{37, 2, FieldKind::UnsignedBig};   // rate x 100
inline constexpr Field kSurcharge{39, 2, FieldKind::UnsignedBig};  // rate x 100
inline constexpr std::size_t kFlagBytes = 41;                      // four bytes
inline constexpr std::size_t kHeaderLines = 45;                    // five lines of 24
inline constexpr std::size_t kTailLines = 165;                     // two lines of 24
inline constexpr std::size_t kBarcodeTypes = 213;                  // ten bytes
inline constexpr Field kPrintSpeed{223, 1, FieldKind::UnsignedBig};
inline constexpr std::size_t kClerkPasswords = 348;  // eight of two bytes
inline constexpr std::size_t kClerkNames = 364;      // eight of ten bytes
inline constexpr std::size_t kVatRates = 445;        // nine of two bytes, 10000 tax-free
inline constexpr Field kContrast{496, 1, FieldKind::UnsignedBig};
inline constexpr Field kScaleSpeed{505, 1, FieldKind::UnsignedBig};
inline constexpr std::size_t kLineWidth = 24;
inline constexpr std::size_t kClerkNameWidth = 10;
}  // namespace parameter_field

// The fast-sale buttons: one package (types 98 and 97), 16 entries of 9 bytes.
inline constexpr std::size_t kFastSaleEntrySize = 9;
inline constexpr int kFastSaleEntries = 16;
namespace fast_sale_field {
inline constexpr Field kButton{0, 1, FieldKind::UnsignedBig};
inline constexpr Field kSign{1, 1, FieldKind::UnsignedBig};
// Packed hexadecimal digits, right-aligned, leading zeros written as F.
inline constexpr Field kBarcode{2, 7, FieldKind::Bcd};
}  // namespace fast_sale_field

// The status package (type 0, number 0).
namespace status_field {
inline constexpr Field kPriceDecimals{0, 1, FieldKind::UnsignedBig};
inline constexpr Field kReportsNotCleared{1, 1, FieldKind::UnsignedBig};  // 0: cleared
inline constexpr Field kPluCount{3, 4, FieldKind::UnsignedLittle};
inline constexpr Field kSalesRecordCount{7, 4, FieldKind::UnsignedBig};
}  // namespace status_field

// Reading and writing a number or text field of bytes at field.Offset. A
// field's bytes must lie inside the span.
std::uint64_t ReadUnsigned(std::span<const std::uint8_t> bytes, Field field);
std::int64_t ReadSigned(std::span<const std::uint8_t> bytes, Field field);
void WriteNumber(std::span<std::uint8_t> bytes, Field field, std::uint64_t value);
// The bytes up to the first NUL, at most the field's width.
std::string ReadText(std::span<const std::uint8_t> bytes, Field field);
// The first Width characters; a shorter text is followed by one NUL and the
// bytes after it are left as they are.
void WriteText(std::span<std::uint8_t> bytes, Field field, const std::string& text);
// The field's nibbles as hexadecimal digits, two a byte.
std::string ReadDigits(std::span<const std::uint8_t> bytes, Field field);
// The value's last 2 x Width decimal digits, packed two a byte.
void WriteDecimal(std::span<std::uint8_t> bytes, Field field, std::uint64_t value);

// A PLU record as the register reads it.
struct PluEntry {
  std::string Barcode;  // the 14 digits of the field
  std::string Name;
  std::int64_t Price = 0;  // in the smallest price unit
  int Department = 0;      // 1 to 256
  std::int64_t Stock = 0;  // in thousandths
  int Flag = 0;
  int Alcohol = 0;

  friend bool operator==(const PluEntry&, const PluEntry&) = default;
};
PluEntry ReadPlu(std::span<const std::uint8_t, kPluRecordSize> record);

// A sales record as the register keeps it.
struct SaleEntry {
  std::string Barcode;
  std::int64_t Quantity = 0;  // in thousandths
  std::uint64_t Amount = 0;   // in the smallest price unit

  friend bool operator==(const SaleEntry&, const SaleEntry&) = default;
};
SaleEntry ReadSale(std::span<const std::uint8_t, kSalesRecordSize> record);

}  // namespace plumgr::sim
