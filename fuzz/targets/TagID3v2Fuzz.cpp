#include "FuzzSupport.h"

#include "tags/ID3v2.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mp3"), data, size);
  TID3v2 tag;
  if (tag.ReadFromFile(path) && tag.Exists())
    fuzzing::Require(tag.Size() >= 10, "an ID3v2 tag shorter than its own header");
  return 0;
}
