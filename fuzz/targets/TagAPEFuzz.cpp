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
  // Size is the footer's field as stored, whatever the file holds; the items cannot outnumber what
  // fits in the file.
  fuzzing::Require(tag.Items().size() <= size / 9, "more APE items than the file can hold");
  for (const APEItem& item : tag.Items())
    (void)tag.GetValue(item.Name);
  return 0;
}
