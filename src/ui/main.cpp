// plumgr: the desktop program on the same core as plumgr-cli.

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "app/service_commands.h"
#include "data/definitions.h"
#include "ui/demo_session.h"
#include "ui/headless_round_trip.h"
#include "ui/main_window.h"
#include "ui/qt_translations.h"

namespace {

bool HasArgument(int argc, char** argv, const char* name) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], name) == 0) return true;
  return false;
}

bool HasDisplay() {
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace plumgr;
  // The headless check needs no display; the platform is chosen before the
  // application starts.
  if (HasArgument(argc, argv, "--headless-round-trip") && !HasDisplay())
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  QApplication::setApplicationName("plumgr");
  std::setlocale(LC_ALL, "");
  ui::InstallQtTranslations(QLocale::system());

  QCommandLineParser parser;
  parser.setApplicationDescription("PLU Manager: the TR-88 register's data on the PC");
  parser.addHelpOption();
  const QCommandLineOption settings("settings", "use FILE instead of the default SYSTEM.CFG",
                                    "FILE");
  const QCommandLineOption dump_dir("dump-dir", "directory for the diagnostic dumps", "DIR");
  const QCommandLineOption language(
      "language", "use the interface language FILE instead of plumgr.LNG", "FILE");
  const QCommandLineOption demo("demo",
                                "start against a simulated register with the test data loaded");
  const QCommandLineOption headless(
      "headless-round-trip",
      "with --demo: download the test data and upload it back without a window; exit 0 when "
      "it came back unchanged");
  const QCommandLineOption hot_key(
      "hot-key", "open the hot-key layout designer over the main window (service work)");
  parser.addOptions({settings, dump_dir, language, demo, headless, hot_key});
  parser.process(app);

  StartUpOptions options{parser.value(settings).toStdString(), parser.value(dump_dir).toStdString(),
                         LocaleDecimalSeparator()};
  std::unique_ptr<ui::DemoSession> session;
  if (parser.isSet(demo)) {
    QString error;
    // The headless check starts from an empty register so that nothing is
    // redirected, and does not wait for the line's speed.
    ui::DemoOptions demo_options;
    if (parser.isSet(headless)) demo_options = {true, 0};
    session = ui::DemoSession::Start(demo_options, &error);
    if (!session) {
      std::cerr << "plumgr: " << error.toStdString() << "\n";
      return 1;
    }
    options.SettingsOverride = session->SettingsPath();
    if (options.DumpDirOverride.empty()) options.DumpDirOverride = session->DumpDir();
  } else if (parser.isSet(headless)) {
    std::cerr << "plumgr: --headless-round-trip goes with --demo\n";
    return 2;
  }

  ui::MainWindow window(options, nullptr, parser.value(language).toStdString());
  if (session) {
    // Generated data: nothing to save when the demo ends.
    FillTestData(window.State());
    window.State().SetModified(false);
    window.ShowState();
  }
  if (parser.isSet(headless)) return ui::RunHeadlessRoundTrip(window, std::cout) ? 0 : 1;
  window.showMaximized();
  if (parser.isSet(hot_key)) window.OpenHotKeyEditor();
  return QApplication::exec();
}
