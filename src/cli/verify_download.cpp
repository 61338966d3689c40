#include "cli/verify_download.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/interrupts.h"
#include "cli/link_session.h"
#include "cli/transfer_notes.h"
#include "data/file_io.h"
#include "transfer/department_packages.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/recycling_packages.h"
#include "transfer/transfer_driver.h"

namespace plumgr::cli {
namespace {

std::string PluDumpPath(const MainWindowState& state) {
  const std::filesystem::path dir = state.DumpDir().empty() ? "." : state.DumpDir();
  return (dir / kDownloadPluDump).string();
}

// The sent_slots the download sent, by register index; a later slot for the same
// index replaces the earlier one, as it did in the register.
using SentSlots = std::map<std::int32_t, PluRecordBytes>;

SentSlots ReadSentSlots(const std::string& dump) {
  SentSlots sent_slots;
  for (std::size_t at = 0; at + kPackageDataSize <= dump.size(); at += kPackageDataSize) {
    const auto* package = reinterpret_cast<const std::uint8_t*>(dump.data() + at);
    const int count = std::min<int>(package[0], kPluSlotsPerPackage);
    for (int s = 0; s < count; ++s) {
      const std::uint8_t* slot = package + 1 + kPluSlotSize * s;
      const std::int32_t index = static_cast<std::int32_t>(
          slot[0] | slot[1] << 8 | slot[2] << 16 | static_cast<std::uint32_t>(slot[3]) << 24);
      PluRecordBytes record;
      std::copy(slot + 4, slot + kPluSlotSize, record.begin());
      sent_slots[index] = record;
    }
  }
  return sent_slots;
}

// The PLUs read back must cover every slot the download wrote.
PluRange ReadBackRange(const PluRange& range, const SentSlots& sent_slots, int table_rows) {
  PluRange read = range;
  if (!sent_slots.empty()) {
    read.First = std::min(read.First, sent_slots.begin()->first + 1);
    read.Last = std::max(read.Last, sent_slots.rbegin()->first + 1);
  }
  read.First = std::max(read.First, 1);
  read.Last = std::min(read.Last, table_rows);
  return read;
}

std::optional<std::string> ComparePlus(const SentSlots& sent_slots, const Tables& back,
                                       const WireUnits& units) {
  const PluDownloadLayout layout =
      CurrentProfile().PluRecordFormat ? PluDownloadLayout::Plain : PluDownloadLayout::Compared;
  for (const auto& [index, sent] : sent_slots) {
    const int row = index + 1;
    if (row < 1 || row > back.PLUGrid.DataRows()) continue;
    const bool sent_empty = sent[0] == 0xFF;
    const bool alcohol =
        static_cast<std::size_t>(index) < back.AlcoholFlags.size() && back.AlcoholFlags[index];
    const bool same = sent_empty
                          ? back.PLUGrid.Cell(PluCol::Name, row).empty()
                          : EncodePluRecord(back.PLUGrid, row, layout, alcohol, units) == sent;
    if (!same)
      return "PLU " + std::to_string(row) + " differs: the register holds \"" +
             back.PLUGrid.Cell(PluCol::Name, row) + "\" (" + back.PLUGrid.Cell(PluCol::Price, row) +
             ")";
  }
  return std::nullopt;
}

std::optional<std::string> CompareDepartments(const StringGrid& sent, const StringGrid& back,
                                              const WireUnits& units) {
  const int rows = std::min({CurrentProfile().DeptCount, sent.DataRows(), back.DataRows()});
  for (int row = 1; row <= rows; ++row)
    if (EncodeDepartmentRecord(sent, row, units) != EncodeDepartmentRecord(back, row, units))
      return "department " + std::to_string(row) + " differs: the register holds \"" +
             back.Cell(DeptCol::Name, row) + "\"";
  return std::nullopt;
}

std::optional<std::string> CompareRecycling(const RecyclingTable& sent, const RecyclingTable& back,
                                            const WireUnits& units) {
  const RecyclingBlock a = EncodeRecyclingBlock(sent, units);
  const RecyclingBlock b = EncodeRecyclingBlock(back, units);
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i])
      return "recycling entry " + std::to_string(i / kRecyclingRecordSize + 1) + " differs";
  return std::nullopt;
}

