#pragma once

#include "platform/UserLocale.h"

#include <algorithm>
#include <limits>

// Rounds a computed bit rate (halves to even) into an int. Counts from a hostile header can
// make the quotient enormous; it is held at the int range rather than wrapped around into the
// plausible range that callers accept.
inline int RoundKbps(double kbps) {
  const int64_t rounded = RoundHalfEven(kbps);
  return static_cast<int>(std::clamp<int64_t>(rounded, std::numeric_limits<int>::min(),
                                              std::numeric_limits<int>::max()));
}
