// plumgr-screenshots [--language FILE] OUTDIR: every window of the desktop
// program as a PNG file named after the window, with the test set loaded
// against the simulated register, in the built-in texts or those of a language
// file. Some names hold Polish letters so that their drawing can be judged.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <fstream>
#include <functional>
#include <iostream>
#include <string_view>

#include "app/file_commands.h"
#include "app/file_opener.h"
#include "app/import_model.h"
#include "app/service_commands.h"
#include "data/code_page.h"
#include "data/definitions.h"
#include "data/ini_file.h"
#include "data/settings_keys.h"
#include "transfer/transfer_step.h"
#include "ui/convert_set_dialog.h"
#include "ui/demo_session.h"
#include "ui/grid_view.h"
#include "ui/hotkey_editor_window.h"
#include "ui/import_dialog.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"
#include "ui/qt_translations.h"
#include "ui/restore_window.h"

namespace {

using namespace plumgr;

// How often a modal window or the progress of a transfer is looked for, and
// how many looks before giving up.
constexpr int kPollMs = 20;
constexpr int kPollLimit = 1500;

// Names with every Polish letter, upper and lower case, within the register's
// 18 characters.
constexpr std::string_view kPluNames[] = {
    "Chleb żytni",  "ZAŻÓŁĆ GĘŚLĄ JAŹŃ",  "Śledź w oleju 1kg", "Jabłka łąckie",
    "Gęś pieczona", "Źródlana woda 1,5l", "Ogórki kiszone",    "Masło extra 200g",
};
constexpr std::string_view kDeptNames[] = {
    "Pieczywo świeże", "Nabiał", "Mięso i wędliny", "Ryby", "Owoce, warzywa", "Napoje źródlane"};
constexpr std::string_view kReport =
    "     RAPORT DOBOWY FISKALNY\r\n"
    "Sprzedaż opodatkowana A   1234,56\r\n"
    "Podatek PTU A 23%          230,85\r\n"
    "Łączna należność          1465,41\r\n";

// The register's bytes of UTF-8 text; every text above fits Windows-1250.
std::string Cp1250(std::string_view utf8) {
  return EncodeCodePage(Utf8ToUtf16(utf8).value_or(u""), Windows1250()).value_or("");
}

class NoOpener final : public FileOpener {
 public:
  void OpenFile(const std::string&) override {}
};

QWidget* VisibleWindow(const QString& name) {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == name && widget->isVisible()) return widget;
  return nullptr;
}

// PLU keys from the first rows, split keys with a department on their lower
// level, colours and a corner caption: a layout as a shop would have it.
void LayOutKeys(HotkeyEditorModel& editor) {
  TMyGrid& grid = editor.Grid();
  const std::vector<std::string>& names = editor.NameList();
  const std::vector<std::string>& barcodes = editor.BarcodeList();
  constexpr TColor kFills[] = {0xC0FFFF, 0xC0FFC0, 0xFFE0C0, 0xE0C0FF};
  for (int i = 0; i < 8 && i < static_cast<int>(names.size()); ++i) {
    TGridItem& level1 = grid.Items(i).fs1Btn();
    level1.Code = barcodes[static_cast<size_t>(i)];
    level1.Caption = names[static_cast<size_t>(i)];
    level1.BTNType = 1;
    level1.Background = kFills[i % 4];
  }
  for (int i = 8; i < 12; ++i) {
    TGridList& key = grid.Items(i);
    key.CenterLine = true;
    key.fs1Btn() = grid.Items(i - 8).fs1Btn();
    key.sc2Btn().Code = std::to_string(i - 7);
    key.sc2Btn().Caption = Cp1250(kDeptNames[i - 8]);
    key.sc2Btn().BTNType = 2;
    key.sc2Btn().Background = 0xFFFFFF;
  }
  grid.Items(0).TLCaption = "F1";
  grid.Items(0).ShowLBCaption = true;
  grid.Items(0).fs1Btn().Font.Style = kFsBold;
  editor.Select({0, 2, 3, 2});
  grid.Repaint();
}

class Shooter {
 public:
  Shooter(ui::MainWindow& window, const QString& out_dir) : window_(window), out_(out_dir) {}

  bool Failed() const { return failed_; }

