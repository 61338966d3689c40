#pragma once
// The recycling editor ("Recycling", RecyForm): the deposit prices of the 100
// recycling numbers in RecyGrid, column 1, rows 1 to 100. It edits a copy;
// only OK puts the prices into the RecyclingTable, so Cancel discards all.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "app/editor_result.h"
#include "data/small_tables.h"

namespace plumgr {

inline constexpr std::size_t kRecyclingPriceLimit = 8;
// The largest deposit price: its "%.2f" form still fits the cell's 8
// characters, and it travels unchanged in the register's unsigned 32-bit field.
inline constexpr double kLargestRecyclingPrice = 99999.99;

class RecyclingEditorModel {
 public:
  explicit RecyclingEditorModel(char decimal_separator) : separator_(decimal_separator) {}

  // Fills rows 1 to 100 from the package prices of the first 100 entries.
  void Load(const RecyclingTable& table);

  const std::string& Price(int row) const { return prices_.at(row - 1); }
  // The editor's text as typed; it is put in normal form by Validate.
  void SetPrice(int row, std::string text);

  // The key filter of the price cells: control characters pass; others only
  // below the 8-character limit (counting a selection as replaced) and when
  // IsNumberKey takes them.
  bool AcceptsKey(std::string_view text, char key, std::size_t selected_length = 0) const;

  // The rule applied when a cell is left: empty becomes "0.00"; a number from 0
  // to 99999.99 is rewritten with two decimals; anything else is refused and
  // stays as typed (the view beeps and keeps the cell in edit mode).
  bool Validate(int row);
  // Delete in browse mode: rows first to last get "0.00".
  void Reset(int first, int last);

  // OK: validates every row first; a refused row keeps the dialog open with the
  // focus on it (RefusedRow). Otherwise entry n - 1 gets the number n and the
  // price of row n, for n from 1 to 100.
  EditorResult Store(RecyclingTable& table);
  std::optional<int> RefusedRow() const { return refused_row_; }

 private:
  char separator_;
  std::array<std::string, kRecyclingUsedEntries> prices_;
  std::optional<int> refused_row_;
};

}  // namespace plumgr
