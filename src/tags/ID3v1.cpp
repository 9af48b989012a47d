#include "tags/ID3v1.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "tags/TagBytes.h"

#include <algorithm>

namespace {

constexpr int64_t kTagSize = 128;
constexpr int64_t kTrailerSize = 15;     // six size digits and "LYRICS200"
constexpr int64_t kFieldHeaderSize = 8;  // three-letter identifier and five length digits
constexpr QByteArrayView kLyricsBegin("LYRICSBEGIN");
constexpr QByteArrayView kLyricsEnd("LYRICS200");

// Version 1.1 puts the track number into the last byte of the comment, behind a marker that
// some taggers write as a blank instead of a NUL.
bool IsVersion11(QByteArrayView tag) {
  const uint8_t marker = bytes::U8(tag, 125);
  const uint8_t track = bytes::U8(tag, 126);
  return (marker == 0x00 && track != 0x00) || (marker == 0x20 && track != 0x20);
}

QByteArray Field(QByteArrayView tag, qsizetype offset, qsizetype length) {
  return tags::TrimRight(tag.sliced(offset, length));
}

// Lone CRs become CR LF; CR LF pairs stay as they were.
QByteArray NormaliseLineBreaks(QByteArray text) {
  return text.replace("\r", "\r\n").replace("\r\n\n", "\r\n");
}

}  // namespace

void TID3v1::ResetData() {
  data_ = Data();
}

QByteArray TID3v1::Genre() const {
  if (data_.genreID >= kGenreCount)
    return QByteArray();
  const std::string_view name = ID3v1Genres()[data_.genreID];
  return QByteArray(name.data(), static_cast<qsizetype>(name.size()));
}

int64_t TID3v1::Lyrics3Size() const {
  return data_.lyricsSize > 0 ? int64_t{data_.lyricsSize} + kTrailerSize : 0;
}

int64_t TID3v1::TotalSize() const {
  return Lyrics3Size() + (data_.exists ? kTagSize : 0);
}

bool TID3v1::ReadFromFile(const QString& fileName) {
  ResetData();
  return tags::WithOpenStream(fileName,
                              [this](const FileStream& stream) { return ReadFromStream(stream); });
}

bool TID3v1::ReadFromStream(const FileStream& stream) {
  ResetData();
  try {
    const int64_t fileSize = stream.Size();
    // The tag and the Lyrics3 trailer in front of it (or at the very end, without a tag) both
    // lie in the last bytes of the file: one read serves them.
    tags::FileTail fileTail;
    if (!tags::ReadTail(stream, kTagSize + kTrailerSize, fileTail))
      return false;
    const QByteArray& tail = fileTail.Bytes;
    if (fileSize >= kTagSize)
      ParseTag(QByteArrayView(tail).last(kTagSize));
    ReadLyrics3(stream, fileSize, tail);
    return true;
  } catch (const FileError&) {
    return false;
  }
}

void TID3v1::ParseTag(QByteArrayView tag) {
  if (!bytes::Matches(tag, 0, "TAG"))
    return;
  data_.exists = true;
  const bool version11 = IsVersion11(tag);
  data_.versionID = version11 ? 2 : 1;
  data_.title = Field(tag, 3, 30);
  data_.artist = Field(tag, 33, 30);
  data_.album = Field(tag, 63, 30);
  data_.year = Field(tag, 93, 4);
  data_.comment = Field(tag, 97, version11 ? 28 : 30);
  data_.track = version11 ? bytes::U8(tag, 126) : 0;
  data_.genreID = bytes::U8(tag, 127);
}

void TID3v1::ReadLyrics3(const FileStream& stream, int64_t fileSize, QByteArrayView tail) {
  const int64_t trailerEnd = fileSize - (data_.exists ? kTagSize : 0);
  const int64_t trailerStart = trailerEnd - kTrailerSize;
  if (trailerStart < 0)
    return;
  const QByteArrayView trailer = tail.sliced(tail.size() - (fileSize - trailerStart), kTrailerSize);
  if (!bytes::Matches(trailer, 6, kLyricsEnd))
    return;

  // Six digits bound the block to under a megabyte, so it is read whole.
  const int64_t blockSize = tags::ParseDecimal(QByteArrayView(trailer).first(6)).value_or(0);
  data_.lyricsSize = static_cast<int32_t>(blockSize);
  if (blockSize <= 0)
    return;
  const int64_t blockStart = trailerStart - blockSize;
  const QByteArray block = tags::ReadAt(stream, blockStart, blockSize);
  if (!bytes::Matches(block, 0, kLyricsBegin)) {
    data_.lyricsSize = 0;
    return;
  }
  data_.lyricsExists = true;
  ParseLyricsFields(QByteArrayView(block).sliced(kLyricsBegin.size()));
}

void TID3v1::ParseLyricsFields(QByteArrayView fields) {
  int64_t position = 0;
  while (bytes::Fits(fields, position, kFieldHeaderSize)) {
    const QByteArrayView id = fields.sliced(position, 3);
    const std::optional<int64_t> length = tags::ParseDecimal(fields.sliced(position + 3, 5));
    position += kFieldHeaderSize;
    // A field running past the trailer is damaged; what follows it cannot be trusted either.
    if (!length || !bytes::Fits(fields, position, *length))
      return;
    if (!ApplyLyricsField(id, fields.sliced(position, *length)))
      return;
    position += *length;
  }
}

bool TID3v1::ApplyLyricsField(QByteArrayView id, QByteArrayView data) {
  if (id == "IND")
    return true;
  if (id == "LYR") {
    data_.lyrics = NormaliseLineBreaks(tags::Trim(data));
  } else if (id == "INF") {
    data_.comment = tags::Trim(data);
  } else if (id == "AUT") {
    data_.lyricsAuthor = tags::Trim(data);
  } else if (id == "EAL") {
    data_.album = tags::Trim(data);
  } else if (id == "EAR") {
    data_.artist = tags::Trim(data);
  } else if (id == "ETT") {
    data_.title = tags::Trim(data);
  } else if (id == "IMG") {
    data_.lyricsImage = data.toByteArray();
  } else {
    return false;
  }
  return true;
}
