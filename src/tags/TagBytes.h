#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class FileStream;

// Byte helpers the three tag readers share. Tag texts stay bytes; these only cut and bound them.
namespace tags {

// Tag writers pad fields with blanks, NULs or control characters; every byte up to 0x20 counts
// as padding.
QByteArray TrimRight(QByteArrayView bytes);
QByteArray Trim(QByteArrayView bytes);

// A run of ASCII digits only (no sign, no blanks); nothing for anything else or an overflow.
std::optional<int64_t> ParseDecimal(QByteArrayView digits);

// Drops a UTF-8 sequence cut short at the end, so that a value cut at a size limit still
// decodes instead of being rejected as a whole.
QByteArray DropIncompleteUtf8Tail(QByteArray text);

// Opens the file and hands the stream to read; false when the file cannot be opened.
bool WithOpenStream(const QString& fileName, const std::function<bool(const FileStream&)>& read);

// Up to count bytes at offset; fewer near the end of the file, none before its start.
QByteArray ReadAt(const FileStream& stream, int64_t offset, int64_t count);

// The last bytes of a file, where the trailing tags lie: up to `count` bytes (fewer in a shorter
// file) and the offset they start at. False when the file gave fewer bytes than it holds.
struct FileTail {
  int64_t Start = 0;
  QByteArray Bytes;
};
bool ReadTail(const FileStream& stream, int64_t count, FileTail& tail);

// Serves many small reads that walk through a file (frame headers, item names) from one
// buffered block, so that a tag of thousands of tiny frames costs few system calls. Reads never
// reach beyond the limit given at construction.
class FileWindow {
 public:
  FileWindow(const FileStream& stream, int64_t limit) : stream_(stream), limit_(limit) {}
  // Starts with bytes the caller has read from the start of the file already.
  FileWindow(const FileStream& stream, int64_t limit, QByteArray firstBlock)
      : stream_(stream), limit_(limit), block_(std::move(firstBlock)) {}

  int64_t Limit() const { return limit_; }
  // Up to count bytes (at most kBlockSize) at offset; fewer at the limit. The view stays valid
  // until the next call.
  QByteArrayView Peek(int64_t offset, int64_t count);

  static constexpr int64_t kBlockSize = 64 * 1024;

 private:
  const FileStream& stream_;
  int64_t limit_;
  QByteArray block_;
  int64_t blockStart_ = 0;
};

}  // namespace tags
