#include "sim/ecr_simulator.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <system_error>

namespace plumgr::sim {

EcrSimulator::EcrSimulator(SimConfig config)
    : config_(std::move(config)), handlers_(DefaultPackageHandlers()), shared_(config_) {
  wake_fd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wake_fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

EcrSimulator::~EcrSimulator() {
  Stop();
  close(wake_fd_);
}

void EcrSimulator::SetHandler(std::uint8_t type, PackageHandler handler) {
  handlers_.Set(type, std::move(handler));
}

std::string EcrSimulator::Start() {
  SimLine line = SimLine::OpenPseudoTerminal();
  std::string path = line.PeerPath();
  StartThread(std::move(line));
  return path;
}

void EcrSimulator::StartOnDevice(const std::string& path) {
  StartThread(SimLine::OpenDevice(path, 9600));
}

void EcrSimulator::StartThread(SimLine line) {
  Stop();
  {
    std::lock_guard lock(shared_.Mutex);
    shared_.Running = true;
    shared_.End.reset();
  }
  stop_ = false;
  thread_ = std::thread([this, line = std::move(line)]() mutable { Serve(line); });
}

EndReason EcrSimulator::Run(SimLine line) {
  {
    std::lock_guard lock(shared_.Mutex);
    shared_.Running = true;
    shared_.End.reset();
  }
  stop_ = false;
  return Serve(line);
}

EndReason EcrSimulator::Serve(SimLine& line) {
  if (config_.Log)
    config_.Log(EventLogLine("start", "\"path\":" + JsonString(line.PeerPath()), UtcTimestamp()));
  EndReason reason = EndReason::Failed;
  std::string detail;
  try {
    SimEngine engine(line, shared_, config_, handlers_);
    reason = engine.Run(wake_fd_, stop_);
  } catch (const std::exception& e) {
    detail = ",\"error\":" + JsonString(e.what());
  }
  line.Close();
  if (config_.Log)
    config_.Log(EventLogLine("end", "\"reason\":" + JsonString(EndReasonName(reason)) + detail,
                             UtcTimestamp()));
  {
    std::lock_guard lock(shared_.Mutex);
    shared_.Running = false;
    shared_.End = reason;
  }
  shared_.Changed.notify_all();
  return reason;
}

void EcrSimulator::Stop() {
  // Also ends a Run on another thread; that thread's owner joins it.
  stop_ = true;
  eventfd_write(wake_fd_, 1);
  if (thread_.joinable()) thread_.join();
}

bool EcrSimulator::Running() const {
  std::lock_guard lock(shared_.Mutex);
  return shared_.Running;
}

std::optional<EndReason> EcrSimulator::WaitUntilEnded(std::chrono::milliseconds timeout) {
  std::unique_lock lock(shared_.Mutex);
  shared_.Changed.wait_for(lock, timeout, [this] { return !shared_.Running; });
  if (shared_.Running) return std::nullopt;
  return shared_.End;
}

void EcrSimulator::SetStatus(const RegisterStatus& status) {
  std::lock_guard lock(shared_.Mutex);
  shared_.State.Status = status;
}

void EcrSimulator::SetFaults(const FaultPlan& plan) {
  std::lock_guard lock(shared_.Mutex);
  shared_.Faults.Reset(plan);
}

RegisterState EcrSimulator::State() const {
  std::lock_guard lock(shared_.Mutex);
  return shared_.State;
}

RegisterMemory EcrSimulator::Memory() const {
  std::lock_guard lock(shared_.Mutex);
  return shared_.State.Memory;
}

void EcrSimulator::SetMemory(RegisterMemory memory) {
  std::lock_guard lock(shared_.Mutex);
  shared_.State.Memory = std::move(memory);
}

std::optional<std::string> EcrSimulator::SaveState(const std::string& path) const {
  RegisterImage image;
  {
    std::lock_guard lock(shared_.Mutex);
    image.Status = shared_.State.Status;
    image.Memory = shared_.State.Memory;
  }
  return SaveStateFile(path, image);
}

std::vector<ReceivedPackage> EcrSimulator::Received() const {
  std::lock_guard lock(shared_.Mutex);
  return shared_.State.Received;
}

bool EcrSimulator::WaitForFrames(std::size_t count, std::chrono::milliseconds timeout) {
  std::unique_lock lock(shared_.Mutex);
  return shared_.Changed.wait_for(lock, timeout,
                                  [&] { return shared_.State.Received.size() >= count; });
}

}  // namespace plumgr::sim
