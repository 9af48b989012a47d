#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>

class FileStream;

// The 148 ID3v1 genre names (the list with its common extension), indices 0 to 147.
inline constexpr int kGenreCount = 148;
const std::array<std::string_view, kGenreCount>& ID3v1Genres();

// Reads the 128-byte ID3v1 tag (1.0 and 1.1) at the end of a file and a Lyrics3 v2 block just
// before it (or at the very end without a tag). Texts are the stored bytes; callers decode them
// with the code page.
class TID3v1 {
 public:
  TID3v1() { ResetData(); }

  // False only when the file cannot be opened or a read fails; a file without a tag is true.
  bool ReadFromFile(const QString& fileName);
  // The same on a stream its caller has open already (a stream reader that needs the tag).
  bool ReadFromStream(const FileStream& stream);
  void ResetData();

  bool Exists() const { return data_.exists; }
  uint8_t VersionID() const { return data_.versionID; }  // 1 = 1.0, 2 = 1.1
  const QByteArray& Title() const { return data_.title; }
  const QByteArray& Artist() const { return data_.artist; }
  const QByteArray& Album() const { return data_.album; }
  const QByteArray& Year() const { return data_.year; }
  const QByteArray& Comment() const { return data_.comment; }
  uint8_t Track() const { return data_.track; }
  uint8_t GenreID() const { return data_.genreID; }
  bool LyricsExists() const { return data_.lyricsExists; }
  int32_t LyricsSize() const { return data_.lyricsSize; }
  const QByteArray& LyricsImage() const { return data_.lyricsImage; }
  const QByteArray& LyricsAuthor() const { return data_.lyricsAuthor; }
  const QByteArray& Lyrics() const { return data_.lyrics; }

  // The genre name for GenreID, empty from 148 on.
  QByteArray Genre() const;
  // LyricsSize + 15 when there is a Lyrics3 block, else 0.
  int64_t Lyrics3Size() const;
  // Bytes of tag data at the end of the file: Lyrics3Size, plus 128 with an ID3v1 tag.
  int64_t TotalSize() const;

 private:
  void ParseTag(QByteArrayView tag);
  // tail: the last bytes of the file, as far as the tag and the Lyrics3 trailer reach.
  void ReadLyrics3(const FileStream& stream, int64_t fileSize, QByteArrayView tail);
  void ParseLyricsFields(QByteArrayView fields);
  // False for an identifier this reader does not know, which ends the field list.
  bool ApplyLyricsField(QByteArrayView id, QByteArrayView data);

  struct Data {
    bool exists = false;
    uint8_t versionID = 1;
    QByteArray title, artist, album, year, comment;
    uint8_t track = 0;
    uint8_t genreID = 255;
    bool lyricsExists = false;
    int32_t lyricsSize = 0;
    QByteArray lyricsImage, lyricsAuthor, lyrics;
  };
  Data data_;
};
