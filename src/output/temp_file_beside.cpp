#include "output/temp_file_beside.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace plumgr {

namespace {

std::string RandomSuffix() {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::random_device device;
  std::string suffix;
  for (int i = 0; i < 8; ++i)
    suffix.push_back(kDigits[device() % 36]);
  return suffix;
}

}  // namespace

TempFileBeside::~TempFileBeside() {
  Discard();
}

FileResult TempFileBeside::Failure(int error) const {
  return FileResult::Failure("Cannot write \"" + target_ + "\": " + std::strerror(error));
}

void TempFileBeside::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

// A file that is replaced keeps who may read it.
void TempFileBeside::KeepTargetMode() {
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
    ::fchmod(fd_, existing.st_mode & 07777);
}

FileResult TempFileBeside::Create(const std::string& target) {
  Discard();
  target_ = target;
  if (FileResult replaceable = CheckReplaceable(target); !replaceable) return replaceable;
  std::filesystem::path path(target);
  if (path.filename().empty()) return Failure(EISDIR);
  // Hidden and unique, so that a crash leaves nothing that looks like the result.
  std::filesystem::path dir = path.parent_path();
  for (int attempt = 0; attempt < 16; ++attempt) {
    std::string name = "." + path.filename().string() + "." + RandomSuffix() + ".tmp";
    std::string candidate = (dir / name).string();
    fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temp_ = candidate;
      KeepTargetMode();
      return FileResult::Success();
    }
    if (errno != EEXIST) return Failure(errno);
  }
  return Failure(EEXIST);
}

FileResult TempFileBeside::Write(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Failure(errno);
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return FileResult::Success();
}

FileResult TempFileBeside::Commit() {
  if (::fsync(fd_) != 0) return Failure(errno);
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return Failure(errno);
  std::error_code ec;
  if (std::filesystem::is_directory(target_, ec)) return Failure(EISDIR);
  if (std::rename(temp_.c_str(), target_.c_str()) != 0) return Failure(errno);
  temp_.clear();
  return FileResult::Success();
}

}  // namespace plumgr
