#pragma once
// Whole-file reads and crash-safe whole-file replacement. A file is replaced by
// writing a temporary file in the same directory and renaming it over the old
// one, so a failure at any point leaves the old file as it was.

#include <string>
#include <string_view>

namespace plumgr {

// The outcome of a file operation; Message names the file (and the line where
// one applies) when Ok is false.
struct [[nodiscard]] FileResult {
  bool Ok = true;
  std::string Message;

  static FileResult Success() { return {}; }
  static FileResult Failure(std::string message) { return {false, std::move(message)}; }
  explicit operator bool() const { return Ok; }
};

struct [[nodiscard]] FileReadResult {
  bool Ok = true;
  bool Missing = false;  // the file does not exist (Ok is false then too)
  std::string Bytes;
  std::string Message;
};

// Reads the whole file as bytes.
FileReadResult ReadFileBytes(const std::string& path);

// Refuses what a replacement must not do to an existing file at path: replace a
// directory, or a file that is read-only. A missing file is fine.
FileResult CheckReplaceable(const std::string& path);

// Who may read a file that the replacement creates; a file that already exists
// keeps its own permissions.
enum class NewFileAccess { Shared, OwnerOnly };

// A temporary file written beside its target, not yet renamed over it.
class PendingFile {
 public:
  PendingFile() = default;
  PendingFile(PendingFile&& other) noexcept;
  PendingFile& operator=(PendingFile&& other) noexcept;
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;
  ~PendingFile();  // removes the temporary file unless it was committed

  // Writes the bytes to a temporary file beside path and flushes them to disk.
  static FileResult Prepare(const std::string& path, std::string_view bytes, NewFileAccess access,
                            PendingFile* out);
  // For a writer that needs a path of its own (libxlsxwriter): an empty
  // temporary file beside path, for the writer to fill through TempPath() before
  // Commit, which flushes it to disk first.
  static FileResult Reserve(const std::string& path, NewFileAccess access, PendingFile* out);
  // Refuses early what would make Commit fail (a directory in the target's
  // place) or replace a read-only file (CheckReplaceable).
  FileResult CheckTarget() const;
  // Renames the temporary file over the target.
  FileResult Commit();

  const std::string& Target() const { return target_; }
  const std::string& TempPath() const { return temp_; }

 private:
  // Creates the temporary file beside path, with the old file's owner and mode.
  static FileResult Create(const std::string& path, NewFileAccess access, PendingFile* out,
                           int* fd);

  std::string target_;
  std::string temp_;
  bool filled_by_path_ = false;  // written by another writer, not yet flushed
};

// Replaces the file at path with the bytes (Prepare and Commit in one step).
FileResult ReplaceFile(const std::string& path, std::string_view bytes,
                       NewFileAccess access = NewFileAccess::Shared);

}  // namespace plumgr
