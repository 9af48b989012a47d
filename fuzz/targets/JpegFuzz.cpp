#include "FuzzSupport.h"

#include "platform/JpegPicture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const JpegPicture picture = DecodeJpeg(fuzzing::BytesOf(data, size));
  if (picture.IsNull())
    return 0;
  // A decoded picture is exactly as large as its sides say, and never beyond the bound.
  fuzzing::Require(picture.Width > 0 && picture.Width <= kMaxJpegSide && picture.Height > 0 &&
                       picture.Height <= kMaxJpegSide,
                   "JPEG sides outside the bound");
  fuzzing::Require(picture.Rgb.size() == static_cast<qsizetype>(picture.Width) * picture.Height * 3,
                   "JPEG pixels do not match its sides");
  return 0;
}
