#include "app/recycling_editor_model.h"

#include <algorithm>
#include <cmath>

#include "data/helpers.h"
#include "data/rounding.h"

namespace plumgr {
namespace {

constexpr int kPriceDecimals = 2;

std::string ZeroPrice(char separator) {
  return std::string("0") + separator + "00";
}

}  // namespace

void RecyclingEditorModel::Load(const RecyclingTable& table) {
  for (int i = 0; i < kRecyclingUsedEntries; ++i)
    prices_[i] = table[i].PackagePrice;
  refused_row_.reset();
}

void RecyclingEditorModel::SetPrice(int row, std::string text) {
  if (row >= 1 && row <= kRecyclingUsedEntries) prices_[row - 1] = std::move(text);
}

bool RecyclingEditorModel::AcceptsKey(std::string_view text, char key,
                                      std::size_t selected_length) const {
  if (static_cast<unsigned char>(key) < 0x20) return true;
  const std::size_t kept = text.size() - std::min(selected_length, text.size());
  if (kept >= kRecyclingPriceLimit) return false;
  return IsNumberKey(text, key, separator_);
}

bool RecyclingEditorModel::Validate(int row) {
  if (row < 1 || row > kRecyclingUsedEntries) return true;
  std::string& price = prices_[row - 1];
  if (price.empty()) {
    price = ZeroPrice(separator_);
    return true;
  }
  const std::optional<double> value = ParseDecimal(price, separator_);
  if (!value || !std::isfinite(*value)) return false;
  // Below zero the register would hand the price back as a huge one.
  const std::int64_t cents = RoundHalfEven(*value, kPriceDecimals);
  if (cents < 0 || cents > RoundHalfEven(kLargestRecyclingPrice, kPriceDecimals)) return false;
  price = FormatScaled(cents, kPriceDecimals, separator_);
  return true;
}

void RecyclingEditorModel::Reset(int first, int last) {
  for (int row = std::max(first, 1); row <= std::min(last, kRecyclingUsedEntries); ++row)
    prices_[row - 1] = ZeroPrice(separator_);
}

EditorResult RecyclingEditorModel::Store(RecyclingTable& table) {
  refused_row_.reset();
  for (int row = 1; row <= kRecyclingUsedEntries; ++row) {
    if (Validate(row)) continue;
    refused_row_ = row;
    return EditorResult::Refused({}, "RecyGrid");
  }
  for (int n = 1; n <= kRecyclingUsedEntries; ++n)
    table[n - 1] = {std::to_string(n), prices_[n - 1]};
  return EditorResult::Stored();
}

}  // namespace plumgr
