#include "app/memory_range_model.h"

#include <charconv>

namespace plumgr {
namespace {

template <typename T>
std::optional<T> ParseWhole(const std::string& text, int base) {
  T value{};
  const char* begin = text.data();
  const char* end = begin + text.size();
  // from_chars takes no plus sign, which a typed count may carry.
  if (base == 10 && begin != end && *begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value, base);
  if (error != std::errc() || stop != end || begin == end) return std::nullopt;
  return value;
}

}  // namespace

bool BaseKeyAllowed(char key) {
  const unsigned char byte = static_cast<unsigned char>(key);
  return byte < 0x20 || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'F') ||
         (key >= 'a' && key <= 'f');
}

std::optional<std::uint32_t> ParseHexBase(const std::string& text) {
  if (text.empty()) return std::nullopt;
  for (char c : text)
    if (!BaseKeyAllowed(c) || static_cast<unsigned char>(c) < 0x20) return std::nullopt;
  return ParseWhole<std::uint32_t>(text, 16);
}

std::optional<std::int32_t> ParseDecimalCount(const std::string& text) {
  if (!text.empty() && text[0] == '+' && text.size() > 1 && text[1] == '-') return std::nullopt;
  return ParseWhole<std::int32_t>(text, 10);
}

std::optional<MemoryRange> ConvertRange(const MemoryRangeModel& model) {
  const std::optional<std::uint32_t> base = ParseHexBase(model.BaseText);
  const std::optional<std::int32_t> count = ParseDecimalCount(model.CountText);
  if (!base || !count) return std::nullopt;
  return MemoryRange{*base, *count, model.KindIndex == 1 ? MemoryKind::Ram : MemoryKind::Rom};
}

std::optional<MemoryRange> RunMemoryRangeDialog(MemoryRangeModel& model, const std::string& caption,
                                                const MemoryRangeDialog& dialog, UiPort& ui) {
  model.Caption = caption;
  if (!dialog(model)) return std::nullopt;
  std::optional<MemoryRange> range = ConvertRange(model);
  if (!range) ui.Beep();
  return range;
}

}  // namespace plumgr
