#include "platform/FileAccessHook.h"

#include <atomic>
#include <memory>

namespace {

std::atomic<std::shared_ptr<const FileAccessHook>> currentHook;

}  // namespace

void SetFileAccessHook(FileAccessHook hook) {
  currentHook.store(hook ? std::make_shared<const FileAccessHook>(std::move(hook)) : nullptr);
}

void RunFileAccessHook(const QString& path, FileAccess access) {
  if (const std::shared_ptr<const FileAccessHook> hook = currentHook.load())
    (*hook)(path, access);
}
