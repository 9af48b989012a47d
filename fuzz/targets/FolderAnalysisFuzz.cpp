#include "FuzzSupport.h"

#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"
#include "model/Release.h"
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
void AnalyseAs(const FormatInfo& format, const uint8_t* data, size_t size) {
  const QString extension = FormatKey(format.Id);
  const QString folder = QStringLiteral("release-") + extension;
  fuzzing::WriteScratchFile(folder + QStringLiteral("/01 - Track.") + extension, data, size);

  Release model;
  ScanFolder(model.Scan, QDir(fuzzing::ScratchFolder()).filePath(folder));
  fuzzing::Require(model.Scan.TrackList.size() == 1, "the scan missed the one track");

  AnalysisOptions options;
  options.Choices = {true, size % 2 == 0 ? ChecksumKind::Sfv : ChecksumKind::Md5};
  options.Today = QDate(2024, 5, 17);
  // No file error is caught: the track is there and readable, so its open error (FLAC reader,
  // checksum pass) escaping here would be a finding.
  AnalyseTracks(model, options);
  fuzzing::Require(!model.Tracks.empty() && !model.Tracks.front().ChecksumText.isEmpty(),
                   "no checksum for the track");
  Options outputs;
  for (const bool utf8 : {false, true}) {
    outputs.Utf8Text = utf8;
    const QStringList lines =
        ComposeNfoLines(model, outputs, UserLocale::System(), CodePage::System());
    fuzzing::Require(!lines.isEmpty(), "an empty NFO");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const FormatInfo& format : AudioFormats())
    AnalyseAs(format, data, size);
  return 0;
}
