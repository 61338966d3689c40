#include "transfer/register_diff.h"

#include <algorithm>
#include <map>
#include <optional>

#include "data/definitions.h"
#include "data/helpers.h"
#include "data/settings_keys.h"
#include "transfer/department_packages.h"
#include "transfer/fast_sale_packages.h"
#include "transfer/parameter_block.h"
#include "transfer/plu_download.h"
#include "transfer/recycling_packages.h"
#include "transfer/transfer_driver.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

constexpr std::size_t kSlotCountOffset = 0;
constexpr std::size_t kFirstSlotOffset = 1;
constexpr std::size_t kSlotRecordOffset = 4;

using PluImage = std::map<int, PluRecordBytes>;

DiffRow NewRow(int kind, int number, DiffAction action = DiffAction::Change) {
  DiffRow row;
  row.Kind = kind;
  row.Number = number;
  row.Action = action;
  return row;
}

// --- PLUs -------------------------------------------------------------------

bool PackageHoldsPlu(const RegisterSnapshot& snapshot, int q) {
  for (int k = 0; k < kPluRecordsPerPackage; ++k) {
    const int plu = kPluRecordsPerPackage * q + k + 1;
    if (snapshot.HoldsPlu(plu) && !IsEmptyPluRecord(snapshot.PluRecord(plu))) return true;
  }
  return false;
}

// The comparison read of the download as the register answers it: a package of
// four PLUs holds their records (an empty PLU as zeros); a package without any
// PLU is jumped over, so the entries after it move up.
std::vector<TPLUStruct> ComparisonTable(const RegisterSnapshot& snapshot, const PluRange& range) {
  std::vector<TPLUStruct> table(kEcrPluTableSize);
  const int limit = (range.Last - range.First) / kPluRecordsPerPackage;
  int q = 0;
  int next_entry = 0;
  for (int round = 0; round < limit && q < limit; ++round) {
    if (!PackageHoldsPlu(snapshot, q)) {
      do
        ++q;
      while (q < limit && !PackageHoldsPlu(snapshot, q));
      continue;
    }
    PackageBytes package{};
    for (int k = 0; k < kPluRecordsPerPackage; ++k) {
      const int plu = kPluRecordsPerPackage * q + k + 1;
      if (!snapshot.HoldsPlu(plu)) continue;
      const PluRecordView record = snapshot.PluRecord(plu);
      if (!IsEmptyPluRecord(record))
        std::copy(record.begin(), record.end(), package.begin() + kPluRecordSize * k);
    }
    next_entry = StoreComparisonRecords(package, next_entry, snapshot.PriceDecimals, table);
    ++q;
  }
  return table;
}

void ApplySlots(const PackageBytes& package, PluImage& after, std::map<int, int>& from_row,
                int first_row) {
  const int count = std::min<int>(package[kSlotCountOffset], kPluSlotsPerPackage);
  for (int s = 0; s < count; ++s) {
    const std::uint8_t* slot = package.data() + kFirstSlotOffset + kPluSlotSize * s;
    const std::uint32_t index =
        slot[0] | slot[1] << 8 | slot[2] << 16 | static_cast<std::uint32_t>(slot[3]) << 24;
    const int plu = static_cast<int>(index) + 1;
    PluRecordBytes record;
    std::copy_n(slot + kSlotRecordOffset, kPluRecordSize, record.begin());
    after[plu] = record;
    from_row[plu] = first_row + s;
  }
}

// The register's PLUs after the download, and for each PLU written the row
// of the set it came from.
PluImage SimulatePluDownload(const RegisterSnapshot& snapshot, const Tables& tables,
                             const PluRange& range, PluDownloadLayout layout,
                             const WireUnits& units, std::map<int, int>& from_row) {
  StringGrid extended = tables.PLUGrid;
  if (extended.RowCount() <= range.Last) extended.SetRowCount(range.Last + 1);
  std::vector<TPLUStruct> table = ComparisonTable(snapshot, range);
  const PluIndexLookup lookup = [&table](int row, const std::string& name) {
    const TPLUStruct found = FindEcrPluByName(table, row, name);
    return found.No == -1 ? row - 1 : found.No;
  };
  PluImage after;
  const int count = PluDownloadPackageCount(range);
  for (int n = 0; n < count; ++n) {
    const PackageBytes package =
        layout == PluDownloadLayout::Plain
            ? EncodePlainPluPackage(extended, range, n, units)
            : EncodeComparedPluPackage(extended, tables.AlcoholFlags, range, n, lookup, units);
    ApplySlots(package, after, from_row, PluDownloadPackageRows(range, n).First);
  }
  return after;
}

struct PluFields {
  bool Held = false;
  std::array<std::string, PluCol::Count> Cells;
  bool Alcohol = false;
};

PluFields DecodePlu(PluRecordView record, const WireUnits& units) {
  PluFields fields;
  fields.Held = !IsEmptyPluRecord(record);
  if (!fields.Held) return fields;
  const UploadedPluRow row = DecodeUploadedPluRecord(record, units);
  for (int col = PluCol::Barcode; col <= PluCol::Flag; ++col)
    fields.Cells[col] = row.Cells[col].value_or("");
  fields.Alcohol = row.Alcohol.value_or(false);
  return fields;
}

