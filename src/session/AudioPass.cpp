#include "session/AudioPass.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>

AudioPass::AudioPass(const AudioEngine& engine, Release& release,
                     std::vector<PackedSpectrogram>& spectrograms, Notify notify, LogSums logSums,
                     int workerCount)
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
  std::vector<DiscEdges> edges;
  if (logSums == LogSums::Take) {
    edges = DiscEdgesOfRows(release_);
    logAudio_.resize(count);
  }
  // Decoding is bound by the processor: one track per core.
  const int workers = workerCount > 0 ? workerCount : WorkersPerCore();
  job_ = std::make_unique<OrderedJob<Decoded>>(
      static_cast<int>(count),
      [paths, edges, &engine](int index, std::stop_token stop) -> std::optional<Decoded> {
        std::optional<TrackLogSums> sums;
        if (!edges.empty())
          sums.emplace(edges[static_cast<size_t>(index)]);
        Decoded decoded{engine.AnalyseTrack(paths[index], sums ? &sums->Sink() : nullptr, stop),
                        {}};
        if (decoded.Result.Stopped)
          return std::nullopt;
        if (sums)
          decoded.LogAudio = sums->Finish(decoded.Result.Audio.has_value());
        return decoded;
      },
      std::move(notify), workers);
}

AudioPass::~AudioPass() = default;

std::vector<int> AudioPass::TakeReady() {
  std::vector<int> rows;
  for (auto& item : job_->TakeReady()) {
    Apply(item.Index, item.Value.Result);
    if (!logAudio_.empty())
      logAudio_[static_cast<size_t>(item.Index)] = std::move(item.Value.LogAudio);
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
