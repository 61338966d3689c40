#include "ui/comm_setting_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "data/definitions.h"
#include "ui/dialogs.h"
#include "ui/display_text.h"
#include "ui/window_parts.h"
#include "ui/window_texts.h"

namespace plumgr::ui {

namespace {

constexpr int kPortCount = 4;

const SerialPortInfo* FindPresent(const std::string& device,
                                  const std::vector<SerialPortInfo>& present) {
  for (const SerialPortInfo& port : present) {
    if (port.Device == device) return &port;
    if (std::find(port.StableNames.begin(), port.StableNames.end(), device) !=
        port.StableNames.end())
      return &port;
  }
  return nullptr;
}

QString DeviceText(const SerialPortInfo& port) {
  QString text = QString::fromStdString(port.Device);
  if (!port.StableNames.empty()) {
    const std::string id = std::filesystem::path(port.StableNames.front()).filename().string();
    text += " (" + QString::fromStdString(id) + ")";
  }
  return text;
}

QString DevicesFoundText(const std::vector<SerialPortInfo>& present) {
  if (present.empty()) return QObject::tr("No serial device found on this computer.");
  QStringList lines;
  for (const SerialPortInfo& port : present)
    lines << DeviceText(port);
  return QObject::tr(
             "Serial devices found: %1.\n"
             "[Comm] COM1 to COM4 in SYSTEM.CFG lead a port to another device.")
      .arg(lines.join(", "));
}

// A radio group of `items` in `columns`, item i as button id i.
QGroupBox* MakeRadioGroup(QWidget* parent, const char* name, const QString& title,
                          const QStringList& items, int columns, QButtonGroup* group) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* grid = new QGridLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], box);
    grid->addWidget(button, i / columns, i % columns);
    group->addButton(button, i);
  }
  return box;
}

QStringList BaudRateItems() {
  QStringList items;
  for (int rate : BaudRateTable)
    items << QString::number(rate);
  return items;
}

}  // namespace

QString PortChoiceText(int port_index, const PortSettingLookup& lookup,
                       const std::vector<SerialPortInfo>& present) {
  if (port_index <= 0) return QObject::tr("None");
  const std::string name = "COM" + std::to_string(port_index);
  const ResolvedPort resolved = ResolvePortName(name, lookup);
  if (!resolved) return QString::fromStdString(name + ": " + resolved.Error);
  QString text = QString::fromStdString(name) + " = ";
  if (const SerialPortInfo* port = FindPresent(resolved.Device, present))
    return text + DeviceText(*port);
  text += QString::fromStdString(resolved.Device);
  std::error_code error;
  if (!std::filesystem::exists(resolved.Device, error)) text += QObject::tr(" (not present)");
  return text;
}

CommSettingDialog::CommSettingDialog(QWidget* parent, const PortSettingLookup& lookup,
                                     const std::vector<SerialPortInfo>& present)
    : QDialog(parent) {
  setObjectName("CommDlg");
  setWindowTitle(tr("Communication setting"));

  baud_ = new QButtonGroup(this);
  QGroupBox* baud_box =
      MakeRadioGroup(this, "BaudRateRG", tr("&Baud rate"), BaudRateItems(), 2, baud_);
  // The link's framing is fixed (no parity, one stop bit); these groups only show it.
  auto* parity = new QButtonGroup(this);
  QGroupBox* parity_box = MakeRadioGroup(this, "ParityRG", tr("&Parity"),
                                         {"None", "Odd", "Even", "Mark", "Space"}, 1, parity);
  parity->button(0)->setChecked(true);
  parity_box->setEnabled(false);
  auto* stop_bits = new QButtonGroup(this);
  QGroupBox* stop_box =
      MakeRadioGroup(this, "StopBitsRG", tr("&StopBits"), {"1", "1.5", "2"}, 3, stop_bits);
  stop_bits->button(0)->setChecked(true);
  stop_box->setEnabled(false);

  port_ = new QComboBox(this);
  port_->setObjectName("PortCB");
  for (int i = 0; i <= kPortCount; ++i)
    port_->addItem(PortChoiceText(i, lookup, present));
  auto* port_label = new QLabel(tr("P&ort:"), this);
  port_label->setObjectName("PortLabel");
  port_label->setBuddy(port_);
  auto* devices = new QLabel(DevicesFoundText(present), this);
  devices->setObjectName("DevicesLabel");
  devices->setWordWrap(true);

  code_page_ = new QComboBox(this);
  code_page_->setObjectName("CodePageCB");
  for (CodePageId page : kCodePages)
    code_page_->addItem(CodePageText(page), static_cast<int>(page));
  auto* code_page_label = new QLabel(tr("&Code page of the register's text:"), this);
  code_page_label->setObjectName("CodePageLabel");
  code_page_label->setBuddy(code_page_);

  QDialogButtonBox* buttons = MakeOkCancel(this);

  auto* port_row = new QHBoxLayout;
  port_row->addWidget(port_label);
  port_row->addWidget(port_, 1);
  auto* groups = new QGridLayout;
  groups->addWidget(baud_box, 0, 0);
  groups->addWidget(parity_box, 0, 1, 2, 1);
  groups->addWidget(stop_box, 1, 0);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(port_row);
  layout->addWidget(devices);
  layout->addLayout(groups);
  auto* code_page_row = new QHBoxLayout;
  code_page_row->addWidget(code_page_label);
  code_page_row->addWidget(code_page_, 1);
  layout->addLayout(code_page_row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // Tab goes down the window: the port, the speed, the code page, the buttons.
  std::vector<QWidget*> order = {port_};
  for (QAbstractButton* baud : baud_->buttons())
    order.push_back(baud);
  order.insert(order.end(), {code_page_, buttons->button(QDialogButtonBox::Ok),
                             buttons->button(QDialogButtonBox::Cancel)});
  ChainTabOrder(order);
  port_->setFocus();
  RegisterLanguageWindow(this);
}

void CommSettingDialog::Load(const CommSettingsModel& model) {
  loaded_ = model;
  // A value the lists do not hold selects nothing rather than another port.
  port_->setCurrentIndex(model.PortIndex >= 0 && model.PortIndex <= kPortCount ? model.PortIndex
                                                                               : -1);
  baud_->setExclusive(false);
  for (QAbstractButton* button : baud_->buttons())
    button->setChecked(baud_->id(button) == model.BaudIndex);
  baud_->setExclusive(true);
  code_page_->setCurrentIndex(code_page_->findData(static_cast<int>(model.CodePage)));
}

CommSettingsModel CommSettingDialog::Choice() const {
  // What the operator left unchosen keeps the value the settings file holds.
  CommSettingsModel model = loaded_;
  if (port_->currentIndex() >= 0) model.PortIndex = port_->currentIndex();
  if (baud_->checkedId() >= 0) model.BaudIndex = baud_->checkedId();
  if (code_page_->currentIndex() >= 0)
    model.CodePage = static_cast<CodePageId>(code_page_->currentData().toInt());
  return model;
}

bool ShowCommSettingDialog(QWidget* parent, const std::string& settings_path,
                           CommSettingsModel& model) {
  CommSettingDialog dialog(parent, SettingsPortLookup(settings_path), ListSerialPorts());
  dialog.Load(model);
  if (dialog.exec() != QDialog::Accepted) return false;
  model = dialog.Choice();
  return true;
}

}  // namespace plumgr::ui
