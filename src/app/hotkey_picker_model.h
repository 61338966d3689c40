#pragma once
// The PLU and department picker ("Select PLU", HotPluFrm) of the hot-key
// editor: a page of PLU rows (number, barcode, name) and a page of departments
// (number, name, unit price). The operator selects one contiguous range of rows
// on either page; Ok hands back the picks of the page that was active.

#include <string>
#include <vector>

#include "data/string_grid.h"

namespace plumgr {

enum class PickerPage { Plu, Department };

// The highest department a department key can select.
inline constexpr int kLastKeyDepartment = 9;

class HotPluPickerModel {
 public:
  // Showing the picker: PLU row r (1 to plu_count) from entry r - 1 of the
  // hot-key lists, department row d (1 to dept_count) from the department
  // table; no picks; the PLU page active.
  void Load(const std::vector<std::string>& barcodes, const std::vector<std::string>& names,
            const StringGrid& departments, int plu_count, int dept_count);

  int Rows(PickerPage page) const;
  // The cell of row (1-based) and column 0 (number), 1 (barcode or name) or 2
  // (name or unit price), as single-byte text.
  std::string Cell(PickerPage page, int col, int row) const;

  // The page's current selection, rows first to last; it replaces the page's
  // earlier picks. A first above last picks nothing.
  void SelectRows(PickerPage page, int first, int last);
  bool Picked(PickerPage page, int row) const;

  PickerPage ActivePage() const { return active_; }
  void SetActivePage(PickerPage page) { active_ = page; }

  // Ok: the page active now is the one whose picks count.
  void Accept() { dept_page_chosen_ = active_ == PickerPage::Department; }
  bool DeptPageChosen() const { return dept_page_chosen_; }

  // What Ok handed back, in ascending order: the picked departments 1 to 9
  // when the department page was chosen (the register's keyboard has no key
  // for a higher one), otherwise the picked PLU rows.
  std::vector<int> Candidates() const;

 private:
  std::vector<bool>& Picks(PickerPage page) {
    return page == PickerPage::Plu ? plu_picks_ : dept_picks_;
  }
  const std::vector<bool>& Picks(PickerPage page) const {
    return page == PickerPage::Plu ? plu_picks_ : dept_picks_;
  }

  std::vector<std::string> barcodes_;
  std::vector<std::string> names_;
  std::vector<std::string> dept_names_;
  std::vector<std::string> dept_prices_;
  std::vector<bool> plu_picks_;   // index r - 1 for PLU row r
  std::vector<bool> dept_picks_;  // index d - 1 for department d
  PickerPage active_ = PickerPage::Plu;
  bool dept_page_chosen_ = false;
};

}  // namespace plumgr
