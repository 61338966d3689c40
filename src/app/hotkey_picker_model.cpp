#include "app/hotkey_picker_model.h"

#include <algorithm>

#include "data/table_columns.h"

namespace plumgr {
namespace {

const std::string& Entry(const std::vector<std::string>& list, int row) {
  static const std::string kEmpty;
  return row >= 1 && row <= static_cast<int>(list.size()) ? list[static_cast<size_t>(row - 1)]
                                                          : kEmpty;
}

}  // namespace

void HotPluPickerModel::Load(const std::vector<std::string>& barcodes,
                             const std::vector<std::string>& names, const StringGrid& departments,
                             int plu_count, int dept_count) {
  plu_count = std::max(plu_count, 0);
  dept_count = std::max(dept_count, 0);
  barcodes_.assign(static_cast<size_t>(plu_count), std::string());
  names_.assign(static_cast<size_t>(plu_count), std::string());
  for (int r = 1; r <= plu_count; ++r) {
    barcodes_[static_cast<size_t>(r - 1)] = Entry(barcodes, r);
    names_[static_cast<size_t>(r - 1)] = Entry(names, r);
  }
  dept_names_.assign(static_cast<size_t>(dept_count), std::string());
  dept_prices_.assign(static_cast<size_t>(dept_count), std::string());
  for (int d = 1; d <= dept_count && d < departments.RowCount(); ++d) {
    dept_names_[static_cast<size_t>(d - 1)] = departments.Cell(DeptCol::Name, d);
    dept_prices_[static_cast<size_t>(d - 1)] = departments.Cell(DeptCol::Price, d);
  }
  plu_picks_.assign(static_cast<size_t>(plu_count), false);
  dept_picks_.assign(static_cast<size_t>(dept_count), false);
  active_ = PickerPage::Plu;
  dept_page_chosen_ = false;
}

int HotPluPickerModel::Rows(PickerPage page) const {
  return static_cast<int>(Picks(page).size());
}

std::string HotPluPickerModel::Cell(PickerPage page, int col, int row) const {
  if (row < 1 || row > Rows(page)) return {};
  if (col == 0) return std::to_string(row);
  const bool plu = page == PickerPage::Plu;
  if (col == 1) return Entry(plu ? barcodes_ : dept_names_, row);
  if (col == 2) return Entry(plu ? names_ : dept_prices_, row);
  return {};
}

void HotPluPickerModel::SelectRows(PickerPage page, int first, int last) {
  std::vector<bool>& picks = Picks(page);
  std::fill(picks.begin(), picks.end(), false);
  first = std::max(first, 1);
  last = std::min(last, static_cast<int>(picks.size()));
  for (int row = first; row <= last; ++row)
    picks[static_cast<size_t>(row - 1)] = true;
}

bool HotPluPickerModel::Picked(PickerPage page, int row) const {
  const std::vector<bool>& picks = Picks(page);
  return row >= 1 && row <= static_cast<int>(picks.size()) && picks[static_cast<size_t>(row - 1)];
}

std::vector<int> HotPluPickerModel::Candidates() const {
  std::vector<int> rows;
  const PickerPage page = dept_page_chosen_ ? PickerPage::Department : PickerPage::Plu;
  const int last = dept_page_chosen_ ? std::min(kLastKeyDepartment, Rows(page)) : Rows(page);
  for (int row = 1; row <= last; ++row)
    if (Picked(page, row)) rows.push_back(row);
  return rows;
}

}  // namespace plumgr
