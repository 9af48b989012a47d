#include "tags/ID3v2.h"

#include "platform/ByteView.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "tags/TagBytes.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>

namespace {

constexpr int64_t kHeaderSize = 10;
constexpr int64_t kFirstRead = 4096;
constexpr int64_t kFooterSize = 10;
constexpr uint8_t kFooterFlag = 0x10;
// Only the start of a frame is kept: enough for any text the program shows, and a picture costs
// one seek instead of a read.
constexpr int64_t kSlotCapacity = 500;

enum SlotIndex {
  kTitle,
  kArtist,
  kAlbum,
  kTrack,
  kYear,
  kGenre,
  kComment,
  kComposer,
  kEncoder,
  kCopyright,
  kLanguage,
  kLink,
  kRecordingTime,
  kOriginalArtist,
  kContentGroup,
  kOriginalAlbum,
  kAudioSize,
  kAlbumArtist,
  kSlotCount
};

struct SlotIds {
  QByteArrayView version34;
  QByteArrayView version2;
};

// In slot order; versions 3 and 4 share four-letter identifiers, version 2 has three letters.
constexpr std::array<SlotIds, kSlotCount> kSlotIds = {{
    {"TIT2", "TT2"},
    {"TPE1", "TP1"},
    {"TALB", "TAL"},
    {"TRCK", "TRK"},
    {"TYER", "TYE"},
    {"TCON", "TCO"},
    {"COMM", "COM"},
    {"TCOM", "TCM"},
    {"TENC", "TEN"},
    {"TCOP", "TCR"},
    {"TLAN", "TLA"},
    {"WXXX", "WXX"},
    {"TDRC", "TOR"},
    {"TOPE", "TOA"},
    {"TIT1", "TT1"},
    {"TOAL", "TOT"},
    {"TSIZ", "TSI"},
    {"TPE2", "TP2"},
}};

enum TextEncoding : uint8_t { kLatin1 = 0, kUtf16 = 1, kUtf16BigEndian = 2, kUtf8 = 3 };

bool IsUpperLetter(char byte) {
  return byte >= 'A' && byte <= 'Z';
}

bool IsFrameIdCharacter(char byte) {
  return IsUpperLetter(byte) || (byte >= '0' && byte <= '9');
}

bool IsUtf16(uint8_t encoding) {
  return encoding == kUtf16 || encoding == kUtf16BigEndian;
}

// Bytes 6 to 9 of the header weigh 2^21, 2^14, 2^7 and 1. They are taken whole: a byte with its
// high bit set is out of the format, and the larger size it gives usually exceeds the file.
int64_t TagSizeFromHeader(QByteArrayView header) {
  int64_t size = 0;
  for (int i = 6; i < 10; ++i)
    size = size * 128 + bytes::U8(header, i);
  size += kHeaderSize;
  if (bytes::U8(header, 5) & kFooterFlag)
    size += kFooterSize;
  return size;
}

// A synchsafe integer spreads 28 bits over four bytes whose high bits are clear.
std::optional<int64_t> SynchsafeSize(QByteArrayView sizeBytes) {
  int64_t size = 0;
  for (int i = 0; i < 4; ++i) {
    const uint8_t byte = bytes::U8(sizeBytes, i);
    if (byte & 0x80)
      return std::nullopt;
    size = size * 128 + byte;
  }
  return size;
}

// A frame ends where the tag ends, where padding begins, or where another frame begins.
bool EndsOnFrameBoundary(tags::FileWindow& window, int64_t position) {
  if (position == window.Limit())
    return true;
  if (position > window.Limit())
    return false;
  const QByteArrayView next = window.Peek(position, 4);
  if (!next.isEmpty() && next[0] == '\0')
    return true;
  return next.size() == 4 && std::all_of(next.begin(), next.end(), IsFrameIdCharacter);
}

// Version 4 stores frame sizes as synchsafe integers, but some old encoders wrote plain ones.
// The two agree below 128 bytes; otherwise the reading that ends on the next frame wins.
int64_t Version4FrameSize(tags::FileWindow& window, QByteArrayView header, int64_t dataStart) {
  const int64_t plain = bytes::BE32(header, 4);
  const std::optional<int64_t> synchsafe = SynchsafeSize(header.sliced(4, 4));
  if (!synchsafe)
    return plain;
  if (*synchsafe == plain || EndsOnFrameBoundary(window, dataStart + *synchsafe))
    return *synchsafe;
  return EndsOnFrameBoundary(window, dataStart + plain) ? plain : *synchsafe;
}

// Version 4 lets a text frame hold several values, each ended by a NUL (and writers of other
// versions do the same): they are joined with "; " so that no NUL reaches any output, and the
// NULs at the end are dropped.
QByteArray JoinValues(QList<QByteArray> values) {
  while (!values.isEmpty() && tags::Trim(values.back()).isEmpty())
    values.removeLast();
  for (QByteArray& value : values)
    value = tags::Trim(value);
  return values.join("; ");
}

QByteArray Utf16ToUtf8(QByteArrayView units, bool bigEndian, bool cut) {
  const auto unitAt = [&](qsizetype offset) {
    return bigEndian ? bytes::BE16(units, offset) : bytes::LE16(units, offset);
  };
  QList<QByteArray> values;
  QString text;
  bool valueStart = true;
  for (qsizetype position = 0; position + 1 < units.size(); position += 2) {
    const char16_t unit = unitAt(position);
    // A byte-order mark at the start of a value decides the order; read the other way round it
    // is U+FFFE. Each value may carry its own.
    if (valueStart && (unit == 0xFEFF || unit == 0xFFFE)) {
      bigEndian = bigEndian == (unit == 0xFEFF);
      valueStart = false;
      continue;
    }
    valueStart = false;
    if (unit == 0) {
      values.append(text.toUtf8());
      text.clear();
      valueStart = true;
      continue;
    }
    text.append(QChar(unit));
  }
  if (cut && !text.isEmpty() && text.back().isHighSurrogate())
    text.chop(1);
  values.append(text.toUtf8());
  return JoinValues(values);
}

// The text of a frame whose first byte names its encoding. Single-byte and UTF-8 texts stay as
// stored; UTF-16 becomes UTF-8, the form the program decodes tag texts from.
QByteArray DecodeText(QByteArrayView block, bool cut) {
  if (block.isEmpty())
    return QByteArray();
  const uint8_t encoding = bytes::U8(block, 0);
  if (IsUtf16(encoding))
    return Utf16ToUtf8(block.sliced(1), encoding == kUtf16BigEndian, cut);
  QByteArray text = JoinValues(block.sliced(1).toByteArray().split('\0'));
  if (encoding == kUtf8 && cut)
    text = tags::TrimRight(tags::DropIncompleteUtf8Tail(text));
  return text;
}

// Where the text after a content description starts: behind its terminator, a NUL byte or, in
// UTF-16, a whole NUL code unit. Nothing when the description never ends.
std::optional<qsizetype> TextAfterDescription(QByteArrayView description, uint8_t encoding) {
  if (!IsUtf16(encoding)) {
    const qsizetype nul = description.indexOf('\0');
    if (nul < 0)
      return std::nullopt;
    return nul + 1;
  }
  for (qsizetype offset = 0; offset + 1 < description.size(); offset += 2) {
    if (description[offset] == '\0' && description[offset + 1] == '\0')
      return offset + 2;
  }
  return std::nullopt;
}

// The number in front of a "/" ("3/12" is track 3); 0 for anything that is not a number.
int32_t TrackNumber(const QByteArray& trackText) {
  const qsizetype slash = trackText.indexOf('/');
  const QByteArray number = tags::Trim(slash < 0 ? trackText : trackText.first(slash));
  const int64_t value = tags::ParseDecimal(number).value_or(0);
  return value <= std::numeric_limits<int32_t>::max() ? static_cast<int32_t>(value) : 0;
}

// Genre references such as "(17)" are not looked up: "(17)Rock" gives "Rock".
QByteArray GenreText(const QByteArray& genre) {
  const qsizetype lastParenthesis = genre.lastIndexOf(')');
  return lastParenthesis < 0 ? genre : genre.sliced(lastParenthesis + 1);
}

// The start of a frame's data. Inside the tag it comes from the block the frame headers were
// read with, so that a tag costs one read instead of one per frame; a frame that claims to run
// past the end of the tag is read from the file as it stands.
QByteArray SlotBlock(const FileStream& stream, tags::FileWindow& window, int64_t start,
                     int64_t count) {
  if (start + count <= window.Limit())
    return window.Peek(start, count).toByteArray();
  return tags::ReadAt(stream, start, count);
}

QByteArray FirstNonEmpty(QByteArray preferred, QByteArray fallback) {
  return preferred.isEmpty() ? fallback : preferred;
}

}  // namespace

