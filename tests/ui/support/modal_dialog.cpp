#include "ui/support/modal_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

namespace plumgr::test {

namespace {

constexpr int kPollMs = 10;

QWidget* VisibleWindow(const QString& name) {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->objectName() == name && window->isVisible()) return window;
  return nullptr;
}

}  // namespace

void WhenShown(const QString& name, std::function<void(QWidget*)> action, int timeout_ms) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, [=] {
    QWidget* window = VisibleWindow(name);
    if (window == nullptr && clock->elapsed() < timeout_ms) return;
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (window == nullptr) {
      ADD_FAILURE() << "no window " << name.toStdString() << " was shown";
      // Whatever dialog is open instead would wait for ever.
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      return;
    }
    action(window);
  });
  timer->start(kPollMs);
}

QWidget* FindChildWidget(QWidget* window, const QString& name) {
  QWidget* child = window ? window->findChild<QWidget*>(name) : nullptr;
  if (child == nullptr) ADD_FAILURE() << "no control " << name.toStdString();
  return child;
}

void PrintToPdfFile(QWidget* print_dialog, const QString& pdf) {
  auto* printers = print_dialog->findChild<QComboBox*>("printers");
  auto* file = print_dialog->findChild<QLineEdit*>("filename");
  auto* dialog = static_cast<QDialog*>(print_dialog);
  if (printers == nullptr || file == nullptr) {
    ADD_FAILURE() << "the print dialog has no printer list or file name";
    dialog->reject();
    return;
  }
  printers->setCurrentIndex(printers->count() - 1);  // "Print to File (PDF)"
  file->setText(pdf);
  dialog->accept();
}

}  // namespace plumgr::test
