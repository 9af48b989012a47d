#include "audio/AudioAnalysis.h"

#include "audio/AudioDecoder.h"
#include "audio/DynamicRange.h"
#include "audio/TruePeak.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

// libebur128's state of one track, kept after the track for the album's gated loudness. In
// histogram mode it holds two histograms of 1000 bins, and the 3 seconds of filtered audio the
// loudness range needs (about 2 MiB for a 44.1 kHz stereo track).
struct AlbumLoudnessPart {
  ebur128_state* State = nullptr;
  ~AlbumLoudnessPart() {
    if (State != nullptr)
      ebur128_destroy(&State);
  }
};

namespace {

// The band of cut-offs that lossy encoders leave at CD rates, and how steep the fall across it
// must be to look like their low-pass rather than a dull recording.
constexpr double kLossyCutoffLowHz = 15000;
constexpr double kLossyCutoffHighHz = 20500;
constexpr double kLossyDropDb = 20;
// A stream of more than 48 kHz whose cut-off lies at or under a 48 kHz stream's Nyquist holds
// nothing a CD-quality source could not. A resampler's transition band reaches up to a fifth
// above the source's Nyquist (FFmpeg's default one: 44.1 kHz made into 96 kHz reads 25.9 kHz,
// 48 kHz 28.7 kHz), hence the room above 24 kHz.
constexpr int kHighestStandardRate = 48000;
constexpr double kUpsampledCutoffHz = 30000;

// libebur128 does not say that ebur128_init may run on several threads at once (it sets up
// tables that all states share); it is quick, so the tracks' threads take turns.
std::mutex& LoudnessInitMutex() {
  static std::mutex mutex;
  return mutex;
}

double ToDb(double linear) {
  if (!(linear > 0) || !std::isfinite(linear))
    return TrackAudio::kSilenceDb;
  return std::max(TrackAudio::kSilenceDb, 20.0 * std::log10(linear));
}

// libebur128 gives -HUGE_VAL when no gating block passed the absolute gate.
double FiniteLoudness(double lufs) {
  if (!std::isfinite(lufs))
    return TrackAudio::kLoudnessFloor;
  return std::max(TrackAudio::kLoudnessFloor, lufs);
}

TrackAudioResult Failure(const QString& path, const QString& reason) {
  TrackAudioResult result;
  result.Error = QStringLiteral("Cannot decode the audio of %1: %2").arg(path, reason);
  return result;
}

}  // namespace

