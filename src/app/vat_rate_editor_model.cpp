#include "app/vat_rate_editor_model.h"

#include "app/rate_field.h"
#include "data/ini_file.h"
#include "data/settings_location.h"

namespace plumgr {
namespace {

std::optional<int> TaxFreeSelection(int index) {
  if (index < 0 || index >= kVatRateCount) return std::nullopt;
  return index;
}

}  // namespace

std::string TaxFreeItem(int index) {
  return std::string("VAT ") + static_cast<char>('A' + index);
}

FileResult VatRateEditorModel::Load() {
  IniReadResult read = SettingsFile(path_).Read();
  const Settings settings(read.Document, separator_);
  for (int n = 1; n <= kVatRateCount; ++n)
    rates_[n - 1] = RateFieldText(settings.VatRate(n), separator_);
  stored_tax_free_ = settings.TaxFree();
  tax_free_ = TaxFreeSelection(stored_tax_free_);
  if (!read.Ok) return FileResult::Failure(read.Message);
  return FileResult::Success();
}

bool VatRateEditorModel::SetRate(int n, std::string_view shown) {
  if (n < 1 || n > kVatRateCount) return false;
  std::optional<std::string> text = TypedRateText(shown, separator_);
  if (text) rates_[n - 1] = std::move(*text);
  return text.has_value();
}

void VatRateEditorModel::SetTaxFree(int index) {
  tax_free_ = TaxFreeSelection(index);
}

EditorResult VatRateEditorModel::Save() {
  const int tax_free = tax_free_.value_or(stored_tax_free_);
  FileResult written = SettingsFile(path_).Update([&](IniDocument& document) {
    Settings settings(document, separator_);
    for (int n = 1; n <= kVatRateCount; ++n)
      settings.SetVatRate(n, rates_[n - 1]);
    settings.SetTaxFree(tax_free);
  });
  if (!written) return EditorResult::Refused(written.Message);
  return EditorResult::Stored();
}

}  // namespace plumgr
