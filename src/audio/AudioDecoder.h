#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <span>

// Decoding for the audio analysis and the rip-log check, through FFmpeg. Only the audio is
// decoded here: tags and stream facts stay with the program's own readers.

// What the decoder delivers besides planar float samples.
enum class SampleViews {
  Float,          // planar float, full scale = 1.0
  FloatAndInt16,  // also interleaved 16-bit integers (a 16-bit source gives its samples exactly)
};

// The stream as the first decoded frame shows it; every later block has this rate and channel
// count (frames of another channel layout are remixed to it, frames of another rate skipped).
struct AudioFormat {
  int SampleRate = 0;
  int Channels = 0;
  // Bits of the source's raw samples (16, 24, ...); 0 for a lossy source.
  int BitsPerRawSample = 0;
  // The container's idea of the length in seconds; 0 when it has none. Only a hint: the decoded
  // samples are the truth.
  double EstimatedSeconds = 0;
  // FFmpeg's short name of the decoder ("flac", "mp3float"), for messages.
  QString DecoderName;
};

// One decoded piece of the stream. The views point into the decoder and stay valid until its
// next Next() or its destruction.
class AudioBlock {
 public:
  int Frames() const { return frames_; }
  int Channels() const { return channels_; }
  // The samples of one channel, Frames() of them.
  std::span<const float> Channel(int channel) const {
    return {planes_ + static_cast<std::ptrdiff_t>(channel) * stride_, static_cast<size_t>(frames_)};
  }
  // The channel pointers side by side, Channels() of them.
  const float* const* ChannelPointers() const { return pointers_; }
  // Frames() × Channels() interleaved samples when the decoder was opened with FloatAndInt16,
  // empty otherwise.
  std::span<const int16_t> Interleaved16() const { return int16_; }

 private:
  friend class AudioDecoder;
  int frames_ = 0;
  int channels_ = 0;
  const float* planes_ = nullptr;
  std::ptrdiff_t stride_ = 0;
  const float* const* pointers_ = nullptr;
  std::span<const int16_t> int16_;
};

// Decodes the first audio stream of a file block by block: memory stays the same however long
// the track is. Opening reads the file through the platform's file layer (the Unicode path,
// read-only, the deny-write check) with a custom I/O context, so no path or content ever reaches
// FFmpeg's protocol layer: a name like "http:x" or "concat:a|b" is just a file name, and a
// playlist inside a file cannot make FFmpeg open anything else. Only the demuxers of the formats
// the program reads are allowed.
//
// Nothing here aborts or throws: a file that cannot be opened or decoded gives Error(); a damaged
// file decodes as far as it can (packets that fail are skipped and counted).
class AudioDecoder {
 public:
  AudioDecoder();
  ~AudioDecoder();
  AudioDecoder(const AudioDecoder&) = delete;
  AudioDecoder& operator=(const AudioDecoder&) = delete;

  // Opens the file and decodes up to its first audio frame. False with Error() set when the file
  // holds no decodable audio stream.
  bool Open(const QString& path, SampleViews views = SampleViews::Float);
  const AudioFormat& Format() const;

  // The next block; false at the end of the stream or when decoding cannot go on (then Error()
  // says why).
  bool Next(AudioBlock& block);

  // Why opening or decoding failed ("no audio stream", ...), for the middle of a sentence; empty
  // while all is well.
  const QString& Error() const;
  // Packets or frames that failed to decode and were skipped.
  int DecodeErrors() const;
  // Frames delivered so far.
  int64_t FramesDecoded() const;

  // The number of significant bits in the integer samples the decoder gave before conversion,
  // over everything decoded so far: a 24-bit source whose low 8 bits are zero throughout reads
  // 16. 0 for a lossy source, or before any non-zero sample of an integer source.
  int SignificantBits() const;
  // A source of more than 16 bits whose low 8 bits were zero in every sample decoded so far
  // (and not all of it silence): 16-bit audio padded out.
  bool LowEightBitsZero() const;

 private:
  struct State;
  std::unique_ptr<State> d_;
};
