#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The checksums rip logs state for a track, computed from its decoded audio: interleaved 16-bit
// stereo frames, fed in blocks of any size (a mono or wider source is the caller's to convert).
class PcmChecksums {
 public:
  struct Result {
    // CRC-32 of the PCM bytes (little-endian samples), as EAC's copy CRC with null samples used.
    uint32_t Crc = 0;
    // The same over the samples that are not zero: EAC's copy CRC when the log says null samples
    // are not used. EAC leaves out each zero 16-bit sample by itself, so a frame that is silent on
    // one channel still feeds the other channel's sample.
    uint32_t CrcSkipZero = 0;
    uint32_t ArV1 = 0;
    uint32_t ArV2 = 0;
    uint64_t Frames = 0;
  };

  // AccurateRip leaves out the first 5 sectors less one sample of a disc's first track and the
  // last 5 sectors of its last track, where drives disagree.
  PcmChecksums(bool firstTrack, bool lastTrack);

  void Add(const int16_t* interleaved, size_t frames);
  Result Finish();

 private:
  static constexpr uint32_t kSectorFrames = 588;
  static constexpr uint32_t kHeldBack = 5 * kSectorFrames;

  void AddToCrcs(const int16_t* interleaved, size_t frames);
  void AddToAccurateRip(uint32_t frame, uint64_t position);

  bool firstTrack_;
  bool lastTrack_;
  uint32_t crc_ = 0;
  uint32_t crcSkipZero_ = 0;
  uint32_t arV1_ = 0;
  uint32_t arV2_ = 0;
  uint64_t frames_ = 0;
  // The last track's latest frames: they count only once it is known that more follow.
  std::array<uint32_t, kHeldBack> heldBack_{};
  uint32_t heldCount_ = 0;
  uint32_t heldStart_ = 0;
};
