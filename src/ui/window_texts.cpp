#include "ui/window_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <optional>
#include <vector>

#include "data/definitions.h"
#include "ui/display_text.h"

namespace plumgr::ui {
namespace {

constexpr const char* kSeparatorCaption = "-";

struct Registry {
  std::vector<QPointer<QWidget>> Windows;
  std::optional<LanguageFile> Applied;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The window a component belongs to: its nearest ancestor that is a window.
// Menus are popup windows of their own but belong to the window of their bar.
QWidget* OwnerWindow(QObject* object) {
  for (QObject* up = object->parent(); up != nullptr; up = up->parent()) {
    auto* widget = qobject_cast<QWidget*>(up);
    if (widget != nullptr && widget->isWindow() && qobject_cast<QMenu*>(widget) == nullptr)
      return widget;
  }
  return nullptr;
}

QTabWidget* TabsOfPage(QWidget* widget) {
  QWidget* stack = widget->parentWidget();
  if (qobject_cast<QStackedWidget*>(stack) == nullptr) return nullptr;
  return qobject_cast<QTabWidget*>(stack->parentWidget());
}

// One text of a component: what it shows now and how to replace it.
struct TextAccess {
  QString Now;
  std::function<void(const QString&)> Set;
};

std::optional<TextAccess> CaptionOf(QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object)) {
    const QString now = action->isSeparator() ? QString(kSeparatorCaption) : action->text();
    // A separator given another caption becomes an item with that caption.
    return TextAccess{now, [action](const QString& text) {
                        action->setSeparator(text == kSeparatorCaption);
                        if (!action->isSeparator()) action->setText(text);
                      }};
  }
  if (auto* menu = qobject_cast<QMenu*>(object))
    return TextAccess{menu->title(), [menu](const QString& text) { menu->setTitle(text); }};
  if (auto* button = qobject_cast<QAbstractButton*>(object))
    return TextAccess{button->text(), [button](const QString& text) { button->setText(text); }};
  if (auto* group = qobject_cast<QGroupBox*>(object))
    return TextAccess{group->title(), [group](const QString& text) { group->setTitle(text); }};
  if (auto* label = qobject_cast<QLabel*>(object))
    return TextAccess{label->text(), [label](const QString& text) { label->setText(text); }};
  if (auto* bar = qobject_cast<QToolBar*>(object))
    return TextAccess{bar->windowTitle(),
                      [bar](const QString& text) { bar->setWindowTitle(text); }};
  if (auto* widget = qobject_cast<QWidget*>(object)) {
    if (QTabWidget* tabs = TabsOfPage(widget)) {
      const int at = tabs->indexOf(widget);
      return TextAccess{tabs->tabText(at),
                        [tabs, at](const QString& text) { tabs->setTabText(at, text); }};
    }
  }
  return std::nullopt;
}

std::optional<TextAccess> HintOf(QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object)) {
    // An action makes up a tool tip from its text; the hint is the status tip.
    return TextAccess{action->statusTip(), [action](const QString& text) {
                        action->setStatusTip(text);
                        action->setToolTip(text);
                      }};
  }
  if (auto* widget = qobject_cast<QWidget*>(object))
    return TextAccess{widget->toolTip(),
                      [widget](const QString& text) { widget->setToolTip(text); }};
  return std::nullopt;
}

bool IsLookedUp(QObject* object, QWidget* window) {
  const QString name = object->objectName();
  if (name.isEmpty() || name.startsWith("qt_")) return false;
  if (auto* widget = qobject_cast<QWidget*>(object)) {
    if (widget->isWindow() && qobject_cast<QMenu*>(widget) == nullptr) return false;
    if (auto* button = qobject_cast<QToolButton*>(widget); button && button->defaultAction())
      return false;
  }
  return OwnerWindow(object) == window;
}

void Replace(const TextLookup& lookup, const std::string& section, const std::string& component,
             TextRole role, const std::optional<TextAccess>& access) {
  if (!access) return;
  if (std::optional<std::string> text = lookup({section, component, role, !access->Now.isEmpty()}))
    access->Set(InterfaceText(*text));
}

void ApplyFile(const LanguageFile& file, const std::vector<QPointer<QWidget>>& windows) {
  ApplyLanguage(
      file,
      [&windows](const TextLookup& lookup) {
        for (const QPointer<QWidget>& window : windows)
          if (window) ApplyWindowTexts(window, lookup);
      },
      Texts());
}

}  // namespace

void ApplyWindowTexts(QWidget* window, const TextLookup& lookup) {
  const std::string section = window->objectName().toStdString();
  Replace(lookup, section, {}, TextRole::Caption,
          TextAccess{window->windowTitle(),
                     [window](const QString& text) { window->setWindowTitle(text); }});
  for (QObject* child : window->findChildren<QObject*>()) {
    if (!IsLookedUp(child, window)) continue;
    const std::string component = child->objectName().toStdString();
    Replace(lookup, section, component, TextRole::Caption, CaptionOf(child));
    Replace(lookup, section, component, TextRole::Hint, HintOf(child));
  }
}

void RegisterLanguageWindow(QWidget* window) {
  Registry& registry = TheRegistry();
  std::erase_if(registry.Windows, [](const QPointer<QWidget>& w) { return w.isNull(); });
  registry.Windows.emplace_back(window);
  if (!registry.Applied) return;
  const LanguageFile& file = *registry.Applied;
  ApplyWindowTexts(window, [&file](const TextSlot& slot) { return file.Replacement(slot); });
}

void ApplyLanguageToWindows(const LanguageFile& file) {
  Registry& registry = TheRegistry();
  registry.Applied = file;
  ApplyFile(file, registry.Windows);
}

void ForgetLanguage() {
  TheRegistry().Applied.reset();
}

}  // namespace plumgr::ui
