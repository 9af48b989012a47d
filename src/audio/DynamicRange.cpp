#include "audio/DynamicRange.h"

#include "audio/TruePeak.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

namespace {

constexpr int kBlockSeconds = 3;

double SumOfSquares(const float* x, int count) {
  double sum = 0;
#pragma omp simd reduction(+ : sum)
  for (int i = 0; i < count; ++i)
    sum += static_cast<double>(x[i]) * x[i];
  return sum;
}

}  // namespace

DynamicRangeMeter::DynamicRangeMeter(int channels, int sampleRate)
    : blockFrames_(static_cast<int64_t>(std::max(sampleRate, 1)) * kBlockSeconds),
      channels_(static_cast<size_t>(std::max(channels, 0))) {}

void DynamicRangeMeter::CloseBlock(Channel& channel, int64_t frames) const {
  channel.blockRms.push_back(
      static_cast<float>(std::sqrt(2.0 * channel.blockSquares / static_cast<double>(frames))));
  if (channel.blockPeak > channel.highestBlockPeak) {
    channel.secondBlockPeak = channel.highestBlockPeak;
    channel.highestBlockPeak = channel.blockPeak;
  } else if (channel.blockPeak > channel.secondBlockPeak) {
    channel.secondBlockPeak = channel.blockPeak;
  }
  ++channel.blockCount;
  channel.blockSquares = 0;
  channel.blockPeak = 0;
}

void DynamicRangeMeter::Add(const float* const* samples, int frames) {
  int done = 0;
  while (done < frames) {
    const int piece = static_cast<int>(std::min<int64_t>(frames - done, blockFrames_ - inBlock_));
    for (size_t c = 0; c < channels_.size(); ++c) {
      Channel& channel = channels_[c];
      const float* x = samples[c] + done;
      const double squares = SumOfSquares(x, piece);
      const float peak = SamplePeak(x, piece);
      channel.blockSquares += squares;
      channel.totalSquares += squares;
      channel.blockPeak = std::max(channel.blockPeak, peak);
      channel.peak = std::max(channel.peak, peak);
    }
    done += piece;
    inBlock_ += piece;
    totalFrames_ += piece;
    if (inBlock_ == blockFrames_) {
      for (Channel& channel : channels_)
        CloseBlock(channel, blockFrames_);
      inBlock_ = 0;
    }
  }
}

DynamicRange DynamicRangeMeter::Finish() const {
  DynamicRange result;
  if (channels_.empty() || totalFrames_ == 0)
    return result;
  double squares = 0;
  double drSum = 0;
  for (Channel channel : channels_) {
    if (inBlock_ > 0)
      CloseBlock(channel, inBlock_);
    squares += channel.totalSquares;
    result.Peak = std::max(result.Peak, static_cast<double>(channel.peak));

    std::vector<float>& rms = channel.blockRms;
    const size_t loudest = std::max<size_t>(1, rms.size() / 5);
    std::nth_element(rms.begin(), rms.begin() + static_cast<std::ptrdiff_t>(loudest - 1), rms.end(),
                     std::greater<>());
    double loudSquares = 0;
    for (size_t i = 0; i < loudest; ++i)
      loudSquares += static_cast<double>(rms[i]) * rms[i];
    const double rms20 = std::sqrt(loudSquares / static_cast<double>(loudest));
    const double p2 = channel.blockCount > 1 ? channel.secondBlockPeak : channel.highestBlockPeak;
    double dr = rms20 > 0 && p2 > 0 ? 20.0 * std::log10(p2 / rms20) : 0.0;
    if (!std::isfinite(dr))  // a broken float stream may hand over infinities
      dr = 0;
    result.ChannelDr.push_back(dr);
    drSum += dr;
  }
  result.Dr = static_cast<int>(std::lround(drSum / static_cast<double>(channels_.size())));
  result.Rms = std::sqrt(
      2.0 * squares / (static_cast<double>(totalFrames_) * static_cast<double>(channels_.size())));
  return result;
}