std::optional<DiffRow> ComparePlu(int plu, const PluFields& old_plu, const PluFields& new_plu) {
  if (!old_plu.Held && !new_plu.Held) return std::nullopt;
  DiffRow row = NewRow(kDownloadPlu, plu);
  row.Action = !old_plu.Held   ? DiffAction::Add
               : !new_plu.Held ? DiffAction::Clear
                               : DiffAction::Change;
  const TitleTable& titles = Texts().PluTitles;
  for (int col = PluCol::Barcode; col <= PluCol::Flag; ++col)
    if (old_plu.Cells[col] != new_plu.Cells[col] || row.Action != DiffAction::Change)
      row.Fields.push_back({titles.At(col), old_plu.Cells[col], new_plu.Cells[col]});
  const auto mark = [](const PluFields& f) -> std::string {
    return f.Held ? (f.Alcohol ? "1" : "0") : "";
  };
  if (mark(old_plu) != mark(new_plu))
    row.Fields.push_back({titles.At(PluCol::Alcohol), mark(old_plu), mark(new_plu)});
  if (row.Fields.empty()) return std::nullopt;
  return row;
}

void ComparePlus(const RegisterSnapshot& snapshot, const DownloadSource& source,
                 const PluRange& range, PluDownloadLayout layout, const WireUnits& units,
                 std::vector<DiffRow>& rows) {
  std::map<int, int> from_row;
  const PluImage after =
      SimulatePluDownload(snapshot, source.Grids, range, layout, units, from_row);
  for (const auto& [plu, record] : after) {
    if (!snapshot.HoldsPlu(plu)) continue;
    std::optional<DiffRow> row = ComparePlu(plu, DecodePlu(snapshot.PluRecord(plu), units),
                                            DecodePlu(PluRecordView(record), units));
    if (!row) continue;
    if (from_row[plu] != plu) row->FromRow = from_row[plu];
    rows.push_back(std::move(*row));
  }
}

// --- Departments, recycling, fast-sale buttons ------------------------------

StringGrid DepartmentsOf(const std::vector<std::uint8_t>& packages, int rows,
                         const WireUnits& units) {
  StringGrid grid(DeptCol::Count, rows + 1);
  for (std::size_t n = 0; n * kPackageDataSize < packages.size(); ++n) {
    PackageBytes data{};
    std::copy_n(packages.begin() + static_cast<std::ptrdiff_t>(n * kPackageDataSize),
                kPackageDataSize, data.begin());
    (void)StoreDepartmentPackage(data, static_cast<int>(n), grid, units);
  }
  return grid;
}

void CompareDepartments(const RegisterSnapshot& snapshot, const DownloadSource& source,
                        const WireUnits& units, std::vector<DiffRow>& rows) {
  const int read =
      static_cast<int>(snapshot.Departments.size() / kPackageDataSize) * kDepartmentsPerPackage;
  const int count = std::min(CurrentProfile().DeptCount, read);
  std::vector<std::uint8_t> sent;
  for (int n = 0; n < DepartmentDownloadPackageCount(count); ++n) {
    const PackageBytes data = EncodeDepartmentPackage(source.Grids.DeptmentGrid, count, n, units);
    sent.insert(sent.end(), data.begin(), data.end());
  }
  const StringGrid before = DepartmentsOf(snapshot.Departments, count, units);
  const StringGrid after = DepartmentsOf(sent, count, units);
  const TitleTable& titles = Texts().DeptTitles;
  for (int dept = 1; dept <= count; ++dept) {
    const bool held = !TrimBlanksAndControls(before.Cell(DeptCol::Name, dept)).empty();
    const bool kept = !TrimBlanksAndControls(after.Cell(DeptCol::Name, dept)).empty();
    if (!held && !kept) continue;
    DiffRow row = NewRow(kDownloadDepartment, dept);
    row.Action = !held ? DiffAction::Add : !kept ? DiffAction::Clear : DiffAction::Change;
    for (int col = DeptCol::Name; col < DeptCol::Count; ++col) {
      const std::string old_text = held ? before.Cell(col, dept) : "";
      const std::string new_text = kept ? after.Cell(col, dept) : "";
      if (old_text != new_text) row.Fields.push_back({titles.At(col), old_text, new_text});
    }
    if (!row.Fields.empty()) rows.push_back(std::move(row));
  }
}

void CompareRecycling(const RegisterSnapshot& snapshot, const DownloadSource& source,
                      const WireUnits& units, std::vector<DiffRow>& rows) {
  RecyclingTable before = InitialRecyclingTable(units.DecimalSeparator);
  RecyclingTable after = before;
  if (!StoreRecyclingBlock(snapshot.Recycling, before, units)) return;
  (void)StoreRecyclingBlock(EncodeRecyclingBlock(source.Recycling, units), after, units);
  const std::string title = Texts().RecyTitles.At(1);
  for (int i = 0; i < kRecyclingUsedEntries; ++i)
    if (before[i].PackagePrice != after[i].PackagePrice) {
      DiffRow row = NewRow(kDownloadRecycling, i + 1);
      row.Fields.push_back({title, before[i].PackagePrice, after[i].PackagePrice});
      rows.push_back(std::move(row));
    }
}

