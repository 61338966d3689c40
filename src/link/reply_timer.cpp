#include "link/reply_timer.h"

#include <QTimer>

namespace plumgr {
namespace {

class EventLoopTimer : public ReplyTimer {
 public:
  EventLoopTimer() {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      if (expired_) expired_();
    });
  }

  void Start(int ms, Expiry expired) override {
    expired_ = std::move(expired);
    timer_.start(ms);
  }
  void Stop() override { timer_.stop(); }

 private:
  QTimer timer_;
  Expiry expired_;
};

}  // namespace

std::unique_ptr<ReplyTimer> MakeEventLoopTimer() {
  return std::make_unique<EventLoopTimer>();
}

}  // namespace plumgr
