#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/OggFile.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.opus"), data, size);
  TOggFile reader;
  if (!reader.ReadFromFile(path))
    return 0;
  CheckStreamFacts(reader);
  fuzzing::Require(reader.BitRate() >= 0, "negative bit rate");
  fuzzing::Require(reader.AudioBytes() >= 0 && reader.AudioBytes() <= static_cast<int64_t>(size),
                   "audio bytes outside the file");
  fuzzing::Require(reader.AudioStart() >= 0 && reader.AudioStart() <= static_cast<int64_t>(size),
                   "audio starting outside the file");
  fuzzing::Require(reader.LastGranule() >= -1, "negative granule position");
  (void)reader.Kind();
  (void)reader.Channels();
  (void)reader.Vendor();
  (void)reader.Serial();
  (void)reader.PreSkip();
  (void)reader.OutputGain();
  (void)reader.MappingFamily();
  (void)reader.OpusVersion();
  (void)reader.InputSampleRate();
  (void)reader.VorbisSampleRate();
  (void)reader.NominalBitrate();
  (void)reader.Comment();
  if (reader.Valid()) {
    const StreamFacts facts = reader.Describe();
    fuzzing::Require(facts.BitRate.has_value() && !facts.Ratio.has_value(),
                     "a lossy stream without its bit rate");
    fuzzing::Require(facts.Channels > 0, "valid stream without channels");
  }
  return 0;
}
