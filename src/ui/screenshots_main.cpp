// plumgr-screenshots OUTDIR: every window of the desktop program as a PNG file
// named after the window, with the test set loaded against the simulated
// register. Some names hold Polish letters so that their drawing can be judged.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <functional>
#include <iostream>
#include <string_view>

#include "app/file_commands.h"
#include "app/file_opener.h"
#include "app/service_commands.h"
#include "data/code_page.h"
#include "data/definitions.h"
#include "ui/demo_session.h"
#include "ui/grid_view.h"
#include "ui/main_window.h"
#include "ui/progress_window.h"

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
  }

  // A modal dialog opened by `open`, saved and rejected.
  void Modal(const QString& name, const std::function<void()>& open) {
    WhenVisible(name, open, [&](QWidget* dialog) {
      Save(dialog, name);
      dialog->close();
    });
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

  // A download of the whole set, saved while its packages move and then cancelled.
  void RunningDownload() {
    const ProgressModel& progress = window_.Progress();
    WhenVisible(
        "DownloadDlg", [&] { Action("DownloadItem"); },
        [&](QWidget* dialog) {
          WhenVisible(
              "ProgressForm", [&] { dialog->findChild<QPushButton*>("OKBtn")->click(); },
              [&](QWidget* window) {
                Save(window, "ProgressForm-running");
                window->findChild<QPushButton*>("CancelBtn")->click();
              },
              [&] { return progress.Margin() > 8 && progress.Progress() > progress.Margin() / 3; });
        });
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
    progress.SetStatus(StatusMode::Normal, "Download:PLU...");
    progress.SetMargin(750);
    progress.SetProgress(312);
    progress.SetStatus(StatusMode::Error, "Download:PLU...Error!");
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

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_ALL, "");
  if (argc != 2) {
    std::cerr << "usage: plumgr-screenshots OUTDIR\n";
    return 2;
  }
  const QString out_dir = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(out_dir)) {
    std::cerr << "plumgr-screenshots: cannot create " << argv[1] << "\n";
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
                        &opener);
  if (!LoadPolishSet(window.State(), set_dir.path())) {
    std::cerr << "plumgr-screenshots: cannot save the test set in " << set_dir.path().toStdString()
              << "\n";
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
  shooter.Comparison();
  shooter.RunningDownload();
  shooter.ErrorReport();
  return shooter.Failed() ? 1 : 0;
}
