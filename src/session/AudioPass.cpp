#include "session/AudioPass.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>

AudioPass::AudioPass(const AudioEngine& engine, Release& release,
                     std::vector<PackedSpectrogram>& spectrograms, Notify notify, int workerCount)
    : engine_(engine), release_(release), spectrograms_(spectrograms) {
  const size_t count = release_.Tracks.size();
  release_.Audio = ReleaseAudio{};
  release_.Audio.Tracks.resize(count);
  release_.Audio.Errors.resize(count);
  spectrograms_.assign(count, PackedSpectrogram{});
  release_.Audio.Done = count == 0;
  QStringList paths;
  for (const TrackRecord& row : release_.Tracks)
    paths << row.FilePath;
  // Decoding is bound by the processor: one track per core.
  const int workers = workerCount > 0 ? workerCount : WorkersPerCore();
  job_ = std::make_unique<OrderedJob<TrackAudioResult>>(
      static_cast<int>(count),
      [paths, &engine](int index, std::stop_token stop) -> std::optional<TrackAudioResult> {
        TrackAudioResult result = engine.AnalyseTrack(paths[index], stop);
        if (result.Stopped)
          return std::nullopt;
        return result;
      },
      std::move(notify), workers);
}

AudioPass::~AudioPass() = default;

std::vector<int> AudioPass::TakeReady() {
  std::vector<int> rows;
  for (auto& item : job_->TakeReady()) {
    Apply(item.Index, item.Value);
    rows.push_back(item.Index);
  }
  if (!rows.empty() && job_->Completed()) {
    release_.Audio.Album = engine_.AnalyseAlbum(decoded_);
    release_.Audio.Done = true;
    decoded_.clear();
  }
  return rows;
}

void AudioPass::Apply(int row, TrackAudioResult& result) {
  const auto index = static_cast<size_t>(row);
  applied_ = row + 1;
  if (!result.Audio) {
    release_.Audio.Errors[index] = result.Error;
    return;
  }
  TrackAudio& audio = *result.Audio;
  spectrograms_[index] = PackedSpectrogram::Pack(audio.Spectrum);
  audio.Spectrum = Spectrogram{};
  release_.Audio.Tracks[index] = static_cast<const AudioFigures&>(audio);
  decoded_.push_back(std::move(audio));
}

int AudioPass::Percent() const {
  const auto count = static_cast<int>(release_.Audio.Tracks.size());
  return count > 0 ? static_cast<int>(std::lround(100.0 * applied_ / count)) : 100;
}
