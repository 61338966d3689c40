#pragma once
// One package of every kind, its bytes written out by hand from the package
// layouts (offsets, widths, byte order), not produced by either side's code.
// The PC's encoders and decoders and the simulated register are both checked
// against these, so a wrong offset on either side fails on its own. Bytes not
// listed are 0.

#include <cstdint>
#include <string_view>
#include <vector>

#include "link/bus_frame.h"

namespace plumgr::golden {

// The bytes of a spaced hexadecimal text, followed by zeros to 256.
inline PackageBytes Package(std::string_view hex) {
  PackageBytes bytes{};
  std::size_t at = 0;
  auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'A' + 10; };
  for (std::size_t i = 0; i + 1 < hex.size(); ++i) {
    if (hex[i] == ' ') continue;
    bytes[at++] = static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1]));
    ++i;
  }
  return bytes;
}

// Status (type 0, number 0): 2 price decimals, reports cleared, 1234 PLUs
// (bytes 3 to 6, least significant first), 16 sales records (bytes 7 to 10,
// most significant first).
inline constexpr std::string_view kStatus = "02 00 00 D2 04 00 00 00 00 00 10";

// Connect (type 14, number 1): station 1234 as BCD, least significant pair
// first; 31 December 2026 23:59:58 as BCD; speed number 4 (115200); 1.
inline constexpr std::string_view kConnect = "34 12 00 00 26 12 31 23 59 58 04 01";
// Disconnect (type 14, number 2) after a failure.
inline constexpr std::string_view kDisconnectAfterFailure = "34 12 00 00 01";

// PLU download (type 13), compared layout (filler 00), one slot: index 41
// (29 00 00 00), barcode 1234567800001, name "COLA", price 12.34 at 2 decimals
// (record 25: 00 00 04 D2), department 3 (record 44: 02), stock 1.5 (record 45:
// 00 00 05 DC), flag 7 (record 49), alcohol on (record 51). The record begins
// at package offset 5.
inline constexpr std::string_view kPluDownload =
    "01 29 00 00 00"                                          // count, index
    " 01 23 45 67 80 00 01"                                   // 0: barcode
    " 43 4F 4C 41 00 00 00 00 00 00 00 00 00 00 00 00 00 00"  // 7: name
    " 00 00 04 D2"                                            // 25: price
    " 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"           // 29: not used
    " 02 00 00 05 DC 07 00 01";                               // 44: dept, stock, flag, -, alcohol
inline constexpr std::size_t kPluDownloadSize = 69;           // the count and one slot
inline constexpr int kPluDownloadIndex = 41;

// PLU upload (type 11, number 0) from a register holding the test items 1 and 2
// at 2 decimals: barcode 2000000000000 + n, name "ITEM n", price n, department
// (n - 1) mod 16 + 1, stock n, flag 0, alcohol off; records 2 and 3 empty (64
// bytes FF).
inline constexpr std::string_view kPluRecordItem1 =
    "02 00 00 00 00 00 01 49 54 45 4D 20 31 00 00 00 00 00 00 00 00 00 00 00 00"
    " 00 00 00 64 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    " 00 00 00 03 E8 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";
inline constexpr std::string_view kPluRecordItem2 =
    "02 00 00 00 00 00 02 49 54 45 4D 20 32 00 00 00 00 00 00 00 00 00 00 00 00"
    " 00 00 00 C8 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    " 01 00 00 07 D0 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00";

// PLU sales (type 8, number 0) of the same two items: barcode, quantity sold
// (4 bytes, x 1000), amount (6 bytes, x 100): 1 sold for 1.00, 2 sold for 4.00.
inline constexpr std::string_view kSales =
    "02 00 00 00 00 00 01 00 00 03 E8 00 00 00 00 00 64"
    " 02 00 00 00 00 00 02 00 00 07 D0 00 00 00 00 01 90";

// Comparison read (type 87): a jump to package 5 (seven FF, then 00 05).
inline constexpr std::string_view kComparisonJump = "FF FF FF FF FF FF FF 00 05";

// Departments (type 12 sent, type 10 read, number 0): department 1 "MILK",
// tax 3 (byte 18: 02), price 2.50 (bytes 20 to 23: 00 00 00 FA); department 2
// without a name: 32 bytes 0.
inline constexpr std::string_view kDepartments =
    "4D 49 4C 4B 00 00 00 00 00 00 00 00 00 00 00 00 00 00 02 00 00 00 00 FA";

// Recycling (type 4 sent, type 3 read, number 6): number 100 at 1.25 puts
// 00 00 00 7D at block offsets 1593 to 1596, package 6 offsets 57 to 60.
inline constexpr int kRecyclingPackageNumber = 6;
inline constexpr std::size_t kRecyclingPriceOffset = 57;

// Fast-sale buttons (type 98 sent, type 97 read, number 0): button 3 with sign 1
// and barcode 12345; button 2 with sign 0 and barcode 0012345 (leading zeros as
// F); the other 14 entries 0.
inline constexpr std::string_view kFastSale =
    "03 01 00 00 00 00 01 23 45"
    " 02 00 00 00 00 0F F1 23 45";

// Parameter block package 0 (type 1): a discount of 5 % (bytes 37 and 38:
// 01 F4), a surcharge of 12.5 % (39, 40: 04 E2), flag Flag00 and Flag17 set
// (byte 41 bit 0, byte 42 bit 7), header line 1 "ABC" bold (45: 01 41 01 42
// 01 43 then nine pairs 01 00).
inline constexpr std::string_view kParameters0 =
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
    " 00 00 00 00 00 00 00 00 00 00 00 00 00 01 F4 04 E2 01 80 00 00"
    " 01 41 01 42 01 43 01 00 01 00 01 00 01 00 01 00 01 00 01 00 01 00 01 00";
// Package 1: VAT rates at block offset 445 (package offset 189): A 23.00
// (08 FC), B 8.00 (03 20), the others 0 but I, which is tax-free (27 10).
inline constexpr std::size_t kVatOffsetInPackage1 = 189;
inline constexpr std::string_view kVatRates =
    "08 FC 03 20 00 00 00 00 00 00 00 00 00 00 00 00 27 10";

// Memory page request (type 14, number 16): page 0x1F of RAM.
inline constexpr std::string_view kMemoryPageRequest = "1F 00 10";

// A report piece (type 7): "ABC" and its NUL.
inline constexpr std::string_view kReportPiece = "41 42 43 00";

}  // namespace plumgr::golden
