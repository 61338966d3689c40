#include "output/print_queue.h"

#include <QProcess>

namespace plumgr {

namespace {

constexpr const char* kSpoolerCommand = "lp";
// The spooler only copies the document; a minute means it hangs.
constexpr int kSpoolerTimeoutMs = 60000;

PrintResult Failed(std::string message) {
  return PrintResult{false, std::move(message), 0};
}

std::string SpoolerMessage(QProcess& lp) {
  QByteArray text = lp.readAllStandardError().trimmed();
  if (text.isEmpty()) text = lp.readAllStandardOutput().trimmed();
  if (!text.isEmpty()) return text.toStdString();
  return std::string(kSpoolerCommand) + " ended with status " + std::to_string(lp.exitCode());
}

}  // namespace

PrintResult SubmitToPrintQueue(const std::string& document, const std::string& job_name) {
  QProcess lp;
  lp.start(QString::fromLatin1(kSpoolerCommand),
           {QStringLiteral("-t"), QString::fromStdString(job_name)});
  if (!lp.waitForStarted())
    return Failed(std::string("The print command \"") + kSpoolerCommand +
                  "\" could not be started (" + lp.errorString().toStdString() +
                  "); it comes with the package cups-client");
  lp.write(document.data(), static_cast<qint64>(document.size()));
  lp.closeWriteChannel();
  if (!lp.waitForFinished(kSpoolerTimeoutMs)) {
    lp.kill();
    lp.waitForFinished();
    return Failed(std::string("The print command \"") + kSpoolerCommand +
                  "\" did not finish within a minute");
  }
  if (lp.exitStatus() != QProcess::NormalExit || lp.exitCode() != 0)
    return Failed(SpoolerMessage(lp));
  return PrintResult{true, {}, 0};
}

}  // namespace plumgr
