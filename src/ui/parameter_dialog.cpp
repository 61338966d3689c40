#include "ui/parameter_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "data/language_names.h"
#include "ui/display_text.h"
#include "ui/editor_fields.h"
#include "ui/window_texts.h"

namespace plumgr::ui {
namespace {

constexpr int kVisibleHeight = 460;
constexpr int kBarcodeRows = 5;

QString Numbered(const char* name, int n) {
  return QString(name) + QString::number(n);
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const QString& title) {
  auto* group = new QGroupBox(title, parent);
  group->setObjectName(name);
  return group;
}

// The flag's caption as the table of built-in texts holds it.
QString FlagCaption(FlagBit flag) {
  const KnownComponent* known = FindKnownComponent("ParaDlg", FlagName(flag));
  return known != nullptr ? InterfaceText(known->Caption) : QString::fromStdString(FlagName(flag));
}

}  // namespace

ParameterDialog::ParameterDialog(const std::string& settings_path, char separator, UiPort& ui,
                                 QWidget* parent)
    : QDialog(parent), model_(settings_path, separator), separator_(separator), ui_(ui) {
  setObjectName("ParaDlg");
  setWindowTitle(tr("Parameter"));

  auto* content = new QWidget;
  auto* groups = new QVBoxLayout(content);
  groups->addWidget(BuildGeneral());
  groups->addWidget(BuildClerks());
  groups->addWidget(BuildBarcodeTypes());
  groups->addWidget(BuildTails());
  groups->addStretch();
  auto* scroll = new QScrollArea(this);
  scroll->setObjectName("ScrollBox1");
  scroll->setWidget(content);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  QDialogButtonBox* buttons = MakeOkCancel(this, "BitBtn1", "BitBtn2");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addWidget(buttons);

  // Ctrl+Alt+F3 (Shift not looked at) shows the contrast spin.
  for (QKeySequence keys : {QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_F3),
                            QKeySequence(Qt::CTRL | Qt::ALT | Qt::SHIFT | Qt::Key_F3)}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
      model_.RevealLcdDark();
      ShowVisibility();
    });
  }

  RegisterLanguageWindow(this);
  ShowVisibility();
  // Fixed size: the groups' width, the height of a screenful of fields.
  const int width = content->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width() +
                    2 * scroll->frameWidth() + layout->contentsMargins().left() +
                    layout->contentsMargins().right();
  setFixedSize(width, kVisibleHeight);
}

QWidget* ParameterDialog::BuildGeneral() {
  QGroupBox* group = MakeGroup(this, "GroupBox1", {});
  auto* grid = new QGridLayout(group);
  discount_ = MakeRateField(group, "DecRateME", separator_);
  surcharge_ = MakeRateField(group, "IncRateME", separator_);
  print_speed_ = MakeArrowSpin(group, "PrnSpeedSE", kPrintSpeedMin, kPrintSpeedMax);
  lcd_dark_ = MakeArrowSpin(group, "LcdDarkSE", kLcdDarkMin, kLcdDarkMax);
  lcd_dark_label_ = MakeNamedLabel(group, "Label4", tr("Lcd dark:"), lcd_dark_);
  grid->addWidget(MakeNamedLabel(group, "Label1", tr("-% rate:"), discount_), 0, 0);
  grid->addWidget(discount_, 0, 1);
  grid->addWidget(MakeNamedLabel(group, "Label2", tr("+% rate:"), surcharge_), 1, 0);
  grid->addWidget(surcharge_, 1, 1);
  grid->addWidget(MakeNamedLabel(group, "Label3", tr("Print speed:"), print_speed_), 2, 0);
  grid->addWidget(print_speed_, 2, 1);
  grid->addWidget(lcd_dark_label_, 3, 0);
  grid->addWidget(lcd_dark_, 3, 1);
  grid->setColumnStretch(2, 1);

  int row = 4;
  for (FlagBit flag : ShownFlags()) {
    auto* box = new QCheckBox(FlagCaption(flag), group);
    box->setObjectName(QString::fromStdString(FlagName(flag)));
    grid->addWidget(box, row++, 0, 1, 3);
    flags_.emplace_back(flag, box);
    connect(box, &QCheckBox::toggled, this, [this, flag](bool on) {
      model_.SetFlag(flag, on);
      ShowVisibility();
    });
    if (flag.Byte != 0 || flag.Bit != 1) continue;
    // The scale speed belongs to "Corla" and shows below it while it is ticked.
    scale_baud_ = new QComboBox(group);
    scale_baud_->setObjectName("BaudComboBox");
    for (const char* rate : kScaleBaudRates)
      scale_baud_->addItem(rate);
    scale_baud_label_ = MakeNamedLabel(group, "Label6", tr("Corla Scale Baud Rate"), scale_baud_);
    grid->addWidget(scale_baud_label_, row, 0);
    grid->addWidget(scale_baud_, row++, 1);
  }
  return group;
}

