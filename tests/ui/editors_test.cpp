// The settings editors driven as an operator drives them from the main window:
// what each refuses, what its OK writes into SYSTEM.CFG or the tables, what it
// leaves alone, and that the values come back after a restart and through the
// data file set.

#include <sys/stat.h>

#include <fstream>
#include <iterator>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>

#include "app/file_commands.h"
#include "data/ini_file.h"
#include "sim/ecr_simulator.h"
#include "ui/progress_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/modal_helpers.h"
#include "ui/support/typing.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

using test::Child;
using test::MessageBoxAnswers;
using test::Retype;
using test::Type;
using test::WhenShown;

void Key(int key) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
}

void Click(QWidget* dialog, const char* button) {
  Child<QPushButton>(dialog, button)->click();
}

class EditorsTest : public test::WindowTest {
 protected:
  std::string Default(const char* key) const {
    return IniFile(Path("SYSTEM.CFG")).ReadString("Default", key, "<missing>");
  }
  std::string SettingsBytes() const {
    std::ifstream in(Path("SYSTEM.CFG"), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  int Beeps() { return Window().Ui().BeepCount(); }
  // Opens an editor from its menu item and runs `act` on it while it is shown.
  void Edit(const char* window, const char* item, const std::function<void(QWidget*)>& act) {
    bool shown = false;
    WhenShown(window, [&](QWidget* dialog) {
      shown = true;
      // Offscreen, nobody gives a dialog the activation a desktop would.
      QApplication::setActiveWindow(dialog);
      act(dialog);
      if (dialog->isVisible()) dialog->close();
    });
    Action(item)->trigger();
    EXPECT_TRUE(shown) << window;
  }
  QWidget* FastSaleWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "FastSaleButtonsfrm") return window;
    return nullptr;
  }
};

