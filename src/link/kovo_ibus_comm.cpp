#include "link/kovo_ibus_comm.h"

#include <QDate>
#include <QDateTime>
#include <QEventLoop>
#include <QTime>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "data/definitions.h"
#include "data/helpers.h"
#include "data/ui_port.h"
#include "link/comm.h"

namespace plumgr {

namespace {

constexpr int kConnectAttemptsAfterFirst = 20;
constexpr int kDisconnectFrames = 3;
constexpr std::uint8_t kConnectMarker = 1;
constexpr std::uint8_t kBroadcastMarker1024 = 0x5A;
constexpr std::uint8_t kBroadcastMarker5120 = 0xA5;
constexpr std::size_t kConnectStationTable = 32;
constexpr std::size_t kHexBytesPerLine = 16;

int BaudOf(TBaudRate rate) {
  return BaudRateTable[static_cast<std::size_t>(rate)];
}

// The connect attempts run 9600, 9600, 19200, 38400, 57600, 115200, 9600, ...
int ConnectSpeed(int attempt) {
  if (attempt == 0) return BaudRateTable[0];
  return BaudRateTable[static_cast<std::size_t>(attempt - 1) % BaudRateTable.size()];
}

void PutStation(std::uint8_t* bytes, std::int32_t station) {
  const std::array<std::uint8_t, 4> bcd = StationBcd(station);
  std::copy(bcd.begin(), bcd.end(), bytes);
}

std::string OpenFailureMessage(const std::string& port, const ECommsError& error) {
  std::string message = "Error opening " + port + "!\r\nplease select other ports.";
  // Why: no such device, not a serial device, in use, permission denied.
  if (!error.Detail().empty()) message += "\r\n" + error.Detail();
  // A permission failure carries, after its first line, how to obtain access.
  const std::string what = error.what();
  const std::size_t hint = what.find('\n');
  if (hint != std::string::npos) message += "\r\n" + what.substr(hint + 1);
  return message;
}

}  // namespace

BusDateTime LocalDateTimeNow() {
  const QDateTime now = QDateTime::currentDateTime();
  return BusDateTime{now.date().year(), now.date().month(),  now.date().day(),
                     now.time().hour(), now.time().minute(), now.time().second()};
}

std::array<std::uint8_t, 4> StationBcd(std::int32_t station) {
  // Int64ToBcd drops the digits beyond the eighth and writes the most
  // significant pair first; the station travels least significant pair first.
  std::array<std::uint8_t, 4> bytes{};
  Int64ToBcd(8, bytes.data(), std::abs(static_cast<std::int64_t>(station)));
  std::reverse(bytes.begin(), bytes.end());
  return bytes;
}

PackageBytes ConnectPackageData(std::int32_t station, const BusDateTime& now, TBaudRate baud,
                                bool broadcast, TBroadCastScaleType scale,
                                const std::array<std::int32_t, kStationTableSize>& stations) {
  PackageBytes data{};
  PutStation(&data[0], broadcast ? 0 : station);
  // One packed BCD byte each, so only the year's last two digits travel.
  const int clock[] = {now.Year % 100, now.Month, now.Day, now.Hour, now.Minute, now.Second};
  for (std::size_t i = 0; i < std::size(clock); ++i)
    Int64ToBcd(2, &data[4 + i], clock[i]);
  data[10] = static_cast<std::uint8_t>(baud);
  if (!broadcast) {
    data[11] = kConnectMarker;
    return data;
  }
  data[11] = scale == TBroadCastScaleType::tbs1024 ? kBroadcastMarker1024 : kBroadcastMarker5120;
  for (std::size_t i = 0; i < stations.size(); ++i)
    PutStation(&data[kConnectStationTable + 4 * i], stations[i]);
  return data;
}

TKovoIBusComm::TKovoIBusComm() : comm_(std::make_unique<TComm>()), timer_(MakeEventLoopTimer()) {
  CommLineSettings line = comm_->LineSettings();
  line.BaudRate = static_cast<std::uint32_t>(BaudRateTable[0]);
  line.DtrControl = TDtrControl::DtrDisable;
  line.TxContinueOnXoff = false;
  line.Outx_XonXoffFlow = false;
  line.IgnoreNullChar = false;
  line.RtsControl = TRtsControl::RtsEnable;
  line.ByteSize = TByteSize::_8;
  line.Parity = TParity::None;
  line.StopBits = TStopBits::_1;
  comm_->SetLineSettings(line);
  CommTimeouts timeouts = comm_->Timeouts();
  timeouts.ReadIntervalTimeout = 1;
  comm_->SetTimeouts(timeouts);
  comm_->OnReceiveData = [this](TComm*, const std::uint8_t* data, std::uint16_t length) {
    OnReceiveData(data, length);
  };
  comm_->OnSendDataEmpty = [this](TComm*) { OnSendDataEmpty(); };
  comm_->OnRequestHangup = [this](TComm*) { OnHangup(); };
}

TKovoIBusComm::~TKovoIBusComm() {
  // The port's threads must not outlive the events they post to us.
  comm_->ClosePort();
}

void TKovoIBusComm::SetBaudRate(TBaudRate rate) {
  baud_rate_ = rate;
  SetPortSpeed(BaudOf(rate));
}

void TKovoIBusComm::SetPortSettingLookup(std::function<std::string(const std::string&)> lookup) {
  comm_->SetPortSettingLookup(std::move(lookup));
}

void TKovoIBusComm::SetRetryCount(int count) {
  retry_count_ = std::clamp(count, 0, kMaxRetryCount);
}

ActivateResult TKovoIBusComm::Activate(bool active) {
  if (!active) {
    active_ = false;
    comm_->ClosePort();
    return {};
  }
  comm_->SetCommName(comm_name_);
  if (active_) comm_->ClosePort();
  try {
    comm_->OpenPort();
  } catch (const ECommsError& error) {
    // The port is closed now, whatever it was before.
    active_ = false;
    ActivateResult result{false, OpenFailureMessage(comm_name_, error), error.Detail()};
    if (ui_) ui_->ShowError(result.Message);
    return result;
  }
  active_ = true;
  line_lost_ = false;
  resent_packages_ = 0;
  late_replies_ = 0;
  TraceLog.clear();
  return {};
}

void TKovoIBusComm::Abort() {
  failed_ = true;
  WakeWait();
}

void TKovoIBusComm::BuildSendBlock(std::uint8_t type, std::uint16_t number,
                                   const PackageBytes& data) {
  send_block_ = PackageBlock{};
  send_block_.SetType(type);
  send_block_.SetNumber(number);
  std::copy(data.begin(), data.end(), send_block_.Data().begin());
  send_block_.StoreChecksum();
}

// One frame, no repeat; no reply is required, so only a NAK or an abort fails.
bool TKovoIBusComm::SendBroadcast() {
  WriteFrame();
  receiver_.Mode = ReceiveMode::AwaitReply;
  if (WaitReply(broadcast_interval_) < 0) {
    failed_ = true;
    return false;
  }
  return true;
}

bool TKovoIBusComm::Connect(std::int32_t station) {
  BuildSendBlock(
      kLinkControlType, kConnectNumber,
      ConnectPackageData(station, clock_(), baud_rate_, broadcast_, scale_type_, StationTable));
  if (broadcast_) {
    SetPortSpeed(BaudOf(baud_rate_));
    return SendBroadcast();
  }
  for (int attempt = 0;; ++attempt) {
    if (attempt >= 1) TraceRetry(attempt);
    SetPortSpeed(ConnectSpeed(attempt));
    WriteFrame();
    receiver_.Mode = ReceiveMode::AwaitReply;
    if (WaitReply(connect_interval_) == ReplyAck) {
      // The register continues at the speed the package asked for.
      SetPortSpeed(BaudOf(baud_rate_));
      return true;
    }
    if (failed_ || attempt >= kConnectAttemptsAfterFirst) {
      failed_ = true;
      return false;
    }
  }
}

bool TKovoIBusComm::Disconnect(std::int32_t station, bool after_failure) {
  PackageBytes data{};
  PutStation(&data[0], station);
  data[4] = after_failure ? 1 : 0;
  BuildSendBlock(kLinkControlType, kDisconnectNumber, data);
  const PackageBlock disconnect = send_block_;
  for (int frame = 0; frame < kDisconnectFrames; ++frame) {
    send_block_ = disconnect;
    WriteFrame();
    receiver_.Mode = ReceiveMode::AwaitReply;
    if (WaitReply(disconnect_interval_) == ReplyAck) break;
  }
  return true;
}

bool TKovoIBusComm::SendPackage(std::uint8_t type, std::uint16_t number) {
  BuildSendBlock(type, number, PackageData);
  if (broadcast_) return SendBroadcast();
  bool timed_out = false;
  for (int attempt = 0;; ++attempt) {
    if (attempt >= 1) TraceRetry(attempt);
    WriteFrame();
    receiver_.Mode = ReceiveMode::AwaitReply;
    const WaitResult result = WaitReply(retry_interval_);
    if (result == ReplyAck) {
      CountAnswer(attempt, timed_out);
      return true;
    }
    timed_out = timed_out || result == ReplyTimeout;
    if (failed_ || attempt >= retry_count_) {
      failed_ = true;
      return false;
    }
  }
}

bool TKovoIBusComm::RequestPackage(std::uint8_t type, std::uint16_t number) {
  BuildSendBlock(type, number, PackageData);
  request_block_ = send_block_;
  bool answered = false;
  bool timed_out = false;
  for (int attempt = 0;; ++attempt) {
    if (attempt >= 1) TraceRetry(attempt);
    send_block_ = request_block_;
    receiver_.Mode = ReceiveMode::AwaitFrame;
    receiver_.ExpectAnswerTo(PackFrame(send_block_));
    WriteFrame();
    // In broadcast mode a time-out reads as ACK, but only a frame answers a request.
    const WaitResult result = WaitReply(retry_interval_);
    if (result == ReplyFrame) {
      const UnpackedFrame answer = UnpackFrame(receiver_.Frame());
      send_block_ = answer.Block;
      if (!answer.ChecksumError) {
        CountAnswer(attempt, timed_out);
        answered = true;
        break;
      }
    }
    timed_out = timed_out || result == ReplyTimeout;
    if (failed_ || attempt >= retry_count_) {
      failed_ = true;
      break;
    }
  }
  // After a failure this is the request's own data, or the data of the last
  // answer whose checksum was wrong.
  std::copy(send_block_.Data().begin(), send_block_.Data().end(), PackageData.begin());
  return answered;
}

void TKovoIBusComm::WriteFrame() {
  frame_ = PackFrame(send_block_);
  send_done_ = false;
  if (!comm_->WriteBytes(frame_.data(), static_cast<std::uint16_t>(frame_.size())))
    line_lost_ = true;
  TraceBytes(">>>>>>Send data<<<<<<<<", frame_.data(), frame_.size());
}

WaitResult TKovoIBusComm::WaitReply(int timeout_ms) {
  receiver_.ResetReceiver();
  // A frame that never reached the port would wait for its send completion for ever.
  failed_ = line_lost_;
  RunEventsUntil([this] { return send_done_ || failed_; });
  timer_expired_ = false;
  timer_->Start(std::max(0, timeout_ms), [this] { OnTimer(); });
  RunEventsUntil([this] { return timer_expired_ || failed_ || receiver_.Complete(); });
  WaitResult result;
  if (failed_)
    result = ReplyAborted;
  else if (timer_expired_)
    result = broadcast_ ? ReplyAck : ReplyTimeout;
  else if (receiver_.ReplyByte() == kNak)
    result = ReplyNak;
  else if (receiver_.ReplyByte() == kAck)
    result = ReplyAck;
  else
    result = ReplyFrame;
  timer_->Stop();
  return result;
}

// Runs the owner thread's event loop, asleep between events, until `done`. The
// handlers of the port, the timer and Abort wake it to look again.
void TKovoIBusComm::RunEventsUntil(const std::function<bool()>& done) {
  while (!done()) {
    QEventLoop loop;
    wait_loop_ = &loop;
    const int code = loop.exec();
    wait_loop_ = nullptr;
    // A loop that ends with a code of its own belongs to an application that is
    // quitting; its further loops would return at once, so the wait gives up.
    if (code != 0) {
      failed_ = true;
      return;
    }
  }
}

void TKovoIBusComm::WakeWait() {
  if (wait_loop_) wait_loop_->quit();
}

void TKovoIBusComm::SetPortSpeed(int baud) {
  comm_->SetBaudRate(static_cast<std::uint32_t>(baud));
}

void TKovoIBusComm::OnReceiveData(const std::uint8_t* data, std::uint16_t length) {
  switch (receiver_.Feed(data, length)) {
    case ReceiveEvent::ReplyReceived: {
      const std::uint8_t reply = receiver_.ReplyByte();
      TraceBytes(">>>>>>Receive data<<<<<<<<", &reply, 1);
      break;
    }
    case ReceiveEvent::FrameReceived:
      TraceBytes(">>>>>>Receive data<<<<<<<<", receiver_.Frame().data(), kBusFrameSize);
      break;
    case ReceiveEvent::None:
      return;
  }
  WakeWait();
}

void TKovoIBusComm::OnSendDataEmpty() {
  // The port reports its queue empty once right after opening; when that report
  // is handled only after the first frame has been queued, the frame is still on
  // its way and the reply time must not start yet. Another report follows it.
  send_done_ = comm_->SendDataEmpty();
  WakeWait();
}

void TKovoIBusComm::OnHangup() {
  line_lost_ = true;
  failed_ = true;
  WakeWait();
}

void TKovoIBusComm::OnTimer() {
  timer_expired_ = true;
  WakeWait();
}

void TKovoIBusComm::TraceBytes(const char* title, const std::uint8_t* data, std::size_t length) {
  if (!TraceEnabled) return;
  TraceLog.emplace_back(title);
  std::string line;
  for (std::size_t i = 0; i < length; ++i) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X ", static_cast<unsigned>(data[i]));
    line += hex;
    if ((i + 1) % kHexBytesPerLine == 0) {
      TraceLog.push_back(std::move(line));
      line.clear();
    }
  }
  if (!line.empty()) TraceLog.push_back(std::move(line));
  TraceLog.emplace_back();
}

void TKovoIBusComm::CountAnswer(int attempt, bool timed_out_before) {
  if (attempt >= 1) ++resent_packages_;
  if (timed_out_before) ++late_replies_;
}

void TKovoIBusComm::TraceRetry(int attempt) {
  if (!TraceEnabled) return;
  TraceLog.emplace_back();
  TraceLog.push_back("Retry:" + std::to_string(attempt));
}

}  // namespace plumgr
