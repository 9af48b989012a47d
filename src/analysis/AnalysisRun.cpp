#include "analysis/AnalysisRun.h"

#include "platform/UserLocale.h"

AnalysisRun::AnalysisRun(ReleaseModel& model, ReaderSet& readers, const QDate& today,
                         ChecksumJob::Notify notify, int checksumWorkers)
    : model_(model),
      today_(today),
      notify_(std::move(notify)),
      checksumWorkers_(checksumWorkers),
      tracks_(model, readers) {}

AnalysisRun::~AnalysisRun() = default;

std::vector<ChecksumProgress> AnalysisRun::Advance(std::chrono::milliseconds budget, bool wait) {
  if (stopRequested_ && Running())
    EndStopped();
  try {
    if (phase_ == Phase::ReadingTracks) {
      ReadTracks(budget);
      return {};
    }
    if (phase_ == Phase::Hashing)
      return TakeChecksums(wait);
  } catch (...) {
    phase_ = Phase::Failed;
    const std::lock_guard lock(passMutex_);
    checksums_.reset();
    throw;
  }
  return {};
}

void AnalysisRun::ReadTracks(std::chrono::milliseconds budget) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  do {
    tracks_.ReadNextTrack();
  } while (!tracks_.AtEnd() && !stopRequested_ &&
           std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start) < budget);
  if (tracks_.AtEnd())
    FinishTracks();
}

void AnalysisRun::FinishTracks() {
  tracks_.Finish(today_);
  if (!model_.Opts.AutoCrc) {
    Complete();
    return;
  }
  {
    const std::lock_guard lock(passMutex_);
    checksums_ = std::make_unique<ChecksumPass>(model_, notify_, checksumWorkers_);
    if (stopRequested_)
      checksums_->Stop();
  }
  phase_ = Phase::Hashing;
  // An empty pass has nothing to wait for, and no notification would ever come.
  if (checksums_->Completed())
    Complete();
}

std::vector<ChecksumProgress> AnalysisRun::TakeChecksums(bool wait) {
  std::vector<ChecksumProgress> steps = wait ? checksums_->WaitReady() : checksums_->TakeReady();
  if (checksums_->Completed())
    Complete();
  else if (checksums_->Stopped())
    EndStopped();
  return steps;
}

void AnalysisRun::Complete() {
  if (checksums_)
    checksums_->Finish();
  model_.Run.AnalysisDone = true;
  phase_ = Phase::Finished;
}

void AnalysisRun::EndStopped() {
  if (checksums_) {
    checksums_->Stop();
    checksums_->Finish();
  }
  phase_ = Phase::Stopped;
}

void AnalysisRun::Stop() {
  stopRequested_ = true;
  const std::lock_guard lock(passMutex_);
  if (checksums_)
    checksums_->Stop();
}

int AnalysisRun::ReadPercent() const {
  const int count = TrackCount();
  return count > 0 ? static_cast<int>(RoundHalfEven(100.0 * TracksRead() / count)) : 100;
}

bool AnalyseTracks(ReleaseModel& model, ReaderSet& readers, const AnalysisOptions& options) {
  AnalysisRun run(model, readers, options.Today);
  const std::stop_callback stopWaiting(options.Stop, [&run] { run.Stop(); });
  while (run.Running()) {
    for (const ChecksumProgress& step : run.Advance(std::chrono::milliseconds::max(), true)) {
      if (options.OnChecksum)
        options.OnChecksum(step);
    }
  }
  return run.CurrentPhase() == AnalysisRun::Phase::Finished;
}