TrackAudioResult AnalyseTrackAudio(const QString& path, std::stop_token stop,
                                   const Pcm16Sink* pcm16) {
  AudioDecoder decoder;
  if (!decoder.Open(path, pcm16 != nullptr ? SampleViews::FloatAndInt16 : SampleViews::Float))
    return Failure(path, decoder.Error());
  const AudioFormat& format = decoder.Format();
  const int channels = format.Channels;
  const int rate = format.SampleRate;

  auto part = std::make_shared<AlbumLoudnessPart>();
  {
    const std::lock_guard lock(LoudnessInitMutex());
    part->State = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(rate),
                               EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_HISTOGRAM);
  }
  if (part->State == nullptr)
    return Failure(path, QStringLiteral("out of memory"));

  DynamicRangeMeter dynamicRange(channels, rate);
  TruePeakMeter truePeak(channels);
  SpectrumAnalyser spectrum(rate, format.EstimatedSeconds);
  if (!spectrum.IsValid())
    return Failure(path, QStringLiteral("out of memory"));
  std::vector<float> interleaved;

  AudioBlock block;
  while (decoder.Next(block)) {
    if (stop.stop_requested()) {
      TrackAudioResult stopped;
      stopped.Stopped = true;
      stopped.Error = QStringLiteral("Stopped");
      return stopped;
    }
    if (pcm16 != nullptr)
      (*pcm16)(block.Interleaved16(), channels);
    const int frames = block.Frames();
    const float* const* planes = block.ChannelPointers();
    dynamicRange.Add(planes, frames);
    for (int c = 0; c < channels; ++c)
      truePeak.Add(c, planes[c], frames);
    spectrum.Add(planes, channels, frames);
    if (channels == 1) {
      ebur128_add_frames_float(part->State, planes[0], static_cast<size_t>(frames));
    } else {
      interleaved.resize(static_cast<size_t>(frames) * static_cast<size_t>(channels));
      for (int c = 0; c < channels; ++c) {
        const float* x = planes[c];
        float* target = interleaved.data() + c;
        for (int i = 0; i < frames; ++i)
          target[static_cast<std::ptrdiff_t>(i) * channels] = x[i];
      }
      ebur128_add_frames_float(part->State, interleaved.data(), static_cast<size_t>(frames));
    }
  }
  if (!decoder.Error().isEmpty())
    return Failure(path, decoder.Error());
  if (decoder.FramesDecoded() == 0)
    return Failure(path, QStringLiteral("no audio could be decoded"));

  truePeak.Finish();
  const DynamicRange dr = dynamicRange.Finish();
  SpectrumFindings findings = spectrum.Finish();

  TrackAudio audio;
  audio.SampleRate = rate;
  audio.Channels = channels;
  audio.Bits = format.BitsPerRawSample;
  audio.Frames = decoder.FramesDecoded();
  audio.Duration = static_cast<double>(audio.Frames) / rate;
  audio.DecodeErrors = decoder.DecodeErrors();

  audio.Dr = dr.Dr;
  audio.Peak = ToDb(dr.Peak);
  audio.Rms = ToDb(dr.Rms);

  double lufs = -HUGE_VAL;
  if (ebur128_loudness_global(part->State, &lufs) != EBUR128_SUCCESS)
    lufs = -HUGE_VAL;
  audio.Loudness = FiniteLoudness(lufs);
  double range = 0;
  if (ebur128_loudness_range(part->State, &range) != EBUR128_SUCCESS || !std::isfinite(range))
    range = 0;
  audio.LoudnessRange = std::max(0.0, range);
  const double peak = truePeak.Peak();
  audio.TruePeak = ToDb(peak);
  audio.TrackPeak = std::isfinite(peak) ? peak : 0.0;
  audio.TrackGain = TrackAudio::kReferenceLoudness - audio.Loudness;

  audio.Cutoff = findings.Cutoff;
  const bool cdRate = rate >= 44100 && rate <= kHighestStandardRate;
  audio.LossySource = audio.Bits > 0 && cdRate && findings.Cutoff >= kLossyCutoffLowHz &&
                      findings.Cutoff <= kLossyCutoffHighHz && findings.CutoffDrop >= kLossyDropDb;
  audio.Upsampled = (rate > kHighestStandardRate && findings.Cutoff > 0 &&
                     findings.Cutoff <= kUpsampledCutoffHz) ||
                    decoder.LowEightBitsZero();
  audio.Spectrum = std::move(findings.Picture);
  audio.LoudnessPart = std::move(part);

  TrackAudioResult result;
  result.Audio = std::move(audio);
  return result;
}

AlbumAudio AnalyseAlbum(std::span<const TrackAudio> tracks) {
  AlbumAudio album;
  if (tracks.empty())
    return album;
  double drSum = 0;
  std::vector<ebur128_state*> states;
  for (const TrackAudio& track : tracks) {
    drSum += track.Dr;
    album.AlbumPeak = std::max(album.AlbumPeak, track.TrackPeak);
    album.TruePeak = std::max(album.TruePeak, track.TruePeak);
    if (track.LoudnessPart != nullptr && track.LoudnessPart->State != nullptr)
      states.push_back(track.LoudnessPart->State);
  }
  album.Dr = static_cast<int>(std::lround(drSum / static_cast<double>(tracks.size())));
  double lufs = -HUGE_VAL;
  if (!states.empty() &&
      ebur128_loudness_global_multiple(states.data(), states.size(), &lufs) != EBUR128_SUCCESS)
    lufs = -HUGE_VAL;
  album.Loudness = FiniteLoudness(lufs);
  album.AlbumGain = TrackAudio::kReferenceLoudness - album.Loudness;
  return album;
}