  void Save(QWidget* widget, const QString& name) {
    if (!QTest::qWaitForWindowExposed(widget))
      std::cerr << "not exposed: " << name.toStdString() << "\n";
    widget->repaint();
    const QString path = out_.filePath(name + ".png");
    if (widget->grab().save(path)) {
      std::cout << path.toStdString() << "\n";
    } else {
      std::cerr << "plumgr-screenshots: cannot write " << path.toStdString() << "\n";
      failed_ = true;
    }
  }

  // Calls `found` on the visible window `name` once it is there, from the
  // event loop that `open` runs (a modal dialog's or a transfer's wait);
  // `ready` may ask for more than the window being there.
  void WhenVisible(
      const QString& name, const std::function<void()>& open,
      const std::function<void(QWidget*)>& found,
      const std::function<bool()>& ready = [] { return true; }) {
    QTimer poll;
    int looks = 0;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* widget = VisibleWindow(name);
      if (widget != nullptr && ready()) {
        poll.stop();
        found(widget);
      } else if (++looks > kPollLimit) {
        poll.stop();
        std::cerr << "plumgr-screenshots: " << name.toStdString() << " did not appear\n";
        failed_ = true;
        if (widget != nullptr) widget->close();
      }
    });
    poll.start(kPollMs);
    open();
    // The command ended before the window was seen as asked.
    if (poll.isActive()) {
      std::cerr << "plumgr-screenshots: " << name.toStdString() << " was not seen\n";
      failed_ = true;
    }
  }

  // A modal dialog opened by `open`, saved and rejected.
  void Modal(const QString& name, const std::function<void()>& open) {
    WhenVisible(name, open, [&](QWidget* dialog) {
      Save(dialog, name);
      dialog->close();
    });
  }

  // A window beside the main window, opened by `open`, saved and closed.
  void Window(const QString& name, const std::function<void()>& open) {
    open();
    QWidget* window = VisibleWindow(name);
    if (window == nullptr) {
      std::cerr << "plumgr-screenshots: " << name.toStdString() << " did not appear\n";
      failed_ = true;
      return;
    }
    Save(window, name);
    window->close();
  }

  void Action(const char* name) {
    QAction* action = window_.findChild<QAction*>(name);
    if (action == nullptr) {
      std::cerr << "plumgr-screenshots: no command " << name << "\n";
      failed_ = true;
      return;
    }
    action->trigger();
  }

  // A download of the whole PLU table, saved while its packages move and then
  // cancelled. The command runs inside the look for the progress window.
  void RunningDownload() {
    const ProgressModel& progress = window_.Progress();
    WhenVisible(
        "ProgressForm",
        [&] {
          WhenVisible(
              "DownloadDlg", [&] { Action("DownloadItem"); },
              [&](QWidget* dialog) {
                // The PLU kind, as an operator ticks it.
                auto* kinds = dialog->findChild<QListWidget*>("CheckListBox1");
                if (kinds != nullptr && kinds->count() > 0)
                  kinds->item(0)->setCheckState(Qt::Checked);
                if (auto* to = dialog->findChild<QSpinBox*>("RangeEndEdit"))
                  to->setValue(to->maximum());
                dialog->findChild<QPushButton*>("OKBtn")->click();
              });
        },
        [&](QWidget* window) {
          Save(window, "ProgressForm-running");
          window->findChild<QPushButton*>("CancelBtn")->click();
        },
        [&] { return progress.Margin() > 8 && progress.Progress() > progress.Margin() / 3; });
  }

  // The hot-key designer with a layout of PLU and department keys, its picker
  // with a range of PLUs picked, and the sheet's preview.
  void HotKeyDesigner() {
    window_.OpenHotKeyEditor();
    ui::HotkeyEditorWindow& editor = window_.HotKeyEditor();
    LayOutKeys(editor.Model());
    Save(&editor, "HotkeyFrm");
    WhenVisible(
        "HotPluFrm", [&] { editor.Model().GenerateHotKeyTable(LevelScope::First); },
        [&](QWidget* picker) {
          QTableView* plus = picker->findChild<QTableView*>("sgPLUSource");
          plus->selectionModel()->select(
              QItemSelection(plus->model()->index(1, 0), plus->model()->index(4, 2)),
              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
          Save(picker, "HotPluFrm");
          static_cast<QDialog*>(picker)->reject();
        });
    Modal("dlgFont1", [&] { editor.Model().FontColor(LevelScope::First); });
    editor.Model().PreviewClick();
    Save(VisibleWindow("PreviewFrm"), "PreviewFrm");
  }

  // What a download of the first rows would change on the empty register. The
  // window of the comparison is watched from outside the command, which runs
  // until it is closed.
  void Comparison() {
    Modal("CompareDlg", [&] {
      WhenVisible(
          "CompareRangeDlg", [&] { Action("CompareItem"); },
          [&](QWidget* dialog) {
            dialog->findChild<QSpinBox*>("RangeEndEdit")->setValue(12);
            Save(dialog, "CompareRangeDlg");
            QTimer::singleShot(0, dialog->findChild<QPushButton*>("OKBtn"), &QPushButton::click);
          });
    });
  }

  // The progress window turned into an error report, as a failed step leaves it.
  void ErrorReport() {
    ProgressModel& progress = window_.Progress();
    progress.Show();
    // The texts of the step as the download shows them.
    const std::string step = Texts().ProgressTexts.Download + DownloadKindName(0) + "...";
    progress.SetStatus(StatusMode::Normal, step);
    progress.SetMargin(750);
    progress.SetProgress(312);
    progress.SetStatus(StatusMode::Error, step + "Error!");
    Save(&window_.ProgressDialog(), "ProgressForm-error");
    progress.PressOk();
    progress.Close();
  }

 private:
  ui::MainWindow& window_;
  QDir out_;
  bool failed_ = false;
};

