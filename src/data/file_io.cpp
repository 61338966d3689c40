#include "data/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

namespace plumgr {
namespace {

std::string ErrorText(const std::string& what, const std::string& path, int error) {
  return what + " \"" + path + "\". " + std::strerror(error);
}

// The file a path stands for: a symbolic link is followed, so that replacing the
// file does not replace the link with a plain file.
std::string ResolveTarget(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_symlink(path, ec)) return path;
  std::filesystem::path target = std::filesystem::canonical(path, ec);
  return ec ? path : target.string();
}

constexpr char kTempMark[] = ".tmp-";
constexpr std::size_t kTempSuffixLength = 8;
constexpr char kTempDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";

// A temporary file this old was left by a writer that was killed or lost its
// power: no save takes an hour, so a writer still at work is never touched.
constexpr auto kStaleTempAge = std::chrono::hours(1);

std::string TempNameFor(const std::string& target) {
  static thread_local std::mt19937_64 random{std::random_device{}()};
  std::string name = target + kTempMark;
  for (std::size_t i = 0; i < kTempSuffixLength; ++i)
    name += kTempDigits[random() % (sizeof kTempDigits - 1)];
  return name;
}

bool IsTempNameOf(const std::string& file_name, const std::string& target_name) {
  const std::string prefix = target_name + kTempMark;
  if (file_name.size() != prefix.size() + kTempSuffixLength) return false;
  if (file_name.compare(0, prefix.size(), prefix) != 0) return false;
  return file_name.find_first_not_of(kTempDigits, prefix.size()) == std::string::npos;
}

// Removes the temporary files of target that an interrupted save left behind,
// so that the operator's folder does not fill with them.
void RemoveStaleTemps(const std::string& target) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(target);
  const std::string target_name = path.filename().string();
  const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!IsTempNameOf(it->path().filename().string(), target_name)) continue;
    std::error_code entry_ec;
    if (!it->is_regular_file(entry_ec)) continue;
    const auto written = it->last_write_time(entry_ec);
    if (!entry_ec && now - written > kStaleTempAge) fs::remove(it->path(), entry_ec);
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// What another writer wrote to the file reaches the disk before the rename.
FileResult FlushToDisk(const std::string& temp, const std::string& target) {
  int fd = ::open(temp.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return FileResult::Failure(ErrorText("Cannot write file", target, errno));
  const bool flushed = ::fsync(fd) == 0;
  const int error = errno;
  ::close(fd);
  if (!flushed) return FileResult::Failure(ErrorText("Cannot write file", target, error));
  return FileResult::Success();
}

}  // namespace

FileResult CheckReplaceable(const std::string& path) {
  const std::string target = ResolveTarget(path);
  struct stat file {};
  if (::stat(target.c_str(), &file) != 0) return FileResult::Success();
  if (S_ISDIR(file.st_mode))
    return FileResult::Failure(ErrorText("Cannot write file", path, EISDIR));
  // A rename would replace a read-only file as easily as any other; the mark is
  // the owner's word that the file stays as it is, also against root.
  if ((file.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
    return FileResult::Failure("Cannot write file \"" + path + "\". The file is read-only");
  return FileResult::Success();
}

FileReadResult ReadFileBytes(const std::string& path) {
  FileReadResult result;
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    result.Ok = false;
    result.Missing = errno == ENOENT;
    result.Message = ErrorText("Cannot open file", path, errno);
    return result;
  }
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) break;
    if (got < 0) {
      if (errno == EINTR) continue;
      result.Ok = false;
      result.Message = ErrorText("Cannot read file", path, errno);
      result.Bytes.clear();
      break;
    }
    result.Bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  return result;
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : target_(std::move(other.target_)),
      temp_(std::exchange(other.temp_, {})),
      filled_by_path_(other.filled_by_path_) {}

PendingFile& PendingFile::operator=(PendingFile&& other) noexcept {
  if (this != &other) {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    target_ = std::move(other.target_);
    temp_ = std::exchange(other.temp_, {});
    filled_by_path_ = other.filled_by_path_;
  }
  return *this;
}

PendingFile::~PendingFile() {
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

FileResult PendingFile::Create(const std::string& path, NewFileAccess access, PendingFile* out,
                               int* fd) {
  std::string target = ResolveTarget(path);
  struct stat old_file {};
  bool exists = ::stat(target.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode);
  mode_t mode = access == NewFileAccess::OwnerOnly ? 0600 : 0666;

  std::string temp;
  *fd = -1;
  for (int attempt = 0; attempt < 100 && *fd < 0; ++attempt) {
    temp = TempNameFor(target);
    *fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (*fd < 0 && errno != EEXIST) break;
  }
  if (*fd < 0) return FileResult::Failure(ErrorText("Cannot create file", path, errno));

  PendingFile pending;
  pending.target_ = target;
  pending.temp_ = temp;
  if (exists) {
    // The new file takes the place of the old one, so it keeps its owner and mode.
    // Only root may keep another user's ownership; otherwise the file becomes ours.
    if (::fchown(*fd, old_file.st_uid, old_file.st_gid) != 0) errno = 0;
    if (::fchmod(*fd, old_file.st_mode & 07777) != 0) errno = 0;
  }
  *out = std::move(pending);
  return FileResult::Success();
}

FileResult PendingFile::Prepare(const std::string& path, std::string_view bytes,
                                NewFileAccess access, PendingFile* out) {
  PendingFile pending;
  int fd = -1;
  if (FileResult created = Create(path, access, &pending, &fd); !created) return created;
  bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) return FileResult::Failure(ErrorText("Cannot write file", path, error));
  *out = std::move(pending);
  return FileResult::Success();
}

FileResult PendingFile::Reserve(const std::string& path, NewFileAccess access, PendingFile* out) {
  if (FileResult replaceable = CheckReplaceable(path); !replaceable) return replaceable;
  PendingFile pending;
  int fd = -1;
  if (FileResult created = Create(path, access, &pending, &fd); !created) return created;
  ::close(fd);
  pending.filled_by_path_ = true;
  *out = std::move(pending);
  return FileResult::Success();
}

FileResult PendingFile::CheckTarget() const {
  return CheckReplaceable(target_);
}

FileResult PendingFile::Commit() {
  if (temp_.empty()) return FileResult::Failure("Cannot write file \"" + target_ + "\".");
  if (filled_by_path_) {
    if (FileResult flushed = FlushToDisk(temp_, target_); !flushed) return flushed;
    filled_by_path_ = false;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0)
    return FileResult::Failure(ErrorText("Cannot write file", target_, errno));
  temp_.clear();
  RemoveStaleTemps(target_);
  return FileResult::Success();
}

FileResult ReplaceFile(const std::string& path, std::string_view bytes, NewFileAccess access) {
  PendingFile pending;
  if (FileResult prepared = PendingFile::Prepare(path, bytes, access, &pending); !prepared)
    return prepared;
  if (FileResult checked = pending.CheckTarget(); !checked) return checked;
  return pending.Commit();
}

}  // namespace plumgr
