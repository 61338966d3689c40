#pragma once
// The receive and transmit threads of an open serial port. They hand everything
// they observe to a sink as notifications, in the order they produce them; TComm's
// sink posts them to the owner thread. The threads share with the owner only the
// write queue (under a mutex) and atomic flags.

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "link/serial_device.h"

namespace plumgr {

// The codes are the message numbers the notifications have always had.
enum class CommNotificationCode : std::uint32_t {
  ReceiveData = 1025,
  ReceiveError = 1026,
  RequestHangup = 1027,
  ModemStateChange = 1028,
  SendDataEmpty = 1029,
};

struct CommNotification {
  CommNotificationCode Code = CommNotificationCode::ReceiveData;
  std::uint32_t Value = 0;  // error flags or modem bits
  // ReceiveData: a copy of the chunk followed by one zero byte.
  std::vector<std::uint8_t> Block;
};

// Called on a worker thread; must not block for long.
using NotificationSink = std::function<void(CommNotification&&)>;

class CommThreads {
 public:
  // Reads are issued for up to this many bytes; each becomes one chunk.
  static constexpr std::size_t kReadChunk = 2048;

  // Starts the receive thread, then the transmit thread. Throws ECommsError with
  // "Unable to create event", "Unable to create read thread" or "Unable to create
  // write thread"; nothing is left running then.
  CommThreads(const SerialDevice& device, NotificationSink sink,
              std::shared_ptr<std::atomic<bool>> send_data_empty, bool ignore_null_char);
  // Stops and joins both threads.
  ~CommThreads();
  CommThreads(const CommThreads&) = delete;
  CommThreads& operator=(const CommThreads&) = delete;

  // Asks both threads to end; a thread waiting for the line wakes at once, one in
  // a write or drain once the owner has purged the device.
  void RequestStop();

  // Queues a copy of the bytes; false when the threads have ended or are ending.
  bool Queue(const std::uint8_t* bytes, std::uint16_t length);

  void SetIgnoreNullChar(bool ignore) { ignore_null_char_ = ignore; }

 private:
  void Receive();
  void Transmit();
  bool ReadAvailable();
  void Deliver(std::uint8_t* bytes, std::size_t length);
  void ReportLineEvents(LineCounters& last);
  bool WriteBlock(const std::vector<std::uint8_t>& block);
  bool WaitWritable();
  bool WaitForWork();
  bool TakeBlock(std::vector<std::uint8_t>& block);
  bool MarkSentIfIdle();  // sets the sent flag when nothing is queued
  // Reports the failure once for both threads and stops them.
  void Fail();
  void JoinAll();

  const SerialDevice& device_;
  NotificationSink sink_;
  std::shared_ptr<std::atomic<bool>> send_data_empty_;
  std::atomic<bool> ignore_null_char_;
  std::atomic<bool> stopping_{false};
  int stop_event_ = -1;  // eventfd, readable once a stop is requested
  int work_event_ = -1;  // eventfd, readable while blocks are queued

  std::mutex queue_mutex_;
  std::deque<std::vector<std::uint8_t>> queue_;

  std::thread receiver_;
  std::thread transmitter_;
};

}  // namespace plumgr