TEST_F(EditorsTest, ParameterDialogRefusesABadPasswordStoresItsKeysOnlyAndKeepsThemAfterARestart) {
  const std::string tail(24, 'T');
  Open("[Comm]\r\nPort=3\r\n[Default]\r\nFlag25=1\r\nTail1=" + tail + "\r\nVAT3=23.00\r\n");
  ::chmod(Path("SYSTEM.CFG").c_str(), 0600);
  const std::string before = SettingsBytes();

  Edit("ParaDlg", "ParameterItem", [&](QWidget* dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "DecRateME")->displayText(), "00.00");
    EXPECT_EQ(Child<QSpinBox>(dialog, "PrnSpeedSE")->value(), 1);
    EXPECT_FALSE(Child<QComboBox>(dialog, "BaudComboBox")->isVisible()) << "shown with Corla";
    EXPECT_FALSE(Child<QSpinBox>(dialog, "LcdDarkSE")->isVisible());
    Child<QCheckBox>(dialog, "Flag01")->click();
    Retype(Child<QLineEdit>(dialog, "ClerkNameEd1"), "Łucja");
    Click(dialog, "BitBtn2");
  });
  EXPECT_EQ(SettingsBytes(), before) << "Cancel writes nothing";

  MessageBoxAnswers answers({QMessageBox::Ok});
  Edit("ParaDlg", "ParameterItem", [&](QWidget* dialog) {
    EXPECT_FALSE(Child<QCheckBox>(dialog, "Flag01")->isChecked()) << "loaded again";
    Child<QCheckBox>(dialog, "Flag01")->click();
    auto* speeds = Child<QComboBox>(dialog, "BaudComboBox");
    EXPECT_TRUE(speeds->isVisible());
    speeds->setCurrentIndex(5);  // 2400
    auto* discount = Child<QLineEdit>(dialog, "DecRateME");
    discount->setFocus();
    discount->setCursorPosition(0);
    QTest::keyClicks(discount, "055");
    EXPECT_EQ(discount->displayText(), "05.50") << "untyped positions count as 0";
    QTest::keyClick(dialog, Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Child<QSpinBox>(dialog, "LcdDarkSE")->isVisible());
    Retype(Child<QLineEdit>(dialog, "ClerkNameEd1"), "Łucja ж12345678");
    EXPECT_EQ(Child<QLineEdit>(dialog, "ClerkNameEd1")->text(), QString::fromUtf8("Łucja 1234"))
        << "a letter without a byte and the 11th character are refused";
    Retype(Child<QLineEdit>(dialog, "ClerkPWDEd2"), "70000");
    Click(dialog, "BitBtn1");
    EXPECT_TRUE(dialog->isVisible()) << "a password the register cannot hold keeps it open";
    EXPECT_EQ(dialog->focusWidget(), Child<QLineEdit>(dialog, "ClerkPWDEd2"));
    EXPECT_EQ(SettingsBytes(), before);
    Retype(Child<QLineEdit>(dialog, "ClerkPWDEd2"), "7000");
    Click(dialog, "BitBtn1");
    EXPECT_FALSE(dialog->isVisible());
  });
  ASSERT_EQ(answers.Texts().size(), 1u);
  EXPECT_NE(answers.Texts()[0].find("Clerk2"), std::string::npos);
  EXPECT_EQ(Default("Flag01"), "1");
  EXPECT_EQ(Default("BaudRate"), "5");
  EXPECT_EQ(Default("-% rate"), "05.50");
  EXPECT_EQ(Default("ClerkName1"),
            "\xA3uc"
            "ja 1234");
  EXPECT_EQ(Default("ClerkPWD2"), "7000");
  EXPECT_EQ(Default("Tail1"), tail) << "the hidden tail lines pass through";
  EXPECT_EQ(Default("Flag25"), "1") << "flags without a box are not written";
  EXPECT_EQ(Default("VAT3"), "23.00");
  EXPECT_EQ(IniFile(Path("SYSTEM.CFG")).ReadString("Comm", "Port", ""), "3");
  struct stat info {};
  ASSERT_EQ(::stat(Path("SYSTEM.CFG").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u) << "the file stays its owner's";

  Reopen();
  Edit("ParaDlg", "ParameterItem", [&](QWidget* dialog) {
    EXPECT_TRUE(Child<QCheckBox>(dialog, "Flag01")->isChecked());
    EXPECT_EQ(Child<QComboBox>(dialog, "BaudComboBox")->currentText(), "2400");
    EXPECT_EQ(Child<QLineEdit>(dialog, "DecRateME")->displayText(), "05.50");
    EXPECT_EQ(Child<QLineEdit>(dialog, "ClerkNameEd1")->text(), QString::fromUtf8("Łucja 1234"));
    EXPECT_FALSE(Child<QSpinBox>(dialog, "LcdDarkSE")->isVisible()) << "a new run hides it again";
  });
}

TEST_F(EditorsTest, CtrlAltF4DownloadsTheParametersAloneOnlyWhenConfirmed) {
  sim::SimConfig config;
  config.LineRate = false;
  sim::EcrSimulator sim(config);
  Open("[Comm]\r\nPort=2\r\nCOM2=" + sim.Start() + "\r\n[Default]\r\n-% rate=05.50\r\n");
  const auto f4 = [&] {
    QTest::keyClick(&Plu(), Qt::Key_F4, Qt::ControlModifier | Qt::AltModifier);
  };
  WhenShown("ParaDlg", [](QWidget* dialog) { Click(dialog, "BitBtn2"); });
  f4();
  EXPECT_EQ(sim.Memory().Parameters[37], 0) << "Cancel starts no transfer";

  WhenShown("ParaDlg", [](QWidget* dialog) { Click(dialog, "BitBtn1"); });
  f4();
  const auto block = sim.Memory().Parameters;
  EXPECT_EQ(block[37], 0x02);
  EXPECT_EQ(block[38], 0x26) << "5.50 % as 550";
  EXPECT_FALSE(Window().ProgressDialog().isVisible());
}

