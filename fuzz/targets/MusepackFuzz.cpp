#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/Musepack.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mpc"), data, size);
  TMPEGplus reader;
  if (!reader.ReadFromFile(path))
    return 0;
  (void)reader.ChannelMode();
  (void)reader.Profile();
  fuzzing::Require(reader.BitRate() >= 0, "negative bit rate");
  CheckStreamFacts(reader);
  return 0;
}
