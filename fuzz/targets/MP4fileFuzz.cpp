#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/MP4file.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.m4a"), data, size);
  TMP4file reader;
  if (!reader.ReadFromFile(path))
    return 0;
  CheckStreamFacts(reader);
  fuzzing::Require(reader.BitRate() >= 0, "negative bit rate");
  fuzzing::Require(
      reader.MediaDataBytes() >= 0 && reader.MediaDataBytes() <= static_cast<int64_t>(size),
      "media data outside the file");
  fuzzing::Require(std::isfinite(reader.Ratio()) && reader.Ratio() >= 0, "ratio not finite");
  (void)reader.CodecName();
  (void)reader.SampleEntry();
  (void)reader.Channels();
  (void)reader.BitsPerSample();
  (void)reader.ObjectTypeIndication();
  (void)reader.AudioObjectType();
  (void)reader.CoreSampleRate();
  (void)reader.HasSbr();
  (void)reader.HasPs();
  (void)reader.MaxBitrate();
  (void)reader.Alac();
  for (const QString* text : {&reader.Title(), &reader.Artist(), &reader.Album(), &reader.Year(),
                              &reader.Genre(), &reader.AlbumArtist(), &reader.Encoder()}) {
    fuzzing::Require(text->size() <= 4096, "item text longer than the kept length");
  }
  if (reader.Valid()) {
    const StreamFacts facts = reader.Describe();
    fuzzing::Require(facts.BitRate.has_value() != facts.Ratio.has_value(),
                     "not exactly one of bit rate and ratio");
    fuzzing::Require(facts.Lossless() == (reader.Codec() == TMP4file::CodecKind::Alac),
                     "lossless and ALAC disagree");
  }
  return 0;
}
