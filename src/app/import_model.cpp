#include "app/import_model.h"

#include <algorithm>

#include "output/import_file.h"

namespace plumgr {

bool ImportModel::Load(const std::string& path) {
  ImportFileResult read = ReadImportFile(path);
  path_ = path;
  message_ = read.Message;
  if (!read.Ok) return false;
  format_ = std::move(read.Format);
  sheet_ = std::move(read.Sheet);
  header_ = sheet_.Rows.empty() ? std::vector<std::u16string>() : sheet_.Rows.front();
  header_.resize(sheet_.ColumnCount());
  Match();
  return true;
}

int ImportModel::DataRows() const {
  return sheet_.Rows.empty() ? 0 : static_cast<int>(sheet_.Rows.size()) - 1;
}

int ImportModel::PreviewRows() const {
  return std::min(DataRows(), kImportPreviewRows);
}

const std::u16string& ImportModel::PreviewCell(int row, int col) const {
  return sheet_.Cell(static_cast<std::size_t>(row) + 1, static_cast<std::size_t>(col));
}

void ImportModel::SetGrid(GridId grid) {
  titles_ = TitlesForImport(grid);
  Match();
}

void ImportModel::SetTarget(int sheet_col, int table_col) {
  if (sheet_col < 0 || sheet_col >= ColumnCount()) return;
  columns_.Target[static_cast<std::size_t>(sheet_col)] = table_col;
}

void ImportModel::SetMap(std::vector<ColumnMapEntry> map) {
  map_ = std::move(map);
  Match();
}

void ImportModel::Match() {
  ColumnMatch match = MatchColumns(header_, titles_, map_);
  columns_ = std::move(match.Columns);
  notes_ = std::move(match.Notes);
  map_problems_ = std::move(match.Problems);
}

std::vector<std::string> ImportModel::Problems() const {
  std::vector<std::string> problems = map_problems_;
  for (std::string& problem : CheckTargets(header_, titles_, columns_))
    problems.push_back(std::move(problem));
  return problems;
}

ImportOutcome ImportModel::Import(MainWindowState& state, RefusedRows refused) const {
  ImportRequest request;
  request.Grid = Grid();
  request.Columns = columns_;
  request.DecimalSeparator = state.DecimalSeparator();
  request.Page = CodePageInForce();
  request.Refused = refused;
  return ImportRows(sheet_, request, state.GetTables());
}

std::string Counted(int count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string WithoutNameNote(const ImportOutcome& outcome) {
  return Counted(outcome.RowsWithoutName, "imported row") +
         (outcome.RowsWithoutName == 1 ? " has" : " have") +
         " no name: the register takes them as empty.";
}

std::string RefusalSummary(const ImportOutcome& outcome, std::size_t shown) {
  std::string text;
  for (std::size_t i = 0; i < outcome.Refused.size() && i < shown; ++i)
    text += DescribeRefusal(outcome.Refused[i]) + "\n";
  if (outcome.Refused.size() > shown)
    text += "... and " + std::to_string(outcome.Refused.size() - shown) + " more\n";
  return text;
}

namespace {

constexpr std::size_t kRefusalsShown = 15;

std::string TableName(GridId grid) {
  return grid == GridId::Plu ? "PLU table" : "department table";
}

std::string ImportedText(const ImportOutcome& outcome, GridId grid) {
  std::string text =
      "Imported " + Counted(outcome.RowsImported, "row") + " into the " + TableName(grid) + ".";
  if (outcome.RowsLeftOut > 0)
    text += " " + Counted(outcome.RowsLeftOut, "row") +
            (outcome.RowsLeftOut == 1 ? " was" : " were") + " left out.";
  if (outcome.RowsWithoutName > 0) text += " " + WithoutNameNote(outcome);
  return text;
}

}  // namespace

bool ImportCommand(MainWindowState& state, const ImportDialog& dialog) {
  if (!ValidateActive(state.FocusedTable())) return false;
  FileDialogOptions options;
  options.Filter = kImportFilter;
  options.DefaultExtension.clear();
  const std::optional<std::string> path = state.Ui().ChooseOpenFile(options);
  if (!path) return false;
  ImportModel model;
  if (!model.Load(*path)) {
    state.Ui().ShowError(model.Message());
    return false;
  }
  if (!dialog(model)) return false;
  ImportOutcome outcome = model.Import(state, RefusedRows::RefuseImport);
  if (!outcome.Refused.empty()) {
    const std::string question =
        Counted(static_cast<int>(outcome.Refused.size()), "cell") + " cannot be imported:\n\n" +
        RefusalSummary(outcome, kRefusalsShown) +
        "\nImport the other rows and leave out every row that holds one of these cells?";
    if (state.Ui().AskYesNo(question) != Answer::Yes) return false;
    outcome = model.Import(state, RefusedRows::LeaveOut);
  }
  if (!outcome.Applied) {
    state.Ui().ShowMessage(outcome.RowsLeftOut > 0
                               ? "Nothing was imported: every row was left out."
                               : "Nothing was imported: the file holds no row to import.");
    return false;
  }
  state.PluEdit().TablesReplaced();
  state.DeptEdit().TablesReplaced();
  state.SetModified(true);
  state.Ui().ShowMessage(ImportedText(outcome, model.Grid()));
  return true;
}

}  // namespace plumgr
