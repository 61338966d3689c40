#include "app/import_columns.h"

#include "data/code_page.h"
#include "data/definitions.h"
#include "data/helpers.h"
#include "data/import_sheet.h"
#include "data/text_folding.h"
#include "transfer/wire_numbers.h"

namespace plumgr {
namespace {

std::string Quoted(std::u16string_view text) {
  return "\"" + Utf16ToUtf8(text) + "\"";
}

std::string SheetColumnName(const std::vector<std::u16string>& header, std::size_t col) {
  std::string name = "column " + ColumnLetters(col);
  if (col < header.size() && !header[col].empty()) name += " (" + Quoted(header[col]) + ")";
  return name;
}

const TitleTable& TitleTableOf(const DisplayTexts& texts, GridId grid) {
  return grid == GridId::Plu ? texts.PluTitles : texts.DeptTitles;
}

// A column that only a click or the program fills: typing never reaches it.
bool Importable(GridId grid, int col) {
  return col == 0 || Column(grid, col).Keys != KeyClass::NotEditable;
}

}  // namespace

ColumnMapParse ParseColumnMap(std::string_view text) {
  ColumnMapParse result;
  std::optional<std::u16string> unicode = Utf8ToUtf16(text);
  if (!unicode) {
    result.Problem = "the column mapping is not UTF-8 text";
    return result;
  }
  std::vector<std::string> pairs;
  SplitText(Utf16ToUtf8(*unicode), ",", pairs);
  for (const std::string& pair : pairs) {
    if (TrimBlanksAndControls(pair).empty()) continue;
    const std::size_t equals = pair.find('=');
    const std::string header(TrimBlanksAndControls(std::string_view(pair).substr(0, equals)));
    const std::string title(equals == std::string::npos
                                ? std::string_view()
                                : TrimBlanksAndControls(std::string_view(pair).substr(equals + 1)));
    if (header.empty() || title.empty()) {
      result.Problem = "\"" + pair + "\" in the column mapping is not HEADER=TITLE";
      return result;
    }
    result.Entries.push_back({*Utf8ToUtf16(header), *Utf8ToUtf16(title)});
  }
  return result;
}

ImportTitles TitlesForImport(GridId grid) {
  ImportTitles titles;
  titles.Grid = grid;
  const DisplayTexts defaults = DefaultDisplayTexts('.');
  const TitleTable& built_in = TitleTableOf(defaults, grid);
  const TitleTable& shown = TitleTableOf(Texts(), grid);
  titles.Names.resize(static_cast<std::size_t>(ColumnCount(grid)));
  for (std::size_t col = 0; col < titles.Names.size(); ++col) {
    for (const TitleTable* table : {&built_in, &shown}) {
      if (col >= table->Entries.size() || table->Entries[col].empty()) continue;
      std::u16string name = DecodeCodePage(table->Entries[col], Windows1250());
      if (titles.Names[col].empty() || titles.Names[col].front() != name)
        titles.Names[col].push_back(std::move(name));
    }
  }
  return titles;
}

int ColumnOfTitle(const ImportTitles& titles, std::u16string_view title) {
  const std::u16string folded = FoldForMatching(title);
  if (folded.empty()) return kNotImported;
  for (std::size_t col = 0; col < titles.Names.size(); ++col)
    for (const std::u16string& name : titles.Names[col])
      if (FoldForMatching(name) == folded) return static_cast<int>(col);
  return kNotImported;
}

int ImportColumns::NumberColumn() const {
  for (std::size_t col = 0; col < Target.size(); ++col)
    if (Target[col] == 0) return static_cast<int>(col);
  return -1;
}

bool ImportColumns::ImportsAny() const {
  for (int target : Target)
    if (target > 0) return true;
  return false;
}

std::vector<std::string> CheckTargets(const std::vector<std::u16string>& header,
                                      const ImportTitles& titles, const ImportColumns& columns) {
  std::vector<std::string> problems;
  const DisplayTexts built_in = DefaultDisplayTexts('.');
  const TitleTable& names = TitleTableOf(built_in, titles.Grid);
  for (std::size_t col = 0; col < columns.Target.size(); ++col) {
    const int target = columns.Target[col];
    if (target == kNotImported) continue;
    const std::string title = "\"" + names.Entries[static_cast<std::size_t>(target)] + "\"";
    if (!Importable(titles.Grid, target)) {
      problems.push_back(SheetColumnName(header, col) + ": " + title +
                         " cannot be imported (the table sets it by a click)");
      continue;
    }
    for (std::size_t other = 0; other < col; ++other)
      if (columns.Target[other] == target)
        problems.push_back(SheetColumnName(header, other) + " and " + SheetColumnName(header, col) +
                           " both fill " + title);
  }
  if (problems.empty() && !columns.ImportsAny())
    problems.push_back("no column of the file fills a column of the table");
  return problems;
}

ColumnMatch MatchColumns(const std::vector<std::u16string>& header, const ImportTitles& titles,
                         const std::vector<ColumnMapEntry>& map) {
  ColumnMatch match;
  match.Columns.Target.assign(header.size(), kNotImported);
  std::vector<bool> mapped(header.size(), false);
  for (const ColumnMapEntry& entry : map) {
    const int target = ColumnOfTitle(titles, entry.Title);
    if (target == kNotImported) {
      match.Problems.push_back("the mapping names " + Quoted(entry.Title) +
                               ", which is no column of the table");
      continue;
    }
    const std::u16string folded = FoldForMatching(entry.Header);
    bool found = false;
    for (std::size_t col = 0; col < header.size(); ++col) {
      if (FoldForMatching(header[col]) != folded) continue;
      match.Columns.Target[col] = target;
      mapped[col] = true;
      found = true;
    }
    if (!found)
      match.Problems.push_back("the mapping names the header " + Quoted(entry.Header) +
                               ", which the file does not have");
  }
  for (std::size_t col = 0; col < header.size(); ++col) {
    if (mapped[col]) continue;
    const int target = ColumnOfTitle(titles, header[col]);
    if (target != kNotImported && !Importable(titles.Grid, target)) {
      match.Notes.push_back(SheetColumnName(header, col) +
                            " is not imported: the table sets it by a click");
      continue;
    }
    match.Columns.Target[col] = target;
    if (target == kNotImported && !FoldForMatching(header[col]).empty())
      match.Notes.push_back(SheetColumnName(header, col) +
                            " is not imported: no column of the table has that title");
  }
  return match;
}

}  // namespace plumgr
