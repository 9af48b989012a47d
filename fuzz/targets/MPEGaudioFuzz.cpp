#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/MPEGaudio.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mp3"), data, size);
  TMPEGaudio reader;
  if (!reader.ReadFromFile(path))
    return 0;
  (void)reader.Version();
  (void)reader.Layer();
  (void)reader.ChannelMode();
  (void)reader.Encoder();
  (void)reader.EncoderID();
  fuzzing::Require(reader.BitRate() >= 0, "negative bit rate");
  CheckStreamFacts(reader);
  return 0;
}
