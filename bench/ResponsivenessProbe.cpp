#include "ResponsivenessProbe.h"

#include <algorithm>
#include <cmath>

ResponsivenessProbe::ResponsivenessProbe() {
  // A coarse timer may be moved by up to 5 % of its interval to wake up with others; at one
  // millisecond that is nothing, but a precise one keeps the intent plain.
  timer_.setTimerType(Qt::PreciseTimer);
  timer_.setInterval(1);
  connect(&timer_, &QTimer::timeout, this, &ResponsivenessProbe::Tick);
  clock_.start();
  timer_.start();
}

void ResponsivenessProbe::StopRecording() {
  Tick();
  recording_ = false;
}

void ResponsivenessProbe::Tick() {
  const int64_t now = Now();
  if (recording_)
    gaps_.push_back({lastTick_, now - lastTick_});
  lastTick_ = now;
}

GapFigures SummariseGaps(const std::vector<Gap>& gapList) {
  if (gapList.empty())
    return {};
  std::vector<int64_t> gaps;
  gaps.reserve(gapList.size());
  for (const Gap& gap : gapList)
    gaps.push_back(gap.Length);
  std::sort(gaps.begin(), gaps.end());
  const auto p99 = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(gaps.size()))) - 1;
  return {static_cast<double>(gaps.back()) / 1e6, static_cast<double>(gaps[p99]) / 1e6};
}
