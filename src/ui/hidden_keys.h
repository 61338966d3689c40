#pragma once
// The service key combinations of the main window, seen before any control
// (the window previews all keys): Ctrl+Alt+F3, Ctrl+Alt+F4 and Ctrl+Alt+F6.
// Shift is not looked at. F3 and F6 alone keep their menu meaning.

#include <QObject>
#include <functional>
#include <optional>

class QWidget;

namespace plumgr::ui {

enum class HiddenKey { TestData, ParameterDownload, MemoryDump };

std::optional<HiddenKey> HiddenKeyOf(int key, Qt::KeyboardModifiers modifiers);

// Installed on the application; acts on keys meant for a widget of `window`.
class HiddenKeyFilter final : public QObject {
  Q_OBJECT
 public:
  HiddenKeyFilter(QWidget* window, std::function<void(HiddenKey)> act);

  // The keyboard lock states as the last key event carried them (X11 only).
  bool CapsLock() const { return caps_lock_; }
  bool NumLock() const { return num_lock_; }
  void SetLocksChanged(std::function<void()> changed) { locks_changed_ = std::move(changed); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void NoteLocks(quint32 native_modifiers);

  QWidget* window_;
  std::function<void(HiddenKey)> act_;
  std::function<void()> locks_changed_;
  bool caps_lock_ = false;
  bool num_lock_ = false;
};

}  // namespace plumgr::ui
