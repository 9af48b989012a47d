#include "model/Release.h"

#include "platform/FileNames.h"

TrackRecord TrackRecord::NewRow(const QString& filePath) {
  const QString blank = QStringLiteral(" ");
  TrackRecord row;
  row.FilePath = filePath;
  row.FileName = FileNameOf(filePath);
  row.Artist = row.Title = row.Album = blank;
  row.SizeText = row.DurationText = row.BitrateText = row.ChecksumText = blank;
  return row;
}

QString ReleaseArtist(const Release& release) {
  if (!release.Summary.AlbumArtist.isEmpty())
    return release.Summary.AlbumArtist;
  return release.Tracks.empty() ? QString() : release.Tracks.front().Artist;
}

QString DiscOfTrack(const ScanState& scan, const QString& trackPath) {
  if (scan.Discs.isEmpty())
    return {};
  QString folder = FolderOf(trackPath);
  folder.chop(1);
  return FileNameOf(folder);
}

QString ShownTrackPath(const ScanState& scan, const QString& trackPath) {
  const QString disc = DiscOfTrack(scan, trackPath);
  return disc.isEmpty() ? trackPath : disc + QLatin1Char('/') + FileNameOf(trackPath);
}

std::vector<DiscRows> RowsByDisc(const Release& release) {
  std::vector<DiscRows> discs;
  const std::span<const TrackRecord> rows(release.Tracks);
  if (rows.empty())
    return {{QString(), rows}};
  size_t first = 0;
  for (size_t i = 1; i <= rows.size(); ++i) {
    if (i == rows.size() || rows[i].Disc != rows[first].Disc) {
      discs.push_back({rows[first].Disc, rows.subspan(first, i - first)});
      first = i;
    }
  }
  return discs;
}

bool RowsOfDiscs(const Release& release) {
  return !release.Tracks.empty() && !release.Tracks.front().Disc.isEmpty();
}