QWidget* ParameterDialog::BuildClerks() {
  QGroupBox* group = MakeGroup(this, "GroupBox2", {});
  auto* grid = new QGridLayout(group);
  const auto limit = [] { return kClerkTextLimit; };
  for (int n = 1; n <= kClerkCount; ++n) {
    auto* name = new StoredTextField(group, Numbered("ClerkNameEd", n), limit, ui_);
    auto* password = new StoredTextField(group, Numbered("ClerkPWDEd", n), limit, ui_);
    QLabel* clerk =
        MakeNamedLabel(group, Numbered("ClerkLBL", n).toLatin1(), "Clerk" + QString::number(n));
    QFont bold = clerk->font();
    bold.setBold(true);
    clerk->setFont(bold);
    const int row = n - 1;
    grid->addWidget(clerk, row, 0);
    grid->addWidget(
        MakeNamedLabel(group, Numbered("ClerkNameLBL", n).toLatin1(), tr("Name:"), name), row, 1);
    grid->addWidget(name, row, 2);
    grid->addWidget(
        MakeNamedLabel(group, Numbered("ClerkPWDLBL", n).toLatin1(), tr("Password:"), password),
        row, 3);
    grid->addWidget(password, row, 4);
    clerk_names_[n - 1] = name;
    clerk_passwords_[n - 1] = password;
  }
  return group;
}

QWidget* ParameterDialog::BuildBarcodeTypes() {
  QGroupBox* group = MakeGroup(this, "GroupBox3", tr("&Barcode type"));
  auto* grid = new QGridLayout(group);
  for (int n = 1; n <= kBarcodeTypeCount; ++n) {
    QSpinBox* spin = MakeArrowSpin(group, Numbered("BCodeSE", n), kBarcodeTypeMin, kBarcodeTypeMax);
    const int row = (n - 1) % kBarcodeRows;
    const int col = (n - 1) / kBarcodeRows * 2;
    grid->addWidget(MakeNamedLabel(group, Numbered("BCodeLBL", n).toLatin1(),
                                   QString::number(19 + n) + ":", spin),
                    row, col);
    grid->addWidget(spin, row, col + 1);
    barcode_types_[n - 1] = spin;
  }
  grid->setColumnStretch(4, 1);
  return group;
}

QWidget* ParameterDialog::BuildTails() {
  QGroupBox* group = MakeGroup(this, "GroupBox4", tr("&Tail message"));
  auto* grid = new QGridLayout(group);
  for (int n = 1; n <= kTailCount; ++n) {
    auto* tail = new StoredTextField(
        group, Numbered("TailEd", n), [] { return kTailTextLimit; }, ui_);
    grid->addWidget(
        MakeNamedLabel(group, Numbered("TailLBL", n).toLatin1(), QString::number(n) + ":", tail),
        n - 1, 0);
    grid->addWidget(tail, n - 1, 1);
    tails_[n - 1] = tail;
  }
  // The receipt's tail lines are not edited here; they pass through unchanged.
  group->hide();
  return group;
}

bool ParameterDialog::Edit() {
  const FileResult loaded = model_.Load();
  if (!loaded) ui_.ShowError(loaded.Message);
  ShowValues();
  discount_->setFocus();
  discount_->setCursorPosition(0);
  return exec() == QDialog::Accepted;
}

void ParameterDialog::ShowValues() {
  const ParameterValues& v = model_.Values();
  discount_->setText(DisplayText(v.DiscountRate));
  surcharge_->setText(DisplayText(v.SurchargeRate));
  print_speed_->setValue(v.PrintSpeed);
  lcd_dark_->setValue(v.LcdDark);
  for (auto& [flag, box] : flags_) {
    const QSignalBlocker block(box);
    box->setChecked(v.Flags[flag.Byte][flag.Bit]);
  }
  for (int n = 1; n <= kClerkCount; ++n) {
    clerk_names_[n - 1]->ShowStored(v.ClerkNames[n - 1]);
    clerk_passwords_[n - 1]->ShowStored(v.ClerkPasswords[n - 1]);
  }
  for (int n = 1; n <= kTailCount; ++n)
    tails_[n - 1]->ShowStored(v.Tails[n - 1]);
  for (int n = 1; n <= kBarcodeTypeCount; ++n)
    barcode_types_[n - 1]->setValue(v.BarcodeTypes[n - 1]);
  scale_baud_->setCurrentIndex(v.ScaleBaudIndex.value_or(-1));
  ShowVisibility();
}

void ParameterDialog::ShowVisibility() {
  scale_baud_->setVisible(model_.ScaleBaudVisible());
  scale_baud_label_->setVisible(model_.ScaleBaudVisible());
  lcd_dark_->setVisible(model_.LcdDarkVisible());
  lcd_dark_label_->setVisible(model_.LcdDarkVisible());
}

void ParameterDialog::TakeValues() {
  (void)model_.SetDiscountRate(RateFieldShown(*discount_));
  (void)model_.SetSurchargeRate(RateFieldShown(*surcharge_));
  model_.SetPrintSpeed(print_speed_->value());
  model_.SetLcdDark(lcd_dark_->value());
  for (const auto& [flag, box] : flags_)
    model_.SetFlag(flag, box->isChecked());
  ParameterValues& v = model_.Edit();
  for (int n = 1; n <= kClerkCount; ++n) {
    v.ClerkNames[n - 1] = clerk_names_[n - 1]->Stored();
    v.ClerkPasswords[n - 1] = clerk_passwords_[n - 1]->Stored();
  }
  for (int n = 1; n <= kBarcodeTypeCount; ++n)
    model_.SetBarcodeType(n, barcode_types_[n - 1]->value());
  // A list that selects nothing keeps the stored speed.
  if (scale_baud_->currentIndex() >= 0) model_.SetScaleBaudIndex(scale_baud_->currentIndex());
}

void ParameterDialog::accept() {
  TakeValues();
  if (StoredOrRefused(this, ui_, model_.Save())) QDialog::accept();
}

}  // namespace plumgr::ui
