#pragma once

#include <QString>
#include <QStringList>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

// One file's checksum text as the job hands it over.
struct ChecksumResult {
  int Track = 0;  // 1-based position in the job's file list
  QString ChecksumText;
};

// The checksum pass off the calling thread. Worker threads hash the files, several at a time,
// while whoever started the job takes the results in track order, whatever order the files
// finish in. A file that cannot be read ends the pass there: the results before it are still
// handed over, then taking the next one throws its FileError ("Cannot open file %s"), and no
// later result is ever handed over.
//
// The job is driven from one thread (the one that started it); only the notification runs on
// the workers.
class ChecksumJob {
 public:
  // Called on a worker thread after each file, so that the starter can wake up and take what is
  // ready. It must neither throw nor call back into the job; a window posts an event to its own
  // thread and takes the results there.
  using Notify = std::function<void()>;

  // Starts hashing paths with the checksum kind ("SFV", "MD5"; any other kind gives empty texts
  // without touching the files). workerCount 0 picks one worker per core, at most kMaxWorkers.
  ChecksumJob(const QString& kind, const QStringList& paths, Notify notify = {},
              int workerCount = 0);
  // Stops the job and waits for the workers, which give up within one block of their file.
  ~ChecksumJob();
  ChecksumJob(const ChecksumJob&) = delete;
  ChecksumJob& operator=(const ChecksumJob&) = delete;

  // May be called from any thread. Stops between files as far as the starter can see: nothing more
  // is handed over, so every row stays as the results taken so far left it. Workers drop the file
  // they are on.
  void RequestStop();
  bool StopRequested() const;

  // The results that are ready and follow the ones already taken, in track order; empty when the
  // next file is still being hashed. Throws the FileError of a file that could not be read when
  // it is that file's turn.
  std::vector<ChecksumResult> TakeReady();
  // Like TakeReady, but first waits until the next result is ready or the job is over.
  std::vector<ChecksumResult> WaitReady();

  // Every result has been taken, or the job was stopped, or its failure has been thrown.
  bool Done() const;

  static constexpr int kMaxWorkers = 4;
  static int DefaultWorkerCount();

 private:
  struct Slot {
    enum class State { Pending, Ready, Failed };
    State state = State::Pending;
    QString text;
    std::exception_ptr error;
  };

  void Work(std::stop_token stop);
  // The index of the next file a worker may start, or -1 when there is none.
  int ClaimNextFile();
  void Store(int index, Slot slot);
  std::vector<ChecksumResult> TakeLocked();
  bool DoneLocked() const;

  const QString kind_;
  const QStringList paths_;
  const Notify notify_;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Slot> slots_;
  int nextToStart_ = 0;
  int nextToTake_ = 0;
  // Files from here on are not started: the first failure ends the pass.
  int endOfPass_ = 0;
  bool stopped_ = false;
  bool failureThrown_ = false;

  std::vector<std::jthread> workers_;
};
