#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "platform/FileError.h"
#include "readers/FLACfile.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.flac"), data, size);
  TFLACfile reader;
  try {
    if (!reader.ReadFromFile(path))
      return 0;
  } catch (const FileError&) {
    return 0;  // the one error a FLAC reader passes on: the file could not be opened
  }
  CheckStreamFacts(reader);
  if (reader.Valid())
    fuzzing::Require(std::isfinite(reader.Ratio()), "compression ratio not finite");
  for (const TBlockEntry& block : reader.Blocks())
    fuzzing::Require(block.Offset >= 0 && block.Offset < static_cast<int64_t>(size),
                     "metadata block starting outside the file");
  for (const TPictureTag& picture : reader.Pictures()) {
    (void)TFLACfile::PictureTypeName(picture.PictureType);
    fuzzing::Require(picture.BlockIndex >= 0 && picture.BlockIndex < reader.BlockCount(),
                     "picture of a block that does not exist");
  }
  return 0;
}
