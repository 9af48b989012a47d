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
