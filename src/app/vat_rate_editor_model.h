#pragma once
// The VAT rate editor ("VAT Rate", VatrateFrm): the nine rates VAT1..VAT9 (A to
// I) and which of them is the tax-free one, from [Default] of the settings
// file. The tax-free rate's field is disabled, since the parameter download
// sends the tax-free mark in its place, but OK still writes what it shows.

#include <array>
#include <optional>
#include <string>

#include "app/editor_result.h"
#include "data/file_io.h"
#include "data/settings_keys.h"

namespace plumgr {

// "VAT A" .. "VAT I": the items of TaxFreeCB.
std::string TaxFreeItem(int index);

class VatRateEditorModel {
 public:
  VatRateEditorModel(std::string settings_path, char decimal_separator)
      : path_(std::move(settings_path)), separator_(decimal_separator) {}

  // Reads VAT1..VAT9 and Tax-free (a missing file or key gives its default).
  FileResult Load();

  // Rate n (1 to 9, VATME1..VATME9) in the field's form.
  const std::string& Rate(int n) const { return rates_.at(n - 1); }
  // Typed into VATMEn; false (and unchanged) when not in the field's form.
  bool SetRate(int n, std::string_view shown);

  // TaxFreeCB's selection (0 for A .. 8 for I); nothing when the stored value
  // is outside the list, and OK then keeps that stored value.
  std::optional<int> TaxFree() const { return tax_free_; }
  void SetTaxFree(int index);
  // Every field is enabled except the tax-free rate's.
  bool RateEnabled(int n) const { return !tax_free_ || *tax_free_ != n - 1; }

  // OK: writes VAT1..VAT9 from the fields (the disabled one included) and Tax-free.
  EditorResult Save();

 private:
  std::string path_;
  char separator_;
  std::array<std::string, kVatRateCount> rates_;
  std::optional<int> tax_free_;
  int stored_tax_free_ = kDefaultTaxFree;
};

}  // namespace plumgr
