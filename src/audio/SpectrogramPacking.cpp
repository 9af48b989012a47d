#include "audio/Spectrum.h"

#include <algorithm>
#include <cmath>

PackedSpectrogram PackedSpectrogram::Pack(const Spectrogram& spectrogram) {
  PackedSpectrogram packed;
  packed.Columns = spectrogram.Columns;
  packed.Rows = spectrogram.Rows;
  packed.Seconds = spectrogram.Seconds;
  packed.SecondsPerColumn = spectrogram.SecondsPerColumn;
  packed.Nyquist = spectrogram.Nyquist;
  packed.Levels.reserve(spectrogram.Values.size());
  for (const float value : spectrogram.Values) {
    const float above = std::clamp(value - Spectrogram::kFloorDb, 0.0f, 255.0f);
    packed.Levels.push_back(static_cast<uint8_t>(std::lround(above)));
  }
  return packed;
}

Spectrogram PackedSpectrogram::Unpack() const {
  Spectrogram spectrogram;
  spectrogram.Columns = Columns;
  spectrogram.Rows = Rows;
  spectrogram.Seconds = Seconds;
  spectrogram.SecondsPerColumn = SecondsPerColumn;
  spectrogram.Nyquist = Nyquist;
  spectrogram.Values.reserve(Levels.size());
  for (const uint8_t level : Levels)
    spectrogram.Values.push_back(Spectrogram::kFloorDb + static_cast<float>(level));
  return spectrogram;
}
