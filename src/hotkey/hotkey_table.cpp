#include "hotkey/hotkey_table.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "data/app_paths.h"
#include "data/file_io.h"
#include "data/helpers.h"
#include "data/hex_digits.h"

namespace plumgr {
namespace {

bool AppendLevel(TMyGrid& grid, int key_count, bool level2, HotKeyTable& table,
                 std::string* message) {
  for (int i = 0; i < key_count; ++i) {
    TGridList* key = grid.FindItem(i);
    if (key == nullptr) {
      *message = ListIndexError(i);
      return false;
    }
    std::uint8_t record[kHotKeyRecordSize] = {};
    if (!EncodeHotKeyRecord(level2 ? key->sc2Btn() : key->fs1Btn(), record, message)) return false;
    table.insert(table.end(), record, record + kHotKeyRecordSize);
  }
  return true;
}

}  // namespace

bool PackHexDigits(const std::string& code, std::uint8_t* record) {
  return PutDigits(code, record, kHotKeyRecordSize);
}

bool EncodeHotKeyRecord(const TGridItem& item, std::uint8_t* record, std::string* message) {
  std::fill(record, record + kHotKeyRecordSize, std::uint8_t{0});
  std::string_view code = TrimBlanksAndControls(item.Code);
  if (code.empty()) return true;
  if (item.BTNType == 1) {
    // A code that is not all hexadecimal digits still gives the part it packed.
    (void)PackHexDigits(item.Code, record);
  } else if (item.BTNType == 2) {
    std::optional<std::int64_t> number = ParseWholeNumber(code);
    if (!number || *number < INT32_MIN || *number > INT32_MAX) {
      *message = "'" + item.Code + "' is not a valid integer value";
      return false;
    }
    record[0] = 0xEF;
    record[5] = 0xEF;
    record[6] = static_cast<std::uint8_t>(*number & 0xFF);
  }
  return true;
}

HotKeyTableResult EncodeHotKeyTable(TMyGrid& grid) {
  HotKeyTableResult result;
  int key_count = grid.Count();
  result.Table.reserve(2 * static_cast<size_t>(std::max(key_count, 0)) * kHotKeyRecordSize);
  if (!AppendLevel(grid, key_count, false, result.Table, &result.Message) ||
      !AppendLevel(grid, key_count, true, result.Table, &result.Message)) {
    result.Ok = false;
    result.Table.clear();
  }
  return result;
}

std::string HotKeyDumpPath(const std::string& dump_dir) {
  std::string path = dump_dir;
  if (!path.empty() && path.back() != '/') path += '/';
  return path + kHotKeyDumpName;
}

KeyResult WriteHotKeyDump(const HotKeyTable& table, const std::string& dump_dir) {
  const std::string path = HotKeyDumpPath(dump_dir);
  if (!EnsureDirectory(dump_dir))
    return {false, "Cannot create file \"" + path + "\". The directory cannot be created."};
  FileResult written = ReplaceFile(
      path, std::string_view(reinterpret_cast<const char*>(table.data()), table.size()));
  return {written.Ok, written.Message};
}

}  // namespace plumgr
