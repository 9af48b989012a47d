#include "platform/FileStream.h"

#include "platform/FileAccessHook.h"
#include "platform/FileError.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <utility>

namespace {

// A read lease can only be taken while nobody has the file open for writing, which is how Linux
// lets us refuse files that a writer holds open. Where the kernel will not grant leases to this
// process (not the file's owner, or a file system without leases) the probe is skipped.
bool SomeoneIsWriting(int fd) {
  if (fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
    fcntl(fd, F_SETLEASE, F_UNLCK);
    return false;
  }
  return errno == EAGAIN || errno == EBUSY;
}

// Why an open failed, in the words the user reads after "Cannot open file …".
QString OpenFailureReason(int errorNumber) {
  return SystemErrorText(errorNumber);
}

// Size and modification time come from the same fstat that tells a regular file: readers ask for
// them at once, and every system call counts when a thousand tracks are opened several times each.
int OpenReadOnlyRegularFile(const QString& path, int64_t& size, int64_t& modifiedNsecs,
                            QString& failure) {
  if (path.isEmpty()) {
    failure = OpenFailureReason(ENOENT);
    return -1;
  }
  const QByteArray native = QFile::encodeName(path);
  // Non-blocking, so that a FIFO or device given by name cannot stall the open. The flag stays
  // on: reads of a regular file never return early because of it.
  const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    failure = OpenFailureReason(errno);
    return -1;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    failure = OpenFailureReason(errno);
  } else if (!S_ISREG(info.st_mode)) {
    failure = QStringLiteral("Not a regular file");
  } else if (SomeoneIsWriting(fd)) {
    failure = QStringLiteral("Another program has the file open for writing");
  } else {
    size = static_cast<int64_t>(info.st_size);
    modifiedNsecs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return fd;
  }
  ::close(fd);
  return -1;
}

}  // namespace

FileHandle::~FileHandle() {
  Close();
}

FileHandle::FileHandle(FileHandle&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      size_(std::exchange(other.size_, -1)),
      modifiedNsecs_(std::exchange(other.modifiedNsecs_, 0)),
      position_(std::exchange(other.position_, 0)),
      failure_(std::exchange(other.failure_, QString())),
      path_(std::exchange(other.path_, QString())) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
  if (this != &other) {
    Close();
    fd_ = std::exchange(other.fd_, -1);
    size_ = std::exchange(other.size_, -1);
    modifiedNsecs_ = std::exchange(other.modifiedNsecs_, 0);
    position_ = std::exchange(other.position_, 0);
    failure_ = std::exchange(other.failure_, QString());
    path_ = std::exchange(other.path_, QString());
  }
  return *this;
}

bool FileHandle::Open(const QString& path) {
  Close();
  RunFileAccessHook(path, FileAccess::Open);
  fd_ = OpenReadOnlyRegularFile(path, size_, modifiedNsecs_, failure_);
  if (fd_ >= 0)
    path_ = path;
  return IsValid();
}

void FileHandle::Close() {
  if (fd_ >= 0)
    ::close(fd_);
  fd_ = -1;
  size_ = -1;
  modifiedNsecs_ = 0;
  position_ = 0;
  failure_.clear();
  path_.clear();
}

bool FileHandle::UnchangedSinceOpened() const {
  struct stat info {};
  if (fd_ < 0 || fstat(fd_, &info) != 0)
    return false;
  const int64_t modified =
      static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
  return static_cast<int64_t>(info.st_size) == size_ && modified == modifiedNsecs_;
}

QDateTime FileHandle::LastModified() const {
  return IsValid() ? QDateTime::fromMSecsSinceEpoch(modifiedNsecs_ / 1000000, Qt::UTC)
                   : QDateTime();
}

bool FileHandle::Seek(int64_t offset, SeekOrigin origin) {
  if (fd_ < 0)
    return false;
  const int64_t target = origin == SeekOrigin::Begin ? offset : position_ + offset;
  if (target < 0)
    return false;
  position_ = target;
  return true;
}

int64_t FileHandle::Read(void* buffer, int64_t count) {
  const int64_t done = ReadAt(position_, buffer, count);
  position_ += done;
  return done;
}

int64_t FileHandle::ReadAt(int64_t offset, void* buffer, int64_t count) const {
  if (fd_ < 0 || count <= 0 || offset < 0 || ReadsStopped())
    return 0;
  RunFileAccessHook(path_, FileAccess::Read);
  auto* out = static_cast<char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd_, out + done, static_cast<size_t>(count - done), offset + done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      break;
    done += got;
  }
  return done;
}

FileStream::FileStream(const QString& path) : path_(path) {
  if (!handle_.Open(path))
    throw FileError::CannotOpen(path, handle_.FailureReason());
}

void FileStream::Seek(int64_t offset, SeekOrigin origin) {
  if (!handle_.Seek(offset, origin)) {
    throw FileError(QStringLiteral("Seek before the start of file %1").arg(path_));
  }
}
