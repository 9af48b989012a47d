#include "extras/PcmChecksums.h"

#include <libdeflate.h>

#include <algorithm>
#include <bit>

namespace {

// Samples are gathered in blocks of this many for the CRCs, on the stack.
constexpr size_t kChunkSamples = 4096;

uint32_t Crc32(uint32_t crc, const int16_t* samples, size_t count) {
  if constexpr (std::endian::native == std::endian::little) {
    return libdeflate_crc32(crc, samples, count * sizeof(int16_t));
  } else {
    uint8_t bytes[kChunkSamples * 2];
    for (size_t done = 0; done < count;) {
      const size_t now = std::min(count - done, kChunkSamples);
      for (size_t i = 0; i < now; ++i) {
        const auto sample = static_cast<uint16_t>(samples[done + i]);
        bytes[2 * i] = static_cast<uint8_t>(sample & 0xFF);
        bytes[2 * i + 1] = static_cast<uint8_t>(sample >> 8);
      }
      crc = libdeflate_crc32(crc, bytes, now * 2);
      done += now;
    }
    return crc;
  }
}

}  // namespace

PcmChecksums::PcmChecksums(bool firstTrack, bool lastTrack)
    : firstTrack_(firstTrack), lastTrack_(lastTrack) {}

void PcmChecksums::Add(const int16_t* interleaved, size_t frames) {
  if (interleaved == nullptr || frames == 0)
    return;
  AddToCrcs(interleaved, frames);
  for (size_t i = 0; i < frames; ++i) {
    const uint32_t frame = static_cast<uint16_t>(interleaved[2 * i]) |
                           static_cast<uint32_t>(static_cast<uint16_t>(interleaved[2 * i + 1]))
                               << 16;
    const uint64_t position = frames_ + i + 1;
    if (!lastTrack_) {
      AddToAccurateRip(frame, position);
      continue;
    }
    if (heldCount_ < kHeldBack) {
      heldBack_[(heldStart_ + heldCount_) % kHeldBack] = frame;
      ++heldCount_;
      continue;
    }
    // The oldest held frame now has kHeldBack frames after it, so it is not among the last.
    AddToAccurateRip(heldBack_[heldStart_], position - kHeldBack);
    heldBack_[heldStart_] = frame;
    heldStart_ = (heldStart_ + 1) % kHeldBack;
  }
  frames_ += frames;
}

void PcmChecksums::AddToCrcs(const int16_t* interleaved, size_t frames) {
  const size_t samples = frames * 2;
  crc_ = Crc32(crc_, interleaved, samples);
  int16_t kept[kChunkSamples];
  for (size_t done = 0; done < samples;) {
    const size_t now = std::min(samples - done, kChunkSamples);
    size_t count = 0;
    for (size_t i = 0; i < now; ++i) {
      const int16_t sample = interleaved[done + i];
      kept[count] = sample;
      count += sample != 0 ? 1 : 0;
    }
    crcSkipZero_ = Crc32(crcSkipZero_, kept, count);
    done += now;
  }
}

void PcmChecksums::AddToAccurateRip(uint32_t frame, uint64_t position) {
  if (firstTrack_ && position < kHeldBack)
    return;
  const uint64_t product = static_cast<uint64_t>(frame) * position;
  const auto low = static_cast<uint32_t>(product);
  const auto high = static_cast<uint32_t>(product >> 32);
  arV1_ += low;
  arV2_ += low + high;
}

PcmChecksums::Result PcmChecksums::Finish() {
  // The frames still held back are the last track's final 5 sectors, which AccurateRip leaves
  // out; any other track has none held.
  Result result;
  result.Crc = crc_;
  result.CrcSkipZero = crcSkipZero_;
  result.ArV1 = arV1_;
  result.ArV2 = arV2_;
  result.Frames = frames_;
  return result;
}
