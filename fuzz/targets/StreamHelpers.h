#pragma once

#include "FuzzSupport.h"

#include <cmath>

// What every stream reader must give for any file it calls valid: a playing time that can be
// shown and summed, never NaN, infinite or negative.
template <class Reader>
void CheckStreamFacts(const Reader& reader) {
  if (!reader.Valid())
    return;
  const double duration = reader.Duration();
  fuzzing::Require(std::isfinite(duration) && duration >= 0,
                   "duration not a finite positive value");
  fuzzing::Require(reader.SampleRate() >= 0, "negative sample rate");
  fuzzing::Require(reader.FileSize() >= 0, "negative file size");
}
