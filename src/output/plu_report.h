#pragma once
// "Report Save As...": the PLU table saved as a spreadsheet with the column
// titles in row 1 and the PLU numbers in column A.

#include <string>
#include <vector>

#include "data/file_io.h"
#include "data/string_grid.h"
#include "output/ole_excel.h"

namespace plumgr {

// A copy of the table with the titles in row 0 and the row numbers 1, 2, ... in
// column 0. The table itself is never touched, so a failed export cannot leave
// titles or numbers behind in it.
StringGrid DressPluTable(const StringGrid& plu, const std::vector<std::string>& titles);

// The chosen name with ".xls" added when it has no extension.
std::string ReportFileName(const std::string& chosen);

// Opens a workbook, copies the dressed table into it and saves it under
// ReportFileName(chosen). *saved_as receives the name written.
FileResult SavePluReport(TOLEExcel& excel, const StringGrid& plu,
                         const std::vector<std::string>& titles, const std::string& chosen,
                         std::string* saved_as = nullptr);

}  // namespace plumgr
