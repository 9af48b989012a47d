#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <vector>

// The time between two consecutive ticks of the probe: `Length` nanoseconds from `Start`.
struct Gap {
  int64_t Start = 0;
  int64_t Length = 0;
};

// A timer that asks for an event every millisecond on the thread it lives on. While recording it
// keeps the time between consecutive ticks: the longest of them is the longest time the thread
// answered no event at all, which is what a user sees as a window that froze.
class ResponsivenessProbe : public QObject {
 public:
  ResponsivenessProbe();

  // Gaps are kept from the tick before this call on.
  void StartRecording() { recording_ = true; }
  // Keeps the gap up to now as the last one and stops keeping gaps.
  void StopRecording();

  // Nanoseconds since the probe started, on the clock the gaps are measured with.
  int64_t Now() const { return clock_.nsecsElapsed(); }
  const std::vector<Gap>& Gaps() const { return gaps_; }

 private:
  void Tick();

  QTimer timer_;
  QElapsedTimer clock_;
  int64_t lastTick_ = 0;
  bool recording_ = false;
  std::vector<Gap> gaps_;
};

// The largest gap and the one that 99 % of the gaps do not exceed, in milliseconds.
struct GapFigures {
  double MaxMs = 0;
  double P99Ms = 0;
};
GapFigures SummariseGaps(const std::vector<Gap>& gaps);
