#include "FuzzSupport.h"

#include "tags/APETag.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.mp3"), data, size);
  TAPETag tag;
  if (!tag.ReadFromFile(path) || !tag.Exists())
    return 0;
  fuzzing::Require(tag.Size() > 0 && tag.Size() <= static_cast<int64_t>(size),
                   "APE tag size outside the file");
  for (const APEItem& item : tag.Items())
    (void)tag.GetValue(item.Name);
  return 0;
}
