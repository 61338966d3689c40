#pragma once
// The register's hot-key table: one 7-byte record per key level, all level-1
// records first, then all level-2 records.

#include <cstdint>
#include <string>
#include <vector>

#include "hotkey/key_grid.h"

namespace plumgr {

inline constexpr int kHotKeyRecordSize = 7;
inline constexpr char kHotKeyDumpName[] = "hotkey.hex";

using HotKeyTable = std::vector<std::uint8_t>;

struct [[nodiscard]] HotKeyTableResult {
  bool Ok = true;
  HotKeyTable Table;
  std::string Message;  // why there is no table
};

// Packs a PLU code into one record; false when a digit pair did not convert,
// which leaves the record partly filled and does not stop the table.
bool PackHexDigits(const std::string& code, std::uint8_t* record);

// Fills the record of one level: zeros for no key or no code, the packed code of
// a PLU key, EF 00 00 00 00 EF nn for department nn. False (with the message) for
// a department code that is not a whole number.
bool EncodeHotKeyRecord(const TGridItem& item, std::uint8_t* record, std::string* message);

// The table of the grid's Count keys (ColCount x RowCount).
HotKeyTableResult EncodeHotKeyTable(TMyGrid& grid);

// Writes the table's raw bytes as hotkey.hex in the dump directory, creating the
// directory when needed; the message names the file on failure.
KeyResult WriteHotKeyDump(const HotKeyTable& table, const std::string& dump_dir);
// The path of that file.
std::string HotKeyDumpPath(const std::string& dump_dir);

}  // namespace plumgr
