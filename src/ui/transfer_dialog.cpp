#include "ui/transfer_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/register_commands.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

namespace {

constexpr int kRangeDigits = 5;

QSpinBox* MakeRangeEdit(QWidget* parent, const char* name, int maximum, int value) {
  auto* edit = new QSpinBox(parent);
  edit->setObjectName(name);
  edit->setRange(1, maximum);
  edit->setValue(value);
  edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kRangeDigits + 3, '9')));
  return edit;
}

}  // namespace

TransferSelectionDialog::TransferSelectionDialog(QWidget* parent, TransferDialogModel& model,
                                                 UiPort& ui)
    : QDialog(parent, Qt::Tool), model_(model), ui_(ui) {
  setObjectName(model.Caption == kUploadDialogCaption    ? "UploadDlg"
                : model.Caption == kCompareDialogCaption ? "CompareRangeDlg"
                                                         : "DownloadDlg");
  setWindowTitle(InterfaceText(model.Caption));

  kinds_ = new QListWidget(this);
  kinds_->setObjectName("CheckListBox1");
  for (std::size_t i = 0; i < model.KindNames.size(); ++i) {
    auto* item = new QListWidgetItem(InterfaceText(model.KindNames[i]), kinds_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    const bool checked = i < model.Checked.size() && model.Checked[i];
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  if (kinds_->count() > 0) kinds_->setCurrentRow(0);

  // A model not yet opened by its command has no maximum: the widest range then.
  const int maximum = model.Maximum > 0 ? model.Maximum : kMaxPluNumber;
  from_ = MakeRangeEdit(this, "RangeBeginEdit", maximum, model.From);
  to_ = MakeRangeEdit(this, "RangeEndEdit", maximum, model.To);
  auto* range = new QGroupBox(tr("PLU range"), this);
  range->setObjectName("PLURangeGroupBox");
  auto* range_grid = new QGridLayout(range);
  range_grid->addWidget(MakeNamedLabel(range, "Label1", tr("&From:"), from_), 0, 0);
  range_grid->addWidget(from_, 0, 1);
  range_grid->addWidget(MakeNamedLabel(range, "Label2", tr("&To:"), to_), 1, 0);
  range_grid->addWidget(to_, 1, 1);
  range_grid->addWidget(MakeNamedLabel(range, "Label3", tr("PLU No."), nullptr), 0, 2, 2, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(kinds_, 1);
  layout->addWidget(range);
  // Made before the buttons, so that Tab reaches it between the range and OK.
  if (model.OffersRegisterChecks) {
    backup_ = new QCheckBox(tr("&Back up the register's data first"), this);
    backup_->setObjectName("BackupChk");
    backup_->setChecked(model.BackupFirst);
    layout->addWidget(backup_);
  }
  QDialogButtonBox* buttons = MakeOkCancel(this);
  if (model.OffersRegisterChecks) {
    QPushButton* compare = buttons->addButton(tr("&Compare..."), QDialogButtonBox::ActionRole);
    compare->setObjectName("CompareBtn");
    connect(compare, &QPushButton::clicked, this, &TransferSelectionDialog::CompareFirst);
  }
  layout->addWidget(buttons);
  kinds_->setFocus();
  RegisterLanguageWindow(this);
}

void TransferSelectionDialog::Store() {
  // Text typed into a spinner counts even when Enter was pressed inside it.
  from_->interpretText();
  to_->interpretText();
  model_.From = from_->value();
  model_.To = to_->value();
  model_.Checked.assign(static_cast<std::size_t>(kinds_->count()), false);
  for (int i = 0; i < kinds_->count(); ++i)
    model_.Checked[static_cast<std::size_t>(i)] = kinds_->item(i)->checkState() == Qt::Checked;
  if (backup_) model_.BackupFirst = backup_->isChecked();
}

void TransferSelectionDialog::CompareFirst() {
  model_.CompareFirst = true;
  accept();
  if (result() != QDialog::Accepted) model_.CompareFirst = false;
}

void TransferSelectionDialog::accept() {
  Store();
  if (!AcceptTransferDialog(model_, ui_)) {
    from_->setFocus();
    return;
  }
  QDialog::accept();
}

bool ShowTransferDialog(QWidget* parent, TransferDialogModel& model, UiPort& ui) {
  TransferSelectionDialog dialog(parent, model, ui);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace plumgr::ui
