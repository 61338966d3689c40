#include "transfer/department_packages.h"

#include <algorithm>

#include "data/helpers.h"
#include "data/table_columns.h"

namespace plumgr {
namespace {

constexpr std::size_t kNameWidth = 18;
constexpr std::size_t kTaxOffset = 18;
constexpr std::size_t kPriceOffset = 20;

}  // namespace

DepartmentRecordBytes EncodeDepartmentRecord(const StringGrid& dept_grid, int row,
                                             const WireUnits& units) {
  DepartmentRecordBytes record{};
  const std::string& name = dept_grid.Cell(DeptCol::Name, row);
  if (TrimBlanksAndControls(name).empty()) return record;
  PutTextField(record, 0, kNameWidth, name);
  record[kTaxOffset] =
      static_cast<std::uint8_t>(WholeNumberOrZero(dept_grid.Cell(DeptCol::Tax, row)) - 1);
  PutBig32(record, kPriceOffset,
           ScaledLow32(dept_grid.Cell(DeptCol::Price, row), units.PriceDecimals,
                       units.DecimalSeparator));
  return record;
}

int DepartmentDownloadPackageCount(int dept_count) {
  return CeilDiv(dept_count, kDepartmentsPerPackage);
}

int DepartmentUploadPackageCount(int dept_count) {
  return std::max(dept_count, 0) / kDepartmentsPerPackage;
}

PackageBytes EncodeDepartmentPackage(const StringGrid& dept_grid, int dept_count, int n,
                                     const WireUnits& units) {
  PackageBytes data{};
  const int last = std::min(dept_count, dept_grid.RowCount() - 1);
  for (int i = 0; i < kDepartmentsPerPackage; ++i) {
    const int row = kDepartmentsPerPackage * n + i + 1;
    if (row < 1 || row > last) break;
    const DepartmentRecordBytes record = EncodeDepartmentRecord(dept_grid, row, units);
    std::copy(record.begin(), record.end(), data.begin() + kDepartmentRecordSize * i);
  }
  return data;
}

int StoreDepartmentPackage(const PackageBytes& data, int n, StringGrid& dept_grid,
                           const WireUnits& units) {
  int cleaned = 0;
  for (int i = 0; i < kDepartmentsPerPackage; ++i) {
    const int row = kDepartmentsPerPackage * n + i + 1;
    if (row < 1 || row >= dept_grid.RowCount()) continue;
    const std::size_t at = kDepartmentRecordSize * i;
    std::string name = GetTextField(data, at, kNameWidth);
    if (BlankFieldBreaks(name)) ++cleaned;
    dept_grid.SetCell(DeptCol::Name, row, std::move(name));
    dept_grid.SetCell(DeptCol::Tax, row, std::to_string(data[at + kTaxOffset] + 1));
    dept_grid.SetCell(DeptCol::Price, row,
                      ScaledText(GetBig32Signed(data, at + kPriceOffset), units.PriceDecimals, 2,
                                 units.DecimalSeparator));
  }
  return cleaned;
}

}  // namespace plumgr
