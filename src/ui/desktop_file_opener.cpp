#include "ui/desktop_file_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace plumgr::ui {

void DesktopFileOpener::OpenFile(const std::string& path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace plumgr::ui