// The start of each wanted frame, kept only for the length of one read.
struct TID3v2::FrameSlots {
  struct Slot {
    QByteArray block;  // the first bytes of the frame data, the encoding byte first
    bool cut = false;  // the frame was longer than the slot
  };
  std::array<Slot, kSlotCount> entries;

  QByteArray Text(int index) const { return DecodeText(entries[index].block, entries[index].cut); }
  uint8_t Encoding(int index) const { return bytes::U8(entries[index].block, 0); }
  QByteArray Comment() const;
  QByteArray Link() const;
  QByteArray Year() const;
};

// COMM: encoding, a three-letter language, a description, then the comment text.
QByteArray TID3v2::FrameSlots::Comment() const {
  const Slot& slot = entries[kComment];
  const uint8_t encoding = Encoding(kComment);
  const QByteArrayView description =
      QByteArrayView(slot.block).sliced(std::min<qsizetype>(4, slot.block.size()));
  const std::optional<qsizetype> textStart = TextAfterDescription(description, encoding);
  if (!textStart)
    return QByteArray();
  return DecodeText(
      QByteArray(1, static_cast<char>(encoding)) + description.sliced(*textStart).toByteArray(),
      slot.cut);
}

// WXXX: encoding, a description, then the link. The link is Latin-1 whatever the encoding says.
QByteArray TID3v2::FrameSlots::Link() const {
  const Slot& slot = entries[kLink];
  const QByteArrayView description =
      QByteArrayView(slot.block).sliced(std::min<qsizetype>(1, slot.block.size()));
  const std::optional<qsizetype> linkStart = TextAfterDescription(description, Encoding(kLink));
  if (!linkStart)
    return QByteArray();
  return tags::Trim(description.sliced(*linkStart));
}

