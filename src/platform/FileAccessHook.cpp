#include "platform/FileAccessHook.h"

#include <atomic>
#include <memory>

namespace {

std::atomic<std::shared_ptr<const FileAccessHook>> currentHook;
thread_local std::stop_token readsStop;

}  // namespace

void SetFileAccessHook(FileAccessHook hook) {
  currentHook.store(hook ? std::make_shared<const FileAccessHook>(std::move(hook)) : nullptr);
}

void RunFileAccessHook(const QString& path, FileAccess access) {
  if (const std::shared_ptr<const FileAccessHook> hook = currentHook.load())
    (*hook)(path, access);
}

ReadsStopWith::ReadsStopWith(std::stop_token stop) : previous_(std::move(readsStop)) {
  readsStop = std::move(stop);
}

ReadsStopWith::~ReadsStopWith() {
  readsStop = std::move(previous_);
}

bool ReadsStopped() {
  return readsStop.stop_requested();
}
