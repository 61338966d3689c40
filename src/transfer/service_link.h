#pragma once
// The short sequences of the report upload and the service transfers share
// their opening and closing of the link: the port opened, the progress window
// shown, the connect handshake; every way out closes the port again. They do
// not read the register's status first.

#include <string>

#include "link/kovo_ibus_comm.h"
#include "link/progress_model.h"

namespace plumgr {

enum class ServiceOutcome {
  Done,
  // The bus component has shown why the port could not be opened.
  PortNotOpened,
  // The progress window has shown the error (or the operator cancelled).
  Failed,
  // A file could not be read or written; the message names it.
  FileError,
};

struct [[nodiscard]] ServiceResult {
  ServiceOutcome Outcome = ServiceOutcome::Done;
  std::string Message;  // for FileError
  explicit operator bool() const { return Outcome == ServiceOutcome::Done; }
};

// Whether a failed connect is followed by a disconnect telling the register
// that the PC gave up; the memory dump sends one, the others none.
enum class ErrorDisconnect { None, Once };

class ServiceLink {
 public:
  // The bus component must have its port and speed.
  ServiceLink(TKovoIBusComm& bus, ProgressModel& progress) : bus_(bus), progress_(progress) {}
  ServiceLink(const ServiceLink&) = delete;
  ServiceLink& operator=(const ServiceLink&) = delete;
  // Closes the port if a path out forgot to.
  ~ServiceLink();

  // Opens the port, shows the window with "Connect..." and connects. On a
  // failed connect the error path has run and the port is closed again.
  ServiceResult Open(ErrorDisconnect on_failure);
  // The error text, the wait for OK and the port closed.
  void Fail(const std::string& text, ErrorDisconnect disconnect);
  // "Disconnect...", the disconnect, the window closed, the port closed.
  void Close();
  // A file error in the middle of a sequence: the window closed, the register
  // told that the PC gave up, the port closed. The caller reports the message.
  void Abandon();

  TKovoIBusComm& Bus() { return bus_; }
  ProgressModel& Progress() { return progress_; }

 private:
  void ClosePort();

  TKovoIBusComm& bus_;
  ProgressModel& progress_;
  bool open_ = false;
};

// The step's name followed by "..." and by "...Error!".
std::string Running(const std::string& step);
std::string Failing(const std::string& step);

}  // namespace plumgr
