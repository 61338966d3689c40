// "Report Save As...": file names, the untouched table, fonts, and failures that
// leave nothing behind.

#include "output/plu_report.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>

#include "output/biff8_records.h"
#include "support/output_test_support.h"

namespace plumgr {
namespace {

const std::vector<std::string> kTitles = {"NO.",        "Barcode", "Name", "Unit price",
                                          "Department", "Stocks",  "Flag", "Quantity",
                                          "Total",      "Alcohol"};

class PluReportTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = test::MakeTempDir(); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir_;
};

TEST(ReportFileNameTest, AddsXlsOnlyWhenThereIsNoExtension) {
  EXPECT_EQ(ReportFileName("report"), "report.xls");
  EXPECT_EQ(ReportFileName("report.dat"), "report.dat");
  EXPECT_EQ(ReportFileName("/tmp/shop.v2/report"), "/tmp/shop.v2/report.xls");
  EXPECT_EQ(ReportFileName("report.XLS"), "report.XLS");
}

TEST(FormatForFileNameTest, ExtensionChoosesTheWriter) {
  EXPECT_EQ(FormatForFileName("a.xls"), WorkbookFormat::Xls);
  EXPECT_EQ(FormatForFileName("a.XLSX"), WorkbookFormat::Xlsx);
  EXPECT_EQ(FormatForFileName("a.Csv"), WorkbookFormat::Csv);
  EXPECT_EQ(FormatForFileName("report.dat"), WorkbookFormat::Xls);
}

TEST_F(PluReportTest, NameWithoutExtensionWritesALegacyWorkbook) {
  TOLEExcel excel;
  std::string saved;
  ASSERT_TRUE(
      SavePluReport(excel, test::MakeTestPluTable('.', 3), kTitles, dir_ + "/report", &saved).Ok);
  EXPECT_EQ(saved, dir_ + "/report.xls");
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"report.xls"});
  EXPECT_EQ(test::ReadWholeFile(saved).substr(0, 4), "\xD0\xCF\x11\xE0");

  ASSERT_TRUE(
      SavePluReport(excel, test::MakeTestPluTable('.', 3), kTitles, dir_ + "/report.dat", &saved)
          .Ok);
  EXPECT_EQ(test::ReadWholeFile(dir_ + "/report.dat").substr(0, 4), "\xD0\xCF\x11\xE0");
}

TEST_F(PluReportTest, TheTableKeepsNoTitlesOrNumbers) {
  StringGrid plu = test::MakeTestPluTable('.', 50);
  StringGrid before = plu;
  TOLEExcel excel;
  ASSERT_TRUE(SavePluReport(excel, plu, kTitles, dir_ + "/r.xls").Ok);
  // A failed export leaves the table as it was too.
  EXPECT_FALSE(SavePluReport(excel, plu, kTitles, dir_ + "/missing/r.xls").Ok);
  for (int r = 0; r < plu.RowCount(); ++r)
    for (int c = 0; c < plu.ColCount(); ++c)
      ASSERT_EQ(plu.Cell(c, r), before.Cell(c, r)) << c << "," << r;
  EXPECT_EQ(plu.Cell(0, 0), "");
  EXPECT_EQ(plu.Cell(0, 1), "");

  StringGrid dressed = DressPluTable(plu, kTitles);
  EXPECT_EQ(dressed.Cell(3, 0), "Unit price");
  EXPECT_EQ(dressed.Cell(0, 50), "50");
  EXPECT_EQ(dressed.Cell(2, 1), "PLU-1");
}

