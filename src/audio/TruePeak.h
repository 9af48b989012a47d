#pragma once

#include <vector>

// The true peak of a signal: the highest level between the samples as well as at them, found by
// oversampling 4 times with the 48-tap interpolation filter of the loudness recommendation
// (ITU-R BS.1770, four phases of 12 taps). libebur128 has a true-peak mode, but it costs several
// times the rest of the analysis; this loop runs over 4 phases at once and vectorises.
//
// The filter's four phases fall a quarter of a sample apart, between the samples (at 1/8, 3/8,
// 5/8 and 7/8), where libebur128's own filter hits the samples and the half-way points: on music
// the two readings differ by up to about 0.1 dB either way, as any two 4× meters do.
// The highest absolute value of `count` samples (the sample peak), vectorised.
float SamplePeak(const float* x, int count);

class TruePeakMeter {
 public:
  explicit TruePeakMeter(int channels);

  // The next `count` samples of one channel.
  void Add(int channel, const float* samples, int count);
  // Runs the filter out past the last sample (the signal is taken as silent after it), so that a
  // peak in the final samples is measured too. Add must not be called after it.
  void Finish();

  // Linear, the highest over all channels; never below the highest sample (no phase of the
  // filter lands on the samples themselves).
  float Peak() const { return peak_; }

  static constexpr int kTaps = 12;

 private:
  int channels_ = 0;
  float peak_ = 0.0f;
  // Per channel: the last kTaps - 1 samples, then room for the block being filtered.
  std::vector<std::vector<float>> work_;
};
