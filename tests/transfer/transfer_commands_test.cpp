// The Download and Upload commands with their selection dialogs, the save
// prompt before an upload, and the parameter-only download of Ctrl+Alt+F4.

#include "app/transfer_commands.h"

#include <gtest/gtest.h>

#include "data/support/recording_ui_port.h"
#include "transfer/department_transfer.h"
#include "transfer/parameter_transfer.h"
#include "transfer/support/transfer_fixture.h"

namespace plumgr {
namespace {

class TransferCommandsTest : public test::TransferFixture {
 protected:
  void SetUp() override {
    TransferFixture::SetUp();
    state_.StartUp({(dir_ / "SYSTEM.CFG").string(), (dir_ / "dumps").string(), '.'});
    commands_.SetBusPreparer([] {});
    commands_.Driver().Timings = driver_.Timings;
  }
  void NameRow(int row, const std::string& name) {
    state_.GetTables().PLUGrid.SetCell(PluCol::Name, row, name);
  }
  const std::string& RowName(int row) { return state_.GetTables().PLUGrid.Cell(PluCol::Name, row); }

  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
  TransferCommands commands_{state_, bus_, progress_};
};

TEST_F(TransferCommandsTest, TheDialogOpensWithToTenNoKindAndTheLastFrom) {
  int openings = 0;
  auto dialog = [&](TransferDialogModel& model) {
    ++openings;
    EXPECT_EQ(model.Caption, "Download data");
    EXPECT_EQ(model.To, 10);
    EXPECT_EQ(model.Maximum, 3000);
    EXPECT_EQ(model.KindNames.size(), 7u);
    EXPECT_EQ(std::count(model.Checked.begin(), model.Checked.end(), true), 0);
    if (openings == 2) {
      EXPECT_EQ(model.From, 5) << "From is kept";
      return false;
    }
    model.From = 5;
    model.To = 3;
    EXPECT_FALSE(AcceptTransferDialog(model, ui_)) << "the dialog stays open";
    EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"Invalid PLU range"}));
    model.To = 10001;
    EXPECT_FALSE(AcceptTransferDialog(model, ui_));
    model.To = 7;
    EXPECT_TRUE(AcceptTransferDialog(model, ui_));
    return false;  // Cancel
  };
  commands_.Driver().DownloadKinds = 0x7F;
  EXPECT_FALSE(commands_.DownloadItemClick(dialog));
  EXPECT_EQ(commands_.Driver().DownloadKinds, 0) << "cleared on every opening";
  EXPECT_FALSE(commands_.DownloadItemClick(dialog));
  EXPECT_EQ(openings, 2);
  EXPECT_TRUE(sim_->Received().empty()) << "Cancel starts nothing";
}

TEST_F(TransferCommandsTest, DownloadRunsTheCheckedKindsOverTheAcceptedRange) {
  Accept(kDepartmentDownloadType);
  Start();
  EXPECT_TRUE(commands_.DownloadItemClick([](TransferDialogModel& model) {
    model.Checked[kDownloadDepartment] = true;
    model.From = 2;
    model.To = 4;
    return true;
  }));
  EXPECT_EQ(commands_.Driver().DownloadKinds, KindBit(kDownloadDepartment));
  EXPECT_EQ(commands_.DownloadRange().First, 2);
  EXPECT_EQ(Numbers(kDepartmentDownloadType), (std::vector<int>{0, 1}));
}

// An upload empties the tables before it connects; unsaved work is offered
// for saving first, and Cancel keeps it and uploads nothing.
TEST_F(TransferCommandsTest, UploadAsksToSaveUnsavedWorkFirst) {
  Start();
  NameRow(1, "MINE");
  state_.SetModified(true);
  ui_.Answers = {Answer::Cancel};
  EXPECT_FALSE(commands_.UploadItemClick([](TransferDialogModel&) { return true; }));
  EXPECT_EQ(ui_.Messages, (std::vector<std::string>{"File has not been saved,save it now?"}));
  EXPECT_EQ(RowName(1), "MINE");
  EXPECT_TRUE(sim_->Received().empty());

  ui_.Answers = {Answer::No};
  EXPECT_TRUE(commands_.UploadItemClick([](TransferDialogModel&) { return true; }));
  EXPECT_EQ(RowName(1), "");
  EXPECT_FALSE(sim_->Received().empty());
  EXPECT_TRUE(state_.Modified()) << "what the register sent is in no file yet";
}

TEST_F(TransferCommandsTest, AnUploadWhoseConnectFailsLeavesTheTablesEmpty) {
  sim_->SetFaults({.Silent = true});
  Start();
  NameRow(1, "SAVED");
  EXPECT_FALSE(commands_.UploadItemClick([](TransferDialogModel& model) {
    model.Checked[kUploadPlu] = true;
    return true;
  }));
  EXPECT_EQ(view_.Errors, (std::vector<std::string>{"Connect...Error!"}));
  EXPECT_EQ(RowName(1), "");
  EXPECT_FALSE(bus_.isActive());
}

TEST_F(TransferCommandsTest, EditingTheParametersDownloadsThemAloneWithoutTheDialog) {
  Serve(kParameterReadType, {{0, {}}, {1, {}}});
  Accept(kParameterWriteType);
  Start();
  EXPECT_FALSE(commands_.EditParametersAndDownload([] { return false; }));
  EXPECT_TRUE(sim_->Received().empty()) << "Cancel in the parameter dialog starts nothing";

  EXPECT_TRUE(commands_.EditParametersAndDownload([] { return true; }));
  EXPECT_EQ(commands_.Driver().DownloadKinds, KindBit(kDownloadParameter));
  EXPECT_EQ(Numbers(kParameterWriteType), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(view_.Statuses[2], "Download:parameter...");
}

}  // namespace
}  // namespace plumgr
