// The desktop program's main window against its goals: start-up to the first
// painted PLU table with its 3000 rows, resident memory after start-up, opening
// a full data file set into the visible window, and one repaint of the table.
// Start-up is timed from the start of a fresh process of this program, on the
// offscreen platform and, when there is a display, on X11.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "../support/bench_common.h"
#include "app/file_commands.h"
#include "app/file_opener.h"
#include "app/service_commands.h"
#include "data/definitions.h"
#include "ui/grid_view.h"
#include "ui/main_window.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace plumgr;
using bench::Median;

constexpr double kStartUpGoalMs = 300;
constexpr double kMemoryGoalMb = 80;
constexpr double kOpenGoalMs = 50;
constexpr double kRepaintGoalMs = 16;
constexpr int kStartUpRuns = 7;
constexpr int kOpenRuns = 15;
constexpr int kRepaintRuns = 200;

class NoOpener final : public FileOpener {
 public:
  void OpenFile(const std::string&) override {}
};

std::int64_t MonotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

void PrintFigure(const char* what, double value, const char* unit, double goal) {
  std::printf("%-58s %8.1f %-2s (goal < %.0f %s) %s\n", what, value, unit, goal, unit,
              value < goal ? "met" : "MISSED");
}

// Notes when the PLU table has first finished painting and ends the event loop.
class FirstPaint final : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || painting_ || done_ns_ != 0) return false;
    // The paint is delivered here and now, so that its end can be timed.
    painting_ = true;
    QCoreApplication::sendEvent(watched, event);
    painting_ = false;
    done_ns_ = MonotonicNs();
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    return true;
  }
  std::int64_t DoneNs() const { return done_ns_; }

 private:
  bool painting_ = false;
  std::int64_t done_ns_ = 0;
};

// The start-up as the program runs it; prints when main began, when the PLU
// table was first painted, and the resident memory then.
int StartUpChild(const std::string& settings) {
  const std::int64_t main_ns = MonotonicNs();
  int argc = 1;
  char name[] = "bench_main_window";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  NoOpener opener;
  ui::MainWindow window({settings, fs::path(settings).parent_path().string(), '.'}, &opener);
  FirstPaint first_paint;
  window.PluView().viewport()->installEventFilter(&first_paint);
  window.showMaximized();
  QApplication::exec();
  std::printf("%lld %lld %ld\n", static_cast<long long>(main_ns),
              static_cast<long long>(first_paint.DoneNs()), ResidentKb());
  return 0;
}

struct StartUpFigures {
  double FromProcessMs = 0;
  double FromMainMs = 0;
  double ResidentMb = 0;
};

// Runs the start-up in fresh processes on a platform; the medians.
bool TimeStartUp(const char* self, const char* platform, const std::string& settings,
                 StartUpFigures* figures) {
  std::vector<double> from_process, from_main, resident;
  for (int run = 0; run < kStartUpRuns; ++run) {
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    setenv("QT_QPA_PLATFORM", platform, 1);
    std::string settings_arg = settings;
    char child_flag[] = "--start-up-child";
    char* args[] = {const_cast<char*>(self), child_flag, settings_arg.data(), nullptr};
    pid_t pid = 0;
    const std::int64_t spawn_ns = MonotonicNs();
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
      close(out[0]);
      return false;
    }
    std::string text;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0)
      text.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    long long main_ns = 0, paint_ns = 0;
    long rss_kb = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(text.c_str(), "%lld %lld %ld", &main_ns, &paint_ns, &rss_kb) != 3)
      return false;
    from_process.push_back(static_cast<double>(paint_ns - spawn_ns) / 1e6);
    from_main.push_back(static_cast<double>(paint_ns - main_ns) / 1e6);
    resident.push_back(static_cast<double>(rss_kb) / 1024.0);
  }
  *figures = {Median(from_process), Median(from_main), Median(resident)};
  return true;
}

// Open of a saved full set into the shown window, and repaints of its PLU table.
void TimeVisibleWindow(const fs::path& dir) {
  int argc = 1;
  char name[] = "bench_main_window";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  NoOpener opener;
  ui::MainWindow window({(dir / "SYSTEM.CFG").string(), dir.string(), '.'}, &opener);
  window.resize(1280, 800);
  window.show();
  QApplication::processEvents();

  FillTestData(window.State());
  const std::string set = (dir / "Full.PLU").string();
  if (!SaveAsName(window.State(), set)) {
    std::printf("cannot save the full set %s\n", set.c_str());
    return;
  }
  std::vector<double> opens;
  for (int run = 0; run < kOpenRuns; ++run) {
    QElapsedTimer timer;
    timer.start();
    const bool opened = OpenName(window.State(), set);
    window.ShowState();
    opens.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    if (!opened) {
      std::printf("cannot open the full set %s\n", set.c_str());
      return;
    }
    QApplication::processEvents();
  }
  PrintFigure("Open a full 3000-row set into the window (median)", Median(opens), "ms",
              kOpenGoalMs);

  QWidget* viewport = window.PluView().viewport();
  std::vector<double> repaints;
  for (int run = 0; run < kRepaintRuns; ++run) {
    QElapsedTimer timer;
    timer.start();
    viewport->repaint();
    repaints.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::printf("  (PLU table viewport %dx%d)\n", viewport->width(), viewport->height());
  PrintFigure("One full repaint of the visible PLU table (median)", Median(repaints), "ms",
              kRepaintGoalMs);
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  if (argc == 3 && std::strcmp(argv[1], "--start-up-child") == 0) return StartUpChild(argv[2]);

  const bench::ScratchDir scratch("plumgr-bench-ui");
  const fs::path& dir = scratch.Path();
  const std::string settings = (dir / "SYSTEM.CFG").string();
  // A set whose .PAR holds no settings would stop each Open at its notice.
  std::ofstream(settings) << "[Comm]\r\nPort=2\r\n[Default]\r\nVAT1=23.00\r\n";
  const char* display = std::getenv("DISPLAY");
  std::vector<const char*> platforms = {"offscreen"};
  if (display != nullptr && *display != '\0') platforms.push_back("xcb");

  const std::string self = fs::read_symlink("/proc/self/exe").string();
  for (const char* platform : platforms) {
    StartUpFigures figures;
    std::printf("Start-up, platform %s, median of %d processes:\n", platform, kStartUpRuns);
    if (!TimeStartUp(self.c_str(), platform, settings, &figures)) {
      std::printf("  the start-up process failed\n");
      continue;
    }
    PrintFigure("  process start to the first painted PLU table", figures.FromProcessMs, "ms",
                kStartUpGoalMs);
    PrintFigure("  main() to the first painted PLU table", figures.FromMainMs, "ms",
                kStartUpGoalMs);
    PrintFigure("  resident memory after start-up", figures.ResidentMb, "MB", kMemoryGoalMb);
  }

  // The window figures on the display there is, else offscreen.
  setenv("QT_QPA_PLATFORM", platforms.back(), 1);
  std::printf("Visible window, platform %s:\n", platforms.back());
  TimeVisibleWindow(dir);
  return 0;
}
