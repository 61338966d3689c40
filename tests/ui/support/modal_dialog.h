#pragma once
// Modal dialogs run their own event loop, so a test acts on them from a timer
// that finds them by objectName once they are shown.

#include <QString>
#include <QWidget>
#include <functional>

namespace plumgr::test {

// Runs `action` on the visible top-level widget named `name` as soon as one is
// shown; a test failure when none is within `timeout_ms`.
void WhenShown(const QString& name, std::function<void(QWidget* window)> action,
               int timeout_ms = 5000);

QWidget* FindChildWidget(QWidget* window, const QString& name);

// Steers the system print dialog to "Print to File (PDF)" into `pdf` and
// accepts it, as an operator would; rejects it when its controls are missing.
void PrintToPdfFile(QWidget* print_dialog, const QString& pdf);

// The child named `name`; a test failure (and null) when there is none.
template <typename T>
T* Child(QWidget* window, const QString& name) {
  return qobject_cast<T*>(FindChildWidget(window, name));
}

}  // namespace plumgr::test