std::optional<std::string> CompareFastSale(const FastSaleTable& sent, const FastSaleTable& back,
                                           char separator) {
  const TOrvanencode codec(separator);
  const PackageBytes a = EncodeFastSalePackage(sent, codec);
  const PackageBytes b = EncodeFastSalePackage(back, codec);
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i])
      return "fast-sale button " + std::to_string(i / kFastSaleEntrySize + 1) + " differs";
  return std::nullopt;
}

std::uint8_t ReadBackKinds(std::uint8_t download_kinds) {
  std::uint8_t kinds = 0;
  if (download_kinds & KindBit(kDownloadPlu)) kinds |= KindBit(kUploadPlu);
  if (download_kinds & KindBit(kDownloadDepartment)) kinds |= KindBit(kUploadDepartment);
  if (download_kinds & KindBit(kDownloadRecycling)) kinds |= KindBit(kUploadRecycling);
  if (download_kinds & KindBit(kDownloadFastSale)) kinds |= KindBit(kUploadFastSale);
  return kinds;
}

}  // namespace

void ForgetPluDownloadDump(const MainWindowState& state) {
  std::error_code ignored;
  std::filesystem::remove(PluDumpPath(state), ignored);
}

VerifyOutcome VerifyDownload(LinkSession& session, const TransferDriver& download,
                             std::uint8_t download_kinds, const PluRange& range) {
  MainWindowState& state = session.State();
  const char separator = state.DecimalSeparator();
  const std::uint8_t kinds = ReadBackKinds(download_kinds);
  SentSlots sent_slots;
  if (kinds & KindBit(kUploadPlu)) {
    FileReadResult dump = ReadFileBytes(PluDumpPath(state));
    if (!dump.Ok) return {false, "Verify: the PLUs sent are unknown (" + dump.Message + ")"};
    sent_slots = ReadSentSlots(dump.Bytes);
  }

  Tables back;
  SizeTables(back, CurrentProfile());
  ResetAllRows(back, separator);
  RecyclingTable recycling = InitialRecyclingTable(separator);
  FastSaleTable fast_sale = InitialFastSaleTable();
  std::vector<std::string> report;
  std::vector<std::string> warnings;
  TransferData data{back,
                    recycling,
                    fast_sale,
                    report,
                    state.SettingsPath(),
                    state.DumpDir(),
                    separator,
                    {},
                    [&warnings](const std::string& message) { warnings.push_back(message); }};
  TransferDriver reader(session.Bus(), session.Progress());
  reader.UploadKinds = kinds;
  reader.Timings = download.Timings;
  session.PrepareBus();
  if (!reader.UploadSequence(data, ReadBackRange(range, sent_slots, back.PLUGrid.DataRows())))
    return {false, "Verify: reading the data back failed"};

  const WireUnits units{reader.Status().PriceDecimals, separator};
  const Tables& sent = state.GetTables();
  std::optional<std::string> difference;
  if (kinds & KindBit(kUploadPlu)) difference = ComparePlus(sent_slots, back, units);
  if (!difference && (kinds & KindBit(kUploadDepartment)))
    difference = CompareDepartments(sent.DeptmentGrid, back.DeptmentGrid, units);
  if (!difference && (kinds & KindBit(kUploadRecycling)))
    difference = CompareRecycling(state.Recycling(), recycling, units);
  if (!difference && (kinds & KindBit(kUploadFastSale)))
    difference = CompareFastSale(state.FastSale(), fast_sale, separator);
  if (difference) return {false, "Verify: " + *difference};
  return {true, "verified: the register holds what was sent (" + std::to_string(sent_slots.size()) +
                    " PLU sent_slots)"};
}

int FinishDownload(LinkSession& session, const TransferDriver& download,
                   std::uint8_t download_kinds, const PluRange& range, bool verify) {
  // The counts are the download's: the read-back opens the port afresh.
  NoteLinkRepeats(session.Bus(), verify);
  if (!verify) return kSuccess;
  VerifyOutcome outcome;
  bool finished = false;
  const int interrupted = RunInterruptible(
      session.Progress(),
      [&] {
        outcome = VerifyDownload(session, download, download_kinds, range);
        return true;
      },
      &finished);
  if (interrupted != 0) return interrupted;
  if (!outcome.Ok) {
    std::cerr << "plumgr-cli: " << outcome.Message << "\n";
    NoteError(outcome.Message);
    return kFailed;
  }
  AppendSummary(outcome.Message);
  return kSuccess;
}

}  // namespace plumgr::cli
