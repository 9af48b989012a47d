#pragma once

#include "readers/StreamReader.h"
#include "readers/VorbisComment.h"

#include <QString>
#include <cstdint>

// Reads an Ogg Opus or Ogg Vorbis file (".opus", ".ogg", ".oga"): the identification and
// comment headers of the first logical stream the program knows, the granule position of its
// last page (from the file's tail, so a long file costs a few reads) and the bytes of audio pages.
class TOggFile : public StreamReader {
 public:
  enum class StreamKind { Unknown, Opus, Vorbis };

  TOggFile() { ResetData(); }

  // True when the file could be opened and an Ogg page starts the stream (after an ID3v2 tag, if
  // any); false, without an exception, when it cannot be opened.
  bool ReadFromFile(const QString& fileName) override;
  bool ReadFromStream(const FileStream& stream, const TagExtents& tags) override;
  void ResetData() override;

  // A known stream with channels, a rate and more than 0.1 s.
  bool Valid() const override;
  int64_t FileSize() const override { return data_.fileSize; }
  double Duration() const override { return data_.duration; }
  // Opus: the input rate the header names (48000 when it names none); Vorbis: the stream's rate.
  int SampleRate() const override;
  StreamFacts Describe() const override;

  StreamKind Kind() const { return data_.kind; }
  int Channels() const { return data_.channels; }
  // kbit/s over the audio pages: everything after the header pages.
  int BitRate() const;
  const QString& Vendor() const { return data_.comment.vendor; }
  // The serial number of the logical stream that was read.
  uint32_t Serial() const { return data_.serial; }
  // The last granule position that could be trusted; -1 when none was found.
  int64_t LastGranule() const { return data_.lastGranule; }
  // Where the first audio page starts: the header pages end there.
  int64_t AudioStart() const { return data_.audioStart; }
  int64_t AudioBytes() const { return data_.audioBytes; }

  // Opus only.
  int OpusVersion() const { return data_.opusVersion; }
  int PreSkip() const { return data_.preSkip; }
  int OutputGain() const { return data_.outputGain; }  // Q7.8 dB
  int MappingFamily() const { return data_.mappingFamily; }
  uint32_t InputSampleRate() const { return data_.inputSampleRate; }  // 0 when not given

  // Vorbis only; the header's bit rates in bit/s (0 or negative when unset).
  int VorbisSampleRate() const { return data_.vorbisSampleRate; }
  int32_t NominalBitrate() const { return data_.nominalBitrate; }
  int32_t MaximumBitrate() const { return data_.maximumBitrate; }
  int32_t MinimumBitrate() const { return data_.minimumBitrate; }

  const VorbisCommentFields& Comment() const { return data_.comment; }

 private:
  struct Data {
    int64_t fileSize = 0;
    StreamKind kind = StreamKind::Unknown;
    uint32_t serial = 0;
    int channels = 0;
    double duration = 0;
    int64_t lastGranule = -1;
    int64_t audioStart = 0;
    int64_t audioBytes = 0;
    int opusVersion = 0;
    int preSkip = 0;
    int outputGain = 0;
    int mappingFamily = 0;
    uint32_t inputSampleRate = 0;
    int vorbisSampleRate = 0;
    int32_t nominalBitrate = 0;
    int32_t maximumBitrate = 0;
    int32_t minimumBitrate = 0;
    VorbisCommentFields comment;
  };

  Data data_;
};
