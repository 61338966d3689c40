#include "ui/data_range_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

namespace {

bool Allowed(QChar c) {
  return c.unicode() < 0x80 && BaseKeyAllowed(static_cast<char>(c.unicode()));
}

QLineEdit* MakeEdit(QWidget* parent, const char* name, const std::string& text) {
  auto* edit = new QLineEdit(QString::fromStdString(text), parent);
  edit->setObjectName(name);
  return edit;
}

}  // namespace

BaseAddressValidator::BaseAddressValidator(QObject* parent, std::function<void()> refused)
    : QValidator(parent), refused_(std::move(refused)) {}

QValidator::State BaseAddressValidator::validate(QString& input, int& position) const {
  QString kept;
  int kept_before_cursor = 0;
  for (int i = 0; i < input.size(); ++i) {
    if (!Allowed(input[i])) continue;
    kept += input[i];
    if (i < position) ++kept_before_cursor;
  }
  if (kept.size() != input.size()) {
    input = kept;
    position = kept_before_cursor;
    if (refused_) refused_();
  }
  return Acceptable;
}

DataRangeDialog::DataRangeDialog(QWidget* parent, const MemoryRangeModel& model, UiPort& ui)
    : QDialog(parent) {
  setObjectName("DataDlg");
  setWindowTitle(tr("Data range"));

  // Only hexadecimal digits can be stored, so the field keeps nothing else.
  std::string base;
  for (char c : model.BaseText)
    if (BaseKeyAllowed(c)) base += c;
  base_ = MakeEdit(this, "Edit1", base);
  base_->setValidator(new BaseAddressValidator(base_, [&ui] { ui.Beep(); }));
  count_ = MakeEdit(this, "Edit2", model.CountText);

  auto* kind_box = new QGroupBox(this);
  kind_box->setObjectName("RadioGroup1");
  auto* kind_row = new QHBoxLayout(kind_box);
  kind_ = new QButtonGroup(this);
  const QStringList kinds = {tr("ROM"), tr("RAM")};
  for (int i = 0; i < kinds.size(); ++i) {
    auto* button = new QRadioButton(kinds[i], kind_box);
    kind_row->addWidget(button);
    kind_->addButton(button, i);
  }
  if (QAbstractButton* chosen = kind_->button(model.KindIndex == 1 ? 1 : 0))
    chosen->setChecked(true);

  QDialogButtonBox* buttons = MakeOkCancel(this);

  auto* form = new QFormLayout;
  form->addRow(MakeNamedLabel(this, "Label1", tr("&Base addr(hex):"), base_), base_);
  form->addRow(MakeNamedLabel(this, "Label2", tr("Package &count::"), count_), count_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(kind_box);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  base_->setFocus();
  base_->selectAll();
  RegisterLanguageWindow(this);
  // The caller's caption of this use, whatever the file gave the design one.
  setWindowTitle(InterfaceText(model.Caption));
}

MemoryRangeModel DataRangeDialog::Fields(const MemoryRangeModel& model) const {
  MemoryRangeModel fields = model;
  fields.BaseText = base_->text().toStdString();
  // The core converts the count; a character beyond Latin-1 becomes '?', which
  // no number holds, so it still fails to convert.
  fields.CountText = count_->text().toLatin1().toStdString();
  fields.KindIndex = kind_->checkedId() == 1 ? 1 : 0;
  return fields;
}

bool ShowDataRangeDialog(QWidget* parent, MemoryRangeModel& model, UiPort& ui) {
  DataRangeDialog dialog(parent, model, ui);
  if (dialog.exec() != QDialog::Accepted) return false;
  model = dialog.Fields(model);
  return true;
}

}  // namespace plumgr::ui
