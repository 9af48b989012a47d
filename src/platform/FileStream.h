#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>

enum class SeekOrigin { Begin, Current };

// A read-only handle on an existing regular file, opened by its Unicode path. Other readers are
// allowed; a file that another handle holds open for writing is refused (deny-write sharing).
// Sizes and positions are 64-bit. An invalid handle results from a failed open; nothing throws.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(const QString& path) { Open(path); }
  ~FileHandle();
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& other) noexcept;
  FileHandle& operator=(FileHandle&& other) noexcept;

  bool Open(const QString& path);
  void Close();
  bool IsValid() const { return fd_ >= 0; }

  // The size when the file was opened; -1 on an invalid handle.
  int64_t Size() const { return size_; }
  // The last modification when the file was opened, in UTC; invalid on an invalid handle.
  QDateTime LastModified() const;
  int64_t Position() const { return position_; }
  // Why the last open failed ("Permission denied"); empty after a successful one.
  const QString& FailureReason() const { return failure_; }
  // A fresh look at the open file still shows the size and modification time it had when it was
  // opened: nobody wrote to it in between.
  bool UnchangedSinceOpened() const;
  // Positions past the end are allowed (a read there returns 0); negative ones are refused.
  bool Seek(int64_t offset, SeekOrigin origin = SeekOrigin::Begin);
  // Reads up to count bytes at the current position and advances it; returns the number read
  // (fewer near the end of the file, 0 at the end or on an error).
  int64_t Read(void* buffer, int64_t count);
  // Reads at an absolute offset without moving the position.
  int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const;

 private:
  int fd_ = -1;
  int64_t size_ = -1;
  int64_t modifiedNsecs_ = 0;
  int64_t position_ = 0;
  QString failure_;
  QString path_;
};

// The same access as FileHandle for readers that treat a failed open as an error: the
// constructor throws FileError "Cannot open file %s" with the absolute path.
class FileStream {
 public:
  explicit FileStream(const QString& path);

  int64_t Size() const { return handle_.Size(); }
  int64_t Position() const { return handle_.Position(); }
  // Throws FileError for a position before the start of the file.
  void Seek(int64_t offset, SeekOrigin origin = SeekOrigin::Begin);
  int64_t Read(void* buffer, int64_t count) { return handle_.Read(buffer, count); }
  int64_t ReadAt(int64_t offset, void* buffer, int64_t count) const {
    return handle_.ReadAt(offset, buffer, count);
  }
  bool UnchangedSinceOpened() const { return handle_.UnchangedSinceOpened(); }
  QDateTime LastModified() const { return handle_.LastModified(); }
  const QString& Path() const { return path_; }

 private:
  QString path_;
  FileHandle handle_;
};
