#pragma once

#include <QString>
#include <functional>
#include <stop_token>

// Called by the file layer before every open and every read, with the file's path and which of
// the two it is. The program
// never sets it; tests and benchmarks do, to make a disk or a network share as slow as they need
// (a read that takes 300 ms, one that blocks until released) without a real one. Setting it while
// files are being read is safe; the hook itself must be thread-safe.
enum class FileAccess { Open, Read };
using FileAccessHook = std::function<void(const QString& path, FileAccess access)>;
void SetFileAccessHook(FileAccessHook hook);
// Runs the hook when one is set.
void RunFileAccessHook(const QString& path, FileAccess access);

// While one lives on a thread, the reads of the file layer on that thread end early, as at the
// end of the file, once its stop is requested: a pass that is stopped lets go of a slow file after
// the read in flight, not after every read the file would still take.
class ReadsStopWith {
 public:
  explicit ReadsStopWith(std::stop_token stop);
  ~ReadsStopWith();
  ReadsStopWith(const ReadsStopWith&) = delete;
  ReadsStopWith& operator=(const ReadsStopWith&) = delete;

 private:
  std::stop_token previous_;
};
// Whether the reads on this thread are to stop.
bool ReadsStopped();
