#include "FuzzSupport.h"

#include "tags/ID3v2.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mp3"), data, size);
  TID3v2 tag;
  if (!tag.ReadFromFile(path) || !tag.Exists())
    return 0;
  // A tag that claims more than the file holds counts as no tag at all (size 0).
  fuzzing::Require(
      tag.Size() == 0 || (tag.Size() >= 10 && tag.Size() <= static_cast<int64_t>(size)),
      "ID3v2 tag size outside the file");
  return 0;
}
