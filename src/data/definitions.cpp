#include "data/definitions.h"

#include <clocale>

namespace plumgr {

const std::vector<EcrProfile>& EcrProfileTable() {
  static const std::vector<EcrProfile> table = {
      EcrProfile{.Model = 0,
                 .Title = "TR-88 PLU Manager",
                 .KeyboardType = 120,
                 .HotKeyEnabled = false,
                 .PluCount = 3000,
                 .RecyclingEnabled = true,
                 .DeptCount = 16,
                 .PluRecordFormat = false,
                 .HeaderWidth = 24,
                 .TailWidth = 24},
  };
  return table;
}

EcrProfile& CurrentProfile() {
  static EcrProfile profile;
  return profile;
}

bool SelectProfile(int model) {
  const auto& table = EcrProfileTable();
  for (const EcrProfile& entry : table) {
    if (entry.Model == model) {
      CurrentProfile() = entry;
      break;
    }
  }
  return true;
}

ServiceModel ModelForService(int service) {
  const auto& table = EcrProfileTable();
  for (const EcrProfile& entry : table)
    if (entry.Model == service) return {service, {}};
  const EcrProfile& first = table.front();
  return {first.Model, "[Other] Service=" + std::to_string(service) +
                           " names no register model: using model " + std::to_string(first.Model) +
                           " (" + first.Title + ")"};
}

DisplayTexts DefaultDisplayTexts(char sep) {
  DisplayTexts t;
  t.PluTitles = {"PLU Titles",
                 {"NO.", "Barcode", "Name", "Unit price", "Department", "Stocks", "Flag",
                  "Quantity", "Total", "Alcohol"}};
  t.DeptTitles = {"Deptment Titles", {"NO.", "Name", "Tax", "Unit price"}};
  t.RecyTitles = {"Recy Titles", {"No.", "Package price"}};
  t.FastTitles = {"Fast Titles", {"Dept. No.", "Barcode", "Sign"}};
  t.DownloadKindNames = {
      "DownloadItem Tips",
      {"PLU", "department", "recycling", "parameter", "VAT", "Fast Sale Buttons", "Header"}};
  t.UploadKindNames = {"UploadItem Tips",
                       {"PLU", "department", "recycling", "Fast Sale Buttons", "parameter"}};
  t.CompareTitles = {"Compare Titles",
                     {"Item", "Action", "Field", "Register holds", "Download sends"}};
  t.ZeroPrice = std::string("0") + sep + "00";
  t.ZeroStock = std::string("0") + sep + "000";
  t.ZeroRate = std::string("00") + sep + "00";
  return t;
}

DisplayTexts& Texts() {
  static DisplayTexts texts = DefaultDisplayTexts('.');
  return texts;
}

char LocaleDecimalSeparator() {
  const std::lconv* lc = std::localeconv();
  if (lc == nullptr || lc->decimal_point == nullptr || lc->decimal_point[0] == '\0') return '.';
  return lc->decimal_point[0];
}

}  // namespace plumgr
