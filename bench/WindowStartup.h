#pragma once

#include <QString>
#include <cstdint>

// The program's start as velmora makes it, each time in a fresh process: this program starts
// itself `runs` times in the child mode below (after one start that is not counted and fills the
// caches) and prints
//
//   window-startup runs=10 median_ms=120.5 min_ms=118.0 max_ms=131.2
//
// Returns 0, or 1 when a start failed.
int RunStartups(const QString& programDir, int runs);

// The child: StartProgram in programDir, then prints the milliseconds from spawnedAtNs (the
// steady clock's reading that the parent took just before starting this process) until the main
// window's first expose has been handled, which is when its first picture is on the screen.
int RunStartupChild(const QString& programDir, int64_t spawnedAtNs);

// The steady clock in nanoseconds; one clock for every process of the machine.
int64_t SteadyNowNs();

// The argument that selects the child mode.
inline constexpr char kStartupChildMode[] = "startup-child";
