#include "checksums/ChecksumJob.h"

#include <algorithm>

int ChecksumJob::DefaultWorkerCount() {
  // MD5 keeps one core busy per file and CRC-32 is bound by memory bandwidth well before four
  // readers; more workers would mostly make a spinning disk seek between files.
  return std::min(WorkersPerCore(), kMaxWorkers);
}

ChecksumJob::ChecksumJob(ChecksumKind kind, const QStringList& paths, Notify notify,
                         int workerCount)
    : job_(std::make_unique<Job>(
          static_cast<int>(paths.size()),
          [kind, paths](int index, std::stop_token stop) {
            return ChecksumOfFile(kind, paths[index], std::move(stop));
          },
          std::move(notify), workerCount > 0 ? workerCount : DefaultWorkerCount())) {}

std::vector<ChecksumResult> ChecksumJob::Results(std::vector<Job::Item> items) {
  std::vector<ChecksumResult> results;
  results.reserve(items.size());
  for (Job::Item& item : items)
    results.push_back({item.Index + 1, std::move(item.Value)});
  return results;
}
