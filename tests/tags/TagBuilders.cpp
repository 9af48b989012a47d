#include "tags/TagBuilders.h"

#include "support/TestSupport.h"

namespace tagblocks {

namespace {

QByteArray FixedWidth(const QByteArray& text, int width) {
  QByteArray field = text.left(width);
  field.append(width - field.size(), '\0');
  return field;
}

QByteArray Digits(int64_t value, int width) {
  return QByteArray::number(value).rightJustified(width, '0');
}

}  // namespace

QByteArray ID3v1Tag(const ID3v1Fields& fields) {
  Bytes tag;
  tag.Text("TAG")
      .Raw(FixedWidth(fields.title, 30))
      .Raw(FixedWidth(fields.artist, 30))
      .Raw(FixedWidth(fields.album, 30))
      .Raw(FixedWidth(fields.year, 4));
  if (fields.track >= 0) {
    tag.Raw(FixedWidth(fields.comment, 28)).U8(0).U8(static_cast<uint8_t>(fields.track));
  } else {
    tag.Raw(FixedWidth(fields.comment, 30));
  }
  return tag.U8(fields.genre);
}

QByteArray Lyrics3Field(const char* id, const QByteArray& data) {
  return QByteArray(id) + Digits(data.size(), 5) + data;
}

QByteArray Lyrics3Block(std::initializer_list<QByteArray> fields) {
  QByteArray block("LYRICSBEGIN");
  for (const QByteArray& field : fields)
    block += field;
  return block + Digits(block.size(), 6) + "LYRICS200";
}

QByteArray Synchsafe(uint32_t value) {
  return Bytes{static_cast<uint8_t>((value >> 21) & 0x7F),
               static_cast<uint8_t>((value >> 14) & 0x7F),
               static_cast<uint8_t>((value >> 7) & 0x7F), static_cast<uint8_t>(value & 0x7F)};
}

QByteArray ID3v2Frame(int version, const char* id, const QByteArray& data, uint16_t flags) {
  Bytes frame;
  frame.Text(id);
  const auto size = static_cast<uint32_t>(data.size());
  if (version == 2)
    return frame.BE24(size).Raw(data);
  if (version == 4) {
    frame.Raw(Synchsafe(size));
  } else {
    frame.BE32(size);
  }
  return frame.BE16(flags).Raw(data);
}

QByteArray ID3v2Header(int version, uint8_t flags, uint32_t sizeBytes) {
  return Bytes().Text("ID3").U8(static_cast<uint8_t>(version)).U8(0).U8(flags).BE32(sizeBytes);
}

QByteArray ID3v2Tag(int version, const QByteArray& frames, int padding, uint8_t flags) {
  const auto size = static_cast<uint32_t>(frames.size() + padding);
  return Bytes()
      .Text("ID3")
      .U8(static_cast<uint8_t>(version))
      .U8(0)
      .U8(flags)
      .Raw(Synchsafe(size))
      .Raw(frames)
      .Fill(padding);
}

QByteArray Latin1Text(const QByteArray& text) {
  return QByteArray(1, '\0') + text;
}

QByteArray Utf8Text(const QString& text) {
  return QByteArray(1, '\3') + text.toUtf8();
}

QByteArray Utf16Units(const QString& text, bool bigEndian) {
  Bytes units;
  for (const QChar character : text) {
    if (bigEndian) {
      units.BE16(character.unicode());
    } else {
      units.LE16(character.unicode());
    }
  }
  return units;
}

QByteArray Utf16Text(const QString& text, bool bigEndian) {
  return Bytes().U8(1).BE16(bigEndian ? 0xFEFF : 0xFFFE).Raw(Utf16Units(text, bigEndian));
}

QByteArray Utf16BigEndianText(const QString& text) {
  return QByteArray(1, '\2') + Utf16Units(text, true);
}

QByteArray APEItemBytes(const QByteArray& name, const QByteArray& value, uint32_t flags) {
  return Bytes().LE32(static_cast<uint32_t>(value.size())).LE32(flags).Raw(name).U8(0).Raw(value);
}

QByteArray APEFooter(uint32_t version, uint32_t size, uint32_t itemCount, bool isHeader) {
  const uint32_t flags = 0x80000000u | (isHeader ? 0x20000000u : 0);
  return Bytes().Text("APETAGEX").LE32(version).LE32(size).LE32(itemCount).LE32(flags).Fill(8);
}

QByteArray APETag(std::initializer_list<std::pair<QByteArray, QByteArray>> items, uint32_t version,
                  bool withHeader) {
  QByteArray body;
  for (const auto& [name, value] : items)
    body += APEItemBytes(name, value);
  const auto size = static_cast<uint32_t>(body.size() + 32);
  const auto count = static_cast<uint32_t>(items.size());
  const QByteArray header = withHeader ? APEFooter(version, size, count, true) : QByteArray();
  return header + body + APEFooter(version, size, count);
}

}  // namespace tagblocks
