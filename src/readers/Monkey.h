#pragma once

#include "readers/StreamReader.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <QString>
#include <cstdint>

// Reads the header of a Monkey's Audio file in both layouts: the one before format version 3980
// and the descriptor-plus-header layout from 3980 on.
class TMonkey : public StreamReader {
 public:
  TMonkey() { ResetData(); }

  // Equal to Valid() after the read; false for any failure.
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  bool Valid() const override { return data_.valid; }
  int Version() const { return data_.version; }  // format version x 1000, e.g. 3990
  const QString& VersionString() const { return data_.versionString; }  // "3.99"
  int Channels() const { return data_.channels; }
  int SampleRate() const override { return data_.sampleRate; }
  int BitsPerSample() const { return data_.bitsPerSample; }
  int64_t TotalSamples() const { return data_.totalSamples; }  // per channel
  double Duration() const override { return data_.duration; }
  int CompressionLevel() const { return data_.compressionLevel; }
  const QString& CompressionLevelText() const { return data_.compressionLevelText; }
  int FormatFlags() const { return data_.formatFlags; }
  int64_t FileSize() const override { return data_.fileSize; }
  // Percent of the uncompressed size (with a 44-byte WAV header) that the whole file takes.
  double Ratio() const;
  StreamFacts Describe() const override;

  const TID3v1& ID3v1() const { return id3v1_; }
  const TID3v2& ID3v2() const { return id3v2_; }
  const TAPETag& APEtag() const { return apeTag_; }

 private:
  struct Data {
    bool valid = false;
    int version = 0;
    QString versionString;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    int64_t totalSamples = 0;
    double duration = 0;
    int compressionLevel = 0;
    QString compressionLevelText;
    int formatFlags = 0;
    int64_t fileSize = 0;
  };

  bool ReadStream(const FileStream& stream, const TagExtents& tags);
  // Reads the header at `start` into data_; false when the file holds no complete header.
  bool ReadHeader(const FileStream& stream, int64_t start);

  Data data_;
  TID3v1 id3v1_;
  TID3v2 id3v2_;
  TAPETag apeTag_;
};
