#include "audio/TruePeak.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kHistory = TruePeakMeter::kTaps - 1;

// The four phases of the interpolation filter; phases 2 and 3 are phases 1 and 0 reversed.
constexpr std::array<std::array<float, TruePeakMeter::kTaps>, 4> kPhases = {{
    {0.0017089843750f, 0.0109863281250f, -0.0196533203125f, 0.0332031250000f, -0.0594482421875f,
     0.1373291015625f, 0.9721679687500f, -0.1022949218750f, 0.0476074218750f, -0.0266113281250f,
     0.0148925781250f, -0.0083007812500f},
    {-0.0291748046875f, 0.0292968750000f, -0.0517578125000f, 0.0891113281250f, -0.1665039062500f,
     0.4650878906250f, 0.7797851562500f, -0.2003173828125f, 0.1015625000000f, -0.0582275390625f,
     0.0330810546875f, -0.0189208984375f},
    {-0.0189208984375f, 0.0330810546875f, -0.0582275390625f, 0.1015625000000f, -0.2003173828125f,
     0.7797851562500f, 0.4650878906250f, -0.1665039062500f, 0.0891113281250f, -0.0517578125000f,
     0.0292968750000f, -0.0291748046875f},
    {-0.0083007812500f, 0.0148925781250f, -0.0266113281250f, 0.0476074218750f, -0.1022949218750f,
     0.9721679687500f, 0.1373291015625f, -0.0594482421875f, 0.0332031250000f, -0.0196533203125f,
     0.0109863281250f, 0.0017089843750f},
}};

// The most an interpolated value can exceed the largest of the samples that feed it: the sum of
// the absolute taps of the worst phase (about 1.5).
constexpr float kMostGain = [] {
  float most = 0.0f;
  for (const auto& phase : kPhases) {
    float sum = 0.0f;
    for (float tap : phase)
      sum += tap < 0.0f ? -tap : tap;
    most = std::max(most, sum);
  }
  return most;
}();

// Stretches of this many samples whose loudest sample cannot lead past the peak found so far are
// not filtered at all: in most music the filter then runs over a small part of the track.
constexpr int kStretch = 128;

// The filter is most of the cost of the analysis of a loud track; on processors with AVX2 and FMA
// a second copy of it runs twice as wide.
#if defined(__x86_64__)
#define VELMORA_WIDE_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define VELMORA_WIDE_CLONES
#endif

// x[0..count) are new samples, x[-kHistory..-1] the ones before them.
VELMORA_WIDE_CLONES float OversampledPeak(const float* x, int count) {
  float peak = 0.0f;
#pragma omp simd reduction(max : peak)
  for (int n = 0; n < count; ++n) {
    float s0 = 0.0f, s1 = 0.0f, s2 = 0.0f, s3 = 0.0f;
    for (int k = 0; k < TruePeakMeter::kTaps; ++k) {
      const float v = x[n - k];
      s0 += kPhases[0][k] * v;
      s1 += kPhases[1][k] * v;
      s2 += kPhases[2][k] * v;
      s3 += kPhases[3][k] * v;
    }
    const float high =
        std::max(std::max(std::fabs(s0), std::fabs(s1)), std::max(std::fabs(s2), std::fabs(s3)));
    peak = std::max(peak, high);
  }
  return peak;
}

}  // namespace

float SamplePeak(const float* x, int count) {
  float peak = 0.0f;
#pragma omp simd reduction(max : peak)
  for (int n = 0; n < count; ++n)
    peak = std::max(peak, std::fabs(x[n]));
  return peak;
}

TruePeakMeter::TruePeakMeter(int channels)
    : channels_(channels),
      work_(static_cast<size_t>(channels), std::vector<float>(kHistory, 0.0f)) {}

void TruePeakMeter::Add(int channel, const float* samples, int count) {
  if (channel < 0 || channel >= channels_ || count <= 0)
    return;
  std::vector<float>& work = work_[static_cast<size_t>(channel)];
  work.resize(static_cast<size_t>(kHistory + count));
  std::copy(samples, samples + count, work.begin() + kHistory);
  const float* x = work.data() + kHistory;
  for (int start = 0; start < count; start += kStretch) {
    const int length = std::min(kStretch, count - start);
    // The samples before the stretch are in too: they feed its first interpolated values (and
    // they are samples of the signal, so their level may count as a peak as well).
    const float loudest = SamplePeak(x + start - kHistory, length + kHistory);
    peak_ = std::max(peak_, loudest);
    if (loudest * kMostGain > peak_)
      peak_ = std::max(peak_, OversampledPeak(x + start, length));
  }
  std::copy(work.end() - kHistory, work.end(), work.begin());
  work.resize(kHistory);
}

void TruePeakMeter::Finish() {
  const std::array<float, kHistory> silence{};
  for (int c = 0; c < channels_; ++c)
    Add(c, silence.data(), kHistory);
}
