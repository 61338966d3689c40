#pragma once
// The component through which the program talks to the register: it opens the
// serial port, connects and disconnects, sends packages and requests them, each
// with its waits and repeats. Every operation blocks its caller on the owner
// thread but runs that thread's event loop while it waits, so a window and its
// Cancel button stay alive and the process uses no CPU meanwhile.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/bus_frame.h"
#include "link/reply_timer.h"

class QEventLoop;

namespace plumgr {

class TComm;
class UiPort;

// The number is both the index into BaudRateTable and the code sent in the
// connect package.
enum class TBaudRate : std::uint8_t { tbr9600, tbr19200, tbr38400, tbr57600, tbr115200 };

enum class TBroadCastScaleType : std::uint8_t { tbs1024, tbs5120 };

enum WaitResult : int {
  ReplyAborted = -3,
  ReplyTimeout = -2,
  ReplyNak = -1,
  ReplyAck = 1,
  ReplyFrame = 2,
};

// The PC's date and time as the connect package carries it.
struct BusDateTime {
  int Year = 2000;
  int Month = 1;
  int Day = 1;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;
};

using BusClock = std::function<BusDateTime()>;

// The local date and time of the PC.
BusDateTime LocalDateTimeNow();

struct ActivateResult {
  bool Ok = true;
  // What the operator sees when the port cannot be opened.
  std::string Message;
  // The platform's reason, for logs and for a hint such as missing permission.
  std::string Cause;
  explicit operator bool() const { return Ok; }
};

inline constexpr int kStationTableSize = 56;
inline constexpr int kMaxRetryCount = 10;
inline constexpr std::int32_t kStationNumber = 1234;

// The link-control packages.
inline constexpr std::uint8_t kLinkControlType = 14;
inline constexpr std::uint16_t kConnectNumber = 1;
inline constexpr std::uint16_t kDisconnectNumber = 2;

// Eight decimal digits of packed BCD, least significant pair first.
std::array<std::uint8_t, 4> StationBcd(std::int32_t station);

// The 256 data bytes of a connect package.
PackageBytes ConnectPackageData(std::int32_t station, const BusDateTime& now, TBaudRate baud,
                                bool broadcast, TBroadCastScaleType scale,
                                const std::array<std::int32_t, kStationTableSize>& stations);

class TKovoIBusComm {
 public:
  TKovoIBusComm();
  ~TKovoIBusComm();
  TKovoIBusComm(const TKovoIBusComm&) = delete;
  TKovoIBusComm& operator=(const TKovoIBusComm&) = delete;

  // Properties.
  const std::string& CommName() const { return comm_name_; }
  void SetCommName(std::string name) { comm_name_ = std::move(name); }
  bool isActive() const { return active_; }
  TBaudRate BaudRate() const { return baud_rate_; }
  // Also sets the serial port's speed at once.
  void SetBaudRate(TBaudRate rate);
  bool BroadCast() const { return broadcast_; }
  void SetBroadCast(bool broadcast) { broadcast_ = broadcast; }
  TBroadCastScaleType BroadCastScaleType() const { return scale_type_; }
  void SetBroadCastScaleType(TBroadCastScaleType type) { scale_type_ = type; }
  int BroadCastInterval() const { return broadcast_interval_; }
  void SetBroadCastInterval(int ms) { broadcast_interval_ = ms; }
  int RetryInterval() const { return retry_interval_; }
  void SetRetryInterval(int ms) { retry_interval_ = ms; }
  int RetryCount() const { return retry_count_; }
  // Kept within 0 to 10.
  void SetRetryCount(int count);
  bool TamvexUpPlu() const { return tamvex_up_plu_; }
  void SetTamvexUpPlu(bool value) { tamvex_up_plu_ = value; }
  // The fixed waits of the handshake; only tests shorten them.
  int ConnectInterval() const { return connect_interval_; }
  void SetConnectInterval(int ms) { connect_interval_ = ms; }
  int DisconnectInterval() const { return disconnect_interval_; }
  void SetDisconnectInterval(int ms) { disconnect_interval_ = ms; }

