// The hot-key designer driven through its windows offscreen: keys chosen with
// the keyboard and filled from the picker, then saved and encoded into their
// files; the preview printed into a PDF whose page and keys are measured.

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include "data/table_columns.h"
#include "data/temp_dir.h"
#include "ui/hotkey_editor_window.h"
#include "ui/key_grid_widget.h"
#include "ui/preview_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

class HotkeyDesignerTest : public test::WindowTest {
 protected:
  ui::HotkeyEditorWindow& OpenEditor() {
    Window().OpenHotKeyEditor();
    ui::HotkeyEditorWindow& editor = Window().HotKeyEditor();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&editor));
    return editor;
  }
  static void Click(QWidget* window, const char* button) {
    auto* found = test::Child<QPushButton>(window, button);
    ASSERT_NE(found, nullptr);
    found->click();
  }
};

void ClickRow(QTableView* table, int row, Qt::KeyboardModifiers modifiers = {}) {
  const QRect cell = table->visualRect(table->model()->index(row, 1));
  QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
}

TEST_F(HotkeyDesignerTest, KeysChosenByKeyboardGetThePickedPlusAndReachTheirFiles) {
  Open();
  StringGrid& plu = State().GetTables().PLUGrid;
  plu.SetCell(PluCol::Barcode, 7, "5901234123457");
  plu.SetCell(PluCol::Name, 7, "\xA3y\xBFka");  // "Łyżka" in Windows-1250
  plu.SetCell(PluCol::Barcode, 8, "77");
  plu.SetCell(PluCol::Name, 8, "Widelec");
  ui::HotkeyEditorWindow& editor = OpenEditor();
  ui::KeyGridWidget& grid = editor.Grid();
  ASSERT_EQ(grid.size(), QSize(6 * 80, 10 * 60));

  // Key 1, extended to key 2, then the popup menu from the keyboard:
  // "1st level", "Generate Hot Key Table".
  QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.CellRect(0, 0).center());
  QTest::keyClick(&grid, Qt::Key_Right);
  QTest::keyClick(&grid, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(editor.Model().Grid().SelectItemCount(), 2);
  QTest::keyClick(&grid, Qt::Key_F10, Qt::ShiftModifier);
  QMenu& popup = editor.Popup();
  QTRY_VERIFY(popup.isVisible());
  bool picked = false;
  test::WhenShown("HotPluFrm", [&picked](QWidget* picker) {
    auto* table = test::Child<QTableView>(picker, "sgPLUSource");
    ClickRow(table, 6);
    ClickRow(table, 7, Qt::ShiftModifier);
    picked = true;
    Click(picker, "btn1");
  });
  QTest::keyClick(&popup, Qt::Key_Down);
  QTest::keyClick(&popup, Qt::Key_Right);
  QMenu* level1 = popup.findChild<QMenu*>("N1stlevel1");
  ASSERT_NE(level1, nullptr);
  QTRY_VERIFY(level1->isVisible());
  level1->setActiveAction(level1->findChild<QAction*>("GenerateHotKeyTable1"));
  QTest::keyClick(level1, Qt::Key_Return);
  QTRY_VERIFY(picked);

  TMyGrid& keys = editor.Model().Grid();
  QTRY_COMPARE(keys.Items(1).fs1Btn().Code, std::string("5901234123457"));
  EXPECT_EQ(keys.Items(1).fs1Btn().Caption, "\xA3y\xBFka");
  EXPECT_EQ(keys.Items(1).fs1Btn().BTNType, 1);
  EXPECT_EQ(keys.Items(2).fs1Btn().Code, "77");
  EXPECT_EQ(keys.Items(0).fs1Btn().BTNType, 0);

  Click(&editor, "btn2");  // Save: Hotkey.Key beside the settings file
  const std::string layout = test::ReadBytes(Path("Hotkey.Key"));
  const size_t key1 = layout.find("5901234123457\t\xA3y\xBFka\t\t0.00\t");
  ASSERT_NE(key1, std::string::npos);
  EXPECT_EQ(std::count(layout.begin(), layout.begin() + static_cast<long>(key1), '\n'), 2);

  Click(&editor, "btn5");  // DownLoad
  const std::string table = test::ReadBytes(Path("dumps/hotkey.hex"));
  ASSERT_EQ(table.size(), 840u);
  EXPECT_EQ(table.substr(7, 7), std::string("\x05\x90\x12\x34\x12\x34\x57", 7));
  EXPECT_EQ(table.substr(14, 7), std::string("\0\0\0\0\0\0\x77", 7));
  EXPECT_FALSE(editor.Model().Modified());
}

