#include "ui/headless_round_trip.h"

#include "data/definitions.h"
#include "transfer/transfer_driver.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

namespace plumgr::ui {
namespace {

constexpr std::uint8_t kTableKinds =
    KindBit(kDownloadPlu) | KindBit(kDownloadDepartment) | KindBit(kDownloadRecycling);
static_assert(kTableKinds ==
              (KindBit(kUploadPlu) | KindBit(kUploadDepartment) | KindBit(kUploadRecycling)));

// Shows the progress in the window and prints it; nobody is there to press OK
// after an error, so the view acknowledges it itself.
class PrintingProgressView final : public ProgressView {
 public:
  PrintingProgressView(ProgressModel& model, ProgressView& window, std::ostream& out)
      : model_(model), window_(window), out_(out) {}

  void ShowWindow() override { window_.ShowWindow(); }
  void HideWindow() override { window_.HideWindow(); }
  void ShowStatus(StatusMode mode, const std::string& text) override {
    window_.ShowStatus(mode, text);
    out_ << (mode == StatusMode::Error ? "error: " : "") << text << std::endl;
    if (mode == StatusMode::Error) model_.PressOk();
  }
  void ShowCounts(const ProgressCounts& counts) override {
    window_.ShowCounts(counts);
    // A line per quarter of a step is enough to see it move.
    if (counts.BarMaximum <= 0 || counts.BarPosition <= 0) return;
    const int quarter = counts.BarPosition * 4 / counts.BarMaximum;
    if (quarter == last_quarter_ && counts.BarPosition != counts.BarMaximum) return;
    last_quarter_ = quarter;
    out_ << "  " << counts.Current << "/" << counts.Total << std::endl;
  }

 private:
  ProgressModel& model_;
  ProgressView& window_;
  std::ostream& out_;
  int last_quarter_ = -1;
};

struct SentTables {
  StringGrid Plu;
  StringGrid Dept;
  RecyclingTable Recycling;
};

bool SameGrid(const StringGrid& sent, const StringGrid& got, const char* what, std::ostream& out) {
  for (int row = 1; row < sent.RowCount(); ++row)
    for (int col = 1; col < sent.ColCount(); ++col)
      if (!got.Contains(col, row) || got.Cell(col, row) != sent.Cell(col, row)) {
        out << what << " row " << row << " column " << col << ": sent \"" << sent.Cell(col, row)
            << "\", came back \"" << (got.Contains(col, row) ? got.Cell(col, row) : "") << "\"\n";
        return false;
      }
  return true;
}

bool SameRecycling(const RecyclingTable& sent, const RecyclingTable& got, std::ostream& out) {
  for (int i = 0; i < kRecyclingUsedEntries; ++i) {
    const auto n = static_cast<std::size_t>(i);
    if (sent[n].Number != got[n].Number || sent[n].PackagePrice != got[n].PackagePrice) {
      out << "recycling item " << i + 1 << " differs\n";
      return false;
    }
  }
  return true;
}

}  // namespace

bool RunHeadlessRoundTrip(MainWindow& window, std::ostream& out) {
  MainWindowState& state = window.State();
  PrintingProgressView view(window.Progress(), window.ProgressDialog(), out);
  window.Progress().SetView(&view);
  // Questions have their cautious answer: nothing is overwritten or saved.
  window.Ui().SetAnswerHook([&out](MessageKind kind, const std::string& text) {
    out << text << std::endl;
    return kind == MessageKind::YesNoCancel || kind == MessageKind::YesNo
               ? std::optional<Answer>(Answer::No)
               : std::optional<Answer>(Answer::Ok);
  });

  const SentTables sent{state.GetTables().PLUGrid, state.GetTables().DeptmentGrid,
                        state.Recycling()};
  const PluRange all{1, state.GetTables().PLUGrid.DataRows()};
  TransferCommands& transfers = window.Transfers();
  bool downloaded = false;
  bool uploaded = false;
  window.RunCommand([&] {
    transfers.Driver().DownloadKinds = kTableKinds;
    transfers.SetDownloadRange(all);
    downloaded = transfers.RunDownload();
  });
  if (downloaded) {
    window.RunCommand([&] {
      transfers.Driver().UploadKinds = kTableKinds;
      transfers.SetUploadRange(all);
      uploaded = transfers.RunUpload();
    });
  }
  window.Progress().SetView(&window.ProgressDialog());
  if (!downloaded || !uploaded) {
    out << "The round trip failed.\n";
    return false;
  }
  const Tables& got = state.GetTables();
  const bool same = SameGrid(sent.Plu, got.PLUGrid, "PLU", out) &&
                    SameGrid(sent.Dept, got.DeptmentGrid, "Department", out) &&
                    SameRecycling(sent.Recycling, state.Recycling(), out);
  if (same)
    out << "Round trip: " << all.Last << " PLUs, " << got.DeptmentGrid.DataRows()
        << " departments and " << kRecyclingUsedEntries
        << " recycling prices came back unchanged.\n";
  return same;
}

}  // namespace plumgr::ui
