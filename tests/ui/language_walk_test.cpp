// The interface language file on the real windows: every window the program
// opens, as the operator opens it, shows the file's texts where the file has
// them and its built-in texts elsewhere, and names its controls as the table
// of known windows does, so the shipped files reach every text.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "app/file_commands.h"
#include "data/language_file.h"
#include "data/language_names.h"
#include "ui/compare_window.h"
#include "ui/display_text.h"
#include "ui/hotkey_editor_window.h"
#include "ui/hotkey_picker_dialog.h"
#include "ui/key_font_dialog.h"
#include "ui/preview_window.h"
#include "ui/progress_window.h"
#include "ui/restore_window.h"
#include "ui/support/modal_dialog.h"
#include "ui/support/modal_helpers.h"
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
  // A tab page's caption is its tab's text.
  if (auto* page = qobject_cast<QWidget*>(object); page && page->parentWidget())
    if (auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget()))
      if (tabs->indexOf(page) >= 0) return tabs->tabText(tabs->indexOf(page));
  return {};
}

// The dialogs a window opens are windows of their own; the file and print
// dialogs exist only while they are open.
bool IsOwnDialog(QWidget* window, const std::string& name) {
  static const std::set<std::string> made_on_use = {"dlgOpen1", "dlgSave1", "dlgPnt1"};
  auto* dialog = window->findChild<QWidget*>(QString::fromStdString(name));
  return made_on_use.count(name) > 0 || (dialog != nullptr && dialog->isWindow());
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

// The letter a caption's mnemonic stands for ("Save &as..." has 'a'); none
// without one ("&&" is an ampersand).
std::optional<QChar> Mnemonic(const QString& text) {
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return text[i + 1].toLower();
    ++i;
  }
  return std::nullopt;
}

// Alt with one letter must lead to one control: within a window among the
// controls shown, among the titles of the menu bar, and within each menu.
// A label's mnemonic acts only through its buddy; without one it shows an '&'.
void ExpectMnemonicsApart(QWidget* window) {
  const std::string section = window->objectName().toStdString();
  const auto apart = [&section](const std::vector<std::pair<QString, QString>>& captions,
                                const std::string& where) {
    std::map<QChar, QString> seen;
    for (const auto& [name, caption] : captions) {
      const std::optional<QChar> letter = Mnemonic(caption);
      if (!letter) continue;
      const auto [at, fresh] = seen.emplace(*letter, name);
      EXPECT_TRUE(fresh) << section << where << ": " << name.toStdString() << " and "
                         << at->second.toStdString() << " share Alt+"
                         << QString(*letter).toStdString();
    }
  };
  std::vector<std::pair<QString, QString>> controls;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    if (WindowOf(widget) != window || !widget->isVisibleTo(window)) continue;
    const QString name = widget->objectName().isEmpty() ? CaptionOf(widget) : widget->objectName();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
      if (Mnemonic(label->text()) && label->buddy() == nullptr)
        ADD_FAILURE() << section << ": label " << name.toStdString() << " has no buddy";
      if (label->buddy() == nullptr) continue;
    }
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget) ||
        qobject_cast<QLabel*>(widget))
      controls.emplace_back(name, CaptionOf(widget));
    if (auto* tabs = qobject_cast<QTabWidget*>(widget))
      for (int i = 0; i < tabs->count(); ++i)
        controls.emplace_back(tabs->tabText(i), tabs->tabText(i));
  }
  apart(controls, "");
  auto* main = qobject_cast<QMainWindow*>(window);
  if (main == nullptr) return;
  std::vector<std::pair<QString, QString>> titles;
  for (QMenu* menu : main->menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
    titles.emplace_back(menu->objectName(), menu->title());
    std::vector<std::pair<QString, QString>> items;
    for (QAction* action : menu->actions())
      if (action->isVisible()) items.emplace_back(action->objectName(), action->text());
    apart(items, " menu " + menu->objectName().toStdString());
  }
  apart(titles, " menu bar");
}

