// "Print..." from the window: the system print dialog, the job on the printer it
// chose and the message box of a failed job. Every job goes to a PDF file: the
// dialog is steered to "Print to File", never to a queue of this machine.

#include "ui/table_printing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/main_window_state.h"
#include "data/support/recording_ui_port.h"
#include "ui/application_icon.h"
#include "ui/support/modal_dialog.h"

namespace plumgr {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

int CountPdfPages(const std::string& pdf) {
  int pages = 0;
  for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1))
    pages += pdf.compare(at, 12, "/Type /Pages") != 0;
  return pages;
}

class TablePrintingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("plumgr_ui_print_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    StringGrid& plu = state_.GetTables().PLUGrid;
    plu = StringGrid(10, 301);
    for (int r = 1; r <= 300; ++r) {
      plu.SetCell(1, r, std::to_string(5900000000000 + r));
      plu.SetCell(2, r, "\xA3y\xBFka " + std::to_string(r));
    }
  }
  void TearDown() override { fs::remove_all(dir_); }

  test::RecordingUiPort ui_;
  MainWindowState state_{ui_};
  fs::path dir_;
};

TEST_F(TablePrintingTest, DialogSteeredToAPdfFilePrintsTheTable) {
  const fs::path pdf = dir_ / "table.pdf";
  bool seen = false;
  test::WhenShown("PrintDialog", [&](QWidget* dialog) {
    seen = true;
    test::PrintToPdfFile(dialog, QString::fromStdString(pdf.string()));
  });
  ui::PrintItemClick(nullptr, state_);
  ASSERT_TRUE(seen);
  std::string bytes = ReadFile(pdf);
  ASSERT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_GE(CountPdfPages(bytes), 5);  // 300 lines at about sixty a page
  EXPECT_LE(CountPdfPages(bytes), 6);
}

TEST_F(TablePrintingTest, CancelledDialogPrintsNothing) {
  bool seen = false;
  test::WhenShown("PrintDialog", [&seen](QWidget* dialog) {
    seen = true;
    static_cast<QDialog*>(dialog)->reject();
  });
  ui::PrintItemClick(nullptr, state_);
  EXPECT_TRUE(seen);
  EXPECT_TRUE(fs::is_empty(dir_));
}

TEST_F(TablePrintingTest, FailedJobIsShownWithItsDestination) {
  const std::string path = (dir_ / "no" / "table.pdf").string();
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(QString::fromStdString(path));
  std::string shown;
  test::WhenShown("PrintErrorBox", [&shown](QWidget* box) {
    shown = static_cast<QMessageBox*>(box)->text().toStdString();
    static_cast<QMessageBox*>(box)->accept();
  });
  EXPECT_FALSE(ui::PrintPluTable(nullptr, printer, state_.GetTables().PLUGrid));
  EXPECT_NE(shown.find(path), std::string::npos) << shown;
}

TEST(ApplicationIconTest, IconComesFromTheProgramsResources) {
  QIcon icon = ui::ApplicationIcon();
  ASSERT_FALSE(icon.isNull());
  EXPECT_EQ(icon.pixmap(128, 128).size(), QSize(128, 128));
  EXPECT_EQ(icon.pixmap(64, 64).size(), QSize(64, 64));
}

}  // namespace
}  // namespace plumgr
