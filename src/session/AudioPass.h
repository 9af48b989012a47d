#pragma once

#include "audio/AudioAnalysis.h"
#include "audio/AudioEngine.h"
#include "model/Release.h"
#include "platform/OrderedJob.h"
#include "session/LogCheck.h"

#include <functional>
#include <memory>
#include <vector>

// The audio pass of a release: every row's file decoded and measured (dynamic range, loudness,
// spectrum) on worker threads, one track per core, the figures applied to the release in track
// order. A track that cannot be decoded gets its reason and the pass goes on; after the last
// track the album's figures are made and Audio.Done is set. When the folder holds rip logs, the
// same decode also takes the checksums the logs are matched against.
class AudioPass {
 public:
  using Notify = std::function<void()>;
  enum class LogSums { Skip, Take };

  // Clears the release's audio figures and starts decoding. The notification (called on a worker
  // after each track) says that results are ready to be taken.
  AudioPass(const AudioEngine& engine, Release& release,
            std::vector<PackedSpectrogram>& spectrograms, Notify notify,
            LogSums logSums = LogSums::Skip, int workerCount = 0);
  // Stops the workers; returns once each has left the block it is decoding.
  ~AudioPass();
  AudioPass(const AudioPass&) = delete;
  AudioPass& operator=(const AudioPass&) = delete;

  // Applies the results that are ready and returns their rows; after the last one, the album.
  std::vector<int> TakeReady();
  void Stop() { job_->RequestStop(); }
  bool Stopped() const { return job_->StopRequested(); }
  bool Done() const { return job_->Done(); }
  int Percent() const;
  // Every row's log checksums, once the pass has completed with LogSums::Take.
  const std::vector<TrackPcm>& LogAudio() const { return logAudio_; }

 private:
  struct Decoded {
    TrackAudioResult Result;
    TrackPcm LogAudio;
  };
  void Apply(int row, TrackAudioResult& result);

  const AudioEngine& engine_;
  Release& release_;
  std::vector<PackedSpectrogram>& spectrograms_;
  // What the album's figures need of every decoded track: its figures and loudness state.
  std::vector<TrackAudio> decoded_;
  std::vector<TrackPcm> logAudio_;
  int applied_ = 0;
  std::unique_ptr<OrderedJob<Decoded>> job_;
};
