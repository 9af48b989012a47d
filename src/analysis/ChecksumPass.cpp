#include "analysis/ChecksumPass.h"

#include "platform/UserLocale.h"

#include <algorithm>

namespace {

QStringList CountedTrackPaths(const Release& model) {
  const size_t rows =
      std::min(static_cast<size_t>(std::max(model.Scan.TrackCount, 0)), model.Tracks.size());
  QStringList paths;
  paths.reserve(static_cast<qsizetype>(rows));
  for (size_t i = 0; i < rows; ++i)
    paths.append(model.Tracks[i].FilePath);
  return paths;
}

}  // namespace

ChecksumPass::ChecksumPass(Release& model, ChecksumKind kind, ChecksumJob::Notify notify,
                           int workerCount)
    : model_(model) {
  const QStringList paths = CountedTrackPaths(model);
  trackCount_ = static_cast<int>(paths.size());
  job_ = std::make_unique<ChecksumJob>(kind, paths, std::move(notify), workerCount);
}

ChecksumPass::~ChecksumPass() = default;

std::vector<ChecksumProgress> ChecksumPass::TakeReady() {
  return Store(job_->TakeReady());
}

std::vector<ChecksumProgress> ChecksumPass::WaitReady() {
  return Store(job_->WaitReady());
}

std::vector<ChecksumProgress> ChecksumPass::Store(const std::vector<ChecksumResult>& results) {
  std::vector<ChecksumProgress> steps;
  steps.reserve(results.size());
  for (const ChecksumResult& result : results) {
    TrackRecord& row = model_.Tracks.at(static_cast<size_t>(result.Track - 1));
    row.ChecksumText = result.ChecksumText;
    const int percent = static_cast<int>(RoundHalfEven(100.0 * result.Track / trackCount_));
    steps.push_back({result.Track, trackCount_, row.FileName, result.ChecksumText, percent});
    taken_ = result.Track;
  }
  return steps;
}

bool ComputeChecksums(Release& model, ChecksumKind kind, const ChecksumProgressCallback& onChecksum,
                      std::stop_token stop) {
  ChecksumPass pass(model, kind);
  // The pass may be waiting for a long file when the stop comes from another thread.
  const std::stop_callback stopWaiting(stop, [&pass] { pass.Stop(); });
  while (!pass.Done()) {
    for (const ChecksumProgress& step : pass.WaitReady()) {
      if (onChecksum)
        onChecksum(step);
    }
  }
  return pass.Completed();
}
