// "Import..." and the code page setting driven from the main window as an
// operator drives them: the file dialog, the mapping, the message boxes, and
// what the tables and the settings file hold afterwards.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <iterator>

#include "ui/compare_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/modal_helpers.h"
#include "ui/support/typing.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

using test::Child;
using test::MessageBoxAnswers;
using test::Type;
using test::WhenShown;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ImportWindowTest : public test::WindowTest {
 protected:
  // The combo box's entry `steps` below the current one, as the arrow key
  // chooses it.
  static void ChooseBelow(QComboBox* combo, int steps) {
    combo->setFocus();
    for (int i = 0; i < steps; ++i)
      QTest::keyClick(combo, Qt::Key_Down);
  }
};

TEST_F(ImportWindowTest, ImportedRowsFillThePluTableThroughTheMappingChosen) {
  Open();
  std::ofstream(Path("items.csv"), std::ios::binary)
      << "Nazwa;Cena;Kolor\r\nChleb \xC5\xBCytni;3,50;bia\xC5\x82y\r\nMleko;abc;x\r\n";
  bool ok_was_disabled = false;
  WhenShown("ImportDlg", [&](QWidget* dialog) {
    // No header is a title of the table: nothing to import until one is chosen.
    auto* ok = Child<QPushButton>(dialog, "OKBtn");
    ok_was_disabled = !ok->isEnabled();
    ChooseBelow(Child<QComboBox>(dialog, "TargetCB1"), 3);  // Name
    ChooseBelow(Child<QComboBox>(dialog, "TargetCB2"), 4);  // Unit price
    EXPECT_TRUE(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
  });
  auto chosen = test::ChooseFile(QString::fromStdString(Path("items.csv")));
  // The refused price is shown and its row left out; then the result.
  MessageBoxAnswers answers({QMessageBox::Yes, QMessageBox::Ok});
  Action("ImportItem")->trigger();

  EXPECT_TRUE(ok_was_disabled);
  ASSERT_EQ(answers.Texts().size(), 2u);
  EXPECT_NE(answers.Texts()[0].find("row 3, column B (Cena): \"abc\""), std::string::npos)
      << answers.Texts()[0];
  EXPECT_EQ(answers.Texts()[1], "Imported 1 row into the PLU table. 1 row was left out.");
  EXPECT_EQ(PluCell(PluCol::Name, 1), "Chleb \xBFytni");
  EXPECT_EQ(PluCell(PluCol::Price, 1), "3.50");
  EXPECT_EQ(PluCell(PluCol::Name, 2), "");
  EXPECT_TRUE(State().Modified());
}

TEST_F(ImportWindowTest, TheCodePageChosenGovernsTypingAndIsStoredInTheSettings) {
  Open("[Comm]\r\nPort=1\r\n");
  WhenShown("CommDlg", [](QWidget* dialog) {
    ChooseBelow(Child<QComboBox>(dialog, "CodePageCB"), 1);  // CP852
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
  });
  MessageBoxAnswers told({QMessageBox::Ok});
  Action("CommsetItem")->trigger();
  ASSERT_EQ(told.Texts().size(), 1u);
  EXPECT_NE(told.Texts()[0].find("is now CP852"), std::string::npos);
  EXPECT_EQ(FileText(Path("SYSTEM.CFG")),
            "[Comm]\r\nPort=1\r\nBaudRate=0\r\n[Other]\r\nCodePage=CP852\r\n");

  QApplication::setActiveWindow(&Window());
  Plu().setFocus();
  QTest::keyClick(&Plu(), Qt::Key_Right);  // the Name column
  Type(QString::fromUtf8("Żur€"));         // CP852 has no euro sign
  QTest::keyClick(&Plu(), Qt::Key_Return);
  EXPECT_EQ(Window().Ui().BeepCount(), 1);
  EXPECT_EQ(PluCell(PluCol::Name, 1), "\xBDur");
  EXPECT_EQ(Plu().TableModel().data(Plu().TableModel().IndexOf(PluCol::Name, 1)).toString(),
            QString::fromUtf8("Żur"));
}

TEST_F(ImportWindowTest, UnderCp852TheRegistersTextIsReadInItAndTheProgramsOwnInWindows1250) {
  // The language file is Windows-1250 ("Nagłówek", "Cena zł"); the header
  // line "Żur" is in the register's CP852.
  std::ofstream(Path("pl.LNG"), std::ios::binary)
      << "[HeaderFrm]\r\nCaption=Nag\xB3\xF3wek\r\n[PLU Titles]\r\n3=Cena z\xB3\r\n";
  Open("[Other]\r\nCodePage=CP852\r\n[Default]\r\nHeader1=\xBDur\r\n", Path("pl.LNG"));
  EXPECT_EQ(Plu().model()->headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("Cena zł"));

  WhenShown("HeaderFrm", [&](QWidget* dialog) {
    QApplication::setActiveWindow(dialog);
    EXPECT_EQ(dialog->windowTitle(), QString::fromUtf8("Nagłówek"));
    auto* line = Child<QLineEdit>(dialog, "HeaderEd1");
    EXPECT_EQ(line->text(), QString::fromUtf8("Żur"));
    line->setFocus();
    line->end(false);
    Type(QString::fromUtf8("ę€"));  // CP852 holds ę but no euro sign
    EXPECT_EQ(line->text(), QString::fromUtf8("Żurę"));
    QTest::mouseClick(Child<QPushButton>(dialog, "OKBtn"), Qt::LeftButton);
  });
  Action("Message1")->trigger();
  EXPECT_EQ(Window().Ui().BeepCount(), 1);
  EXPECT_NE(FileText(Path("SYSTEM.CFG")).find("Header1=\xBDur\xA9\r\n"), std::string::npos)
      << "stored as CP852 bytes";

  // The comparison's words are the program's; the values the register's.
  CompareWindowModel compared;
  compared.Lines = {{"PLU 1", "change", "Cena z\xB3", "\xBDur", "\xBEur"}};
  WhenShown("CompareDlg", [](QWidget* dialog) {
    auto* grid = Child<QTableWidget>(dialog, "DiffGrid");
    EXPECT_EQ(grid->item(0, 2)->text(), QString::fromUtf8("Cena zł"));
    EXPECT_EQ(grid->item(0, 3)->text(), QString::fromUtf8("Żur"));
    EXPECT_EQ(grid->item(0, 4)->text(), QString::fromUtf8("żur"));
    dialog->close();
  });
  ui::ShowCompareWindow(&Window(), compared);
}

TEST_F(ImportWindowTest, ConvertSetRewritesTheChosenSetIntoTheChosenCodePage) {
  Open();
  std::ofstream(Path("shop.PLU"), std::ios::binary) << "\t\xAF"
                                                       "urek\t1.00\t1\r\n";
  std::ofstream(Path("shop.PAR"), std::ios::binary) << "[Default]\r\nHeader1=\xA3"
                                                       "ad\r\n";
  auto chosen = test::ChooseFile(QString::fromStdString(Path("shop.PLU")));
  WhenShown("ConvertDlg", [](QWidget* dialog) {
    EXPECT_EQ(Child<QLabel>(dialog, "FromPageLabel")->text(), "Windows-1250");
    ChooseBelow(Child<QComboBox>(dialog, "ToPageCB"), 1);  // CP852, Mazovia
    QTest::keyClick(dialog, Qt::Key_Return);
  });
  MessageBoxAnswers told({QMessageBox::Ok});
  Action("ConvertItem")->trigger();
  ASSERT_EQ(told.Texts().size(), 1u);
  EXPECT_NE(told.Texts()[0].find("from Windows-1250 to Mazovia"), std::string::npos);
  EXPECT_EQ(FileText(Path("shop.PLU")), "\t\xA1urek\t1.00\t1\r\n");
  EXPECT_EQ(FileText(Path("shop.PAR")),
            "[Default]\r\nHeader1=\x9C"
            "ad\r\n[Other]\r\nCodePage=Mazovia\r\n");
}

}  // namespace
}  // namespace plumgr
