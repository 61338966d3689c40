#include "ui/status_panels.h"

#include <QDateTime>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>

#include "ui/qt_ui_port.h"

namespace plumgr::ui {
namespace {

constexpr int kClockIntervalMs = 1000;

QLabel* AddPanel(QStatusBar* bar, const char* name, int stretch) {
  auto* label = new QLabel(bar);
  label->setObjectName(name);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  bar->addPermanentWidget(label, stretch);
  return label;
}

}  // namespace

StatusPanels::StatusPanels(QStatusBar* bar)
    : QObject(bar),
      set_(AddPanel(bar, "SetPanel", 4)),
      port_(AddPanel(bar, "PortPanel", 1)),
      model_(AddPanel(bar, "ModelPanel", 1)),
      locks_(AddPanel(bar, "KeyLockPanel", 0)),
      clock_(AddPanel(bar, "DatePanel", 0)),
      timer_(new QTimer(this)) {
  connect(timer_, &QTimer::timeout, this, &StatusPanels::ShowClock);
  timer_->start(kClockIntervalMs);
  ShowClock();
  ShowLocks(false, false);
}

void StatusPanels::Show(const StatusTexts& texts) {
  QString set = texts.SetName.empty() ? QString("Untitled") : ToQString(texts.SetName);
  if (texts.Modified) set += " *";
  set_->setText(set);
  port_->setText(QString("%1  %2").arg(ToQString(texts.Port)).arg(texts.Baud));
  model_->setText(ToQString(texts.Model));
}

void StatusPanels::ShowLocks(bool caps, bool num) {
  locks_->setText(QString("%1 %2").arg(caps ? "CAPS" : "    ", num ? "NUM" : "   "));
}

void StatusPanels::ShowClock() {
  clock_->setText(QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
}

}  // namespace plumgr::ui
