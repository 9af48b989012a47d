#include "FuzzSupport.h"

#include "platform/FileStream.h"
#include "readers/MusepackSV8.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mpc"), data, size);
  const FileStream stream(path);
  MusepackSV8Header header;
  if (!ReadMusepackSV8(stream, 0, stream.Size(), header)) {
    fuzzing::Require(!header.Found && header.AudioBytes == 0, "a header left from no stream");
    return 0;
  }
  const double duration = header.Duration();
  fuzzing::Require(std::isfinite(duration) && duration >= 0, "duration not a finite value >= 0");
  fuzzing::Require(header.SampleCount >= 0 && header.BeginningSilence >= 0, "negative count");
  fuzzing::Require(header.AudioStart >= 0 && header.AudioBytes >= 0 &&
                       header.AudioStart + header.AudioBytes <= static_cast<int64_t>(size),
                   "audio bytes outside the file");
  fuzzing::Require(header.Channels >= 0 && header.Channels <= 16, "channel count out of range");
  fuzzing::Require(std::isfinite(header.Profile), "profile not finite");
  (void)header.ChannelMode();
  return 0;
}
