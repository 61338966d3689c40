// The interface language file on the real windows: every window the program
// opens, as the operator opens it, shows the file's texts where the file has
// them and its built-in texts elsewhere, and names its controls as the table
// of known windows does, so the shipped files reach every text.

#include <QAbstractButton>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QToolBar>
#include <fstream>
#include <map>

#include "app/file_commands.h"
#include "data/language_file.h"
#include "data/language_names.h"
#include "ui/display_text.h"
#include "ui/progress_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/window_fixture.h"

namespace plumgr {
namespace {

using test::WhenShown;
using ui::DisplayText;

QString CaptionOf(QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object))
    return action->isSeparator() ? QString("-") : action->text();
  if (auto* menu = qobject_cast<QMenu*>(object)) return menu->title();
  if (auto* button = qobject_cast<QAbstractButton*>(object)) return button->text();
  if (auto* group = qobject_cast<QGroupBox*>(object)) return group->title();
  if (auto* label = qobject_cast<QLabel*>(object)) return label->text();
  if (auto* bar = qobject_cast<QToolBar*>(object)) return bar->windowTitle();
  return {};
}

QString HintOf(QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object)) return action->statusTip();
  if (auto* widget = qobject_cast<QWidget*>(object)) return widget->toolTip();
  return {};
}

// The window a control belongs to (menus belong to the window of their bar).
QWidget* WindowOf(QObject* object) {
  for (QObject* up = object->parent(); up != nullptr; up = up->parent())
    if (auto* widget = qobject_cast<QWidget*>(up);
        widget && widget->isWindow() && !qobject_cast<QMenu*>(widget))
      return widget;
  return nullptr;
}

std::vector<QObject*> Components(QWidget* window) {
  std::vector<QObject*> found;
  for (QObject* child : window->findChildren<QObject*>()) {
    const QString name = child->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || WindowOf(child) != window) continue;
    if (auto* widget = qobject_cast<QWidget*>(child);
        widget && widget->isWindow() && !qobject_cast<QMenu*>(widget))
      continue;
    found.push_back(child);
  }
  return found;
}

QObject* Component(QWidget* window, const std::string& name) {
  for (QObject* child : Components(window))
    if (child->objectName().toStdString() == name) return child;
  return nullptr;
}

// Every text a window shows through the file's keys, and the titles of its tables.
using ShownTexts = std::map<std::string, QString>;

void CollectTexts(QWidget* window, ShownTexts& texts) {
  const std::string section = window->objectName().toStdString();
  texts[section] = window->windowTitle();
  for (QObject* c : Components(window)) {
    if (c->objectName() == "DatePanel") continue;  // the clock moves on
    const std::string name = section + " " + c->objectName().toStdString();
    texts[name + ".Caption"] = CaptionOf(c);
    texts[name + ".Hint"] = HintOf(c);
    if (auto* table = qobject_cast<QTableView*>(c))
      for (int col = 0; col < table->model()->columnCount(); ++col)
        texts[name + " title " + std::to_string(col)] =
            table->model()->headerData(col, Qt::Horizontal).toString();
  }
}

class LanguageWalkTest : public test::WindowTest {
 protected:
  std::string WriteLanguage(const std::string& bytes) {
    std::ofstream(Path("plumgr.LNG"), std::ios::binary) << bytes;
    return Path("plumgr.LNG");
  }

  // Opens every window of the program as the operator does and hands each to
  // `visit` while it is shown; the dialogs are then closed as Cancel does.
  void VisitWindows(const std::function<void(QWidget*)>& visit) {
    visit(&Window());
    visit(&Window().ProgressDialog());
    const std::vector<std::pair<const char*, const char*>> dialogs = {
        {"CommDlg", "CommsetItem"},          {"AboutBox", "AboutItem"},
        {"DownloadDlg", "DownloadItem"},     {"UploadDlg", "UploadItem"},
        {"DetectPortDlg", "DetectportItem"}, {"uSelectFrm", "SelectECR1"},
        {"ParaDlg", "ParameterItem"},        {"VatrateFrm", "axRate1"},
        {"HeaderFrm", "Message1"},           {"RecyForm", "RecyItem"}};
    for (const auto& [window, item] : dialogs) {
      WhenShown(window, [&](QWidget* dialog) {
        visit(dialog);
        dialog->close();
      });
      Action(item)->trigger();
    }
    WhenShown("DataDlg", [&](QWidget* dialog) {
      visit(dialog);
      dialog->close();
    });
    QTest::keyClick(&Plu(), Qt::Key_F6, Qt::ControlModifier | Qt::AltModifier);
    Action("fastsalebuttons1")->trigger();
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "FastSaleButtonsfrm" && window->isVisible()) {
        visit(window);
        window->close();
      }
  }

  ShownTexts AllTexts() {
    ShownTexts texts;
    VisitWindows([&](QWidget* window) { CollectTexts(window, texts); });
    // The status bar's clock moves on by itself; no language text is in it.
    texts.erase("MainForm DatePanel.Caption");
    texts["PLU titles"] = QString::fromStdString([] {
      std::string all;
      for (const std::string& title : plumgr::Texts().PluTitles.Entries)
        all += title + "|";
      return all;
    }());
    return texts;
  }

  // Each known text of the window as the file gives it, else built in; every
  // control the table knows exists, and every control with a text is known
  // (by its built-in text, or as one whose text is set at run time).
  void ExpectWindowTexts(QWidget* window, const LanguageFile& file) {
    const std::string section = window->objectName().toStdString();
    SCOPED_TRACE(section);
    const KnownWindow* known = FindKnownWindow(section);
    ASSERT_NE(known, nullptr);
    const auto expected = [&](const std::string& key, const std::string& built_in) {
      if (built_in.empty()) return QString();
      return DisplayText(file.Document().Find(section, key).value_or(built_in));
    };
    // The memory range dialog's caller sets the caption of each use.
    if (section != "DataDlg" && !known->Caption.empty()) {
      EXPECT_EQ(window->windowTitle(), expected("Caption", known->Caption));
    }
    for (const KnownComponent& c : known->Components) {
      QObject* object = Component(window, c.Name);
      if (object == nullptr) {
        ADD_FAILURE() << "no control " << c.Name;
        continue;
      }
      if (!c.Caption.empty()) {
        EXPECT_EQ(CaptionOf(object), expected(c.Name + ".Caption", c.Caption)) << c.Name;
      }
      if (!c.Hint.empty()) {
        EXPECT_EQ(HintOf(object), expected(c.Name + ".Hint", c.Hint)) << c.Name;
      }
    }
    for (QObject* object : Components(window)) {
      const std::string name = object->objectName().toStdString();
      const KnownComponent* c = FindKnownComponent(section, name);
      if (!CaptionOf(object).isEmpty()) {
        EXPECT_NE(c, nullptr) << name << " shows a text the file cannot name";
      }
    }
  }
};

