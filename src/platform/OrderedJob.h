#pragma once

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

// Work on a numbered list of items off the calling thread, handed back in the list's order.
// Worker threads take the items one after another, several at a time, while whoever started the
// job takes the results in order, whatever order the items finish in. This is how every pass over
// the tracks runs (tag and stream reading, checksums, audio analysis), so that a slow disk or
// network share never holds up the thread that shows the results.
//
// An item whose work throws ends the job there: the results before it are still handed over, then
// taking its turn throws its error, and no later result is ever handed over. Work that returns
// nothing was given up because a stop was requested.
//
// The job is driven from one thread (the one that started it); only the work and the notification
// run on the workers.
// One worker per core: for work that keeps a core busy (hashing, decoding).
inline int WorkersPerCore() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

template <class Result>
class OrderedJob {
 public:
  using Work = std::function<std::optional<Result>(int index, std::stop_token stop)>;
  // Called on a worker after each item, so that the starter can wake up and take what is ready.
  // It must neither throw nor call back into the job.
  using Notify = std::function<void()>;

  struct Item {
    int Index = 0;  // 0-based
    Result Value;
  };

  OrderedJob(int count, Work work, Notify notify, int workerCount)
      : work_(std::move(work)),
        notify_(std::move(notify)),
        slots_(static_cast<size_t>(std::max(count, 0))),
        endOfJob_(std::max(count, 0)) {
    const int workers = std::min(std::max(workerCount, 1), endOfJob_);
    workers_.reserve(static_cast<size_t>(workers));
    for (int i = 0; i < workers; ++i)
      workers_.emplace_back([this](std::stop_token stop) { Run(std::move(stop)); });
  }

  // Stops the job and waits for the workers, which give up as soon as their work looks at the
  // stop request.
  ~OrderedJob() {
    RequestStop();
    workers_.clear();  // the jthreads join here, before the members they use go
  }
  OrderedJob(const OrderedJob&) = delete;
  OrderedJob& operator=(const OrderedJob&) = delete;

  // May be called from any thread. Nothing more is handed over; workers drop the item they are on.
  void RequestStop() {
    {
      const std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    for (std::jthread& worker : workers_)
      worker.request_stop();
    changed_.notify_all();
  }
  bool StopRequested() const {
    const std::lock_guard lock(mutex_);
    return stopped_;
  }

  // The results that are ready and follow the ones taken already, in order; empty while the next
  // item is still being worked on. Throws the error of a failed item when it is that item's turn.
  std::vector<Item> TakeReady() {
    const std::lock_guard lock(mutex_);
    return TakeLocked();
  }
  // Like TakeReady, but first waits until the next result is ready or the job is over.
  std::vector<Item> WaitReady() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] {
      return DoneLocked() || slots_[static_cast<size_t>(nextToTake_)].state != State::Pending;
    });
    return TakeLocked();
  }

  // Every result has been taken, or the job was stopped, or its failure has been thrown.
  bool Done() const {
    const std::lock_guard lock(mutex_);
    return DoneLocked();
  }
  // Every result has been taken.
  bool Completed() const {
    const std::lock_guard lock(mutex_);
    return nextToTake_ >= static_cast<int>(slots_.size());
  }

 private:
  enum class State { Pending, Ready, Failed };
  struct Slot {
    State state = State::Pending;
    std::optional<Result> value;
    std::exception_ptr error;
  };

  int ClaimNext() {
    const std::lock_guard lock(mutex_);
    if (stopped_ || nextToStart_ >= endOfJob_)
      return -1;
    return nextToStart_++;
  }

  void Run(std::stop_token stop) {
    for (int index = ClaimNext(); index >= 0; index = ClaimNext()) {
      Slot slot;
      try {
        slot.value = work_(index, stop);
        if (!slot.value)
          return;  // given up in the middle of the item
        slot.state = State::Ready;
      } catch (...) {
        slot.state = State::Failed;
        slot.error = std::current_exception();
      }
      Store(index, std::move(slot));
      changed_.notify_all();
      if (notify_)
        notify_();
    }
  }

  void Store(int index, Slot slot) {
    const std::lock_guard lock(mutex_);
    if (slot.state == State::Failed)
      endOfJob_ = std::min(endOfJob_, index + 1);
    slots_[static_cast<size_t>(index)] = std::move(slot);
  }

  std::vector<Item> TakeLocked() {
    std::vector<Item> results;
    while (!DoneLocked()) {
      Slot& slot = slots_[static_cast<size_t>(nextToTake_)];
      if (slot.state == State::Pending)
        break;
      if (slot.state == State::Failed) {
        // The results before the failure go out first; the next call reports it.
        if (!results.empty())
          break;
        failureThrown_ = true;
        std::rethrow_exception(slot.error);
      }
      results.push_back({nextToTake_, std::move(*slot.value)});
      slot.value.reset();
      ++nextToTake_;
    }
    return results;
  }

  bool DoneLocked() const {
    return stopped_ || failureThrown_ || nextToTake_ >= static_cast<int>(slots_.size());
  }

  const Work work_;
  const Notify notify_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  int nextToStart_ = 0;
  int nextToTake_ = 0;
  // Items from here on are not started: the first failure ends the job.
  int endOfJob_ = 0;
  bool stopped_ = false;
  bool failureThrown_ = false;

  std::vector<std::jthread> workers_;
};
