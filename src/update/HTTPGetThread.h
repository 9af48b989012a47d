#pragma once

#include "platform/CodePage.h"
#include "update/HTTPGetProperties.h"

#include <QByteArray>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// What a finished worker leaves for its owner.
struct HTTPOutcome {
  bool Success = false;
  // The Content-Length value; 0 when the response had none.
  int64_t ContentLength = 0;
  int64_t Received = 0;
  // The body of a text download.
  QByteArray Text;
};

// The worker of THTTPGet: one download on a thread of its own. It works only on its copies of the
// properties and of the code page, and on its stop flag; it reports through the two callbacks,
// called on its own thread.
class THTTPGetThread {
 public:
  using Progress = std::function<void(int64_t totalSize, int64_t readed)>;
  using Finished = std::function<void()>;

  // Starts the download at once: into properties.FileName when toFile, else into a text. The
  // request's texts go out in codePage. `finished` is the worker's last act.
  THTTPGetThread(HTTPGetProperties properties, bool toFile, CodePage codePage, Progress progress,
                 Finished finished);
  // Stops a running download and waits for the thread, which notices the stop within about a
  // second however the server behaves.
  ~THTTPGetThread();
  THTTPGetThread(const THTTPGetThread&) = delete;
  THTTPGetThread& operator=(const THTTPGetThread&) = delete;

  void Stop() { stop_ = true; }
  // Waits for the thread (which has ended, or is about to once `finished` returned) and hands
  // over its result.
  HTTPOutcome TakeOutcome();

 private:
  struct Transfer;  // one libcurl transfer, with the state of its body

  void Run();

  const HTTPGetProperties properties_;
  const bool toFile_;
  const CodePage codePage_;
  const Progress progress_;
  const Finished finished_;
  std::atomic<bool> stop_ = false;
  HTTPOutcome outcome_;
  std::thread thread_;
};
