#include "link/comm_threads.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <system_error>

namespace plumgr {

namespace {

void Signal(int event) {
  const std::uint64_t one = 1;
  [[maybe_unused]] const ssize_t n = ::write(event, &one, sizeof one);
}

void Clear(int event) {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t n = ::read(event, &count, sizeof count);
}

void CloseEvent(int& event) {
  if (event >= 0) ::close(event);
  event = -1;
}

constexpr short kGone = POLLHUP | POLLERR | POLLNVAL;

// Waits without time-out for the first of two descriptors; false on a poll failure.
bool WaitEither(pollfd& a, pollfd& b) {
  std::array<pollfd, 2> fds = {a, b};
  for (;;) {
    if (::poll(fds.data(), fds.size(), -1) >= 0) break;
    if (errno != EINTR) return false;
  }
  a.revents = fds[0].revents;
  b.revents = fds[1].revents;
  return true;
}

}  // namespace

CommThreads::CommThreads(const SerialDevice& device, NotificationSink sink,
                         std::shared_ptr<std::atomic<bool>> send_data_empty, bool ignore_null_char)
    : device_(device),
      sink_(std::move(sink)),
      send_data_empty_(std::move(send_data_empty)),
      ignore_null_char_(ignore_null_char) {
  stop_event_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  work_event_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (stop_event_ < 0 || work_event_ < 0) {
    CloseEvent(stop_event_);
    CloseEvent(work_event_);
    throw ECommsError(kUnableToCreateEvent);
  }
  try {
    receiver_ = std::thread([this] { Receive(); });
  } catch (const std::system_error& e) {
    JoinAll();
    throw ECommsError(kUnableToCreateReadThread, e.what());
  }
  try {
    transmitter_ = std::thread([this] { Transmit(); });
  } catch (const std::system_error& e) {
    JoinAll();
    throw ECommsError(kUnableToCreateWriteThread, e.what());
  }
}

CommThreads::~CommThreads() {
  JoinAll();
}

void CommThreads::JoinAll() {
  RequestStop();
  if (receiver_.joinable()) receiver_.join();
  if (transmitter_.joinable()) transmitter_.join();
  CloseEvent(stop_event_);
  CloseEvent(work_event_);
}

void CommThreads::RequestStop() {
  if (!stopping_.exchange(true)) Signal(stop_event_);
}

// The first failure of either thread stops both before it is reported, so the
// owner sees the port as ended from the report on; a failure after a stop request
// is the request's doing and goes unreported.
void CommThreads::Fail() {
  if (stopping_.exchange(true)) return;
  Signal(stop_event_);
  sink_({CommNotificationCode::RequestHangup, 0, {}});
}

bool CommThreads::Queue(const std::uint8_t* bytes, std::uint16_t length) {
  if (stopping_) return false;
  {
    std::lock_guard lock(queue_mutex_);
    queue_.emplace_back(bytes, bytes + length);
    *send_data_empty_ = false;
  }
  Signal(work_event_);
  return true;
}

// Receive thread: waits for bytes or the stop signal and hands over every chunk.
// It runs at normal priority: it sleeps in poll and wakes as soon as bytes arrive,
// and raising it would need privileges the program does not have.
void CommThreads::Receive() {
  LineCounters last = device_.Counters().value_or(LineCounters{});
  pollfd port{device_.Fd(), POLLIN, 0};
  pollfd stop{stop_event_, POLLIN, 0};
  while (!stopping_) {
    if (!WaitEither(port, stop)) return Fail();
    if (stop.revents != 0) return;
    if (port.revents & POLLIN && !ReadAvailable()) return Fail();
    ReportLineEvents(last);
    // A device that went away keeps reporting hang-up; only reading what was left
    // before it went makes sense.
    if (port.revents & kGone) return Fail();
  }
}

// Reads until the driver has nothing more. False when the device failed.
bool CommThreads::ReadAvailable() {
  std::array<std::uint8_t, kReadChunk> buffer;
  for (;;) {
    const ssize_t n = ::read(device_.Fd(), buffer.data(), buffer.size());
    if (n > 0) {
      Deliver(buffer.data(), static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // EAGAIN: all read. 0 (hung up) or EIO: the device is gone.
    return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
}

void CommThreads::Deliver(std::uint8_t* bytes, std::size_t length) {
  if (ignore_null_char_) length = std::remove(bytes, bytes + length, 0) - bytes;
  if (length == 0) return;
  CommNotification notification{CommNotificationCode::ReceiveData, 0, {}};
  notification.Block.reserve(length + 1);
  notification.Block.assign(bytes, bytes + length);
  notification.Block.push_back(0);
  sink_(std::move(notification));
}

void CommThreads::ReportLineEvents(LineCounters& last) {
  const auto now = device_.Counters();
  if (!now) return;
  if (const std::uint32_t errors = ErrorBits(last, *now)) {
    sink_({CommNotificationCode::ReceiveError, errors, {}});
  }
  if (const std::uint32_t modem = ModemBits(last, *now)) {
    sink_({CommNotificationCode::ModemStateChange, modem, {}});
  }
  last = *now;
}

// Transmit thread: writes the queued blocks in order; when the queue has run dry
// and the bytes have left the driver, reports the queue empty once per run of
// writes, and once at the start.
void CommThreads::Transmit() {
  bool wrote = true;
  std::vector<std::uint8_t> block;
  while (!stopping_) {
    if (TakeBlock(block)) {
      if (!WriteBlock(block)) return Fail();
      wrote = true;
      continue;
    }
    if (wrote) {
      if (!device_.Drain()) return Fail();
      if (stopping_) return;
      if (!MarkSentIfIdle()) continue;  // more came while the line drained
      sink_({CommNotificationCode::SendDataEmpty, 0, {}});
      wrote = false;
    }
    if (!WaitForWork()) return Fail();
  }
}

bool CommThreads::TakeBlock(std::vector<std::uint8_t>& block) {
  std::lock_guard lock(queue_mutex_);
  if (queue_.empty()) return false;
  block = std::move(queue_.front());
  queue_.pop_front();
  return true;
}

// The flag is set under the queue's lock, the one a write clears it under: set
// after a check outside it, it could say "sent" for a block queued in between,
// and the reply timer would start before that block had left.
bool CommThreads::MarkSentIfIdle() {
  std::lock_guard lock(queue_mutex_);
  if (!queue_.empty()) return false;
  *send_data_empty_ = true;
  return true;
}

// False only when waiting failed; a stop request returns true for the loop to see.
bool CommThreads::WaitForWork() {
  pollfd work{work_event_, POLLIN, 0};
  pollfd stop{stop_event_, POLLIN, 0};
  if (!WaitEither(work, stop)) return false;
  if (work.revents & POLLIN) Clear(work_event_);
  return true;
}

bool CommThreads::WriteBlock(const std::vector<std::uint8_t>& block) {
  std::size_t offset = 0;
  while (offset < block.size()) {
    if (stopping_) return true;
    const ssize_t n = ::write(device_.Fd(), block.data() + offset, block.size() - offset);
    if (n > 0) {
      offset += static_cast<std::size_t>(n);
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (!WaitWritable()) return false;
    } else if (!(n < 0 && errno == EINTR)) {
      return false;
    }
  }
  return true;
}

bool CommThreads::WaitWritable() {
  pollfd port{device_.Fd(), POLLOUT, 0};
  pollfd stop{stop_event_, POLLIN, 0};
  if (!WaitEither(port, stop)) return false;
  return stop.revents != 0 || (port.revents & kGone) == 0;
}

}  // namespace plumgr
