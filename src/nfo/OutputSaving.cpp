#include "nfo/OutputSaving.h"

#include "nfo/ChecksumList.h"
#include "nfo/DrReport.h"
#include "nfo/NfoComposer.h"
#include "nfo/OutputFiles.h"
#include "nfo/Playlists.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/TextFile.h"

#include <QDateTime>
#include <algorithm>
#include <vector>

namespace {

QString WriteNfoFile(const Release& release, const Options& options, const CodePage& codePage) {
  const QString path = OutputFileName(release, QStringLiteral(".nfo"), NfoForm(options), codePage);
  // Without a folder the name would be relative to wherever the program happens to run.
  if (OutputFolderOf(release).isEmpty())
    throw FileError::CannotCreate(path);
  TextFile::WriteBytes(path, NfoFileBytes(release, options, codePage));
  return path;
}

// The names the DR report gives the tracks: as page 1 shows them, inside their disc folder.
QString ReportName(const TrackRecord& row) {
  return row.Disc.isEmpty() ? row.FileName : row.Disc + QLatin1Char('/') + row.FileName;
}

// "<base>_dr.txt" beside the NFO, in its form, of the tracks that could be decoded.
QString WriteDrReport(const Release& release, const Options& options, const CodePage& codePage) {
  std::vector<AudioFigures> tracks;
  QStringList names;
  const size_t count = std::min(release.Tracks.size(), release.Audio.Tracks.size());
  for (size_t i = 0; i < count; ++i) {
    if (const std::optional<AudioFigures>& figures = release.Audio.Tracks[i]) {
      tracks.push_back(*figures);
      names << ReportName(release.Tracks[i]);
    }
  }
  const QString path =
      OutputFileName(release, QStringLiteral("_dr.txt"), NfoForm(options), codePage);
  const QDateTime logDate = QDateTime::currentDateTime();
  TextFile::WriteLines(path, DrReportLines(tracks, names, release.Audio.Album, logDate),
                       NfoForm(options), codePage);
  return path;
}

}  // namespace

QStringList NfoFileLines(const QString& nfoText) {
  if (nfoText.isEmpty())
    return {};
  QString text = nfoText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text.split(QLatin1Char('\n'));
}

QByteArray NfoFileBytes(const Release& release, const Options& options, const CodePage& codePage) {
  return TextFile::Encode(NfoFileLines(release.NfoText), NfoForm(options), codePage);
}

QStringList SaveOutputs(Release& release, const Options& options, const CodePage& codePage) {
  release.Run.OutputFolder = OutputFolderOf(release);
  QStringList written;
  written << WriteNfoFile(release, options, codePage);
  const ReleaseInfo& info = release.Info;
  if (info.IncludeChecksums)
    written << WriteChecksumList(release, options, codePage);
  if (info.IncludePls)
    written << WritePlsPlaylist(release, options, codePage);
  if (info.IncludeM3u)
    written << WriteM3uPlaylist(release, options, codePage);
  if (AudioLinesWanted(release, options))
    written << WriteDrReport(release, options, codePage);
  release.Run.NfoComposed = false;
  return written;
}
