#pragma once

#include "audio/AudioEngine.h"
#include "extras/LogMatch.h"
#include "extras/PcmChecksums.h"
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

// Whether a row starts or ends its disc: AccurateRip skips the edges of a disc.
struct DiscEdges {
  bool First = false;
  bool Last = false;
};
std::vector<DiscEdges> DiscEdgesOfRows(const Release& release);

// The checksums rip logs state, taken from one track's 16-bit samples as they are decoded.
class TrackLogSums {
 public:
  explicit TrackLogSums(DiscEdges edges);
  TrackLogSums(const TrackLogSums&) = delete;
  TrackLogSums& operator=(const TrackLogSums&) = delete;

  // Takes the decoded blocks; valid while this object lives.
  const Pcm16Sink& Sink() const { return sink_; }
  // The checksums of what was decoded, or nothing for a track that could not be decoded.
  TrackPcm Finish(bool decoded);

 private:
  PcmChecksums sums_;
  std::vector<int16_t> stereo_;
  Pcm16Sink sink_;
};

// Each log matched against the rows of its disc, from every row's checksums in track order.
std::vector<CheckedLog> MatchReleaseLogs(const Release& release, const std::vector<FolderLog>& logs,
                                         const std::vector<TrackPcm>& audio);

// Every row's file decoded (through the decoding module) into the checksums rip logs state, on
// worker threads, one track per core. Used when the audio analysis does not run: when it does,
// it takes the checksums on its own decode.
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
  // Every row's checksums, once the pass has completed.
  const std::vector<TrackPcm>& Audio() const { return audio_; }

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
