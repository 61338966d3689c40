#pragma once
// What the register holds of some kinds of data, kept as the packages it sent
// when asked for them: PLU records (type 11), departments (type 10), recycling
// prices (type 3), fast-sale buttons (type 97) and the parameter block (type 5).
// Asking for them changes nothing on the register. A comparison with a data
// file set, a backup before a download and its restore all work from it.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "data/settings_keys.h"
#include "data/small_tables.h"
#include "data/tables.h"
#include "transfer/plu_packages.h"
#include "transfer/transfer_step.h"

namespace plumgr {

struct RegisterSnapshot {
  int PriceDecimals = 2;
  // The kinds it covers, as download kind bits (parameter, VAT and header all
  // come from the one parameter block).
  std::uint8_t DownloadKinds = 0;
  // The PLUs read, ascending and apart.
  std::vector<PluRange> PluSpans;
  // Upload package n holds PLUs 4n + 1 to 4n + 4.
  std::map<int, PackageBytes> PluPackages;
  // The department packages end to end, eight records of 32 bytes each.
  std::vector<std::uint8_t> Departments;
  // The seven recycling packages end to end.
  std::vector<std::uint8_t> Recycling;
  std::optional<PackageBytes> FastSale;
  // The 512 bytes of the parameter block the register delivers.
  std::vector<std::uint8_t> Parameters;

  // True when the PLU lies in one of the spans and its package was read.
  bool HoldsPlu(int plu) const;
  // The record of a PLU the snapshot holds.
  PluRecordView PluRecord(int plu) const;
};

// True for a record the register keeps no PLU in: its first barcode byte 0xFF.
bool IsEmptyPluRecord(PluRecordView record);

// The upload kinds that read what a download of these kinds writes.
std::uint8_t SnapshotUploadKinds(std::uint8_t download_kinds);

// Spans sorted and joined where they overlap or touch.
std::vector<PluRange> JoinPluSpans(std::vector<PluRange> spans);

// The PLUs a download of the range can write: the range itself and, for the
// compared download, the PLUs its name lookup reads (1 to 4 x ((last - first)
// div 4)), since a row whose name the register holds there is sent there.
std::vector<PluRange> PluSpansWritten(const PluRange& range, PluDownloadLayout layout);

// The download layout of the register model in force.
PluDownloadLayout ProfilePluLayout();

// The step that reads one upload kind into the snapshot instead of the tables;
// the transfer driver runs it in place of the kind's own step. The PLU kind
// reads the packages of the snapshot's spans and no sales figures.
bool ReadSnapshotStep(int upload_kind, TransferStep& step, RegisterSnapshot& snapshot);

// The snapshot as the tables an upload of its kinds would fill: PLU rows of the
// spans, departments, recycling, fast-sale buttons, and the parameter block
// stored into `parameters` when given. Rows and entries it does not cover keep
// what they hold. Returns how many names had a tab, CR or LF made a space.
int StoreSnapshot(const RegisterSnapshot& snapshot, Tables& tables, RecyclingTable& recycling,
                  FastSaleTable& fast_sale, Settings* parameters, char decimal_separator);

}  // namespace plumgr
