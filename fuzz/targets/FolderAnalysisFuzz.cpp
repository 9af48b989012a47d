#include "FuzzSupport.h"

#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"
#include "analysis/ReaderSet.h"
#include "analysis/ReleaseModel.h"
#include "nfo/NfoComposer.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"

#include <QDate>
#include <QDir>
#include <array>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  return 0;
}

namespace {

// One release folder per format, each holding the input as its only track.
void AnalyseAs(const QString& extension, const uint8_t* data, size_t size, ReaderSet& readers) {
  const QString folder = QStringLiteral("release-") + extension;
  fuzzing::WriteScratchFile(folder + QStringLiteral("/01 - Track.") + extension, data, size);

  ReleaseModel model;
  model.Opts.AutoCrc = true;
  model.Opts.ChecksumKind = size % 2 == 0 ? QStringLiteral("SFV") : QStringLiteral("MD5");
  ScanFolder(model.Scan, QDir(fuzzing::ScratchFolder()).filePath(folder));
  fuzzing::Require(model.Scan.TrackList.size() == 1, "the scan missed the one track");

  AnalysisOptions options;
  options.Today = QDate(2024, 5, 17);
  // No file error is caught: the track is there and readable, so its open error (FLAC reader,
  // checksum pass) escaping here would be a finding.
  AnalyseTracks(model, readers, options);
  fuzzing::Require(!model.Tracks.empty() && !model.Tracks.front().ChecksumText.isEmpty(),
                   "no checksum for the track");
  const QStringList lines = ComposeNfoLines(model, UserLocale::System(), CodePage::System());
  fuzzing::Require(!lines.isEmpty(), "an empty NFO");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReaderSet readers;  // reused across the formats, as the program reuses its readers
  for (const char* extension : {"mp3", "mpc", "ape", "flac"})
    AnalyseAs(QString::fromLatin1(extension), data, size, readers);
  return 0;
}
