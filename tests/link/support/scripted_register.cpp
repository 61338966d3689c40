#include "link/support/scripted_register.h"

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cerrno>
#include <stdexcept>

#include "link/line_speed.h"

namespace plumgr::test {

Bytes Ack() {
  return {kAck};
}
Bytes Nak() {
  return {kNak};
}

Bytes AnswerFrameNumbered(const PackageBlock& request, std::uint16_t number,
                          const PackageBytes& data) {
  package p = PackageOf(request);
  p.Number = number;
  p.Data = data;
  const BusFrame frame = PackFrame(MakePackageBlock(p));
  return Bytes(frame.begin(), frame.end());
}

Bytes AnswerFrame(const PackageBlock& request, const PackageBytes& data, bool bad_checksum) {
  package p = PackageOf(request);
  p.Data = data;
  PackageBlock block = MakePackageBlock(p);
  if (bad_checksum) block.Bytes[kBlockChecksumLow] ^= 0x01;
  const BusFrame frame = PackFrame(block);
  return Bytes(frame.begin(), frame.end());
}

class ScriptedRegister::Timer : public ReplyTimer {
 public:
  explicit Timer(ScriptedRegister& reg) : reg_(&reg) {
    reg_->timer_ = this;
    backstop_.setSingleShot(true);
    QObject::connect(&backstop_, &QTimer::timeout, [this] {
      if (reg_) ++reg_->backstop_expiries_;
      Expire();
    });
  }
  ~Timer() override {
    if (reg_) reg_->timer_ = nullptr;
  }

  void Start(int ms, Expiry expired) override {
    expired_ = std::move(expired);
    running_ = true;
    backstop_.start(kBackstopMs);
    if (!reg_) return;
    reg_->waits_started_.push_back(ms);
    wait_ = reg_->waits_started_.size() - 1;
    ExpireIfDue();
  }
  void Stop() override {
    running_ = false;
    backstop_.stop();
  }

  void ExpireIfDue() {
    if (running_ && reg_ && wait_ < reg_->wait_ends_.size() &&
        reg_->wait_ends_[wait_] == WaitEnd::TimeOut)
      Expire();
  }
  // The register goes before the bus that holds this timer.
  void Detach() { reg_ = nullptr; }

 private:
  static constexpr int kBackstopMs = 20000;

  void Expire() {
    Stop();
    if (expired_) expired_();
  }

  ScriptedRegister* reg_;
  QTimer backstop_;
  Expiry expired_;
  std::size_t wait_ = 0;
  bool running_ = false;
};

ScriptedRegister::ScriptedRegister() {
  char name[256] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
    throw std::runtime_error("openpty failed");
  port_name_ = name;
  // Raw from the start, so nothing the program sends before it sets the line up
  // is echoed back to it.
  termios settings{};
  tcgetattr(slave_, &settings);
  cfmakeraw(&settings);
  tcsetattr(slave_, TCSANOW, &settings);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  notifier_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { OnReadable(); });
}

ScriptedRegister::~ScriptedRegister() {
  // A bus may outlive the register; its timer then ends its waits by the backstop.
  if (timer_) timer_->Detach();
  notifier_.reset();
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
}

int ScriptedRegister::Speed() const {
  termios settings{};
  if (master_ < 0 || tcgetattr(master_, &settings) != 0) return -1;
  return static_cast<int>(BaudOfTermiosSpeed(cfgetospeed(&settings)));
}

void ScriptedRegister::Write(const Bytes& bytes) {
  if (master_ < 0) return;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(master_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

void ScriptedRegister::PullPlug() {
  notifier_.reset();
  close(master_);
  master_ = -1;
}

bool ScriptedRegister::WaitForFrames(std::size_t count, int timeout_ms) {
  if (!notifier_) return frames_.size() >= count;
  QEventLoop loop;
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
  // Connected after OnReadable, so the new frame has been counted when it fires.
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, &loop, &QEventLoop::quit);
  timeout.start(timeout_ms);
  while (frames_.size() < count && timeout.isActive())
    loop.exec();
  return frames_.size() >= count;
}

void ScriptedRegister::OnReadable() {
  std::uint8_t buffer[512];
  for (;;) {
    const ssize_t n = read(master_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    for (ssize_t i = 0; i < n; ++i)
      Consume(buffer[i]);
  }
}

// Reassembles any well-formed frame, whatever its header: the register reads
// every frame the program sends.
void ScriptedRegister::Consume(std::uint8_t b) {
  const bool acceptable = position_ == 0                   ? b == kFrameStart
                          : position_ == kBusFrameSize - 1 ? b == kFrameEnd
                                                           : (b & 0x80) != 0;
  if (!acceptable) {
    stray_bytes_ += position_ + 1;
    position_ = 0;
    if (b == kFrameStart) {
      --stray_bytes_;
      assembly_[position_++] = b;
    }
    return;
  }
  assembly_[position_++] = b;
  if (position_ < kBusFrameSize) return;
  position_ = 0;
  const UnpackedFrame unpacked = UnpackFrame(assembly_);
  ReceivedFrame frame{unpacked.Block, unpacked.ChecksumError, Speed()};
  frames_.push_back(frame);
  Answer(frame);
}

void ScriptedRegister::Answer(const ReceivedFrame& frame) {
  const Reply reply = script_ ? script_(frame, frames_.size() - 1) : Reply{};
  if (!reply.Data.empty()) Write(reply.Data);
  wait_ends_.push_back(reply.End);
  if (timer_) timer_->ExpireIfDue();
}

std::unique_ptr<ReplyTimer> ScriptedRegister::MakeReplyTimer() {
  return std::make_unique<Timer>(*this);
}

}  // namespace plumgr::test
