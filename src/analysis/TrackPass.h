#pragma once

#include "analysis/ReleaseSummary.h"
#include "analysis/TrackReading.h"
#include "model/Release.h"
#include "platform/OrderedJob.h"

#include <QDate>
#include <QDateTime>
#include <functional>
#include <memory>
#include <vector>

// The track pass of one analysis: Scan.TrackList becomes track rows and the release summary. The
// files are read on worker threads (analysis/TrackReading.h), several at a time, so that a slow
// disk or network share holds up nothing; the readings are applied on the thread that owns the
// release, in track order, one track after another, exactly as if they had been read there.
class TrackPass {
 public:
  using Notify = std::function<void()>;
  // At most this many files are read at once: enough to hide the latency of a network share.
  static constexpr int kDefaultWorkers = 4;

  // Clears the summary, adds one fresh row per path and starts reading. The notification (called
  // on a worker after each file) tells the owner that readings are ready to be taken.
  TrackPass(Release& release, Notify notify = {}, int workerCount = kDefaultWorkers);
  // Stops the workers; returns once each has finished the file it is on.
  ~TrackPass();
  TrackPass(const TrackPass&) = delete;
  TrackPass& operator=(const TrackPass&) = delete;

  // Applies the readings that are ready (waiting for the next one first when `wait` is set) and
  // returns the rows they filled. A file whose open failure stops the analysis (FLAC) throws its
  // FileError when its turn comes: the rows and the summary keep what was filled before it.
  std::vector<int> TakeReady(bool wait = false);

  void Stop() { job_->RequestStop(); }
  bool Stopped() const { return job_->StopRequested(); }
  // Every track has been applied.
  bool Completed() const { return applied_ == TrackCount(); }
  // Completed, stopped, or its failure has been thrown.
  bool Done() const { return job_->Done(); }
  int TracksRead() const { return applied_; }
  int TrackCount() const { return static_cast<int>(release_.Tracks.size()); }
  // The tracks read so far, 0 to 100, for a progress bar.
  int ReadPercent() const;

  // After the last track: various artists, the post date (today) and the output base name.
  void Finish(const QDate& today, NameForm names);

 private:
  // Tag-version texts carried from one track to the next: a file the tag readers cannot open
  // keeps those of the track before it.
  struct TagVersionTexts {
    QString Id3v1;
    QString Id3v2;
    QString Ape;
  };

  void Apply(int index, const TrackReading& reading);
  void TakeRipDate(const QDateTime& modified);

  Release& release_;
  SummaryTotals totals_;
  TagVersionTexts texts_;
  int applied_ = 0;
  QDateTime newestModified_;
  std::unique_ptr<OrderedJob<TrackReading>> job_;
};
