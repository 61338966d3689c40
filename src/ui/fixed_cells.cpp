#include "ui/fixed_cells.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace plumgr::ui {

QVariant FixedCellLook(int role) {
  if (role == Qt::ForegroundRole) return QColor(Qt::darkBlue);
  if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
  return {};
}

QVariant NumberCell(int number, int role) {
  if (role == Qt::DisplayRole) return number;
  if (role == Qt::BackgroundRole) return QApplication::palette().button();
  return FixedCellLook(role);
}

}  // namespace plumgr::ui
