#include "cli/verify_download.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <span>

#include "cli/cli_context.h"
#include "cli/command_result.h"
#include "cli/interrupts.h"
#include "cli/link_session.h"
#include "cli/progress_views.h"
#include "cli/transfer_notes.h"
#include "cli/verify_parameters.h"
#include "data/file_io.h"
#include "data/set_code_page.h"
#include "transfer/department_packages.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/parameter_block.h"
#include "transfer/recycling_packages.h"
#include "transfer/register_snapshot.h"
#include "transfer/transfer_driver.h"

namespace plumgr::cli {
namespace {

std::string DumpPath(const MainWindowState& state, const char* name) {
  const std::filesystem::path dir = state.DumpDir().empty() ? "." : state.DumpDir();
  return (dir / name).string();
}

// The slots the download sent, by register index; a later slot for the same
// index replaces the earlier one, as it did in the register.
using SentSlots = std::map<std::int32_t, PluRecordBytes>;

SentSlots ReadSentSlots(const std::string& dump) {
  SentSlots sent;
  for (std::size_t at = 0; at + kPackageDataSize <= dump.size(); at += kPackageDataSize) {
    const auto* package = reinterpret_cast<const std::uint8_t*>(dump.data() + at);
    const int count = std::min<int>(package[0], kPluSlotsPerPackage);
    for (int s = 0; s < count; ++s) {
      const std::uint8_t* slot = package + 1 + kPluSlotSize * s;
      const std::int32_t index = static_cast<std::int32_t>(
          slot[0] | slot[1] << 8 | slot[2] << 16 | static_cast<std::uint32_t>(slot[3]) << 24);
      PluRecordBytes record;
      std::copy(slot + 4, slot + kPluSlotSize, record.begin());
      sent[index] = record;
    }
  }
  return sent;
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

// "\"Tea\" at 1.50", or "nothing" for an empty record.
std::string DescribePlu(const std::string& name, const std::string& price) {
  return name.empty() ? "nothing" : "\"" + name + "\" at " + price;
}

std::optional<std::string> ComparePlus(const SentSlots& sent_slots, const Tables& back,
                                       const WireUnits& units) {
  const PluDownloadLayout layout = ProfilePluLayout();
  for (const auto& [index, sent] : sent_slots) {
    const int row = index + 1;
    if (row < 1 || row > back.PLUGrid.DataRows()) continue;
    const bool sent_empty = IsEmptyPluRecord(sent);
    const bool alcohol =
        static_cast<std::size_t>(index) < back.AlcoholFlags.size() && back.AlcoholFlags[index];
    const bool same = sent_empty
                          ? back.PLUGrid.Cell(PluCol::Name, row).empty()
                          : EncodePluRecord(back.PLUGrid, row, layout, alcohol, units) == sent;
    if (same) continue;
    const UploadedPluRow sent_row = DecodeUploadedPluRecord(sent, units);
    const std::string sent_text = sent_empty
                                      ? "nothing"
                                      : DescribePlu(sent_row.Cells[PluCol::Name].value_or(""),
                                                    sent_row.Cells[PluCol::Price].value_or(""));
    return "PLU " + std::to_string(row) + " differs: sent " + sent_text + ", the register holds " +
           DescribePlu(back.PLUGrid.Cell(PluCol::Name, row), back.PLUGrid.Cell(PluCol::Price, row));
  }
  return std::nullopt;
}

std::optional<std::string> CompareDepartments(const StringGrid& sent, const StringGrid& back,
                                              const WireUnits& units) {
  const int rows = std::min({CurrentProfile().DeptCount, sent.DataRows(), back.DataRows()});
  for (int row = 1; row <= rows; ++row)
    if (EncodeDepartmentRecord(sent, row, units) != EncodeDepartmentRecord(back, row, units))
      return "department " + std::to_string(row) + " differs: sent \"" +
             sent.Cell(DeptCol::Name, row) + "\" (tax " + sent.Cell(DeptCol::Tax, row) + ", " +
             sent.Cell(DeptCol::Price, row) + "), the register holds \"" +
             back.Cell(DeptCol::Name, row) + "\" (tax " + back.Cell(DeptCol::Tax, row) + ", " +
             back.Cell(DeptCol::Price, row) + ")";
  return std::nullopt;
}

std::optional<std::string> CompareRecycling(const RecyclingTable& sent, const RecyclingTable& back,
                                            const WireUnits& units) {
  const RecyclingBlock a = EncodeRecyclingBlock(sent, units);
  const RecyclingBlock b = EncodeRecyclingBlock(back, units);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] == b[i]) continue;
    const std::size_t entry = i / kRecyclingRecordSize;
    const auto price = [&](const RecyclingBlock& block) {
      return ScaledText(GetBig32(block, entry * kRecyclingRecordSize + kRecyclingPriceOffset),
                        units.PriceDecimals, 2, units.DecimalSeparator);
    };
    return "recycling entry " + std::to_string(entry + 1) + " differs: sent " + price(a) +
           ", the register holds " + price(b);
  }
  return std::nullopt;
}

