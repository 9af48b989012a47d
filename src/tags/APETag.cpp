#include "tags/APETag.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "tags/TagBytes.h"

#include <algorithm>

namespace {

constexpr int64_t kFooterSize = 32;
constexpr int64_t kID3v1Size = 128;
constexpr int64_t kItemHeaderSize = 8;  // value size and item flags
// The smallest item: its header and the NUL of an empty name, with an empty value.
constexpr int64_t kMinimumItemSize = kItemHeaderSize + 1;
// Values are kept for display only; cover art and other binary items are cut.
constexpr int64_t kValueCapacity = 250;
constexpr int64_t kNameSearchStep = 256;
constexpr int32_t kFirstUtf8Version = 2000;

// An ID3v1 tag may follow the APE tag; the footer then ends 128 bytes before the file does.
// tail holds the last bytes of the file, as far back as a footer in front of an ID3v1 tag.
int64_t ID3v1Shift(QByteArrayView tail, int64_t fileSize) {
  if (fileSize <= kID3v1Size)
    return 0;
  return bytes::Matches(tail, tail.size() - kID3v1Size, "TAG") ? kID3v1Size : 0;
}

QByteArray UpperCaseAscii(QByteArrayView name) {
  QByteArray upper = name.toByteArray();
  for (char& byte : upper) {
    if (byte >= 'a' && byte <= 'z')
      byte = static_cast<char>(byte - 'a' + 'A');
  }
  return upper;
}

// The offset of the NUL that ends an item name, searched up to the end of the items.
std::optional<int64_t> FindNameEnd(tags::FileWindow& window, int64_t nameStart) {
  for (int64_t position = nameStart; position < window.Limit(); position += kNameSearchStep) {
    const QByteArrayView chunk = window.Peek(position, kNameSearchStep);
    if (chunk.isEmpty())
      break;
    const qsizetype nul = chunk.indexOf('\0');
    if (nul >= 0)
      return position + nul;
  }
  return std::nullopt;
}

// The first bytes of a value as kept for display, from the block the item headers come from. A
// UTF-8 character cut by the limit is dropped, so that the value still decodes.
QByteArray ItemValue(tags::FileWindow& window, int64_t start, int64_t storedSize, int64_t available,
                     bool utf8) {
  const int64_t kept = std::min({storedSize, available, kValueCapacity});
  QByteArray value = tags::Trim(window.Peek(start, kept));
  if (utf8 && storedSize > kValueCapacity) {
    value = tags::TrimRight(tags::DropIncompleteUtf8Tail(value));
  }
  return value;
}

}  // namespace

void TAPETag::ResetData() {
  data_ = Data();
}

QByteArray TAPETag::GetValue(const QByteArray& name) const {
  const QByteArray wanted = UpperCaseAscii(name);
  const auto item = std::find_if(
      data_.items.begin(), data_.items.end(),
      [&](const APEItem& candidate) { return UpperCaseAscii(candidate.Name) == wanted; });
  return item == data_.items.end() ? QByteArray() : item->Value;
}

bool TAPETag::ReadFromFile(const QString& fileName) {
  ResetData();
  return tags::WithOpenStream(fileName,
                              [this](const FileStream& stream) { return ReadFromStream(stream); });
}

bool TAPETag::ReadFromStream(const FileStream& stream) {
  ResetData();
  try {
    const int64_t fileSize = stream.Size();
    // Both places the footer can take lie in the last bytes of the file: one read serves them.
    tags::FileTail fileTail;
    if (!tags::ReadTail(stream, kID3v1Size + kFooterSize, fileTail))
      return false;
    const int64_t tailStart = fileTail.Start;
    const QByteArray& tail = fileTail.Bytes;
    const int64_t tagEnd = fileSize - ID3v1Shift(tail, fileSize);
    const int64_t footerStart = tagEnd - kFooterSize;
    if (footerStart <= 0)
      return false;
    const QByteArrayView footer = QByteArrayView(tail).sliced(footerStart - tailStart, kFooterSize);
    if (!bytes::Matches(footer, 0, "APETAGEX"))
      return true;
    data_.exists = true;
    data_.version = static_cast<int32_t>(bytes::LE32(footer, 8));
    data_.size = bytes::LE32(footer, 12);
    ReadItems(stream, tagEnd - data_.size, footerStart, bytes::LE32(footer, 16));
    return true;
  } catch (const FileError&) {
    return false;
  }
}

// The item count and the tag size come from the file and may be anything: the count is capped
// by what can fit between the first item and the footer, and no item reaches into the footer.
void TAPETag::ReadItems(const FileStream& stream, int64_t itemsStart, int64_t itemsEnd,
                        uint32_t itemCount) {
  if (itemsStart < 0 || itemsStart >= itemsEnd)
    return;
  const int64_t itemLimit =
      std::min<int64_t>(itemCount, (itemsEnd - itemsStart) / kMinimumItemSize);
  tags::FileWindow window(stream, itemsEnd);
  int64_t position = itemsStart;
  for (int64_t index = 0; index < itemLimit && position + kMinimumItemSize <= itemsEnd; ++index) {
    const int64_t valueSize = bytes::LE32(window.Peek(position, kItemHeaderSize), 0);
    const int64_t nameStart = position + kItemHeaderSize;
    const std::optional<int64_t> nameEnd = FindNameEnd(window, nameStart);
    if (!nameEnd)
      return;
    APEItem item;
    item.Name = tags::Trim(window.Peek(nameStart, *nameEnd - nameStart));
    const int64_t valueStart = *nameEnd + 1;
    item.Value = ItemValue(window, valueStart, valueSize, itemsEnd - valueStart,
                           data_.version >= kFirstUtf8Version);
    data_.items.push_back(std::move(item));
    position = valueStart + valueSize;
  }
}
