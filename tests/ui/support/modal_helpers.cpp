#include "ui/support/modal_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <memory>

namespace plumgr::test {

namespace {
constexpr int kPollMs = 5;
}

struct ModalWatcher::Impl {
  QTimer timer;
  QPointer<QWidget> last;
  bool done = false;
  int waited = 0;
};

ModalWatcher::ModalWatcher(std::function<bool(QWidget*)> act, int timeout_ms) : impl_(new Impl) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this, act, timeout_ms] {
    impl_->waited += kPollMs;
    if (impl_->waited > timeout_ms) impl_->timer.stop();
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == impl_->last || !modal->isVisible()) return;
    impl_->last = modal;
    // The act may open its own loop (clicking OK); the timer must not re-enter.
    impl_->timer.stop();
    if (act(modal)) {
      impl_->done = true;
      return;
    }
    impl_->timer.start();
  });
  impl_->timer.start(kPollMs);
}

ModalWatcher::~ModalWatcher() {
  delete impl_;
}

bool ModalWatcher::Done() const {
  return impl_->done;
}

MessageBoxAnswers::MessageBoxAnswers(std::vector<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers)), watcher_([this](QWidget* widget) {
        auto* box = qobject_cast<QMessageBox*>(widget);
        if (box == nullptr || texts_.size() >= answers_.size()) return false;
        texts_.push_back(box->text().toStdString());
        QAbstractButton* button = box->button(answers_[texts_.size() - 1]);
        QTimer::singleShot(0, button, &QAbstractButton::click);
        return texts_.size() == answers_.size();
      }) {}

std::unique_ptr<ModalWatcher> ChooseFile(const QString& path) {
  return std::make_unique<ModalWatcher>([path](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    if (dialog == nullptr) return false;
    QTimer::singleShot(0, dialog, [dialog, path] {
      if (path.isEmpty()) {
        dialog->reject();
        return;
      }
      // The dialog takes a name typed into its folder, as a person types it.
      const QFileInfo file(path);
      dialog->setDirectory(file.absolutePath());
      if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
        name->setText(file.fileName());
      else
        dialog->selectFile(file.fileName());
      QMetaObject::invokeMethod(dialog, "accept");
    });
    return true;
  });
}

struct Poller::Impl {
  QTimer timer;
};

Poller::Poller(std::function<bool()> act) : impl_(new Impl) {
  QObject::connect(&impl_->timer, &QTimer::timeout, [this, act] {
    impl_->timer.stop();
    if (!act()) impl_->timer.start();
  });
  impl_->timer.start(kPollMs);
}

Poller::~Poller() {
  delete impl_;
}

}  // namespace plumgr::test
