#include "app/fast_sale_editor_model.h"

#include <string_view>

#include "data/helpers.h"

namespace plumgr {
namespace {

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool RegisterHolds(std::string_view barcode) {
  // The packing drops the spaces around the barcode, as the register never sees
  // them; tabs and line breaks the .Sign file could not hold.
  const std::string_view digits = TrimSpaces(barcode);
  if (digits.size() > kFastSaleBarcodeDigits) return false;
  for (char c : digits)
    if (!IsHexDigit(c)) return false;
  return true;
}

}  // namespace

void FastSaleEditorModel::Show(const FastSaleTable& table) {
  shown_ = table;
  for (int i = 0; i < kFastSaleButtons; ++i) {
    barcodes_[i] = table[i].Barcode;
    signs_[i] = table[i].SignFlag == 1;
  }
}

void FastSaleEditorModel::SetBarcode(int row, std::string text) {
  if (row >= 1 && row <= kFastSaleButtons) barcodes_[row - 1] = std::move(text);
}

void FastSaleEditorModel::SetSign(int row, bool on) {
  if (row >= 1 && row <= kFastSaleButtons) signs_[row - 1] = on;
}

void FastSaleEditorModel::SetAllSigns(bool on) {
  all_signs_ = on;
  signs_.fill(on);
}

EditorResult FastSaleEditorModel::Store(FastSaleTable& table) const {
  for (int i = 0; i < kFastSaleButtons; ++i) {
    if (RegisterHolds(barcodes_[i])) continue;
    return EditorResult::Refused(
        "Button " + std::to_string(i + 1) + ": a barcode holds at most 14 digits (0 to 9, A to F).",
        "StringGrid1");
  }
  for (int i = 0; i < kFastSaleButtons; ++i)
    table[i] = {i, barcodes_[i], signs_[i] ? 1 : 0};
  return EditorResult::Stored();
}

}  // namespace plumgr
