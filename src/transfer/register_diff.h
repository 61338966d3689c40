#pragma once
// What a download would change on the register: the register's data as a
// snapshot read beforehand, against the packages the download would send, row
// by row and field by field. The PLUs follow the download's own way: the
// compared download sends a row whose name the register already holds to the
// PLU that holds it, so that PLU changes, not the row's own.

#include <cstdint>
#include <string>
#include <vector>

#include "data/ini_document.h"
#include "data/small_tables.h"
#include "data/tables.h"
#include "transfer/plu_packages.h"
#include "transfer/register_snapshot.h"

namespace plumgr {

enum class DiffAction { Add, Change, Clear };

struct FieldDifference {
  std::string Field;  // the column title, or the settings key of a parameter
  std::string Old;    // what the register holds
  std::string New;    // what it would hold after the download
};

struct DiffRow {
  int Kind = 0;    // a download kind
  int Number = 0;  // PLU, department, recycling or button number; 0 for the parameter block
  DiffAction Action = DiffAction::Change;
  std::vector<FieldDifference> Fields;
  // A PLU the compared download fills from another row of the set (the row
  // whose name it holds); 0 when it is filled from its own row.
  int FromRow = 0;
};

// What the download would send: the tables, the small tables and the
// settings its parameter step reads.
struct DownloadSource {
  const Tables& Grids;
  const RecyclingTable& Recycling;
  const FastSaleTable& FastSale;
  const IniDocument& Parameters;
  char DecimalSeparator = '.';
};

// The rows of the chosen download kinds whose data would change, in kind order
// and by number within a kind. The snapshot must cover the kinds and, for the
// PLUs, PluSpansWritten(range).
std::vector<DiffRow> CompareWithSnapshot(const RegisterSnapshot& snapshot,
                                         const DownloadSource& source, std::uint8_t kinds,
                                         const PluRange& range, PluDownloadLayout layout);

// The clerk passwords are shown as this, never as their digits.
inline constexpr const char* kHiddenValue = "****";

// "add", "change", "clear".
const char* DiffActionWord(DiffAction action);

}  // namespace plumgr
