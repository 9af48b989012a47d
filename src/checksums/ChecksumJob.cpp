#include "checksums/ChecksumJob.h"

#include "checksums/Checksums.h"

#include <algorithm>
#include <utility>

int ChecksumJob::DefaultWorkerCount() {
  // MD5 keeps one core busy per file and CRC-32 is bound by memory bandwidth well before four
  // readers; more workers would mostly make a spinning disk seek between files.
  const int cores = static_cast<int>(std::thread::hardware_concurrency());
  return std::clamp(cores, 1, kMaxWorkers);
}

ChecksumJob::ChecksumJob(const QString& kind, const QStringList& paths, Notify notify,
                         int workerCount)
    : kind_(kind),
      paths_(paths),
      notify_(std::move(notify)),
      slots_(static_cast<size_t>(paths.size())),
      endOfPass_(static_cast<int>(paths.size())) {
  const int wanted = workerCount > 0 ? workerCount : DefaultWorkerCount();
  const int count = std::min(wanted, endOfPass_);
  workers_.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    workers_.emplace_back([this](std::stop_token stop) { Work(std::move(stop)); });
}

ChecksumJob::~ChecksumJob() {
  RequestStop();
  // The jthreads join as the vector goes: before the members they use.
  workers_.clear();
}

void ChecksumJob::RequestStop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  for (std::jthread& worker : workers_)
    worker.request_stop();
  changed_.notify_all();
}

bool ChecksumJob::StopRequested() const {
  const std::lock_guard lock(mutex_);
  return stopped_;
}

int ChecksumJob::ClaimNextFile() {
  const std::lock_guard lock(mutex_);
  if (stopped_ || nextToStart_ >= endOfPass_)
    return -1;
  return nextToStart_++;
}

void ChecksumJob::Work(std::stop_token stop) {
  for (int index = ClaimNextFile(); index >= 0; index = ClaimNextFile()) {
    Slot slot;
    try {
      std::optional<QString> text = ChecksumOfFile(kind_, paths_[index], stop);
      if (!text)
        return;  // stopped in the middle of the file
      slot.state = Slot::State::Ready;
      slot.text = std::move(*text);
    } catch (...) {
      slot.state = Slot::State::Failed;
      slot.error = std::current_exception();
    }
    Store(index, std::move(slot));
    changed_.notify_all();
    if (notify_)
      notify_();
  }
}

void ChecksumJob::Store(int index, Slot slot) {
  const std::lock_guard lock(mutex_);
  if (slot.state == Slot::State::Failed)
    endOfPass_ = std::min(endOfPass_, index + 1);
  slots_[static_cast<size_t>(index)] = std::move(slot);
}

std::vector<ChecksumResult> ChecksumJob::TakeReady() {
  const std::lock_guard lock(mutex_);
  return TakeLocked();
}

std::vector<ChecksumResult> ChecksumJob::WaitReady() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] {
    return DoneLocked() || slots_[static_cast<size_t>(nextToTake_)].state != Slot::State::Pending;
  });
  return TakeLocked();
}

std::vector<ChecksumResult> ChecksumJob::TakeLocked() {
  std::vector<ChecksumResult> results;
  while (!DoneLocked()) {
    Slot& slot = slots_[static_cast<size_t>(nextToTake_)];
    if (slot.state == Slot::State::Pending)
      break;
    if (slot.state == Slot::State::Failed) {
      // The results before the failure go out first; the next call reports it.
      if (!results.empty())
        break;
      failureThrown_ = true;
      std::rethrow_exception(slot.error);
    }
    results.push_back({nextToTake_ + 1, std::move(slot.text)});
    ++nextToTake_;
  }
  return results;
}

bool ChecksumJob::Done() const {
  const std::lock_guard lock(mutex_);
  return DoneLocked();
}

bool ChecksumJob::DoneLocked() const {
  return stopped_ || failureThrown_ || nextToTake_ >= static_cast<int>(slots_.size());
}
