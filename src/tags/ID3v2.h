#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

class FileStream;

// Reads an ID3v2 tag (versions 2, 3 and 4) at the start of a file: the header and the seventeen
// text and link frames the program uses. Texts are bytes: as stored for encoding 0 (Latin-1 or a
// legacy code page), UTF-8 for encodings 1, 2 and 3.
class TID3v2 {
 public:
  TID3v2() { ResetData(); }

  // False when the file cannot be opened or holds fewer than 10 bytes; true with or without tag.
  bool ReadFromFile(const QString& fileName);
  // The same on a stream its caller has open already (a stream reader that needs the tag).
  bool ReadFromStream(const FileStream& stream);
  void ResetData();

  bool Exists() const { return data_.exists; }
  uint8_t VersionID() const { return data_.versionID; }
  // Bytes from the start of the file to the end of the tag; 0 when that exceeds the file.
  int64_t Size() const { return data_.size; }
  const QByteArray& Title() const { return data_.title; }
  const QByteArray& Artist() const { return data_.artist; }
  const QByteArray& AlbumArtist() const { return data_.albumArtist; }
  const QByteArray& Album() const { return data_.album; }
  int32_t Track() const { return data_.track; }
  const QByteArray& TrackString() const { return data_.trackString; }
  const QByteArray& Year() const { return data_.year; }
  const QByteArray& Genre() const { return data_.genre; }
  const QByteArray& Comment() const { return data_.comment; }
  const QByteArray& Composer() const { return data_.composer; }
  const QByteArray& Encoder() const { return data_.encoder; }
  const QByteArray& Copyright() const { return data_.copyright; }
  const QByteArray& Language() const { return data_.language; }
  const QByteArray& Link() const { return data_.link; }
  const QByteArray& AudioSize() const { return data_.audioSize; }

 private:
  struct FrameSlots;
  // head: the first bytes of the file, already read.
  void ReadFrames(const FileStream& stream, QByteArray head, FrameSlots& frames) const;
  void TakeFields(const FrameSlots& frames);

  struct Data {
    bool exists = false;
    uint8_t versionID = 0;
    int64_t size = 0;
    QByteArray title, artist, album;
    int32_t track = 0;
    QByteArray trackString, year, genre, comment, composer, encoder, copyright, language, link,
        audioSize, albumArtist;
  };
  Data data_;
};
