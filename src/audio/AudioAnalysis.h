#pragma once

#include "audio/Spectrum.h"

#include <QString>
#include <cstdint>
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

struct AlbumLoudnessPart;  // what the album's loudness needs of a track (libebur128's state)

struct TrackAudio {
  static constexpr double kSilenceDb = -100.0;
  static constexpr double kLoudnessFloor = -70.0;
  // ReplayGain 2.0's reference level.
  static constexpr double kReferenceLoudness = -18.0;

  int Dr = 0;
  double Peak = kSilenceDb;  // dBFS, the highest sample
  double Rms = kSilenceDb;   // dB, whole track, the DR meter's rule (a full-scale sine reads 0)
  double Loudness = kLoudnessFloor;  // LUFS, integrated
  double LoudnessRange = 0;          // LU
  double TruePeak = kSilenceDb;      // dBTP
  // ReplayGain 2.0: the gain to the reference level, and the peak as loudgain and the other
  // ReplayGain 2.0 scanners store it: the true peak, linear.
  double TrackGain = kReferenceLoudness - kLoudnessFloor;
  double TrackPeak = 0;
  double Cutoff = 0;  // Hz, see SpectrumAnalyser
  // A lossless track of 44.1 or 48 kHz whose cut-off lies in the band lossy encoders leave
  // (15 to 20.5 kHz), with a cliff under it: probably decoded from a lossy file.
  bool LossySource = false;
  // A track of more than 48 kHz with nothing above ~24 kHz (a cut-off under 30 kHz, to allow
  // for the resampler's transition band), or of more than 16 bits whose low 8 bits are zero
  // throughout: probably made from a CD-quality source.
  bool Upsampled = false;
  Spectrogram Spectrum;

  int SampleRate = 0;
  int Bits = 0;  // of the source's raw samples; 0 for a lossy source
  int Channels = 0;
  double Duration = 0;  // seconds, from the decoded samples
  int64_t Frames = 0;
  // Packets that failed to decode and were skipped: a damaged file.
  int DecodeErrors = 0;

  std::shared_ptr<const AlbumLoudnessPart> LoudnessPart;
};

struct TrackAudioResult {
  std::optional<TrackAudio> Audio;
  // Why there is no result: the file could not be opened or decoded, or the stop was requested.
  QString Error;
  bool Stopped = false;
};

// Decodes the file once and measures everything. Thread-safe: several tracks may be analysed at
// once on different threads. The stop request is looked at between decoded blocks.
TrackAudioResult AnalyseTrackAudio(const QString& path, std::stop_token stop = {});

struct AlbumAudio {
  int Dr = 0;  // the "Official DR value": the mean of the tracks' DR, rounded
  double Loudness = TrackAudio::kLoudnessFloor;  // LUFS, gated over all tracks together
  double AlbumGain = TrackAudio::kReferenceLoudness - TrackAudio::kLoudnessFloor;
  double AlbumPeak = 0;  // linear, the highest TrackPeak
};

// The album's figures over the tracks that were analysed, as ReplayGain 2.0 scanners compute
// them: the integrated loudness over the gating blocks of every track together, not a mean of
// the tracks' values.
AlbumAudio AnalyseAlbum(std::span<const TrackAudio> tracks);
