#include "ui/hidden_keys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

namespace plumgr::ui {
namespace {

// The X11 modifier bits of Caps Lock and Num Lock in a key event's native state.
constexpr quint32 kX11LockMask = 0x02;
constexpr quint32 kX11NumLockMask = 0x10;

bool IsOurs(QObject* watched, QWidget* window) {
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget != nullptr && widget->window() == window;
}

}  // namespace

std::optional<HiddenKey> HiddenKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  if (!modifiers.testFlag(Qt::ControlModifier) || !modifiers.testFlag(Qt::AltModifier))
    return std::nullopt;
  switch (key) {
    case Qt::Key_F3:
      return HiddenKey::TestData;
    case Qt::Key_F4:
      return HiddenKey::ParameterDownload;
    case Qt::Key_F6:
      return HiddenKey::MemoryDump;
    default:
      return std::nullopt;
  }
}

HiddenKeyFilter::HiddenKeyFilter(QWidget* window, std::function<void(HiddenKey)> act)
    : QObject(window), window_(window), act_(std::move(act)) {}

bool HiddenKeyFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
  if (!IsOurs(watched, window_)) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::KeyPress) NoteLocks(key->nativeModifiers());
  const std::optional<HiddenKey> hidden = HiddenKeyOf(key->key(), key->modifiers());
  if (!hidden) return false;
  // Overriding the shortcut keeps any menu shortcut from taking the key; the
  // key press that follows is the command.
  event->accept();
  if (type == QEvent::KeyPress) act_(*hidden);
  return true;
}

void HiddenKeyFilter::NoteLocks(quint32 native_modifiers) {
  if (QGuiApplication::platformName() != "xcb") return;
  const bool caps = (native_modifiers & kX11LockMask) != 0;
  const bool num = (native_modifiers & kX11NumLockMask) != 0;
  if (caps == caps_lock_ && num == num_lock_) return;
  caps_lock_ = caps;
  num_lock_ = num;
  if (locks_changed_) locks_changed_();
}

}  // namespace plumgr::ui