TEST_F(PluReportTest, FontsAreGivenOnlyWhenNotIgnored) {
  TOLEExcel excel;
  EXPECT_TRUE(excel.IgnoreFont());
  excel.OpenWorkbook();
  excel.ExportGrid(DressPluTable(test::MakeTestPluTable('.', 2), kTitles));
  EXPECT_FALSE(excel.Worksheet().UsesFont(CellFontRole::Title));
  EXPECT_FALSE(excel.Worksheet().UsesFont(CellFontRole::Cell));

  TFont title;
  title.Name = "Arial";
  title.Style = kFsBold;
  excel.SetTitleFont(title);
  excel.SetIgnoreFont(false);
  excel.ExportGrid(DressPluTable(test::MakeTestPluTable('.', 2), kTitles));
  const Sheet& sheet = excel.Worksheet();
  EXPECT_EQ(sheet.At(0, 5).Font, CellFontRole::Title);
  EXPECT_EQ(sheet.At(2, 0).Font, CellFontRole::Title);
  EXPECT_EQ(sheet.At(2, 1).Font, CellFontRole::Cell);
  EXPECT_TRUE(sheet.TitleFont.Bold);
  EXPECT_EQ(sheet.CellFont.Name, u"MS Sans Serif");
  ASSERT_TRUE(excel.SaveWorkbook(dir_ + "/fonts.xls").Ok);
  ASSERT_TRUE(excel.SaveWorkbook(dir_ + "/fonts.xlsx").Ok);
  std::string error;
  if (test::PythonThatImports("xlrd")) {
    EXPECT_TRUE(test::ReadXlsWithXlrd(dir_ + "/fonts.xls", &error).has_value()) << error;
  }
  EXPECT_TRUE(test::ReadXlsxWithPython(dir_ + "/fonts.xlsx", &error).has_value()) << error;
}

TEST_F(PluReportTest, NothingIsWrittenBeforeAWorkbookIsOpen) {
  TOLEExcel excel;
  excel.SetVisible(true);
  EXPECT_FALSE(excel.Visible());
  excel.ExportGrid(test::MakeTestPluTable('.', 2));
  FileResult result = excel.SaveWorkbook(dir_ + "/x.xls");
  EXPECT_FALSE(result.Ok);
  EXPECT_TRUE(DirEntries().empty());
}

TEST_F(PluReportTest, UnwritablePlacesNameTheFileAndLeaveNothing) {
  TOLEExcel excel;
  for (const char* name : {"/no/such/dir/r.xls", "/no/such/dir/r.xlsx", "/no/such/dir/r.csv"}) {
    FileResult result = SavePluReport(excel, test::MakeTestPluTable('.', 2), kTitles, name);
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find(name), std::string::npos) << result.Message;
  }
  std::filesystem::create_directory(dir_ + "/taken.xls");
  FileResult result =
      SavePluReport(excel, test::MakeTestPluTable('.', 2), kTitles, dir_ + "/taken.xls");
  EXPECT_FALSE(result.Ok);
  EXPECT_NE(result.Message.find("taken.xls"), std::string::npos);
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"taken.xls"});
}

// The .xlsx writer fills a file of its own through its path; it is replaced the
// same way as the others.
TEST_F(PluReportTest, ReplacedFileKeepsItsPermissions) {
  namespace fs = std::filesystem;
  for (const char* name : {"report.xls", "report.xlsx"}) {
    std::string target = dir_ + "/" + name;
    std::ofstream(target) << "old";
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    TOLEExcel excel;
    ASSERT_TRUE(SavePluReport(excel, test::MakeTestPluTable('.', 2), kTitles, target).Ok);
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
        << name;
    EXPECT_NE(test::ReadWholeFile(target), "old") << name;
  }
  EXPECT_EQ(DirEntries(), (std::vector<std::string>{"report.xls", "report.xlsx"}));
}

// A full disk is played by a file-size limit: writes past it fail with EFBIG.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_handler_ = signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_{};
  sighandler_t old_handler_;
};

TEST_F(PluReportTest, FullDiskKeepsTheOldFileAndLeavesNoTemporary) {
  TOLEExcel excel;
  std::string target = dir_ + "/report.xls";
  ASSERT_TRUE(SavePluReport(excel, test::MakeTestPluTable('.', 5), kTitles, target).Ok);
  std::string old_bytes = test::ReadWholeFile(target);
  for (const char* name : {"report.xls", "report.xlsx", "report.csv"}) {
    FileResult result;
    {
      // The .xlsx is compressed: a smaller limit catches it.
      FileSizeLimit limit(std::string_view(name).ends_with(".xlsx") ? 4 * 1024 : 64 * 1024);
      result = SavePluReport(excel, test::MakeTestPluTable(), kTitles, dir_ + "/" + name);
    }
    EXPECT_FALSE(result.Ok) << name;
    EXPECT_NE(result.Message.find(name), std::string::npos) << result.Message;
  }
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"report.xls"});
  EXPECT_EQ(test::ReadWholeFile(target), old_bytes);
}

}  // namespace
}  // namespace plumgr
