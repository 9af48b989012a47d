#include "FuzzSupport.h"

#include "tags/ID3v1.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mp3"), data, size);
  TID3v1 tag;
  if (!tag.ReadFromFile(path))
    return 0;
  (void)tag.Genre();
  // The tag and its lyrics lie at the end of the file: together they can never be longer than it.
  fuzzing::Require(tag.TotalSize() >= 0 && tag.TotalSize() <= static_cast<int64_t>(size),
                   "ID3v1 total size outside the file");
  fuzzing::Require(tag.Lyrics3Size() >= 0 && tag.Lyrics3Size() <= tag.TotalSize(),
                   "Lyrics3 size outside the tagged end");
  return 0;
}
