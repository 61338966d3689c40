#pragma once
// TComm owns one serial port: it opens the device exclusively, writes the line
// settings, and for as long as the port is open runs a receive thread and a
// transmit thread. The threads never call user code; what they observe is posted
// to the thread that created the TComm (the owner thread, which must run a Qt
// event loop), and the events below are raised there, in the order the threads
// produced them, while that loop processes pending events.
//
// Typical use by the bus component:
//
//   TComm port;                                  // on the GUI thread
//   port.SetCommName("COM3");                    // or "/dev/ttyUSB0"
//   port.OnReceiveData = [&](TComm*, const std::uint8_t* bytes, std::uint16_t n) {
//     receiver.Feed(bytes, n);
//   };
//   port.OnSendDataEmpty = [&](TComm*) { send_done = true; };
//   port.OpenPort();                             // throws ECommsError
//   port.WriteBytes(frame.data(), frame.size()); // copied; returns at once
//   ...                                          // process events until answered
//   port.ClosePort();
//
// Events of an opening that has been closed are dropped: after ClosePort returns,
// no event of that opening is raised, even if it was already posted.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "link/port_names.h"

namespace plumgr {

class SerialDevice;
struct CommNotification;

// The serial port could not be opened. what() is one of the messages below, exactly,
// except that a permission failure adds on following lines how to obtain access.
// Detail() names the device and the system's reason, for logs and the command line.
class ECommsError : public std::runtime_error {
 public:
  explicit ECommsError(const std::string& message, std::string detail = {})
      : std::runtime_error(message), detail_(std::move(detail)) {}
  const std::string& Detail() const { return detail_; }

 private:
  std::string detail_;
};

inline constexpr const char* kErrorOpeningSerialPort = "Error opening serial port";
inline constexpr const char* kNotACommHandle = "File handle is not a comm handle ";
inline constexpr const char* kCannotSetupCommBuffer = "Cannot setup comm buffer";
inline constexpr const char* kUnableToCreateEvent = "Unable to create event";
inline constexpr const char* kUnableToCreateReadThread = "Unable to create read thread";
inline constexpr const char* kUnableToCreateWriteThread = "Unable to create write thread";

enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };
enum class TByteSize { _5, _6, _7, _8 };
enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };

// Bits of OnReceiveError's EventMask.
inline constexpr std::uint32_t kCommErrorInputOverflow = 0x0001;  // the driver's buffer overran
inline constexpr std::uint32_t kCommErrorOverrun = 0x0002;        // the UART lost a byte
inline constexpr std::uint32_t kCommErrorParity = 0x0004;
inline constexpr std::uint32_t kCommErrorFrame = 0x0008;
inline constexpr std::uint32_t kCommErrorBreak = 0x0010;

// Bits of OnModemStateChange's ModemEvent.
inline constexpr std::uint32_t kModemRing = 4;
inline constexpr std::uint32_t kModemCarrierDetect = 8;

// The line properties, written to the port as one set. On Linux some have no
// equivalent; they are kept so that what the program sets can be read back:
// - Outx_DsrFlow, DsrSensitivity, TxContinueOnXoff, XonLimit and XoffLimit:
//   the terminal driver has no such setting (its XOFF thresholds are fixed);
// - DtrHandshake raises DTR like DtrEnable;
// - RtsHandshake and Outx_CtsFlow both switch on RTS/CTS flow (CRTSCTS), which
//   the driver only offers for both directions together;
// - RtsTransmissionAvailable asks the driver for RS-485 direction control and
//   leaves RTS raised where the driver has none;
// - a byte received with a parity error reads as a zero byte when ParityCheck
//   is set, so ReplaceWhenParityError takes effect only with ReplacedChar 0;
// - Mark and Space parity need CMSPAR, which most drivers have.
struct CommLineSettings {
  std::uint32_t BaudRate = 9600;
  bool ParityCheck = false;
  bool Outx_CtsFlow = false;
  bool Outx_DsrFlow = false;
  TDtrControl DtrControl = TDtrControl::DtrEnable;
  bool DsrSensitivity = false;
  bool TxContinueOnXoff = true;
  bool Outx_XonXoffFlow = true;
  bool Inx_XonXoffFlow = true;
  bool ReplaceWhenParityError = false;
  // Zero bytes are taken out of the received data by the receive thread.
  bool IgnoreNullChar = false;
  TRtsControl RtsControl = TRtsControl::RtsEnable;
  std::uint16_t XonLimit = 500;
  std::uint16_t XoffLimit = 500;
  TByteSize ByteSize = TByteSize::_8;
  TParity Parity = TParity::None;
  TStopBits StopBits = TStopBits::_1;
  char XonChar = 17;
  char XoffChar = 19;
  char ReplacedChar = 0;

  friend bool operator==(const CommLineSettings&, const CommLineSettings&) = default;
};

