#pragma once

#include <QString>
#include <functional>

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