// The PDF's page size in millimetres, from its MediaBox (points).
QSizeF MediaBoxMillimetres(const QByteArray& pdf) {
  const QRegularExpression box(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])");
  const QRegularExpressionMatch match = box.match(QString::fromLatin1(pdf));
  if (!match.hasMatch()) return {};
  return {match.captured(1).toDouble() / 72 * 25.4, match.captured(2).toDouble() / 72 * 25.4};
}

// The bounding box of the pixels of one colour, in pixels.
QRect Area(const QImage& page, QRgb color) {
  QRect area;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (page.pixel(x, y) == color) area |= QRect(x, y, 1, 1);
  return area;
}

TEST_F(HotkeyDesignerTest, PreviewPrintsTheSheetToScaleIntoAPdf) {
  const QString pdftoppm = QStandardPaths::findExecutable("pdftoppm");
  if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
  Open();
  ui::HotkeyEditorWindow& editor = OpenEditor();
  editor.Model().Grid().Items(0).fs1Btn().Background = 0x0000FF;   // red, first key
  editor.Model().Grid().Items(59).fs1Btn().Background = 0x00FF00;  // green, last key
  Click(&editor, "btn4");
  ui::PreviewWindow& preview = editor.Preview();
  QTRY_VERIFY(preview.isVisible());
  EXPECT_EQ(preview.size(), QSize(420, 591));

  const QString pdf = QString::fromStdString(Path("sheet.pdf"));
  test::WhenShown("dlgPnt1", [&pdf](QWidget* dialog) { test::PrintToPdfFile(dialog, pdf); });
  Click(&preview, "btn1");

  QFile file(pdf);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QSizeF page = MediaBoxMillimetres(file.readAll());
  EXPECT_GT(page.width(), page.height()) << "landscape";

  // Rendered at 254 pixels per inch, ten pixels are a millimetre.
  QProcess render;
  render.start(pdftoppm,
               {"-r", "254", "-png", "-singlefile", pdf, QString::fromStdString(Path("sheet"))});
  ASSERT_TRUE(render.waitForFinished(60000));
  const QImage image(QString::fromStdString(Path("sheet.png")));
  ASSERT_FALSE(image.isNull());
  EXPECT_NEAR(image.width(), page.width() * 10, 1.5);
  EXPECT_NEAR(image.height(), page.height() * 10, 1.5);

  // Keys of 14.305 x 11.092 mm from 15.305 mm and 11.092 mm of the paper's
  // edge; the last key of the 6 x 10 keyboard five columns right, nine rows down.
  const QRect first = Area(image, qRgb(255, 0, 0));
  EXPECT_NEAR(first.left(), 153, 2);
  EXPECT_NEAR(first.top(), 111, 2);
  EXPECT_NEAR(first.width(), 143, 2);
  EXPECT_NEAR(first.height(), 111, 2);
  const QRect last = Area(image, qRgb(0, 255, 0));
  EXPECT_NEAR(last.left(), 868, 2);
  EXPECT_NEAR(last.top(), 1109, 2);
  EXPECT_NEAR(last.width(), 143, 2);
  EXPECT_NEAR(last.height(), 111, 2);

  // The frame: 97 mm wide from 10 mm, across the middle of the sheet.
  int left = -1;
  int right = -1;
  for (int x = 0; x < image.width(); ++x) {
    if (qGray(image.pixel(x, 700)) >= 128) continue;
    if (left < 0) left = x;
    right = x;
  }
  EXPECT_NEAR(left, 100, 2);
  EXPECT_NEAR(right, 1070, 2);
}

}  // namespace
}  // namespace plumgr
