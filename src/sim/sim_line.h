#pragma once
// The register's end of the serial line: the master side of a new
// pseudo-terminal (the PC opens the slave) or a real tty device in raw mode.

#include <cstddef>
#include <cstdint>
#include <string>

namespace plumgr::sim {

class SimLine {
 public:
  enum class Kind { PseudoTerminal, Device };
  // What a non-blocking read found.
  enum class ReadStatus { Data, Empty, Closed };
  struct ReadResult {
    ReadStatus Status;
    std::size_t Size;
  };

  // Both throw std::system_error when the platform refuses.
  static SimLine OpenPseudoTerminal();
  static SimLine OpenDevice(const std::string& path, int speed);

  SimLine(SimLine&& other) noexcept;
  SimLine& operator=(SimLine&& other) noexcept;
  SimLine(const SimLine&) = delete;
  SimLine& operator=(const SimLine&) = delete;
  ~SimLine();

  Kind LineKind() const { return kind_; }
  // The path the PC opens: the slave of the pseudo-terminal, or the device.
  const std::string& PeerPath() const { return path_; }
  int Descriptor() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }

  // The speed the bytes now travel at. On a pseudo-terminal this is the speed
  // the PC has set on the slave (the master shares its settings); on a device
  // it is the speed set here. 0 when it cannot be read.
  int Speed() const;
  // Whether the line can be set to the speed: a pseudo-terminal takes the PC's
  // setting, whatever it is; a device only a speed its driver knows.
  bool CanUseSpeed(int speed) const;
  // Sets the device's speed, false when the device refused it (the speed it
  // reports afterwards is another); a pseudo-terminal keeps the PC's setting.
  [[nodiscard]] bool SetSpeed(int speed);

  // Empty also for a device that reported a hang-up and has nothing to read.
  ReadResult Read(std::uint8_t* buffer, std::size_t capacity);
  // Writes what the line takes now; returns the count written (0 when full),
  // or -1 when the line is gone.
  long Write(const std::uint8_t* data, std::size_t size);

  // Stops holding the slave open, so that the line reports a hang-up as soon as
  // the PC closes its side.
  void ReleaseSlave();
  // Closes the line: on a pseudo-terminal the PC's side then reads end of file
  // or EIO.
  void Close();

 private:
  SimLine(Kind kind, int fd, int slave_fd, std::string path);

  Kind kind_;
  int fd_ = -1;
  int slave_fd_ = -1;
  std::string path_;
};

}  // namespace plumgr::sim