// The test set with Polish names, saved and opened again as an operator would.
bool LoadPolishSet(MainWindowState& state, const QString& dir) {
  FillTestData(state);
  Tables& tables = state.GetTables();
  int row = 1;
  for (std::string_view name : kPluNames)
    tables.PLUGrid.SetCell(PluCol::Name, row++, Cp1250(name));
  row = 1;
  for (std::string_view name : kDeptNames)
    tables.DeptmentGrid.SetCell(DeptCol::Name, row++, Cp1250(name));
  const std::string name = QDir(dir).filePath("Sklep.PLU").toStdString();
  return SaveAsName(state, name) && OpenName(state, name);
}

// Parameters, VAT rates, a header and fast-sale buttons as a shop keeps them,
// so that the editors show their fields filled.
bool FillShopSettings(MainWindowState& state) {
  const char sep = state.DecimalSeparator();
  const auto rate = [sep](const char* whole, const char* cents) {
    return std::string(whole) + sep + cents;
  };
  const FileResult written = IniFile(state.SettingsPath()).Update([&](IniDocument& document) {
    Settings settings(document, sep);
    settings.SetDiscountRate(rate("05", "00"));
    settings.SetSurchargeRate(rate("02", "50"));
    settings.SetPrintSpeed(5);
    settings.SetFlag(0, 1, true);
    settings.SetFlag(1, 3, true);
    settings.SetScaleBaudRate(2);
    settings.SetClerkName(1, Cp1250("Łucja"));
    settings.SetClerkPassword(1, "1234");
    settings.SetClerkName(2, Cp1250("Zbigniew Żak"));
    settings.SetClerkPassword(2, "4321");
    const char* vat[][2] = {{"23", "00"}, {"08", "00"}, {"05", "00"}, {"00", "00"}};
    for (int n = 1; n <= 4; ++n)
      settings.SetVatRate(n, rate(vat[n - 1][0], vat[n - 1][1]));
    settings.SetTaxFree(8);
    settings.SetHeader(1, Cp1250("SKLEP SPOŻYWCZY"));
    settings.SetHeaderBold(1, true);
    settings.SetHeader(2, Cp1250("ul. Źródlana 12"));
    settings.SetHeader(3, Cp1250("00-950 Łódź"));
  });
  FastSaleTable& buttons = state.FastSale();
  for (int i = 0; i < 6; ++i)
    buttons[i] = {i + 1, "590123412345" + std::to_string(i), i % 2};
  return static_cast<bool>(written);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_ALL, "");
  const QStringList args = QApplication::arguments();
  const bool with_language = args.size() == 4 && args[1] == "--language";
  if (args.size() != 2 && !with_language) {
    std::cerr << "usage: plumgr-screenshots [--language FILE] OUTDIR\n";
    return 2;
  }
  const std::string language = with_language ? args[2].toStdString() : std::string();
  // The Polish shots show Qt's own dialogs as a Polish desktop does.
  if (with_language) ui::InstallQtTranslations(QLocale(QLocale::Polish));
  const QString out_dir = args.back();
  if (!QDir().mkpath(out_dir)) {
    std::cerr << "plumgr-screenshots: cannot create " << out_dir.toStdString() << "\n";
    return 2;
  }
  QString error;
  const std::unique_ptr<ui::DemoSession> session = ui::DemoSession::Start({}, &error);
  if (!session) {
    std::cerr << "plumgr-screenshots: " << error.toStdString() << "\n";
    return 1;
  }
  QTemporaryDir set_dir;
  NoOpener opener;
  ui::MainWindow window({session->SettingsPath(), session->DumpDir(), LocaleDecimalSeparator()},
                        &opener, language);
  if (!LoadPolishSet(window.State(), set_dir.path())) {
    std::cerr << "plumgr-screenshots: cannot save the test set in " << set_dir.path().toStdString()
              << "\n";
    return 1;
  }
  if (!FillShopSettings(window.State())) {
    std::cerr << "plumgr-screenshots: cannot write " << window.State().SettingsPath() << "\n";
    return 1;
  }
  window.Report().SetText(Cp1250(kReport));
  window.ShowState();
  window.resize(1200, 740);
  window.show();

  Shooter shooter(window, out_dir);
  shooter.Save(&window, "MainForm");
  shooter.Modal("AboutBox", [&] { shooter.Action("AboutItem"); });
  shooter.Modal("CommDlg", [&] { shooter.Action("CommsetItem"); });
  shooter.Modal("DetectPortDlg", [&] { shooter.Action("DetectportItem"); });
  shooter.Modal("uSelectFrm", [&] { shooter.Action("SelectECR1"); });
  shooter.Modal("DownloadDlg", [&] { shooter.Action("DownloadItem"); });
  shooter.Modal("UploadDlg", [&] { shooter.Action("UploadItem"); });
  shooter.Modal("DataDlg", [&] {
    QTest::keyClick(&window.PluView(), Qt::Key_F6, Qt::ControlModifier | Qt::AltModifier);
  });
  shooter.Modal("ParaDlg", [&] { shooter.Action("ParameterItem"); });
  shooter.Modal("VatrateFrm", [&] { shooter.Action("axRate1"); });
  shooter.Modal("HeaderFrm", [&] { shooter.Action("Message1"); });
  shooter.Modal("RecyForm", [&] { shooter.Action("RecyItem"); });
  shooter.Window("FastSaleButtonsfrm", [&] { shooter.Action("fastsalebuttons1"); });
  shooter.Comparison();
  shooter.Modal("ConvertDlg", [&] { ui::ChooseConversionPage(&window, CodePageId::Windows1250); });
  shooter.Modal("RestoreDlg", [&] {
    const std::vector<std::string>& kinds = Texts().DownloadKindNames.Entries;
    ui::ShowRestoreWindow(
        &window,
        {QDir(set_dir.path()).filePath("Sklep.backups/register-20260112-093015").toStdString(),
         "2026-01-12 09:30:15",
         {kinds.begin(), kinds.begin() + 3}});
  });
  shooter.RunningDownload();
  shooter.ErrorReport();
  shooter.HotKeyDesigner();
  // The import window over a back office's CSV export.
  const std::string csv = QDir(set_dir.path()).filePath("towary.csv").toStdString();
  std::ofstream(csv, std::ios::binary)
      << "Nr;Kod kreskowy;Nazwa;Cena;Kategoria\r\n"
         "1;5901234123457;Chleb \xC5\xBCytni;3,50;pieczywo\r\n"
         "2;5900512300016;Mas\xC5\x82o ekstra;7,99;nabia\xC5\x82\r\n"
         "3;5907771234569;\xC5\x9Aled\xC5\xBA w oleju;12,40;ryby\r\n";
  ImportModel import;
  if (import.Load(csv)) {
    import.SetMap({{u"Nr", u"NO."}, {u"Nazwa", u"Name"}, { u"Cena", u"Unit price" }});
    ui::ImportDialog dialog(&window, import);
    dialog.show();
    shooter.Save(&dialog, "ImportDlg");
  }
  return shooter.Failed() ? 1 : 0;
}
