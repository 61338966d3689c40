#include "ui/settings_editor_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/display_text.h"
#include "ui/editor_fields.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

QString Numbered(const char* name, int n) {
  return QString(name) + QString::number(n);
}

// OK and Cancel below the group; the dialog keeps the size its fields need.
void FinishLayout(QDialog* dialog, QGroupBox* group) {
  QDialogButtonBox* buttons = MakeOkCancel(dialog);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(group);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

VatRateDialog::VatRateDialog(const std::string& settings_path, char separator, UiPort& ui,
                             QWidget* parent)
    : QDialog(parent), model_(settings_path, separator), ui_(ui) {
  setObjectName("VatrateFrm");
  setWindowTitle(tr("VAT Rate"));
  auto* group = new QGroupBox(tr("&VAT Rate"), this);
  group->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(group);
  for (int n = 1; n <= kVatRateCount; ++n) {
    QLineEdit* rate = MakeRateField(group, Numbered("VATME", n), separator);
    const QString letter(QChar::fromLatin1(static_cast<char>('A' + n - 1)));
    grid->addWidget(MakeNamedLabel(group, Numbered("Label", n).toLatin1(), letter + ":", rate),
                    n - 1, 0);
    grid->addWidget(rate, n - 1, 1);
    grid->addWidget(MakeNamedLabel(group, Numbered("PercentLBL", n).toLatin1(), "%"), n - 1, 2);
    rates_[n - 1] = rate;
  }
  tax_free_ = new QComboBox(group);
  tax_free_->setObjectName("TaxFreeCB");
  for (int i = 0; i < kVatRateCount; ++i)
    tax_free_->addItem(QString::fromStdString(TaxFreeItem(i)));
  grid->addWidget(MakeNamedLabel(group, "TaxFreeLBL", tr("Tax-free:"), tax_free_), kVatRateCount,
                  0);
  grid->addWidget(tax_free_, kVatRateCount, 1, 1, 2);
  connect(tax_free_, &QComboBox::currentIndexChanged, this, [this](int index) {
    model_.SetTaxFree(index);
    ShowEnabled();
  });
  FinishLayout(this, group);
  RegisterLanguageWindow(this);
}

bool VatRateDialog::Edit() {
  const FileResult loaded = model_.Load();
  if (!loaded) ui_.ShowError(loaded.Message);
  for (int n = 1; n <= kVatRateCount; ++n)
    rates_[n - 1]->setText(DisplayText(model_.Rate(n)));
  {
    const QSignalBlocker block(tax_free_);
    tax_free_->setCurrentIndex(model_.TaxFree().value_or(-1));
  }
  ShowEnabled();
  tax_free_->setFocus();
  return exec() == QDialog::Accepted;
}

void VatRateDialog::ShowEnabled() {
  for (int n = 1; n <= kVatRateCount; ++n)
    rates_[n - 1]->setEnabled(model_.RateEnabled(n));
}

void VatRateDialog::accept() {
  // The disabled field too: OK writes what every field shows.
  for (int n = 1; n <= kVatRateCount; ++n)
    (void)model_.SetRate(n, RateFieldShown(*rates_[n - 1]));
  if (StoredOrRefused(this, ui_, model_.Save())) QDialog::accept();
}

HeaderDialog::HeaderDialog(const std::string& settings_path, int header_width, UiPort& ui,
                           QWidget* parent)
    : QDialog(parent), model_(settings_path, header_width), ui_(ui) {
  setObjectName("HeaderFrm");
  setWindowTitle(tr("Header"));
  auto* group = new QGroupBox(tr("&Header message"), this);
  group->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(group);
  for (int n = 1; n <= kHeaderCount; ++n) {
    auto* line = new StoredTextField(
        group, Numbered("HeaderEd", n), [this, n] { return model_.MaxLength(n); }, ui_);
    // Room for a whole plain line.
    line->setMinimumWidth(line->fontMetrics().horizontalAdvance(QString(header_width, 'W')) * 3 /
                          4);
    auto* bold = new QCheckBox(tr("Bold"), group);
    bold->setObjectName(Numbered("chk", n));
    connect(bold, &QCheckBox::toggled, this, [this, n, line](bool on) {
      model_.SetBold(n, on);
      line->RefreshLimit();
    });
    grid->addWidget(
        MakeNamedLabel(group, Numbered("Label", n).toLatin1(), QString::number(n) + ":", line),
        n - 1, 0);
    grid->addWidget(line, n - 1, 1);
    grid->addWidget(bold, n - 1, 2);
    lines_[n - 1] = line;
    bold_[n - 1] = bold;
  }
  FinishLayout(this, group);
  RegisterLanguageWindow(this);
}

bool HeaderDialog::Edit() {
  const FileResult loaded = model_.Load();
  if (!loaded) ui_.ShowError(loaded.Message);
  for (int n = 1; n <= kHeaderCount; ++n) {
    lines_[n - 1]->ShowStored(model_.Line(n));
    bold_[n - 1]->setChecked(model_.Bold(n));
  }
  lines_[0]->setFocus();
  return exec() == QDialog::Accepted;
}

void HeaderDialog::accept() {
  for (int n = 1; n <= kHeaderCount; ++n)
    model_.SetLine(n, lines_[n - 1]->Stored());
  if (StoredOrRefused(this, ui_, model_.Save())) QDialog::accept();
}

}  // namespace plumgr::ui
