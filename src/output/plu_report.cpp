#include "output/plu_report.h"

#include <filesystem>

namespace plumgr {

StringGrid DressPluTable(const StringGrid& plu, const std::vector<std::string>& titles) {
  StringGrid dressed = plu;
  for (int c = 0; c < dressed.ColCount(); ++c)
    dressed.SetCell(c, 0, c < static_cast<int>(titles.size()) ? titles[c] : std::string());
  for (int r = 1; r < dressed.RowCount(); ++r)
    dressed.SetCell(0, r, std::to_string(r));
  return dressed;
}

std::string ReportFileName(const std::string& chosen) {
  if (std::filesystem::path(chosen).has_extension()) return chosen;
  return chosen + ".xls";
}

FileResult SavePluReport(TOLEExcel& excel, const StringGrid& plu,
                         const std::vector<std::string>& titles, const std::string& chosen,
                         std::string* saved_as) {
  std::string file_name = ReportFileName(chosen);
  if (saved_as != nullptr) *saved_as = file_name;
  excel.OpenWorkbook();
  excel.ExportGrid(DressPluTable(plu, titles));
  return excel.SaveWorkbook(file_name);
}

}  // namespace plumgr
