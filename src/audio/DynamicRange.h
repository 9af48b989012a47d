#pragma once

#include <cstdint>
#include <vector>

// The dynamic range as the widely used DR meter measures it, with its Peak and RMS figures.
struct DynamicRange {
  // The track's DR: the mean of the channels' values, rounded.
  int Dr = 0;
  std::vector<double> ChannelDr;
  // The highest sample, linear (1.0 = full scale).
  double Peak = 0;
  // Over the whole track and every channel, by the meter's rule: sqrt(2 × mean square), so that a
  // full-scale sine reads 1.0 (0 dB). Linear.
  double Rms = 0;
};

// Per channel, the track is cut into 3-second blocks; each block has an RMS (the 2× rule above)
// and a peak. The loudest 20 % of the blocks by RMS (at least one) give RMS20, the square root of
// the mean of their squared RMS; P2 is the second-highest block peak (the highest when there is
// one block); DR = 20·log10(P2 / RMS20). A last block shorter than 3 seconds counts as a block of
// its own, measured over the samples it has, as the DR meter does; a channel of digital silence
// has a DR of 0.
class DynamicRangeMeter {
 public:
  DynamicRangeMeter(int channels, int sampleRate);

  void Add(const float* const* channels, int frames);
  DynamicRange Finish() const;

 private:
  struct Channel {
    double blockSquares = 0;  // of the block in progress
    float blockPeak = 0;
    double totalSquares = 0;
    float peak = 0;
    float highestBlockPeak = 0;
    float secondBlockPeak = 0;
    int blockCount = 0;
    std::vector<float> blockRms;  // 4 bytes per 3 seconds: 10 KiB for two hours
  };

  void CloseBlock(Channel& channel, int64_t frames) const;

  int64_t blockFrames_ = 0;
  int64_t inBlock_ = 0;  // frames of the block in progress
  int64_t totalFrames_ = 0;
  std::vector<Channel> channels_;
};