// The year frame, else the first four characters of the recording time ("2004-05-01").
QByteArray TID3v2::FrameSlots::Year() const {
  const QByteArray year = Text(kYear);
  if (!year.isEmpty())
    return year;
  const QByteArray recordingYear = Text(kRecordingTime).left(4);
  // Cut from UTF-8, four bytes may end inside a character.
  return Encoding(kRecordingTime) == kLatin1 ? recordingYear
                                             : tags::DropIncompleteUtf8Tail(recordingYear);
}

void TID3v2::ResetData() {
  data_ = Data();
}

bool TID3v2::ReadFromFile(const QString& fileName) {
  ResetData();
  return tags::WithOpenStream(fileName,
                              [this](const FileStream& stream) { return ReadFromStream(stream); });
}

bool TID3v2::ReadFromStream(const FileStream& stream) {
  ResetData();
  try {
    const int64_t fileSize = stream.Size();
    // The header and, for most tags, all of their frames come with one read.
    QByteArray head = tags::ReadAt(stream, 0, std::min(fileSize, kFirstRead));
    if (head.size() < kHeaderSize)
      return false;
    const QByteArrayView header = QByteArrayView(head).first(kHeaderSize);
    if (!bytes::Matches(header, 0, "ID3"))
      return true;
    data_.exists = true;
    data_.versionID = bytes::U8(header, 3);
    const int64_t tagSize = TagSizeFromHeader(header);
    data_.size = tagSize <= fileSize ? tagSize : 0;
    if (data_.versionID < 2 || data_.versionID > 4 || data_.size == 0)
      return true;
    FrameSlots frames;
    ReadFrames(stream, std::move(head), frames);
    TakeFields(frames);
    return true;
  } catch (const FileError&) {
    return false;
  }
}

void TID3v2::ReadFrames(const FileStream& stream, QByteArray head, FrameSlots& frames) const {
  const bool version2 = data_.versionID == 2;
  const int64_t frameHeaderSize = version2 ? 6 : 10;
  const qsizetype idSize = version2 ? 3 : 4;
  tags::FileWindow window(stream, data_.size, std::move(head));
  int64_t position = kHeaderSize;
  while (position < data_.size) {
    const QByteArray header = window.Peek(position, frameHeaderSize).toByteArray();
    // Padding, an extended header or garbage: none starts with a capital letter.
    if (header.size() < frameHeaderSize || !IsUpperLetter(header[0]))
      break;
    const int64_t dataStart = position + frameHeaderSize;
    const int64_t frameSize = version2               ? int64_t{bytes::BE24(header, 3)}
                              : data_.versionID == 4 ? Version4FrameSize(window, header, dataStart)
                                                     : int64_t{bytes::BE32(header, 4)};
    const QByteArrayView id = QByteArrayView(header).first(idSize);
    // Bit 7 of the second flag byte: a compressed frame in version 3, whose text cannot be used.
    const bool skipped = !version2 && (bytes::U8(header, 9) & 0x80);
    const auto slot = std::find_if(kSlotIds.begin(), kSlotIds.end(), [&](const SlotIds& ids) {
      return (version2 ? ids.version2 : ids.version34) == id;
    });
    if (!skipped && slot != kSlotIds.end()) {
      QByteArray block = SlotBlock(stream, window, dataStart, std::min(frameSize, kSlotCapacity));
      if (block.isEmpty() || bytes::U8(block, 0) <= kUtf8) {
        frames.entries[slot - kSlotIds.begin()] = {std::move(block), frameSize > kSlotCapacity};
      }
    }
    position = dataStart + frameSize;
  }
}

void TID3v2::TakeFields(const FrameSlots& frames) {
  data_.title = FirstNonEmpty(frames.Text(kTitle), frames.Text(kContentGroup));
  data_.artist = FirstNonEmpty(frames.Text(kArtist), frames.Text(kOriginalArtist));
  data_.album = FirstNonEmpty(frames.Text(kAlbum), frames.Text(kOriginalAlbum));
  data_.trackString = frames.Text(kTrack);
  data_.track = TrackNumber(data_.trackString);
  data_.year = frames.Year();
  data_.genre = GenreText(frames.Text(kGenre));
  data_.comment = frames.Comment();
  data_.composer = frames.Text(kComposer);
  data_.encoder = frames.Text(kEncoder);
  data_.copyright = frames.Text(kCopyright);
  data_.language = frames.Text(kLanguage);
  data_.link = frames.Link();
  data_.audioSize = frames.Text(kAudioSize);
  data_.albumArtist = frames.Text(kAlbumArtist);
}