// The read and write time-outs in milliseconds. On Linux the receive thread hands
// over every byte as soon as it arrives and the transmit thread waits for its
// bytes to leave however long that takes, which is what the settings the program
// uses ask for; the values are kept but change nothing.
struct CommTimeouts {
  std::uint32_t ReadIntervalTimeout = 100;
  std::uint32_t ReadTotalTimeoutMultiplier = 0;
  std::uint32_t ReadTotalTimeoutConstant = 0;
  std::uint32_t WriteTotalTimeoutMultiplier = 0;
  std::uint32_t WriteTotalTimeoutConstant = 0;

  friend bool operator==(const CommTimeouts&, const CommTimeouts&) = default;
};

class TComm;

// Events. Sender is the port that raises them. The Buffer of OnReceiveData holds
// BufferLength bytes followed by one zero byte and is valid only during the call.
using TNotifyEvent = std::function<void(TComm* sender)>;
using TReceiveDataEvent =
    std::function<void(TComm* sender, const std::uint8_t* buffer, std::uint16_t buffer_length)>;
using TReceiveErrorEvent = std::function<void(TComm* sender, std::uint32_t event_mask)>;
using TModemStateChangeEvent = std::function<void(TComm* sender, std::uint32_t modem_event)>;
using TSendDataEmptyEvent = std::function<void(TComm* sender)>;

class TComm {
 public:
  // Must be created on a thread that runs a Qt event loop (QCoreApplication).
  TComm();
  // Closes the port if it is still open, so that no thread outlives the component.
  ~TComm();
  TComm(const TComm&) = delete;
  TComm& operator=(const TComm&) = delete;

  // Opens the device named by CommName and starts both threads; nothing happens if
  // the port is already open. Throws ECommsError; the port is then closed.
  void OpenPort();
  // Stops both threads and closes the device; nothing happens if it is closed.
  // Never blocks on the line: pending output is discarded.
  void ClosePort();
  // Queues a copy of the bytes for the transmit thread. False, and nothing done,
  // when the port is closed, the length is 0 or the transmit thread has ended.
  bool WriteBytes(const std::uint8_t* buffer, std::uint16_t length);

  bool IsOpen() const;
  // True when the transmit thread has nothing left to write (informational).
  bool SendDataEmpty() const { return send_data_empty_->load(); }

  // Where COM1 to COM4 lead; without a lookup they are /dev/ttyS0 to /dev/ttyS3.
  void SetPortSettingLookup(PortSettingLookup lookup) { lookup_ = std::move(lookup); }

  // Properties. A setter stores a value only if it differs; on an open port the
  // line properties are written to the device at once. CommName takes effect at
  // the next OpenPort.
  const std::string& CommName() const { return comm_name_; }
  void SetCommName(const std::string& name) { comm_name_ = name; }

  const CommLineSettings& LineSettings() const { return line_; }
  // Replaces all line properties at once (written once if anything changed).
  void SetLineSettings(const CommLineSettings& settings);
  const CommTimeouts& Timeouts() const { return timeouts_; }
  void SetTimeouts(const CommTimeouts& timeouts) { timeouts_ = timeouts; }

  // The one line property the bus component changes on its own, at every connect.
  std::uint32_t BaudRate() const { return line_.BaudRate; }
  void SetBaudRate(std::uint32_t baud);

  // Events, raised on the owner thread; one that is not assigned is skipped.
  // Line errors and modem changes come from the driver's counters, which the
  // receive thread compares whenever it wakes for received bytes; drivers without
  // counters (pseudo-terminals) raise neither.
  TReceiveDataEvent OnReceiveData;
  TReceiveErrorEvent OnReceiveError;
  TModemStateChangeEvent OnModemStateChange;
  // A worker thread met an error it cannot recover from, such as the device
  // going away (a USB adapter pulled out). Raised once per opening; both threads
  // have then ended, and the port stays open until ClosePort.
  TNotifyEvent OnRequestHangup;
  // The transmit thread has written everything it was given and the bytes have
  // left the driver. Raised once right after OpenPort, then once per run of writes.
  TSendDataEmptyEvent OnSendDataEmpty;

 private:
  class Notifier;
  class Workers;

  void ApplyLineSettings();

  // Called on the owner thread for each notification a worker posted.
  void Deliver(std::uint64_t opening, const CommNotification& notification);

  std::string comm_name_ = "COM2";
  CommLineSettings line_;
  CommTimeouts timeouts_;
  PortSettingLookup lookup_;

  std::unique_ptr<Notifier> notifier_;
  std::unique_ptr<SerialDevice> device_;
  std::unique_ptr<Workers> workers_;
  // Shared with the transmit thread; outlives every opening.
  std::shared_ptr<std::atomic<bool>> send_data_empty_;
  // Counts openings so that late notifications of a closed one are dropped.
  std::uint64_t opening_ = 0;
};

}  // namespace plumgr
