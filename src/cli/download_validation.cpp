#include "cli/download_validation.h"

#include <algorithm>

#include "app/main_window_state.h"
#include "cli/cli_context.h"
#include "cli/kind_options.h"
#include "cli/link_session.h"
#include "cli/set_checks.h"
#include "cli/set_files.h"
#include "data/data_file_set.h"
#include "transfer/transfer_driver.h"

namespace plumgr::cli {
namespace {

constexpr std::size_t kListedFindings = 10;

bool Sent(const CheckFinding& f, const DownloadRows& rows) {
  if (f.Grid == GridId::Dept) return rows.Departments;
  return rows.Plu && f.Row >= rows.FirstPlu && f.Row <= rows.LastPlu && f.Col <= PluCol::Flag;
}

bool Earlier(const CheckFinding& a, const CheckFinding& b) {
  if (a.Grid != b.Grid) return a.Grid == GridId::Plu;
  return a.Row != b.Row ? a.Row < b.Row : a.Col < b.Col;
}

}  // namespace

std::string FindingColumnTitle(GridId grid, int col) {
  const TitleTable& titles = grid == GridId::Plu ? Texts().PluTitles : Texts().DeptTitles;
  return titles.At(col);
}

std::string FormatFinding(const CheckFinding& f, const std::string& plu_file) {
  const std::string file = f.Grid == GridId::Plu ? plu_file : CompanionName(plu_file, ".DEP");
  return file + ": row " + std::to_string(f.Row) + ", column " + std::to_string(f.Col) + " (" +
         FindingColumnTitle(f.Grid, f.Col) + "): " + f.Reason;
}

void RefuseUnsendableCells(const MainWindowState& state, const std::string& plu_file,
                           std::uint8_t download_kinds, int first, int last) {
  DownloadRows rows;
  rows.Plu = (download_kinds & KindBit(kDownloadPlu)) != 0;
  rows.FirstPlu = first;
  rows.LastPlu = last;
  rows.UnnamedPluSentEmpty = !CurrentProfile().PluRecordFormat;
  rows.Departments = (download_kinds & KindBit(kDownloadDepartment)) != 0;
  std::vector<CheckFinding> findings =
      CheckDownloadRows(state.GetTables(), rows, state.DecimalSeparator());
  for (CheckFinding& f : FindUnencodableCells(plu_file))
    if (Sent(f, rows)) findings.push_back(std::move(f));
  if (findings.empty()) return;
  std::stable_sort(findings.begin(), findings.end(), Earlier);
  std::string message = "Nothing was sent: the register cannot hold " +
                        std::to_string(findings.size()) + " cell(s) of " + plu_file + ":";
  for (std::size_t i = 0; i < findings.size() && i < kListedFindings; ++i)
    message += "\n  " + FormatFinding(findings[i], plu_file);
  if (findings.size() > kListedFindings) message += "\n  ...";
  message += "\nCorrect them (plumgr-cli check lists every one) or leave the kind out (--kinds).";
  throw UsageError{message};
}

std::optional<PluRange> PrepareSetToSend(LinkSession& session, const std::string& plu_file,
                                         std::uint8_t download_kinds,
                                         const PluRangeOptions& range) {
  const std::optional<PluRange> chosen = ChooseCommandRange(range);
  if (!chosen) return std::nullopt;
  CheckDownloadSources(plu_file, download_kinds);
  ReadSetToSend(session.State(), plu_file);
  RefuseUnsendableCells(session.State(), plu_file, download_kinds, chosen->First, chosen->Last);
  return chosen;
}

}  // namespace plumgr::cli
