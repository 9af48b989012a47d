#include "tags/TagBytes.h"

#include "platform/FileError.h"
#include "platform/FileStream.h"

#include <algorithm>
#include <limits>

namespace tags {

namespace {

bool IsPadding(char byte) {
  return static_cast<uint8_t>(byte) <= 0x20;
}

bool IsContinuation(char byte) {
  return (static_cast<uint8_t>(byte) & 0xC0) == 0x80;
}

}  // namespace

QByteArray TrimRight(QByteArrayView bytes) {
  qsizetype end = bytes.size();
  while (end > 0 && IsPadding(bytes[end - 1]))
    --end;
  return bytes.first(end).toByteArray();
}

QByteArray Trim(QByteArrayView bytes) {
  qsizetype begin = 0;
  while (begin < bytes.size() && IsPadding(bytes[begin]))
    ++begin;
  return TrimRight(bytes.sliced(begin));
}

std::optional<int64_t> ParseDecimal(QByteArrayView digits) {
  if (digits.isEmpty())
    return std::nullopt;
  int64_t value = 0;
  for (const char digit : digits) {
    if (digit < '0' || digit > '9')
      return std::nullopt;
    if (value > (std::numeric_limits<int64_t>::max() - 9) / 10)
      return std::nullopt;
    value = value * 10 + (digit - '0');
  }
  return value;
}

QByteArray DropIncompleteUtf8Tail(QByteArray text) {
  // Walk back over at most three continuation bytes to the lead byte of the last sequence.
  qsizetype lead = text.size() - 1;
  while (lead >= 0 && text.size() - lead < 4 && IsContinuation(text[lead]))
    --lead;
  if (lead < 0)
    return text;
  const auto leadByte = static_cast<uint8_t>(text[lead]);
  const qsizetype expected = leadByte >= 0xF0 ? 4 : leadByte >= 0xE0 ? 3 : leadByte >= 0xC0 ? 2 : 1;
  if (text.size() - lead < expected)
    text.truncate(lead);
  return text;
}

bool WithOpenStream(const QString& fileName, const std::function<bool(const FileStream&)>& read) {
  try {
    const FileStream stream(fileName);
    return read(stream);
  } catch (const FileError&) {
    return false;
  }
}

QByteArray ReadAt(const FileStream& stream, int64_t offset, int64_t count) {
  if (offset < 0 || count <= 0)
    return QByteArray();
  QByteArray bytes(static_cast<qsizetype>(count), '\0');
  const int64_t read = stream.ReadAt(offset, bytes.data(), count);
  bytes.truncate(static_cast<qsizetype>(std::max<int64_t>(read, 0)));
  return bytes;
}

bool ReadTail(const FileStream& stream, int64_t count, FileTail& tail) {
  const int64_t size = stream.Size();
  tail.Start = std::max<int64_t>(size - count, 0);
  tail.Bytes = ReadAt(stream, tail.Start, size - tail.Start);
  return tail.Bytes.size() == size - tail.Start;
}

QByteArrayView FileWindow::Peek(int64_t offset, int64_t count) {
  count = std::min({count, kBlockSize, limit_ - offset});
  if (offset < 0 || count <= 0)
    return QByteArrayView();
  const int64_t blockEnd = blockStart_ + block_.size();
  if (offset < blockStart_ || offset + count > blockEnd) {
    blockStart_ = offset;
    block_ = ReadAt(stream_, offset, std::min(kBlockSize, limit_ - offset));
  }
  const int64_t available = blockStart_ + block_.size() - offset;
  return QByteArrayView(block_).sliced(offset - blockStart_, std::min(count, available));
}

}  // namespace tags
