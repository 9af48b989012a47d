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

// The window over a slow network share: every open and read of the folder's files is held up by
// delayMs (through the file layer's access hook). After "Dalej >" the window is watched for
// watchMs while the track pass runs, then closed. Prints
//
//   window-slowshare delay_ms=300 watched_ms=5000 tracks_read=12 max_gap_ms=3.2 p99_gap_ms=1.0
//   close_ms=280.4
//
// (on one line): how long the window's thread went unanswered at most, and how long closing
// the window took with the pass running.
int RunSlowShare(const QString& folder, int delayMs, int watchMs);
