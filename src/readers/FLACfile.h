#pragma once

#include "readers/StreamReader.h"
#include "readers/VorbisComment.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

// One metadata block of a FLAC file.
struct TBlockEntry {
  uint8_t BlockType = 0;  // 0..126
  int64_t Offset = 0;     // file offset of the block's 4-byte header
  int64_t Size = 0;       // header plus body
};

// One PICTURE block; the picture data itself is not read.
struct TPictureTag {
  uint32_t PictureType = 0;
  QByteArray MimeType;
  QString Description;
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint32_t ColorDepth = 0;
  uint32_t Colors = 0;
  uint32_t DataLength = 0;
  int64_t DataOffset = 0;  // file offset of the picture data
  int BlockIndex = 0;      // index of the block in Blocks(), from 0
};

// What the metadata walk of one FLAC file collects.
struct FLACFileInfo {
  int64_t fileSize = 0;
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  int64_t samples = 0;
  double duration = 0;
  VorbisCommentFields tags;
  std::array<uint8_t, 16> md5Signature{};
  std::vector<TBlockEntry> blocks;
  std::vector<TPictureTag> pictures;
};

// Walks the metadata blocks of a FLAC file: the stream facts of STREAMINFO, the Vorbis comment
// (the format's own tag), and tables of all blocks and of the PICTURE blocks.
class TFLACfile : public StreamReader {
 public:
  TFLACfile() { ResetData(); }

  // True when the file starts with "fLaC" and its metadata was walked (also when the walk
  // stopped early at a truncated or inconsistent block). Throws FileError "Cannot open file %s"
  // when the file cannot be opened.
  bool ReadFromFile(const QString& fileName) override;
  // The same on an open stream; nothing is thrown here.
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  // Every field but FileName goes back to its reset value.
  void ResetData() override;

  // Channels, sample rate, more than 0.1 s and at least 4 bits per sample.
  bool Valid() const override;
  const QString& FileName() const { return fileName_; }  // the name last read successfully
  int64_t FileSize() const override { return data_.fileSize; }
  int Channels() const { return data_.channels; }
  int SampleRate() const override { return data_.sampleRate; }
  int BitsPerSample() const { return data_.bitsPerSample; }
  int64_t Samples() const { return data_.samples; }  // per channel
  double Duration() const override { return data_.duration; }

  const QString& TrackNumber() const { return data_.tags.trackNumber; }
  const QString& Title() const { return data_.tags.title; }
  const QString& Artist() const { return data_.tags.artist; }
  const QString& Album() const { return data_.tags.album; }
  const QString& AlbumArtist() const { return data_.tags.albumArtist; }
  const QString& Date() const { return data_.tags.date; }
  const QString& Genre() const { return data_.tags.genre; }
  const QString& Comment() const { return data_.tags.comment; }
  // Every other comment entry as NAME=value, joined by U+0000.
  const QString& OtherFields() const { return data_.tags.otherFields; }
  const QString& Vendor() const { return data_.tags.vendor; }
  const std::array<uint8_t, 16>& MD5Signature() const { return data_.md5Signature; }

  int BlockCount() const { return static_cast<int>(data_.blocks.size()); }
  const std::vector<TBlockEntry>& Blocks() const { return data_.blocks; }
  int PictureCount() const { return static_cast<int>(data_.pictures.size()); }
  const std::vector<TPictureTag>& Pictures() const { return data_.pictures; }

  // Percent of the uncompressed sample data that the whole file takes; 0 without a duration or
  // without any block.
  double Ratio() const;
  StreamFacts Describe() const override;

  // "Cover (front)" and the other names of the picture types 0 to 20; empty for other types.
  static QString PictureTypeName(uint32_t pictureType);

 private:
  QString fileName_;
  FLACFileInfo data_;
};
