#include "transfer/service_link.h"

#include "data/definitions.h"

namespace plumgr {

ServiceLink::~ServiceLink() {
  ClosePort();
}

std::string Running(const std::string& step) {
  return step + "...";
}

std::string Failing(const std::string& step) {
  return step + "...Error!";
}

ServiceResult ServiceLink::Open(ErrorDisconnect on_failure) {
  if (!bus_.Activate(true)) return {ServiceOutcome::PortNotOpened, {}};
  open_ = true;
  progress_.SetBus(&bus_);
  progress_.Show();
  const std::string& connect = Texts().ProgressTexts.Connect;
  progress_.SetStatus(StatusMode::Normal, Running(connect));
  if (bus_.Connect(kStationNumber)) return {};
  Fail(Failing(connect), on_failure);
  return {ServiceOutcome::Failed, {}};
}

void ServiceLink::Fail(const std::string& text, ErrorDisconnect disconnect) {
  if (disconnect == ErrorDisconnect::Once) bus_.Disconnect(kStationNumber, true);
  progress_.SetStatus(StatusMode::Error, text);
  progress_.WaitForAcknowledge();
  ClosePort();
}

void ServiceLink::Close() {
  progress_.SetStatus(StatusMode::Normal, Running(Texts().ProgressTexts.Disconnect));
  bus_.Disconnect(kStationNumber, false);
  progress_.Close();
  ClosePort();
}

void ServiceLink::Abandon() {
  bus_.Disconnect(kStationNumber, true);
  progress_.Close();
  ClosePort();
}

void ServiceLink::ClosePort() {
  if (!open_) return;
  open_ = false;
  (void)bus_.Activate(false);
}

}  // namespace plumgr