TEST_F(EditorsTest, VatAndHeaderEditorsStoreOnOkAndTravelWithTheDataFileSet) {
  Open("[Default]\r\nHeader1=" + std::string(20, 'H') + "\r\nHeaderBold1=1\r\n");
  Edit("VatrateFrm", "axRate1", [&](QWidget* dialog) {
    EXPECT_EQ(Child<QComboBox>(dialog, "TaxFreeCB")->currentText(), "VAT I");
    EXPECT_FALSE(Child<QLineEdit>(dialog, "VATME9")->isEnabled());
    Child<QComboBox>(dialog, "TaxFreeCB")->setCurrentIndex(2);
    EXPECT_FALSE(Child<QLineEdit>(dialog, "VATME3")->isEnabled());
    EXPECT_TRUE(Child<QLineEdit>(dialog, "VATME9")->isEnabled());
    Retype(Child<QLineEdit>(dialog, "VATME1"), "23");
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(Default("VAT1"), "23.00");
  EXPECT_EQ(Default("VAT3"), "00.00") << "the disabled rate is written as shown";
  EXPECT_EQ(Default("Tax-free"), "2");

  Edit("HeaderFrm", "Message1", [&](QWidget* dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "HeaderEd1")->text(), QString(20, 'H'))
        << "a bold line longer than its half width stays";
    // A line break would start another line of the settings file.
    auto* third = Child<QLineEdit>(dialog, "HeaderEd3");
    QApplication::clipboard()->setText("Sklep\r\nHeader4=x");
    third->paste();
    EXPECT_EQ(third->text(), "") << "a pasted line break is refused";
    Child<QCheckBox>(dialog, "chk2")->click();
    Retype(Child<QLineEdit>(dialog, "HeaderEd2"), "Sklep spożywczy Żaba nr 1");
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(Default("Header1"), std::string(20, 'H'));
  EXPECT_EQ(Default("Header2"), "Sklep spo\xBFyw") << "a bold line holds 12 characters";
  EXPECT_EQ(Default("HeaderBold2"), "1");
  EXPECT_EQ(Default("Header4"), "");

  // Save copies the settings into the set's .PAR; Open brings them back.
  ASSERT_TRUE(SaveAsName(State(), Path("Shop.PLU")));
  EXPECT_EQ(IniFile(Path("Shop.PAR")).ReadString("Default", "VAT1", ""), "23.00");
  Edit("VatrateFrm", "axRate1", [&](QWidget* dialog) {
    Retype(Child<QLineEdit>(dialog, "VATME1"), "08");
    Click(dialog, "OKBtn");
  });
  EXPECT_EQ(Default("VAT1"), "08.00");
  ASSERT_TRUE(OpenName(State(), Path("Shop.PLU")));
  Edit("VatrateFrm", "axRate1", [&](QWidget* dialog) {
    EXPECT_EQ(Child<QLineEdit>(dialog, "VATME1")->displayText(), "23.00");
    EXPECT_EQ(Child<QComboBox>(dialog, "TaxFreeCB")->currentText(), "VAT C");
  });
}

TEST_F(EditorsTest, RecyclingCellsAreValidatedAsTheyAreLeftAndOkMarksTheSetModified) {
  Open();
  Edit("RecyForm", "RecyItem", [&](QWidget* dialog) {
    auto* grid = Child<QTableView>(dialog, "RecyGrid");
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), "Package price");
    const auto price = [grid](int row) {
      return grid->model()->index(row - 1, 1).data().toString();
    };
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Type("5x");  // typing opens the cell
    Key(Qt::Key_Return);
    EXPECT_EQ(price(3), "5.00");
    EXPECT_EQ(grid->currentIndex().row(), 3) << "Enter moves down";
    EXPECT_EQ(Beeps(), 1) << "the letter is refused";

    Type("-");
    Key(Qt::Key_Return);
    EXPECT_EQ(Beeps(), 2) << "a text that is no number is refused";
    EXPECT_EQ(grid->currentIndex().row(), 3) << "and the cell stays open";
    Click(dialog, "OKBtn");
    EXPECT_TRUE(dialog->isVisible()) << "OK validates the cell first";
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    EXPECT_EQ(price(4), "0.00") << "an empty cell becomes the zero price";

    Key(Qt::Key_F2);
    Type("7");
    Key(Qt::Key_Escape);
    EXPECT_EQ(price(5), "0.00") << "Escape drops the edit";
    Click(dialog, "OKBtn");
    EXPECT_FALSE(dialog->isVisible());
  });
  EXPECT_EQ(State().Recycling()[2].PackagePrice, "5.00");
  EXPECT_TRUE(State().Modified()) << "the save prompt now guards the new prices";

  State().SetModified(false);
  Edit("RecyForm", "RecyItem", [&](QWidget* dialog) {
    Type("9");
    Key(Qt::Key_Return);
    Click(dialog, "CancelBtn");
  });
  EXPECT_EQ(State().Recycling()[0].PackagePrice, "0.00") << "Cancel discards";
  EXPECT_FALSE(State().Modified());
}

