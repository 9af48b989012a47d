#pragma once

#include "audio/Spectrum.h"
#include "model/AudioFigures.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>

// The audio analysis of a track: DR with its Peak and RMS, EBU R128 loudness, ReplayGain 2.0,
// the spectrum and the cut-off, all from one decode.
//
// Nothing reported is NaN or infinite. Digital silence reads:
//   Peak, Rms, TruePeak  kSilenceDb (-100 dB)
//   Loudness             kLoudnessFloor (-70 LUFS, the absolute gate: nothing below it counts)
//   LoudnessRange 0, DR 0, Cutoff 0, TrackPeak 0, and TrackGain -18 - (-70) = 52 dB.
// The figures are the model's (model/AudioFigures.h); the spectrogram and the loudness state
// the album needs stay here.

struct AlbumLoudnessPart;  // what the album's loudness needs of a track (libebur128's state)

struct TrackAudio : AudioFigures {
  Spectrogram Spectrum;
  std::shared_ptr<const AlbumLoudnessPart> LoudnessPart;
};

struct TrackAudioResult {
  std::optional<TrackAudio> Audio;
  // Why there is no result: the file could not be opened or decoded, or the stop was requested.
  QString Error;
  bool Stopped = false;
};

// One decoded block: interleaved 16-bit samples of `channels` channels.
using Pcm16Sink = std::function<void(std::span<const int16_t> interleaved, int channels)>;

// Decodes the file once and measures everything. Thread-safe: several tracks may be analysed at
// once on different threads. The stop request is looked at between decoded blocks. When `pcm16`
// is given, every block is also handed to it as 16-bit samples (the rip-log check rides along
// on the same decode).
TrackAudioResult AnalyseTrackAudio(const QString& path, std::stop_token stop = {},
                                   const Pcm16Sink* pcm16 = nullptr);

using AlbumAudio = AlbumAudioFigures;

// The album's figures over the tracks that were analysed, as ReplayGain 2.0 scanners compute
// them: the integrated loudness over the gating blocks of every track together, not a mean of
// the tracks' values.
AlbumAudio AnalyseAlbum(std::span<const TrackAudio> tracks);
