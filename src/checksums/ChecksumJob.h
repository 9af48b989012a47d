#pragma once

#include "checksums/Checksums.h"
#include "platform/OrderedJob.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// One file's checksum text as the job hands it over.
struct ChecksumResult {
  int Track = 0;  // 1-based position in the job's file list
  QString ChecksumText;
};

// The checksum pass off the calling thread: worker threads hash the files, several at a time,
// while whoever started the job takes the results in track order (platform/OrderedJob.h). A file
// that cannot be read ends the pass there: the results before it are still handed over, then
// taking the next one throws its FileError ("Cannot open file %s").
class ChecksumJob {
 public:
  using Notify = std::function<void()>;

  // Starts hashing paths with the checksum kind (no kind gives empty texts without touching the
  // files). workerCount 0 picks one worker per core, at most kMaxWorkers.
  ChecksumJob(ChecksumKind kind, const QStringList& paths, Notify notify = {}, int workerCount = 0);

  void RequestStop() { job_->RequestStop(); }
  bool StopRequested() const { return job_->StopRequested(); }
  std::vector<ChecksumResult> TakeReady() { return Results(job_->TakeReady()); }
  std::vector<ChecksumResult> WaitReady() { return Results(job_->WaitReady()); }
  bool Done() const { return job_->Done(); }

  static constexpr int kMaxWorkers = 4;
  static int DefaultWorkerCount();

 private:
  using Job = OrderedJob<QString>;
  static std::vector<ChecksumResult> Results(std::vector<Job::Item> items);

  std::unique_ptr<Job> job_;
};
