#include "ui/demo_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace plumgr::ui {
namespace {

constexpr int kStartTimeoutMs = 10000;
constexpr int kStopTimeoutMs = 5000;

}  // namespace

QString FindSimulator() {
  const QDir dir(QCoreApplication::applicationDirPath());
  for (const QString& candidate : {dir.filePath("ecrsim"), dir.filePath("../sim/ecrsim")}) {
    const QFileInfo info(candidate);
    if (info.isFile() && info.isExecutable()) return info.canonicalFilePath();
  }
  return {};
}

std::unique_ptr<DemoSession> DemoSession::Start(const DemoOptions& options, QString* error) {
  std::unique_ptr<DemoSession> session(new DemoSession);
  if (!session->Launch(options, error)) return nullptr;
  return session;
}

bool DemoSession::Launch(const DemoOptions& options, QString* error) {
  const QString sim = FindSimulator();
  if (sim.isEmpty()) {
    *error = "The simulated register ecrsim was not found beside " +
             QCoreApplication::applicationFilePath();
    return false;
  }
  if (!dir_.isValid()) {
    *error = "Cannot make a temporary folder: " + dir_.errorString();
    return false;
  }
  const QString link = dir_.filePath("ecr");
  QStringList args = {"--link", link, "--log", QString::fromStdString(FrameLogPath())};
  if (options.RegisterItems > 0) args << "--fill-plus" << QString::number(options.RegisterItems);
  if (options.NoLineRate) args << "--no-line-rate";
  sim_.setProgram(sim);
  sim_.setArguments(args);
  sim_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  sim_.start();
  // ecrsim prints the path the PC opens once the line is ready.
  if (!sim_.waitForStarted(kStartTimeoutMs) || !sim_.waitForReadyRead(kStartTimeoutMs) ||
      !QFileInfo::exists(link)) {
    *error = "The simulated register did not start: " + sim_.errorString();
    return false;
  }
  QFile settings(QString::fromStdString(SettingsPath()));
  if (!settings.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    *error = "Cannot write " + settings.fileName() + ": " + settings.errorString();
    return false;
  }
  // COM2 at 115200 baud, led to the register's line.
  settings.write(("[Comm]\r\nPort=2\r\nBaudRate=4\r\nCOM2=" + link + "\r\n").toLocal8Bit());
  return true;
}

DemoSession::~DemoSession() {
  if (sim_.state() == QProcess::NotRunning) return;
  sim_.terminate();
  if (!sim_.waitForFinished(kStopTimeoutMs)) {
    sim_.kill();
    sim_.waitForFinished(kStopTimeoutMs);
  }
}

std::string DemoSession::SettingsPath() const {
  return dir_.filePath("SYSTEM.CFG").toStdString();
}

std::string DemoSession::DumpDir() const {
  return dir_.filePath("dumps").toStdString();
}

std::string DemoSession::FrameLogPath() const {
  return dir_.filePath("ecrsim.log").toStdString();
}

}  // namespace plumgr::ui
