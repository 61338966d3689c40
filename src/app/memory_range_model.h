#pragma once
// The memory range dialog as a model: the first page in hexadecimal, the page
// count in decimal and the memory kind. The fields keep their contents between
// uses; the caption is set by the caller each time.

#include <functional>
#include <optional>
#include <string>

#include "data/ui_port.h"
#include "transfer/memory_dump.h"

namespace plumgr {

inline constexpr const char* kDataRangeCaption = "Data range";
inline constexpr const char* kUploadDataRangeCaption = "Upload data range";

struct MemoryRangeModel {
  std::string Caption = kDataRangeCaption;
  std::string BaseText = "0";   // "Base addr(hex):"
  std::string CountText = "8";  // "Package count::"
  int KindIndex = 0;            // "ROM", "RAM"
};

// The base field's key filter: control characters, decimal and hexadecimal
// digits pass; every other typed character is discarded.
bool BaseKeyAllowed(char key);

// The base as a 32-bit hexadecimal number of digits alone.
std::optional<std::uint32_t> ParseHexBase(const std::string& text);
// The count as a 32-bit signed decimal number, a sign allowed.
std::optional<std::int32_t> ParseDecimalCount(const std::string& text);

// Both fields converted, or nothing when one of them does not convert.
std::optional<MemoryRange> ConvertRange(const MemoryRangeModel& model);

// Shows the dialog modally with the model's fields; true for OK.
using MemoryRangeDialog = std::function<bool(MemoryRangeModel& model)>;

// Runs the dialog with the caption. After OK, a field that does not convert
// gives a beep and no range.
std::optional<MemoryRange> RunMemoryRangeDialog(MemoryRangeModel& model, const std::string& caption,
                                                const MemoryRangeDialog& dialog, UiPort& ui);

}  // namespace plumgr