TEST_F(EditorsTest, FastSaleWindowTicksEverySignAndRefusesABarcodeTheRegisterCannotHold) {
  Open();
  Action("fastsalebuttons1")->trigger();
  QWidget* window = FastSaleWindow();
  ASSERT_TRUE(window != nullptr && window->isVisible()) << "shown beside the main window";
  EXPECT_FALSE(window->isModal());
  auto* grid = Child<QTableView>(window, "StringGrid1");
  auto* all = Child<QCheckBox>(window, "SignTitleChk");
  EXPECT_EQ(all->text(), "Sign");
  all->click();
  for (int row = 0; row < kFastSaleButtons; ++row)
    EXPECT_EQ(grid->model()->index(row, 2).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  Click(window, "btn2");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(State().FastSale()[5].SignFlag, 0) << "Close stores nothing";

  Action("fastsalebuttons1")->trigger();
  QApplication::setActiveWindow(window);
  EXPECT_TRUE(all->isChecked()) << "the title box keeps its state";
  EXPECT_EQ(grid->model()->index(0, 2).data(Qt::CheckStateRole).toInt(), Qt::Unchecked);
  const auto edit_barcode = [grid, window](int row, const char* text) {
    QApplication::setActiveWindow(window);  // a message box took it
    grid->setFocus();
    grid->setCurrentIndex(grid->model()->index(row, 1));
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    Type(text, editor);
    QTest::keyClick(editor, Qt::Key_Return);
  };
  edit_barcode(0, "12ab");
  edit_barcode(1, "12 34");
  grid->setCurrentIndex(grid->model()->index(1, 2));
  QTest::keyClick(grid, Qt::Key_Space);
  {
    MessageBoxAnswers answers({QMessageBox::Ok});
    Click(window, "btn1");
    EXPECT_TRUE(window->isVisible()) << "a blank inside a barcode is refused";
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_NE(answers.Texts()[0].find("Button 2"), std::string::npos);
  }
  edit_barcode(1, "");
  {
    MessageBoxAnswers none({QMessageBox::Ok});
    Click(window, "btn1");
    EXPECT_EQ(none.Texts(), std::vector<std::string>{});
  }
  EXPECT_FALSE(window->isVisible());
  const FastSaleTable& buttons = State().FastSale();
  EXPECT_EQ(buttons[0].Barcode, "12ab");
  EXPECT_EQ(buttons[0].ButtonNumber, 0);
  EXPECT_EQ(buttons[1].SignFlag, 1);
  EXPECT_EQ(buttons[15].ButtonNumber, 15) << "OK numbers the buttons from 0";
  EXPECT_TRUE(State().Modified());

  // While the window is open the buttons are replaced (as Open, New or an
  // upload replace them): its OK of the old ones must not overwrite them.
  Action("fastsalebuttons1")->trigger();
  edit_barcode(0, "77");
  State().FastSale()[3] = {3, "999", 1};
  {
    MessageBoxAnswers answers({QMessageBox::Ok});
    Click(window, "btn1");
    ASSERT_EQ(answers.Texts().size(), 1u);
    EXPECT_NE(answers.Texts()[0].find("replaced"), std::string::npos) << answers.Texts()[0];
  }
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(buttons[0].Barcode, "12ab");
  EXPECT_EQ(buttons[3].Barcode, "999");
  EXPECT_EQ(grid->model()->index(3, 1).data().toString(), "999") << "the window shows them now";
  edit_barcode(0, "77");
  Click(window, "btn1");
  EXPECT_EQ(buttons[0].Barcode, "77");
  EXPECT_EQ(buttons[3].Barcode, "999");
}

}  // namespace
}  // namespace plumgr
