#pragma once

#include "analysis/ChecksumPass.h"
#include "analysis/ReleaseSummary.h"
#include "analysis/TrackPass.h"
#include "model/Release.h"

#include <QDate>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

// What the options say about an analysis.
struct AnalysisChoices {
  bool AutoCrc = true;
  ChecksumKind Kind = ChecksumKind::None;
  NameForm Names = NameForm::EightBit;
};

// One run of "Dalej >" on page 1: the track pass, then, when the autocrc option is on, the
// checksum pass, both on worker threads. It ends with AnalysisDone set only when both really
// ended; a stopped or failed run leaves AnalysisDone as it was, with the rows and the summary as
// far as they were filled.
//
// The owner drives it from its own thread: whenever the notification (called on a worker) has
// said that results are ready, Advance takes them and applies them to the release there.
class AnalysisRun {
 public:
  enum class Phase { ReadingTracks, Hashing, Finished, Stopped, Failed };
  using Notify = std::function<void()>;

  // What one Advance took: the rows whose tracks were read, the checksums taken.
  struct Step {
    std::vector<int> TracksRead;
    std::vector<ChecksumProgress> Checksums;
  };

  AnalysisRun(Release& release, AnalysisChoices choices, const QDate& today, Notify notify = {},
              int trackWorkers = TrackPass::kDefaultWorkers, int checksumWorkers = 0);
  // Stops the workers; returns once each has finished the block or file it is on.
  ~AnalysisRun();
  AnalysisRun(const AnalysisRun&) = delete;
  AnalysisRun& operator=(const AnalysisRun&) = delete;

  // Takes what is ready (waiting for the next result first when `wait` is set) and moves the run
  // on: after the last track it finishes the summary and starts the checksum pass (or finishes
  // the run). A file that cannot be read throws its error (FileError, ChecksumUnavailable) and the
  // run is Failed. After a stop request the run becomes Stopped here.
  Step Advance(bool wait = false);

  // Asks the run to end early. May be called from any thread, also while the owner waits in
  // Advance.
  void Stop();

  Phase CurrentPhase() const { return phase_; }
  bool Running() const { return phase_ == Phase::ReadingTracks || phase_ == Phase::Hashing; }
  int TracksRead() const { return tracks_->TracksRead(); }
  int TrackCount() const { return tracks_->TrackCount(); }
  int ReadPercent() const { return tracks_->ReadPercent(); }

 private:
  void FinishTracks();
  void Complete();

  Release& release_;
  AnalysisChoices choices_;
  QDate today_;
  Notify notify_;
  int checksumWorkers_;
  Phase phase_ = Phase::ReadingTracks;
  std::atomic<bool> stopRequested_ = false;
  // Guards the passes against a stop request from another thread while they are made or dropped.
  std::mutex passMutex_;
  std::unique_ptr<TrackPass> tracks_;
  std::unique_ptr<ChecksumPass> checksums_;
};

struct AnalysisOptions {
  AnalysisChoices Choices;
  QDate Today = QDate::currentDate();  // becomes PostDate
  ChecksumProgressCallback OnChecksum;
  std::stop_token Stop;
};

// The whole run, waited for on the calling thread, each checksum step reported there. Throws as
// Advance does. Returns false when the stop token ended it early.
bool AnalyseTracks(Release& release, const AnalysisOptions& options = {});
