#pragma once

#include "readers/MusepackSV8.h"
#include "readers/StreamReader.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <QString>
#include <cstdint>

// Reads the header of a Musepack file found right after an ID3v2 tag: the 32-byte header of
// stream versions 4, 5, 6, 7 and 7.1, or the packets of version 8 ("MPCK"), and the tags at the
// end that are not audio.
class TMPEGplus : public StreamReader {
 public:
  TMPEGplus() { ResetData(); }

  // True when 32 header bytes could be read, also for an unknown stream version.
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  // A known stream version in a non-empty file.
  bool Valid() const override { return data_.valid; }
  int64_t FileSize() const override { return data_.fileSize; }
  int64_t FrameCount() const { return data_.frameCount; }  // 1152 samples each
  int SampleRate() const override { return data_.sampleRate; }
  // 4, 5, 6, 7, 71 for version 7.1, or 8; 0 when unknown.
  uint8_t StreamVersion() const { return data_.streamVersion; }
  uint8_t ChannelModeID() const { return data_.channelModeID; }  // 0 unknown, 1 stereo, 2 joint
  QString ChannelMode() const;
  // Version 8: what its packets say.
  const MusepackSV8Header& SV8() const { return data_.sv8; }
  uint8_t ProfileID() const { return data_.profileID; }
  QString Profile() const;
  const QString& Encoder() const { return data_.encoder; }
  // kbit/s: the rate stored in versions 4 and 5, else computed from the audio size.
  int BitRate() const;
  double Duration() const override;
  StreamFacts Describe() const override;

  const TID3v1& ID3v1() const { return id3v1_; }
  const TID3v2& ID3v2() const { return id3v2_; }
  const TAPETag& APEtag() const { return apeTag_; }

 private:
  struct Data {
    bool valid = false;
    uint8_t channelModeID = 0;
    int64_t fileSize = 0;
    int64_t frameCount = 0;
    int sampleRate = 0;
    uint16_t headerBitRate = 0;
    uint8_t streamVersion = 0;
    uint8_t profileID = 0;
    QString encoder;
    TagExtents tags;  // where the tags lie, for the audio size
    MusepackSV8Header sv8;
  };
  bool ReadHeader(const FileStream& stream, const TagExtents& tags);
  bool ReadVersion8(const FileStream& stream, const TagExtents& tags);
  int64_t AudioEnd() const;

  Data data_;
  TID3v1 id3v1_;
  TID3v2 id3v2_;
  TAPETag apeTag_;
};
