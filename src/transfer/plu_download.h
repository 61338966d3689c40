#pragma once
// Download kind 0: rows of the PLU table to the register. The plain download
// sends every row to its own slot; the compared download first reads the
// register's own table and sends a row whose name the register already holds
// to the slot of that name, listing each such row in the repeat report.

#include <string>
#include <vector>

#include "data/tables.h"
#include "transfer/transfer_step.h"

namespace plumgr {

inline constexpr std::uint8_t kPluDownloadType = 13;
inline constexpr std::uint8_t kPluCompareType = 87;

inline constexpr const char* kRepeatReportHeader =
    "PLU NO.\tBarcode\tName\tUnit price\tDepartment\tStocks";

bool DownloadPluPlain(TransferStep& step);
bool DownloadPluCompared(TransferStep& step);

// The comparison read: the register's table into EcrPluTable, following jumps
// up to the end marker, at most (last - first) / 4 packages.
bool ReadEcrPluTable(TransferStep& step);

// The entry of the table that holds the name (compared without blanks at both
// ends), searched from entry 0 up to the first entry without a name. Without a
// match the name is recorded at entry row - 1, so a name repeated later in the
// same download finds it, and the entry returned has No -1.
TPLUStruct FindEcrPluByName(std::vector<TPLUStruct>& ecr_plu_table, int row,
                            const std::string& name);

// A repeat report line: No + 1, barcode, name, price, department and stock,
// the two amounts in their shortest form with the locale's separator.
std::string RepeatReportLine(const TPLUStruct& entry, char decimal_separator);

// A floating value in the shortest general form of up to 15 significant
// digits, without trailing zeros (1.5 gives "1.5", 2 gives "2").
std::string ShortestNumberText(double value, char decimal_separator);

}  // namespace plumgr
