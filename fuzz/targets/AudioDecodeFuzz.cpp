#include "FuzzSupport.h"

#include "audio/AudioAnalysis.h"

#include <cmath>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

// The whole analysis over whatever FFmpeg makes of the bytes: it must end with an error text or
// with figures that are all finite and a spectrogram as large as it says.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString path = fuzzing::WriteScratchFile(QStringLiteral("track"), data, size);
  const TrackAudioResult result = AnalyseTrackAudio(path);
  if (!result.Audio) {
    fuzzing::Require(!result.Error.isEmpty(), "no result and no error");
    return 0;
  }
  const TrackAudio& audio = *result.Audio;
  for (double figure : {audio.Peak, audio.Rms, audio.Loudness, audio.LoudnessRange, audio.TruePeak,
                        audio.TrackGain, audio.TrackPeak, audio.Cutoff, audio.Duration})
    fuzzing::Require(std::isfinite(figure), "a figure is not finite");
  fuzzing::Require(audio.SampleRate > 0 && audio.Channels > 0 && audio.Frames > 0,
                   "a result without audio");
  fuzzing::Require(audio.Cutoff >= 0 && audio.Cutoff <= audio.SampleRate / 2.0,
                   "cut-off beyond Nyquist");
  const Spectrogram& picture = audio.Spectrum;
  fuzzing::Require(picture.Columns >= 0 && picture.Columns <= SpectrumAnalyser::kMaxColumns &&
                       picture.Values.size() ==
                           static_cast<size_t>(picture.Columns) * static_cast<size_t>(picture.Rows),
                   "spectrogram size does not match its geometry");
  const AlbumAudio album = AnalyseAlbum({&audio, 1});
  fuzzing::Require(std::isfinite(album.Loudness) && std::isfinite(album.AlbumGain),
                   "album figures not finite");
  return 0;
}