void CompareFastSale(const RegisterSnapshot& snapshot, const DownloadSource& source,
                     std::vector<DiffRow>& rows) {
  if (!snapshot.FastSale) return;
  const TOrvanencode codec(source.DecimalSeparator);
  const FastSaleTable before = DecodeFastSalePackage(*snapshot.FastSale, codec);
  const FastSaleTable after =
      DecodeFastSalePackage(EncodeFastSalePackage(source.FastSale, codec), codec);
  const TitleTable& titles = Texts().FastTitles;
  for (int e = 0; e < kFastSaleButtons; ++e) {
    DiffRow row = NewRow(kDownloadFastSale, e + 1);
    const auto field = [&row](std::string title, const std::string& a, const std::string& b) {
      if (a != b) row.Fields.push_back({std::move(title), a, b});
    };
    field(titles.At(0), std::to_string(before[e].ButtonNumber),
          std::to_string(after[e].ButtonNumber));
    field(titles.At(1), before[e].Barcode, after[e].Barcode);
    field(titles.At(2), std::to_string(before[e].SignFlag), std::to_string(after[e].SignFlag));
    if (!row.Fields.empty()) rows.push_back(std::move(row));
  }
}

// --- The parameter block ----------------------------------------------------

int ParameterKindOfKey(std::string_view key) {
  if (key.starts_with("VAT") || key == "Tax-free") return kDownloadVat;
  if (key.starts_with("Header") || key.starts_with("Tail")) return kDownloadHeader;
  return kDownloadParameter;
}

IniDocument StoredBlock(std::span<const std::uint8_t> bytes, char separator,
                        const ParameterLayout& layout) {
  IniDocument document;
  Settings settings(document, separator);
  (void)StoreParameterBlock(bytes, settings, layout);
  return document;
}

void CompareParameters(const RegisterSnapshot& snapshot, const DownloadSource& source,
                       std::uint8_t kinds, std::vector<DiffRow>& rows) {
  if (snapshot.Parameters.size() < kParameterReadSize) return;
  const ParameterLayout layout{CurrentProfile().HeaderWidth, CurrentProfile().TailWidth};
  const char separator = source.DecimalSeparator;
  ParameterBlock block = ParameterBlockFromReceived(snapshot.Parameters);
  IniDocument settings_document = source.Parameters;
  const Settings settings(settings_document, separator);
  if (!MergeParameterSettings(block, settings, ParameterGroupsOf(kinds), layout)) return;
  const IniDocument before = StoredBlock(snapshot.Parameters, separator, layout);
  const IniDocument after =
      StoredBlock(std::span(block).first(kParameterReadSize), separator, layout);

  std::map<int, DiffRow> by_kind;
  for (const SettingKey& key : AllSettingKeys(separator)) {
    if (key.Section != kSectionDefault) continue;
    std::string old_text = before.Find(kSectionDefault, key.Name).value_or("");
    std::string new_text = after.Find(kSectionDefault, key.Name).value_or("");
    if (old_text == new_text) continue;
    if (key.Name.starts_with("ClerkPWD")) old_text = new_text = kHiddenValue;
    const int kind = ParameterKindOfKey(key.Name);
    DiffRow& row = by_kind.try_emplace(kind, NewRow(kind, 0)).first->second;
    row.Fields.push_back({key.Name, std::move(old_text), std::move(new_text)});
  }
  for (auto& [kind, row] : by_kind)
    if (kinds & KindBit(kind)) rows.push_back(std::move(row));
}

}  // namespace

const char* DiffActionWord(DiffAction action) {
  switch (action) {
    case DiffAction::Add:
      return "add";
    case DiffAction::Clear:
      return "clear";
    default:
      return "change";
  }
}

std::vector<DiffRow> CompareWithSnapshot(const RegisterSnapshot& snapshot,
                                         const DownloadSource& source, std::uint8_t kinds,
                                         const PluRange& range, PluDownloadLayout layout) {
  const WireUnits units{snapshot.PriceDecimals, source.DecimalSeparator};
  std::vector<DiffRow> rows;
  if (kinds & KindBit(kDownloadPlu)) ComparePlus(snapshot, source, range, layout, units, rows);
  if (kinds & KindBit(kDownloadDepartment)) CompareDepartments(snapshot, source, units, rows);
  if (kinds & KindBit(kDownloadRecycling)) CompareRecycling(snapshot, source, units, rows);
  CompareParameters(snapshot, source, kinds, rows);
  if (kinds & KindBit(kDownloadFastSale)) CompareFastSale(snapshot, source, rows);
  std::stable_sort(rows.begin(), rows.end(),
                   [](const DiffRow& a, const DiffRow& b) { return a.Kind < b.Kind; });
  return rows;
}

}  // namespace plumgr