std::optional<std::string> CompareFastSale(const FastSaleTable& sent, const FastSaleTable& back,
                                           char separator) {
  // The upload gives each barcode as the text that packs into the bytes the
  // register holds, so the entries compare as the bytes both sides pack into.
  const TOrvanencode codec(separator);
  const PackageBytes sent_bytes = EncodeFastSalePackage(sent, codec);
  const PackageBytes back_bytes = EncodeFastSalePackage(back, codec);
  for (int e = 0; e < kFastSaleButtons; ++e) {
    const auto entry = [e](const PackageBytes& bytes) {
      return std::span(bytes).subspan(kFastSaleEntrySize * static_cast<std::size_t>(e),
                                      kFastSaleEntrySize);
    };
    if (std::ranges::equal(entry(sent_bytes), entry(back_bytes))) continue;
    const auto describe = [e](const FastSaleTable& table) {
      return "barcode \"" + table[e].Barcode + "\" sign " + std::to_string(table[e].SignFlag);
    };
    return "fast-sale button " + std::to_string(e + 1) + " differs: sent " + describe(sent) +
           ", the register holds " + describe(back);
  }
  return std::nullopt;
}

void RemoveFile(const std::string& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
}

// The parameter upload stores what it reads in a settings file: a scratch one,
// so that the read-back changes no file of the operator's.
class ScratchSettings {
 public:
  ScratchSettings()
      : path_((std::filesystem::temp_directory_path() /
               ("plumgr-verify-" + std::to_string(::getpid()) + ".cfg"))
                  .string()) {}
  ~ScratchSettings() { RemoveFile(path_); }
  ScratchSettings(const ScratchSettings&) = delete;
  ScratchSettings& operator=(const ScratchSettings&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

void ForgetVerifyDumps(const MainWindowState& state) {
  for (const char* name : {kDownloadPluDump, kUploadParameterDump}) {
    const std::string path = DumpPath(state, name);
    if (FileResult replaceable = CheckReplaceable(path); !replaceable)
      throw UsageError{replaceable.Message + " (download --verify compares with it)"};
    RemoveFile(path);
  }
}

VerifyOutcome VerifyDownload(LinkSession& session, const TransferDriver& download,
                             const DownloadToVerify& sent_kinds) {
  MainWindowState& state = session.State();
  const char separator = state.DecimalSeparator();
  const std::uint8_t kinds = SnapshotUploadKinds(sent_kinds.Kinds);
  SentSlots sent_slots;
  if (kinds & KindBit(kUploadPlu)) {
    FileReadResult dump = ReadFileBytes(DumpPath(state, kDownloadPluDump));
    if (!dump.Ok) return {false, "Verify: the PLUs sent are unknown (" + dump.Message + ")"};
    sent_slots = ReadSentSlots(dump.Bytes);
  }
  const std::string parameter_dump = DumpPath(state, kUploadParameterDump);
  RemoveFile(parameter_dump);

  Tables back;
  SizeTables(back, CurrentProfile());
  ResetAllRows(back, separator);
  RecyclingTable recycling = InitialRecyclingTable(separator);
  FastSaleTable fast_sale = InitialFastSaleTable();
  std::vector<std::string> report;
  std::vector<std::string> warnings;
  const ScratchSettings scratch;
  TransferData data{back,
                    recycling,
                    fast_sale,
                    report,
                    scratch.Path(),
                    state.DumpDir(),
                    separator,
                    {},
                    [&warnings](const std::string& message) { warnings.push_back(message); }};
  TransferDriver reader(session.Bus(), session.Progress());
  reader.UploadKinds = kinds;
  reader.Timings = download.Timings;
  session.PrepareBus();
  if (!reader.UploadSequence(data,
                             ReadBackRange(sent_kinds.Range, sent_slots, back.PLUGrid.DataRows())))
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
  if (!difference && (kinds & KindBit(kUploadParameter))) {
    FileReadResult received = ReadFileBytes(parameter_dump);
    if (!received.Ok || received.Bytes.size() < kParameterReadSize)
      return {false, "Verify: the parameters read back are unknown (" + received.Message + ")"};
    difference = CompareParameters(
        std::span(reinterpret_cast<const std::uint8_t*>(received.Bytes.data()), kParameterReadSize),
        sent_kinds.ParameterFile, sent_kinds.Kinds, separator);
  }
  if (difference) return {false, "Verify: " + *difference};
  return {true, "verified: the register holds what was sent"};
}

int FinishDownload(LinkSession& session, const TransferDriver& download,
                   const DownloadToVerify& sent_kinds, bool verify) {
  // The counts are the download's: the read-back opens the port afresh.
  NoteLinkRepeats(session.Bus(), verify);
  if (!verify) return kSuccess;
  VerifyOutcome outcome;
  bool finished = false;
  const int interrupted = RunInterruptible(
      session.Progress(),
      [&] {
        outcome = VerifyDownload(session, download, sent_kinds);
        return true;
      },
      &finished);
  if (interrupted != 0) return interrupted;
  if (!outcome.Ok) {
    // The message quotes names as the set and the register hold them.
    const std::string message =
        ToUtf8(outcome.Message, CodePageOfSet(sent_kinds.ParameterFile, CodePageInForce()).Page);
    return Fail(kFailed, message);
  }
  AppendSummary(outcome.Message);
  return kSuccess;
}

}  // namespace plumgr::cli
