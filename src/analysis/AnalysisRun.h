#pragma once

#include "analysis/ChecksumPass.h"
#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "analysis/TrackAnalysis.h"

#include <QDate>
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <stop_token>
#include <vector>

// One run of "Dalej >" on page 1: the track pass, then, when the autocrc option is on, the
// checksum pass. It ends with AnalysisDone set only when both really ended; a stopped or failed
// run leaves AnalysisDone as it was, with the rows and the summary as far as they were filled.
//
// A front end drives it in steps on one thread of its own: a window calls Advance with a small
// time budget and repaints in between, and during the checksum pass calls it again whenever the
// notification (called on a worker) has told it that results are ready.
class AnalysisRun {
 public:
  enum class Phase { ReadingTracks, Hashing, Finished, Stopped, Failed };

  AnalysisRun(ReleaseModel& model, ReaderSet& readers, const QDate& today,
              ChecksumJob::Notify notify = {}, int checksumWorkers = 0);
  // Stops a running checksum pass; returns within one block read per worker.
  ~AnalysisRun();
  AnalysisRun(const AnalysisRun&) = delete;
  AnalysisRun& operator=(const AnalysisRun&) = delete;

  // Does the work that is due. Reading tracks: reads at least one track and goes on until the
  // budget is spent; after the last one it finishes the summary and starts the checksum pass (or
  // finishes the run). Hashing: takes the checksum results that are ready, waiting for the next
  // one first when `wait` is set, and returns their steps. A file that cannot be read throws its
  // error (FileError, ChecksumUnavailable) and the run is Failed. After a stop request the run
  // becomes Stopped here.
  std::vector<ChecksumProgress> Advance(std::chrono::milliseconds budget, bool wait = false);

  // Asks the run to end early: no more tracks are read, no more checksums are taken. May be called
  // from any thread, also while the driving thread waits in Advance.
  void Stop();

  Phase CurrentPhase() const { return phase_; }
  bool Running() const { return phase_ == Phase::ReadingTracks || phase_ == Phase::Hashing; }
  int TracksRead() const { return tracks_.TracksRead(); }
  int TrackCount() const { return tracks_.TrackCount(); }
  // The tracks read so far, 0 to 100, for a progress bar while the tags and streams are read.
  int ReadPercent() const;

 private:
  void ReadTracks(std::chrono::milliseconds budget);
  void FinishTracks();
  std::vector<ChecksumProgress> TakeChecksums(bool wait);
  void Complete();
  void EndStopped();

  ReleaseModel& model_;
  QDate today_;
  ChecksumJob::Notify notify_;
  int checksumWorkers_;
  TrackAnalysis tracks_;
  Phase phase_ = Phase::ReadingTracks;
  std::atomic<bool> stopRequested_ = false;
  // Guards checksums_ against a stop request from another thread while it is created or dropped.
  std::mutex passMutex_;
  std::unique_ptr<ChecksumPass> checksums_;
};

struct AnalysisOptions {
  QDate Today = QDate::currentDate();  // becomes PostDate
  ChecksumProgressCallback OnChecksum;
  std::stop_token Stop;
};

// The whole run on the calling thread, each checksum step reported there. Throws as Advance does.
// Returns false when the stop token ended it early.
bool AnalyseTracks(ReleaseModel& model, ReaderSet& readers, const AnalysisOptions& options = {});
