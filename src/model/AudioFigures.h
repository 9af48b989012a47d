#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// What the audio analysis measures of a track and of the album: the figures the window, the NFO,
// the DR report and the JSON show. Nothing is NaN or infinite; digital silence reads kSilenceDb
// for the levels, kLoudnessFloor for the loudness, 0 for DR, range, cut-off and the linear peak.
struct AudioFigures {
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
  double Cutoff = 0;  // Hz: the highest frequency with energy through most of the track
  // A lossless track of 44.1 or 48 kHz whose cut-off lies in the band lossy encoders leave
  // (15 to 20.5 kHz), with a cliff under it: probably decoded from a lossy file.
  bool LossySource = false;
  // A track of more than 48 kHz with nothing above ~24 kHz (a cut-off under 30 kHz, to allow
  // for the resampler's transition band), or of more than 16 bits whose low 8 bits are zero
  // throughout: probably made from a CD-quality source.
  bool Upsampled = false;

  int SampleRate = 0;
  int Bits = 0;  // of the source's raw samples; 0 for a lossy source
  int Channels = 0;
  double Duration = 0;  // seconds, from the decoded samples
  int64_t Frames = 0;
  // Packets that failed to decode and were skipped: a damaged file.
  int DecodeErrors = 0;
};

struct AlbumAudioFigures {
  int Dr = 0;  // the "Official DR value": the mean of the tracks' DR, rounded
  double Loudness = AudioFigures::kLoudnessFloor;  // LUFS, gated over all tracks together
  double AlbumGain = AudioFigures::kReferenceLoudness - AudioFigures::kLoudnessFloor;
  double AlbumPeak = 0;                        // linear, the highest TrackPeak
  double TruePeak = AudioFigures::kSilenceDb;  // dBTP, the highest of the tracks'
};

// The audio pass over a release's rows.
struct ReleaseAudio {
  // The pass went over every row; until then the figures are not shown anywhere.
  bool Done = false;
  // By row: the track's figures, or nothing when it could not be decoded (Errors says why).
  std::vector<std::optional<AudioFigures>> Tracks;
  std::vector<QString> Errors;
  AlbumAudioFigures Album;
};
