#include "ui/window_parts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>

namespace plumgr::ui {
namespace {

constexpr int kPanelButtonWidth = 75;
constexpr int kPanelButtonHeight = 25;

}  // namespace

QLabel* MakeNamedLabel(QWidget* parent, const char* name, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

QDialogButtonBox* MakeOkCancel(QDialog* dialog, const char* ok_name, const char* cancel_name) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName(ok_name);
  ok->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel)->setObjectName(cancel_name);
  // accept and reject are virtual: a dialog's own checks on OK still run.
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QPushButton* MakePanelButton(QWidget* panel, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, panel);
  button->setObjectName(name);
  button->setFixedSize(kPanelButtonWidth, kPanelButtonHeight);
  return button;
}

void ChainTabOrder(const std::vector<QWidget*>& widgets) {
  for (std::size_t i = 1; i < widgets.size(); ++i)
    QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

void CentreOverOwner(QWidget* window) {
  QWidget* owner = window->parentWidget();
  if (owner == nullptr) return;
  QRect frame = window->geometry();
  frame.moveCenter(owner->frameGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace plumgr::ui
