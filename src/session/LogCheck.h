#pragma once

#include "audio/AudioEngine.h"
#include "extras/LogMatch.h"
#include "extras/RipLog.h"
#include "model/Release.h"
#include "platform/OrderedJob.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// The release's rip logs and the check of its audio against them.

// The extras of the release's folder and of each of its disc folders, the latter named with
// their disc folder ("CD1/EAC.log").
ReleaseExtras FindReleaseExtras(const ScanState& scan);

// One log of the release: the file it came from (relative to the release's folder, as the
// extras name it), the disc folder it lies in (empty at the top), and what it says.
struct FolderLog {
  QString File;
  QString Disc;
  RipLog Log;
};
std::vector<FolderLog> ReadReleaseLogs(const ScanState& scan);

// Page 3 after an analysis: Ripper and CD/DVD from the first log, and the Include and Covers
// boxes ticked for exactly what the folder holds.
void TakeExtrasIntoRelease(Release& release, const std::vector<FolderLog>& logs);
// What a save with a box ticked for something absent deserves to be told, one line each.
QStringList AbsentExtrasNotes(const Release& release);

// The log checked against the rows it describes.
struct CheckedLog {
  LogMatch Match;
  int FirstRow = 0;  // the row of the log's track 1
};

// Every row's file decoded (through the decoding module) into the checksums rip logs state, on
// worker threads, one track per core; then each log matched against the rows of its disc.
class LogMatchPass {
 public:
  using Notify = std::function<void()>;

  LogMatchPass(const AudioEngine& engine, const Release& release, Notify notify,
               int workerCount = 0);
  ~LogMatchPass();
  LogMatchPass(const LogMatchPass&) = delete;
  LogMatchPass& operator=(const LogMatchPass&) = delete;

  // The rows whose audio has been taken since the last call.
  std::vector<int> TakeReady();
  void Stop() { job_->RequestStop(); }
  bool Stopped() const { return job_->StopRequested(); }
  bool Done() const { return job_->Done(); }
  bool Completed() const { return job_->Completed(); }
  int Percent() const;
  // After the last row: each log against its rows.
  std::vector<CheckedLog> Match(const Release& release, const std::vector<FolderLog>& logs) const;

 private:
  std::vector<TrackPcm> audio_;
  int taken_ = 0;
  std::unique_ptr<OrderedJob<TrackPcm>> job_;
};

// The NFO's "Rip Log" value: program and version, read mode, AccurateRip and the CRCs, per log.
QString RipLogLine(const std::vector<FolderLog>& logs, const std::vector<CheckedLog>& checked);
// Page 1's lines on the extras, and on the logs once they are checked.
QStringList ExtrasSummaryLines(const Release& release, const std::vector<FolderLog>& logs,
                               const std::vector<CheckedLog>& checked);
