// "Select ECR": the register models with one tick, OK and Close. The list is a
// view of SelectEcrModel; the command applies the highlighted line.
#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

namespace {

void ShowTicks(QListWidget& list, const SelectEcrModel& model) {
  const QSignalBlocker blocker(list);
  for (int line = 0; line < list.count(); ++line)
    list.item(line)->setCheckState(model.Ticked(line) ? Qt::Checked : Qt::Unchecked);
}

QListWidget* MakeModelList(QWidget* parent, SelectEcrModel& model) {
  auto* list = new QListWidget(parent);
  list->setObjectName("chklst1");
  for (const std::string& title : model.Titles()) {
    auto* item = new QListWidgetItem(InterfaceText(title), list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  }
  ShowTicks(*list, model);
  QObject::connect(list, &QListWidget::itemChanged, list, [list, &model](QListWidgetItem* item) {
    if (item->checkState() == Qt::Checked) model.Tick(list->row(item));
    ShowTicks(*list, model);
  });
  QObject::connect(list, &QListWidget::currentRowChanged, list,
                   [&model](int line) { model.Highlight(line); });
  QObject::connect(list, &QListWidget::itemClicked, list,
                   [list, &model](QListWidgetItem* item) { model.Highlight(list->row(item)); });
  return list;
}

}  // namespace

bool ShowSelectEcrDialog(QWidget* parent, SelectEcrModel& model) {
  QDialog dialog(parent);
  dialog.setObjectName("uSelectFrm");
  dialog.setWindowTitle(QObject::tr("Select ECR"));
  QListWidget* list = MakeModelList(&dialog, model);

  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
  ok->setObjectName("btn1");
  ok->setDefault(true);
  buttons->addButton(QObject::tr("Close"), QDialogButtonBox::RejectRole)->setObjectName("btn2");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(list);
  layout->addWidget(buttons);
  RegisterLanguageWindow(&dialog);
  dialog.setFixedSize(dialog.sizeHint());
  // Focus starts on OK: a list that takes the focus would move to its first
  // line by itself, which is not a choice the operator made.
  ok->setFocus();
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace plumgr::ui
