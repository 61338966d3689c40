#pragma once
// The fast-sale button editor ("Fast Sale Buttons", FastSaleButtonsfrm): the
// 16 buttons' barcodes in StringGrid1, column 1, and their sign flags as check
// boxes in column 2, with a title check box that sets all 16. It edits a copy;
// OK puts it into the FastSaleTable (button numbers 0 to 15), Close drops it.

#include <array>
#include <cstddef>
#include <string>

#include "app/editor_result.h"
#include "data/small_tables.h"

namespace plumgr {

// The register keeps a barcode as 14 packed hexadecimal digits.
inline constexpr std::size_t kFastSaleBarcodeDigits = 14;

class FastSaleEditorModel {
 public:
  // Showing the window: barcodes and sign boxes from the table. The title box
  // keeps its state from the last showing.
  void Show(const FastSaleTable& table);
  // The table as it was when the window showed it.
  const FastSaleTable& Shown() const { return shown_; }

  const std::string& Barcode(int row) const { return barcodes_.at(row - 1); }  // rows 1..16
  void SetBarcode(int row, std::string text);
  bool Sign(int row) const { return signs_.at(row - 1); }
  void SetSign(int row, bool on);

  // The title check box; ticking or clearing it gives all 16 row boxes its state.
  bool AllSigns() const { return all_signs_; }
  void SetAllSigns(bool on);

  // OK: entry i gets the button number i, the barcode of row i + 1 and the
  // sign flag of its box. A barcode the register cannot hold as it is shown (a
  // character other than a hexadecimal digit, more than 14 digits) is refused,
  // since the register would get other digits than the operator typed and a
  // tab or line break would break the set's .Sign file.
  EditorResult Store(FastSaleTable& table) const;

 private:
  FastSaleTable shown_{};
  std::array<std::string, kFastSaleButtons> barcodes_;
  std::array<bool, kFastSaleButtons> signs_{};
  bool all_signs_ = false;
};

}  // namespace plumgr
