#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/WavPack.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.wv"), data, size);
  TWavPack reader;
  if (!reader.ReadFromFile(path))
    return 0;
  CheckStreamFacts(reader);
  fuzzing::Require(reader.TotalSamples() >= 0, "negative sample count");
  fuzzing::Require(reader.BitRate() >= 0, "negative bit rate");
  fuzzing::Require(reader.Ratio() >= 0 && std::isfinite(reader.Ratio()), "ratio not finite");
  fuzzing::Require(reader.AudioStart() >= 0 && reader.AudioStart() <= static_cast<int64_t>(size),
                   "audio starting outside the file");
  fuzzing::Require(reader.AudioBytes() >= 0 &&
                       reader.AudioStart() + reader.AudioBytes() <= static_cast<int64_t>(size),
                   "audio bytes outside the file");
  (void)reader.EncoderVersion();
  if (reader.Valid()) {
    const StreamFacts facts = reader.Describe();
    fuzzing::Require(facts.BitRate.has_value() != facts.Ratio.has_value(),
                     "not exactly one of bit rate and ratio");
    fuzzing::Require(facts.Channels > 0 && facts.BitsPerSample.value_or(0) > 0,
                     "valid stream without channels or bits");
  }
  return 0;
}