TEST_F(LanguageWalkTest, EveryWindowShowsItsBuiltInTextsWithoutAFileAndThePolishOnesWithIt) {
  Open();
  const LanguageFile none;
  int windows = 0;
  VisitWindows([&](QWidget* window) {
    ExpectWindowTexts(window, none);
    ++windows;
  });
  EXPECT_EQ(windows, 14);

  const std::string polish = std::string(PLUMGR_SOURCE_DIR) + "/lang/pl.LNG";
  LanguageReadResult read = LanguageFile::Read(polish);
  ASSERT_TRUE(read.Ok);
  Reopen(polish);
  VisitWindows([&](QWidget* window) { ExpectWindowTexts(window, read.File); });
  EXPECT_EQ(Window().windowTitle(), QString::fromUtf8("TR-88 Menedżer PLU"));
  EXPECT_EQ(Plu().model()->headerData(1, Qt::Horizontal).toString(), "Nazwa");
  EXPECT_EQ(plumgr::Texts().ProgressTexts.Connect,
            "\xA3\xB9"
            "czenie");
}

TEST_F(LanguageWalkTest, PluTitleTwoRenamesTheNameColumnAndNothingElse) {
  Open();
  const ShownTexts before = AllTexts();
  Reopen(WriteLanguage("[PLU Titles]\r\n2=Nazwa\r\n"));
  const ShownTexts after = AllTexts();
  std::vector<std::string> changed;
  for (const auto& [key, text] : after)
    if (before.count(key) == 0 || before.at(key) != text) changed.push_back(key);
  EXPECT_EQ(changed, (std::vector<std::string>{"MainForm PLUGrid title 1", "PLU titles"}));
  EXPECT_EQ(after.at("MainForm PLUGrid title 1"), "Nazwa");
  EXPECT_EQ(plumgr::Texts().PluTitles.Entries[2], "Nazwa") << "the export header too";
}

TEST_F(LanguageWalkTest, EmptyTextsStayEmptySeparatorsAreLookedUpTheCaptionLastsUntilNew) {
  Open("",
       WriteLanguage("[MainForm]\r\nCaption=Kasa\r\nN1.Caption=-\r\nN3.Caption=Odst\xEAp\r\n"
                     "N7.Hint=nic\r\nPLUGrid.Caption=X\r\n"
                     "[ParaDlg]\r\nGroupBox1.Caption=Og\xF3lne\r\nGroupBox3.Caption=&Kody\r\n"));
  auto* n1 = Action("N1");
  auto* n3 = Action("N3");
  ASSERT_TRUE(n1 && n3 && Action("N7"));
  EXPECT_TRUE(n1->isSeparator());
  EXPECT_FALSE(n3->isSeparator()) << "a separator given a caption is an item";
  EXPECT_EQ(n3->text(), QString::fromUtf8("Odstęp"));
  EXPECT_EQ(Action("N7")->statusTip(), "") << "a separator has no hint to replace";

  WhenShown("ParaDlg", [](QWidget* dialog) {
    EXPECT_EQ(test::Child<QGroupBox>(dialog, "GroupBox1")->title(), "")
        << "a group built without a caption gets none";
    EXPECT_EQ(test::Child<QGroupBox>(dialog, "GroupBox3")->title(), "&Kody");
    dialog->close();
  });
  Action("ParameterItem")->trigger();

  EXPECT_EQ(Window().windowTitle(), "Kasa");
  QTest::keyClick(&Plu(), Qt::Key_F3, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(Window().windowTitle(), "Kasa") << "a command keeps the file's caption";
  State().SetModified(false);
  Action("NewItem")->trigger();
  EXPECT_EQ(Window().windowTitle(), "TR-88 PLU Manager") << "New sets it from the title again";
}

}  // namespace
}  // namespace plumgr
