#pragma once
// "plumgr --demo": a simulated register (the ecrsim program beside this one) on
// a pseudo-terminal in a private temporary folder, and a private settings file
// whose COM2 leads to it. The register stops when the session ends.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <string>

namespace plumgr::ui {

struct DemoOptions {
  // Move bytes at once instead of at the line's speed (the headless check).
  bool NoLineRate = false;
  // Test items the register holds at the start. None by default: the window
  // holds the test set, and a register that already held items of the same
  // names would greet the first download with a repeat report.
  int RegisterItems = 0;
};

class DemoSession {
 public:
  // Starts the simulated register; on failure nothing and *error says why.
  static std::unique_ptr<DemoSession> Start(const DemoOptions& options, QString* error);
  ~DemoSession();
  DemoSession(const DemoSession&) = delete;
  DemoSession& operator=(const DemoSession&) = delete;

  std::string SettingsPath() const;
  std::string DumpDir() const;
  // The register's JSON log of every frame it received.
  std::string FrameLogPath() const;

 private:
  DemoSession() = default;
  bool Launch(const DemoOptions& options, QString* error);

  QTemporaryDir dir_;
  QProcess sim_;
};

// ecrsim beside the running program (an installed bindir), or in the build
// tree's src/sim beside src/ui; empty when there is none.
QString FindSimulator();

}  // namespace plumgr::ui
