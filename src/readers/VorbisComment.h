#pragma once

#include <QByteArrayView>
#include <QString>

// The fields of a Vorbis comment, the tag of FLAC and of Ogg streams.
struct VorbisCommentFields {
  QString vendor, title, artist, album, albumArtist, trackNumber, date, genre, comment;
  // Every other entry as NAME=value, joined by U+0000.
  QString otherFields;
};

// Parses a Vorbis comment held in memory: the vendor text, an entry count and the NAME=value
// entries, every length little-endian and checked against what is left of the bytes, so a false
// count or length ends the parse instead of sizing anything. Names and the vendor are 8-bit text
// of the system code page; values are UTF-8. Album artists come as ALBUMARTIST, "ALBUM ARTIST" or
// ALBUM_ARTIST.
void ReadVorbisComment(QByteArrayView body, VorbisCommentFields& fields);

// The text without the blanks and control characters (bytes up to 32) at either end, as the
// encoders of FLAC and Ogg pad their texts.
QByteArrayView TrimBlanksAndControls(QByteArrayView text);
