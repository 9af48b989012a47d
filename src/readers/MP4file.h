#pragma once

#include "readers/StreamReader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

// The ALAC decoder's configuration ("magic cookie") as the sample entry carries it.
struct TAlacConfig {
  uint32_t FrameLength = 0;
  int CompatibleVersion = 0;
  int BitDepth = 0;
  int RiceHistoryMult = 0;     // pb
  int RiceInitialHistory = 0;  // mb
  int RiceLimit = 0;           // kb
  int Channels = 0;
  int MaxRun = 0;
  uint32_t MaxFrameBytes = 0;
  uint32_t AvgBitRate = 0;  // bit/s
  uint32_t SampleRate = 0;
};

// Reads an MPEG-4 audio file (".m4a", ".mp4") holding AAC (LC, HE-AAC, HE-AACv2) or Apple
// Lossless: the box tree of the movie header, the first sound track's sample description and
// times, and the iTunes-style item list. The media data is never read, only its size counted.
class TMP4file : public StreamReader {
 public:
  enum class CodecKind { Unknown, Aac, Alac };

  // What the sound track's header and sample description say.
  struct SoundTrack {
    CodecKind codec = CodecKind::Unknown;
    QByteArray sampleEntry;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    double duration = 0;
    int objectTypeIndication = 0;
    int audioObjectType = 0;
    int coreSampleRate = 0;
    bool sbr = false;
    bool ps = false;
    uint32_t maxBitrate = 0;
    uint32_t avgBitrate = 0;
    TAlacConfig alac;
  };

  TMP4file() { ResetData(); }

  // True when the file could be opened and starts (after an ID3v2 tag, if any) with a box;
  // false, without an exception, when it cannot be opened.
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  // A sound track in AAC or ALAC with channels, a rate and more than 0.1 s (ALAC: and a bit
  // depth).
  bool Valid() const override;
  int64_t FileSize() const override { return data_.fileSize; }
  // The sound track's media time, else the movie's.
  double Duration() const override { return data_.sound.duration; }
  // For HE-AAC the rate the decoder puts out, twice the core's as a rule.
  int SampleRate() const override { return data_.sound.sampleRate; }
  StreamFacts Describe() const override;

  CodecKind Codec() const { return data_.sound.codec; }
  // "AAC LC", "HE-AAC", "HE-AACv2", "AAC Main" …, "ALAC"; empty for an unknown coding.
  QString CodecName() const;
  // The four letters of the sound track's sample entry ("mp4a", "alac"); empty without one.
  const QByteArray& SampleEntry() const { return data_.sound.sampleEntry; }
  int Channels() const { return data_.sound.channels; }
  int BitsPerSample() const { return data_.sound.bitsPerSample; }
  // kbit/s: the ES descriptor's average when given, else the media data over the duration.
  int BitRate() const;
  // Percent of the uncompressed sample data that the whole file takes; 0 without a duration.
  double Ratio() const;

  // AAC only.
  int ObjectTypeIndication() const { return data_.sound.objectTypeIndication; }
  int AudioObjectType() const { return data_.sound.audioObjectType; }  // of the core: 2 for LC
  int CoreSampleRate() const { return data_.sound.coreSampleRate; }
  bool HasSbr() const { return data_.sound.sbr; }
  bool HasPs() const { return data_.sound.ps; }
  uint32_t MaxBitrate() const { return data_.sound.maxBitrate; }  // bit/s, 0 when not given
  uint32_t AvgBitrate() const { return data_.sound.avgBitrate; }
  int64_t MediaDataBytes() const { return data_.mediaDataBytes; }

  // ALAC only.
  const TAlacConfig& Alac() const { return data_.sound.alac; }

  const QString& Title() const { return data_.title; }
  const QString& Artist() const { return data_.artist; }
  const QString& Album() const { return data_.album; }
  const QString& Year() const { return data_.year; }
  const QString& Genre() const { return data_.genre; }
  const QString& AlbumArtist() const { return data_.albumArtist; }
  const QString& Encoder() const { return data_.encoder; }  // the ©too item

 private:
  struct Data {
    int64_t fileSize = 0;
    SoundTrack sound;
    int64_t mediaDataBytes = 0;
    QString title, artist, album, year, genre, albumArtist, encoder;
  };

  Data data_;
};