// Tab runs down the window as it reads: from one control to the next it never
// goes back up, except into a column further right (a grid of fields filled
// column by column). The main window's order is its tables'.
void ExpectTabGoesDown(QWidget* window) {
  if (qobject_cast<QMainWindow*>(window) != nullptr) return;
  const auto takes_tab = [window](QWidget* widget) {
    const bool control =
        qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLineEdit*>(widget) ||
        qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
        qobject_cast<QAbstractItemView*>(widget);
    return control && WindowOf(widget) == window && widget->isVisibleTo(window) &&
           widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus);
  };
  const auto rect_of = [window](QWidget* widget) {
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
  };
  constexpr int kSlack = 2;
  QWidget* before = nullptr;
  for (QWidget* next = window->nextInFocusChain(); next != window;
       next = next->nextInFocusChain()) {
    if (!takes_tab(next)) continue;
    if (before != nullptr) {
      const QRect from = rect_of(before), to = rect_of(next);
      EXPECT_TRUE(to.top() >= from.top() - kSlack || to.left() >= from.right() - kSlack)
          << window->objectName().toStdString() << ": Tab goes up from "
          << before->objectName().toStdString() << " to " << next->objectName().toStdString();
    }
    before = next;
  }
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
      VisitModal(window, visit, [&] { Action(item)->trigger(); });
    }
    VisitModal("DataDlg", visit,
               [&] { QTest::keyClick(&Plu(), Qt::Key_F6, Qt::ControlModifier | Qt::AltModifier); });
    Action("fastsalebuttons1")->trigger();
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->objectName() == "FastSaleButtonsfrm" && window->isVisible()) {
        visit(window);
        CloseByKeyboard(window);
      }
    VisitRegisterAndFileWindows(visit);
    VisitHotKeyWindows(visit);
  }

  void VisitModal(const char* name, const std::function<void(QWidget*)>& visit,
                  const std::function<void()>& open) {
    WhenShown(name, [&](QWidget* dialog) {
      visit(dialog);
      CloseByKeyboard(dialog);
    });
    open();
  }

  // Enter is OK (or the dialog's one action) and Escape is Cancel: a dialog
  // has a default button, and Escape closes every window but the editor's.
  static void CloseByKeyboard(QWidget* window) {
    const std::string name = window->objectName().toStdString();
    // The recycling grid takes Enter to move on to the next price.
    if (qobject_cast<QDialog*>(window) != nullptr && name != "RecyForm") {
      bool has_default = false;
      for (QPushButton* button : window->findChildren<QPushButton*>())
        has_default = has_default || (button->isVisible() && button->isDefault());
      EXPECT_TRUE(has_default) << name << " has no button for Enter";
    }
    QWidget* focused = window->focusWidget();
    QTest::keyClick(focused != nullptr ? focused : window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << name << " stays open on Escape";
    window->close();
  }

  // Import, Convert set, Compare and Restore: the windows of a file or of the
  // register's data, shown as their commands show them.
  void VisitRegisterAndFileWindows(const std::function<void(QWidget*)>& visit) {
    // Headers that match no title, so the preview names no table column.
    std::ofstream(Path("items.csv"), std::ios::binary) << "Towar;Kwota\r\nChleb;1,00\r\n";
    std::ofstream(Path("shop.PLU"), std::ios::binary) << "\tChleb\t1.00\t1\r\n";
    auto csv = test::ChooseFile(QString::fromStdString(Path("items.csv")));
    VisitModal("ImportDlg", visit, [&] { Action("ImportItem")->trigger(); });
    auto set = test::ChooseFile(QString::fromStdString(Path("shop.PLU")));
    VisitModal("ConvertDlg", visit, [&] { Action("ConvertItem")->trigger(); });
    VisitModal("CompareRangeDlg", visit, [&] { Action("CompareItem")->trigger(); });
    CompareWindowModel compared;
    compared.Lines = {{"PLU 1", "change", "Name", "Chleb", "Bu\xB3ka"}};
    compared.Summary = "1 row would change.";
    VisitModal("CompareDlg", visit, [&] { ui::ShowCompareWindow(&Window(), compared); });
    VisitModal("RestoreDlg", visit, [&] {
      ui::ShowRestoreWindow(&Window(),
                            {Path("shop.backups/register"), "2026-01-02 10:00", {"PLU"}});
    });
  }

  void VisitHotKeyWindows(const std::function<void(QWidget*)>& visit) {
    Window().OpenHotKeyEditor();
    ui::HotkeyEditorWindow& editor = Window().HotKeyEditor();
    visit(&editor);
    for (QWidget* window :
         {static_cast<QWidget*>(&editor.Picker()), static_cast<QWidget*>(&editor.FontDialog()),
          static_cast<QWidget*>(&editor.Preview())}) {
      window->show();
      visit(window);
      CloseByKeyboard(window);
    }
    editor.close();
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
        if (!IsOwnDialog(window, c.Name)) ADD_FAILURE() << "no control " << c.Name;
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
    ExpectMnemonicsApart(window);
    ExpectTabGoesDown(window);
    ++windows;
  });
  EXPECT_EQ(windows, 23);

  const std::string polish = std::string(PLUMGR_SOURCE_DIR) + "/lang/pl.LNG";
  LanguageReadResult read = LanguageFile::Read(polish);
  ASSERT_TRUE(read.Ok);
  Reopen(polish);
  VisitWindows([&](QWidget* window) {
    ExpectWindowTexts(window, read.File);
    ExpectMnemonicsApart(window);
  });
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
