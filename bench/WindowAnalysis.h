#pragma once

#include <QString>

// One analysis in the real window, as a user starts it: "..." with the folder browser answering
// `folder`, then "Dalej >". The window starts in a program folder of its own whose nfo.ini turns
// the checksum pass on with checksumKind ("SFV" or "MD5") or off (empty). Prints one line,
//
//   window-analysis checksum=SFV tracks=4 scan_ms=1.9 wall_ms=130.2 max_gap_ms=4.1
//   p99_gap_ms=1.1 ticks=120
//
// (on one line): the scan within the "..." click, the wall time from the "Dalej >" click until
// MainWindow::AnalysisEnded, and the longest and the 99th-percentile time that the window's
// thread answered no event in between. With gapsOverMs not negative, every gap longer than that
// is printed first as "window-gap from_ms=... length_ms=...", counted from the click. Returns 0,
// or 1 when the analysis did not finish.
int RunWindowAnalysis(const QString& checksumKind, const QString& folder, double gapsOverMs = -1);
