#pragma once

#include "readers/StreamReader.h"

#include <QString>
#include <cstdint>

// Reads a WavPack file (".wv", the block format of WavPack 4 and 5): the stream's format from the
// header and metadata sub-blocks of its first audio block, and its length from that block or,
// when the block leaves the length open, from the headers of all blocks.
class TWavPack : public StreamReader {
 public:
  TWavPack() { ResetData(); }

  // True when the file could be opened and a WavPack block starts its stream (after an ID3v2
  // tag, if any); false, without an exception, otherwise. Reads the tags only to know where the
  // audio lies.
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  // A decodable PCM stream (DSD is not described) with a rate, channels, at least one bit per
  // sample and more than 0.1 s.
  bool Valid() const override;
  int64_t FileSize() const override { return data_.fileSize; }
  double Duration() const override;
  int SampleRate() const override { return data_.sampleRate; }
  StreamFacts Describe() const override;

  // The stream version of the first audio block: 0x402 to 0x410 can be decoded.
  int Version() const { return data_.version; }
  int BitsPerSample() const { return data_.bitsPerSample; }
  int Channels() const { return data_.channels; }
  int64_t TotalSamples() const { return data_.totalSamples; }  // per channel
  // The first block left the length open and it was counted from the block headers.
  bool LengthCounted() const { return data_.lengthCounted; }
  bool Hybrid() const { return data_.hybrid; }
  bool Lossless() const { return !data_.hybrid; }
  bool FloatingPoint() const { return data_.floatingPoint; }
  bool Dsd() const { return data_.dsd; }
  // "5.0" or "4.0": which generation of WavPack wrote the file (see the rule in WavPack.cpp).
  QString EncoderVersion() const;
  // Where the first block starts, and the bytes from there to the tags at the end.
  int64_t AudioStart() const { return data_.audioStart; }
  int64_t AudioBytes() const { return data_.audioBytes; }
  // Percent of the uncompressed sample data that the whole file takes; 0 without samples.
  double Ratio() const;
  // kbit/s over the audio bytes; 0 without a duration.
  int BitRate() const;

 private:
  struct Data {
    int64_t fileSize = 0;
    int version = 0;
    int sampleRate = 0;
    int channels = 0;
    int bitsPerSample = 0;
    int64_t totalSamples = 0;
    bool lengthCounted = false;
    bool hybrid = false;
    bool floatingPoint = false;
    bool dsd = false;
    bool newConfigBlock = false;
    int64_t audioStart = 0;
    int64_t audioBytes = 0;
  };

  Data data_;
};
