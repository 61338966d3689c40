#pragma once
// "Communication setting": the COM port, the line speed and the code page of
// the register's text. Each COMn is shown
// with the device it leads to on this machine, so the operator chooses a device
// rather than a bare number.

#include <QDialog>
#include <vector>

#include "app/link_commands.h"
#include "link/port_names.h"

class QButtonGroup;
class QComboBox;

namespace plumgr::ui {

// One line of the port list: "None", or "COM3 = /dev/ttyUSB0 (usb-FTDI_...)"
// with the adapter's by-id name when `present` knows it, "(not present)" when
// the device does not exist.
QString PortChoiceText(int port_index, const PortSettingLookup& lookup,
                       const std::vector<SerialPortInfo>& present);

class CommSettingDialog : public QDialog {
  Q_OBJECT
 public:
  CommSettingDialog(QWidget* parent, const PortSettingLookup& lookup,
                    const std::vector<SerialPortInfo>& present);

  void Load(const CommSettingsModel& model);
  CommSettingsModel Choice() const;

 private:
  QComboBox* port_ = nullptr;
  QComboBox* code_page_ = nullptr;
  QButtonGroup* baud_ = nullptr;
  CommSettingsModel loaded_;
};

}  // namespace plumgr::ui
