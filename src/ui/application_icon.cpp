#include "ui/application_icon.h"

#include <QImageReader>

namespace plumgr::ui {

QIcon ApplicationIcon() {
  QIcon icon;
  icon.addFile(QStringLiteral(":/plumgr/plumgr-64.png"), QSize(64, 64));
  icon.addFile(QStringLiteral(":/plumgr/plumgr-128.png"), QSize(128, 128));
  // The drawing scales to any size where Qt's SVG image plugin is installed.
  if (QImageReader::supportedImageFormats().contains("svg"))
    icon.addFile(QStringLiteral(":/plumgr/plumgr.svg"));
  return icon;
}

}  // namespace plumgr::ui
