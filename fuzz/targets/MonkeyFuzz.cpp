#include "FuzzSupport.h"
#include "StreamHelpers.h"

#include "readers/Monkey.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track.ape"), data, size);
  TMonkey reader;
  if (!reader.ReadFromFile(path))
    return 0;
  CheckStreamFacts(reader);
  if (reader.Valid())
    fuzzing::Require(std::isfinite(reader.Ratio()), "compression ratio not finite");
  return 0;
}
