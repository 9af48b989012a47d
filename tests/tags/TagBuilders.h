#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <utility>

// Builders for the tag blocks that sit in front of or behind audio data, for tests of the tag
// readers and of the stream readers that step over them. Each returns the block's bytes.
namespace tagblocks {

// ---- ID3v1 and Lyrics3 ----

struct ID3v1Fields {
  // Cut or NUL-padded to their field widths.
  QByteArray title = {}, artist = {}, album = {}, year = {}, comment = {};
  int track = -1;  // 0 to 255 makes a version 1.1 tag
  uint8_t genre = 255;
};
QByteArray ID3v1Tag(const ID3v1Fields& fields);

// One field: the identifier, five length digits and the data.
QByteArray Lyrics3Field(const char* id, const QByteArray& data);
// "LYRICSBEGIN", the fields, then the six-digit size and "LYRICS200".
QByteArray Lyrics3Block(std::initializer_list<QByteArray> fields);

// ---- ID3v2 ----

// A frame header and data. Version 2 has three-letter identifiers and 24-bit sizes; version 3
// plain 32-bit sizes; version 4 synchsafe sizes.
QByteArray ID3v2Frame(int version, const char* id, const QByteArray& data, uint16_t flags = 0);
// The ten-byte header (synchsafe size of frames plus padding) followed by frames and padding.
QByteArray ID3v2Tag(int version, const QByteArray& frames, int padding = 0, uint8_t flags = 0);
// A ten-byte tag header with the four size bytes exactly as given.
QByteArray ID3v2Header(int version, uint8_t flags, uint32_t sizeBytes);
// A four-byte synchsafe integer.
QByteArray Synchsafe(uint32_t value);

// Text frame data: encoding byte, then the text.
QByteArray Latin1Text(const QByteArray& text);
QByteArray Utf8Text(const QString& text);
// Encoding 1 with the byte-order mark FF FE (little-endian) or FE FF (big-endian).
QByteArray Utf16Text(const QString& text, bool bigEndian = false);
// Encoding 2: big-endian without a mark.
QByteArray Utf16BigEndianText(const QString& text);
// The code units of a text in UTF-16 (no mark, no terminator).
QByteArray Utf16Units(const QString& text, bool bigEndian);

// ---- APE tag ----

QByteArray APEItemBytes(const QByteArray& name, const QByteArray& value, uint32_t flags = 0);
// A 32-byte footer, or header when isHeader.
QByteArray APEFooter(uint32_t version, uint32_t size, uint32_t itemCount, bool isHeader = false);
// Items then a footer whose size and count match them; with a header in front if asked.
QByteArray APETag(std::initializer_list<std::pair<QByteArray, QByteArray>> items,
                  uint32_t version = 2000, bool withHeader = false);

}  // namespace tagblocks
