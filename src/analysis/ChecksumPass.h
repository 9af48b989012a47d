#pragma once

#include "checksums/ChecksumJob.h"
#include "model/Release.h"

#include <QString>
#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

// One step of the checksum pass, reported after each file in track order.
struct ChecksumProgress {
  int Track = 0;  // 1-based
  int TrackCount = 0;
  QString FileName;
  QString ChecksumText;
  int Percent = 0;  // Track / TrackCount x 100, rounded
};
using ChecksumProgressCallback = std::function<void(const ChecksumProgress&)>;

// The checksum pass over the counted track rows (1 to TrackCount) with the options' checksum
// kind: CRC-32 for SFV, MD5 for MD5, an empty text without a kind. The files are hashed on worker
// threads; whoever started the pass takes the results in track order on its own thread, each one
// stored in its row's ChecksumText and returned as a step for the status labels and the progress
// bar.
//
// A window drives it from its event loop: the notification (called on a worker, after each file)
// posts to the window's thread, which then calls TakeReady. A file that cannot be read ends the
// pass there: the rows before it keep their checksums and taking its turn throws its error
// (FileError "Cannot open file %s", or ChecksumUnavailable without a crypto library for MD5).
class ChecksumPass {
 public:
  ChecksumPass(Release& model, ChecksumKind kind, ChecksumJob::Notify notify = {},
               int workerCount = 0);
  // Stops the workers; returns within one block read per worker.
  ~ChecksumPass();
  ChecksumPass(const ChecksumPass&) = delete;
  ChecksumPass& operator=(const ChecksumPass&) = delete;

  // Stores the results that are ready and returns their steps; empty while the next file in
  // track order is still being hashed.
  std::vector<ChecksumProgress> TakeReady();
  // The same, waiting first until the next result is ready or the pass is over.
  std::vector<ChecksumProgress> WaitReady();

  // Nothing more is taken: the rows keep what was taken so far. May be called from any thread, also
  // while another one waits in WaitReady.
  void Stop() { job_->RequestStop(); }
  bool Stopped() const { return job_->StopRequested(); }
  // Every row has its checksum.
  bool Completed() const { return taken_ == trackCount_; }
  // Completed, stopped, or its failure has been thrown.
  bool Done() const { return job_->Done(); }
  int TrackCount() const { return trackCount_; }

 private:
  std::vector<ChecksumProgress> Store(const std::vector<ChecksumResult>& results);

  Release& model_;
  int trackCount_ = 0;
  int taken_ = 0;
  std::unique_ptr<ChecksumJob> job_;
};

// The whole pass on the calling thread, reporting each step there. Throws as TakeReady does.
// Returns false when the stop token ended it early.
bool ComputeChecksums(Release& model, ChecksumKind kind,
                      const ChecksumProgressCallback& onChecksum = {}, std::stop_token stop = {});
