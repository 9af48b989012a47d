#include "analysis/AnalysisRun.h"

AnalysisRun::AnalysisRun(Release& release, AnalysisChoices choices, const QDate& today,
                         Notify notify, int trackWorkers, int checksumWorkers)
    : release_(release),
      choices_(choices),
      today_(today),
      notify_(std::move(notify)),
      checksumWorkers_(checksumWorkers),
      tracks_(std::make_unique<TrackPass>(release, notify_, trackWorkers)) {
  // An empty track list has nothing to wait for, and no notification would ever come.
  if (tracks_->Completed())
    FinishTracks();
}

AnalysisRun::~AnalysisRun() {
  Stop();
}

AnalysisRun::Step AnalysisRun::Advance(bool wait) {
  Step step;
  if (stopRequested_ && Running()) {
    phase_ = Phase::Stopped;
    return step;
  }
  try {
    if (phase_ == Phase::ReadingTracks) {
      step.TracksRead = tracks_->TakeReady(wait);
      if (tracks_->Completed())
        FinishTracks();
      else if (tracks_->Stopped())
        phase_ = Phase::Stopped;
    } else if (phase_ == Phase::Hashing) {
      step.Checksums = wait ? checksums_->WaitReady() : checksums_->TakeReady();
      if (checksums_->Completed())
        Complete();
      else if (checksums_->Stopped())
        phase_ = Phase::Stopped;
    }
  } catch (...) {
    phase_ = Phase::Failed;
    const std::lock_guard lock(passMutex_);
    checksums_.reset();
    throw;
  }
  return step;
}

void AnalysisRun::FinishTracks() {
  tracks_->Finish(today_, choices_.Names);
  if (!choices_.AutoCrc) {
    Complete();
    return;
  }
  {
    const std::lock_guard lock(passMutex_);
    checksums_ = std::make_unique<ChecksumPass>(release_, choices_.Kind, notify_, checksumWorkers_);
    if (stopRequested_)
      checksums_->Stop();
  }
  phase_ = Phase::Hashing;
  if (checksums_->Completed())
    Complete();
}

void AnalysisRun::Complete() {
  release_.Run.AnalysisDone = true;
  phase_ = Phase::Finished;
}

void AnalysisRun::Stop() {
  stopRequested_ = true;
  const std::lock_guard lock(passMutex_);
  tracks_->Stop();
  if (checksums_)
    checksums_->Stop();
}

bool AnalyseTracks(Release& release, const AnalysisOptions& options) {
  AnalysisRun run(release, options.Choices, options.Today);
  const std::stop_callback stopWaiting(options.Stop, [&run] { run.Stop(); });
  while (run.Running()) {
    for (const ChecksumProgress& step : run.Advance(true).Checksums) {
      if (options.OnChecksum)
        options.OnChecksum(step);
    }
  }
  return run.CurrentPhase() == AnalysisRun::Phase::Finished;
}