  // Input of SendPackage and RequestPackage, output of RequestPackage.
  PackageBytes PackageData{};
  std::vector<std::string> TraceLog;
  bool TraceEnabled = false;
  // Read only by a broadcast connect.
  std::array<std::int32_t, kStationTableSize> StationTable{};

  // Where the port-open failure is shown; without one the caller shows the
  // returned message itself.
  void SetUiPort(UiPort* ui) { ui_ = ui; }
  // Where COM1 to COM4 lead (the [Comm] keys of the settings file).
  void SetPortSettingLookup(std::function<std::string(const std::string&)> lookup);
  // The clock that dates the connect package.
  void SetClock(BusClock clock) { clock_ = std::move(clock); }
  // The timer of the reply waits (the event loop's by default).
  void SetReplyTimer(std::unique_ptr<ReplyTimer> timer) { timer_ = std::move(timer); }

  // Opens (true) or closes (false) the port named by CommName. Reopens an open
  // port and clears the trace.
  ActivateResult Activate(bool active);
  bool Connect(std::int32_t station);
  // Always true: the register need not answer.
  bool Disconnect(std::int32_t station, bool after_failure);
  bool SendPackage(std::uint8_t type, std::uint16_t number);
  bool RequestPackage(std::uint8_t type, std::uint16_t number);
  // Ends the wait in progress; outside a wait it is forgotten by the next one.
  void Abort();

  // Since the port was opened: packages sent or requested more than once, and
  // replies taken after an attempt had timed out. Such a reply may answer the
  // earlier frame, and then the answer to the repeat arrives during the next
  // package's wait, so an exchange that saw one is not known to be clean.
  int ResentPackages() const { return resent_packages_; }
  int LateReplies() const { return late_replies_; }

  // The outcome of the last operation, true when it failed or was aborted.
  bool Failed() const { return failed_; }
  // The last frame could not be handed to the port (it is closed, or its
  // transmit thread has ended) or the port hung up (an adapter pulled out).
  // Every wait then fails at once, until the next Activate.
  bool LineLost() const { return line_lost_; }
  TComm& Port() { return *comm_; }

 private:
  void WriteFrame();
  WaitResult WaitReply(int timeout_ms);
  void RunEventsUntil(const std::function<bool()>& done);
  void SetPortSpeed(int baud);
  void BuildSendBlock(std::uint8_t type, std::uint16_t number, const PackageBytes& data);
  bool SendBroadcast();
  void OnReceiveData(const std::uint8_t* data, std::uint16_t length);
  void OnSendDataEmpty();
  void OnHangup();
  void OnTimer();
  void WakeWait();
  void TraceBytes(const char* title, const std::uint8_t* data, std::size_t length);
  void TraceRetry(int attempt);
  void CountAnswer(int attempt, bool timed_out_before);

  std::unique_ptr<TComm> comm_;
  std::unique_ptr<ReplyTimer> timer_;
  FrameReceiver receiver_;
  PackageBlock send_block_;
  PackageBlock request_block_;
  BusFrame frame_{};
  bool failed_ = false;
  bool send_done_ = true;
  bool timer_expired_ = false;
  bool line_lost_ = false;
  int resent_packages_ = 0;
  int late_replies_ = 0;
  QEventLoop* wait_loop_ = nullptr;

  std::string comm_name_;
  bool active_ = false;
  TBaudRate baud_rate_ = TBaudRate::tbr9600;
  bool broadcast_ = false;
  TBroadCastScaleType scale_type_ = TBroadCastScaleType::tbs1024;
  int broadcast_interval_ = 200;
  int retry_interval_ = 800;
  int retry_count_ = 6;
  bool tamvex_up_plu_ = false;
  int connect_interval_ = 800;
  int disconnect_interval_ = 100;
  UiPort* ui_ = nullptr;
  BusClock clock_ = LocalDateTimeNow;
};

}  // namespace plumgr
