#include "link/comm.h"

#include <QMetaObject>
#include <QObject>

#include "link/comm_threads.h"
#include "link/serial_device.h"

namespace plumgr {

// Lives on the owner thread; the worker threads post to it. Notifications still
// queued when it is destroyed are discarded with it.
class TComm::Notifier : public QObject {};

// The threads of one opening, and the number of that opening.
class TComm::Workers {
 public:
  Workers(TComm& owner, std::uint64_t opening)
      : threads(*owner.device_, MakeSink(owner, opening), owner.send_data_empty_,
                owner.line_.IgnoreNullChar) {}

  CommThreads threads;

 private:
  static NotificationSink MakeSink(TComm& owner, std::uint64_t opening) {
    QObject* target = owner.notifier_.get();
    TComm* comm = &owner;
    return [target, comm, opening](CommNotification&& notification) {
      QMetaObject::invokeMethod(
          target, [comm, opening, n = std::move(notification)] { comm->Deliver(opening, n); },
          Qt::QueuedConnection);
    };
  }
};

TComm::TComm()
    : notifier_(std::make_unique<Notifier>()),
      send_data_empty_(std::make_shared<std::atomic<bool>>(true)) {}

TComm::~TComm() {
  ClosePort();
}

bool TComm::IsOpen() const {
  return device_ != nullptr;
}

void TComm::OpenPort() {
  if (device_) return;
  const ResolvedPort port = ResolvePortName(comm_name_, lookup_);
  if (!port) throw ECommsError(kErrorOpeningSerialPort, port.Error);
  SerialDevice::OpenResult opened = SerialDevice::Open(port.Device);
  if (!opened.Device) throw ECommsError(opened.Message, opened.Detail);

  device_ = std::move(opened.Device);
  device_->Purge();
  *send_data_empty_ = true;
  ApplyLineSettings();
  ++opening_;
  try {
    workers_ = std::make_unique<Workers>(*this, opening_);
  } catch (const ECommsError&) {
    device_.reset();
    throw;
  }
}

void TComm::ClosePort() {
  if (!device_) return;
  // The stop signal wakes a thread waiting for the line; the purge wakes one
  // waiting for output held back by flow control. Only then is it safe to join.
  workers_->threads.RequestStop();
  device_->Purge();
  workers_.reset();
  device_.reset();
  *send_data_empty_ = true;
  ++opening_;
}

bool TComm::WriteBytes(const std::uint8_t* buffer, std::uint16_t length) {
  if (!device_ || length == 0 || buffer == nullptr) return false;
  return workers_->threads.Queue(buffer, length);
}

void TComm::SetLineSettings(const CommLineSettings& settings) {
  if (line_ == settings) return;
  line_ = settings;
  ApplyLineSettings();
}

void TComm::SetBaudRate(std::uint32_t baud) {
  CommLineSettings line = line_;
  line.BaudRate = baud;
  SetLineSettings(line);
}

// A refusal by the driver is not reported: what it accepted stays in force, as
// the port has always behaved. The driver takes the settings at once, so no pause
// follows them.
void TComm::ApplyLineSettings() {
  if (!device_) return;
  device_->Apply(line_);
  if (workers_) workers_->threads.SetIgnoreNullChar(line_.IgnoreNullChar);
}

void TComm::Deliver(std::uint64_t opening, const CommNotification& n) {
  if (opening != opening_ || !device_) return;  // from an opening already closed
  switch (n.Code) {
    case CommNotificationCode::ReceiveData:
      if (OnReceiveData) {
        OnReceiveData(this, n.Block.data(), static_cast<std::uint16_t>(n.Block.size() - 1));
      }
      break;
    case CommNotificationCode::ReceiveError:
      if (OnReceiveError) OnReceiveError(this, n.Value);
      break;
    case CommNotificationCode::RequestHangup:
      if (OnRequestHangup) OnRequestHangup(this);
      break;
    case CommNotificationCode::ModemStateChange:
      if (OnModemStateChange) OnModemStateChange(this, n.Value);
      break;
    case CommNotificationCode::SendDataEmpty:
      if (OnSendDataEmpty) OnSendDataEmpty(this);
      break;
  }
}

}  // namespace plumgr
