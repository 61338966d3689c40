#pragma once
// The register's parameter block: operating parameters, VAT rates and receipt
// header and tail lines in 768 bytes, written as three packages (type 1, numbers
// 0 to 2). The register delivers only the first 512 bytes (type 5, numbers 0 and
// 1); a block written back carries 0 in the rest. Download merges the settings
// of the chosen groups into the block as read; upload stores every field in the
// settings.
//
// Offsets after the header lines depend on the model's header width H and tail
// width T; multi-byte numbers are unsigned 16-bit big-endian, rates x 100.

#include <array>
#include <cstdint>
#include <span>

#include "data/settings_keys.h"
#include "link/bus_frame.h"

namespace plumgr {

inline constexpr std::size_t kParameterBlockSize = 768;
inline constexpr std::size_t kParameterReadSize = 512;
inline constexpr int kParameterSendPackages = 3;
inline constexpr int kParameterReadPackages = 2;
inline constexpr std::uint16_t kTaxFreeRate = 10000;

using ParameterBlock = std::array<std::uint8_t, kParameterBlockSize>;

struct ParameterLayout {
  int HeaderWidth = 24;
  int TailWidth = 24;
};

// Where each field lies for a layout.
struct ParameterOffsets {
  std::size_t DiscountRate, SurchargeRate, Flags, Headers, Tails, BarcodeTypes, PrintSpeed,
      ClerkPasswords, ClerkNames, VatRates, LcdDark, ScaleBaudRate, End;
};
ParameterOffsets ParameterFieldOffsets(const ParameterLayout& layout);

// True when every field lies inside the 512 bytes the register delivers.
bool ParameterLayoutFits(const ParameterLayout& layout);

// Which groups of fields a download writes; the others keep what the register sent.
struct ParameterGroups {
  bool Parameter = false;
  bool Vat = false;
  bool Header = false;
};

// The groups chosen among the download kinds (bit 3 parameter, 4 VAT, 6 header).
ParameterGroups ParameterGroupsOf(std::uint8_t download_kinds);

// The block as read: the received bytes (at most 512 of them), the rest 0.
ParameterBlock ParameterBlockFromReceived(std::span<const std::uint8_t> received);

// Package j (0 to 2) of the block.
PackageBytes ParameterPackage(const ParameterBlock& block, int j);

// Writes the fields of the chosen groups from the settings; missing keys take
// their defaults and text that is not a number travels as 0. False, and the
// block unchanged, when the layout does not fit.
[[nodiscard]] bool MergeParameterSettings(ParameterBlock& block, const Settings& settings,
                                          ParameterGroups groups, const ParameterLayout& layout);

// Copies the fields of the chosen groups from bytes the register delivered
// earlier (at least 512) into the block, byte for byte, so a block read
// before a download can be put back as it was. False, and the block unchanged,
// when the bytes are too few or the layout does not fit.
[[nodiscard]] bool CopyParameterGroups(ParameterBlock& block, std::span<const std::uint8_t> from,
                                       ParameterGroups groups, const ParameterLayout& layout);

// Stores every field of the received bytes (at least 512) in the settings. The
// tax-free rate sets "Tax-free" (the last one wins) and leaves its own "VAT"
// key as it was. False, and nothing stored, when the bytes are too few or the
// layout does not fit.
[[nodiscard]] bool StoreParameterBlock(std::span<const std::uint8_t> received, Settings& settings,
                                       const ParameterLayout& layout);

}  // namespace plumgr
