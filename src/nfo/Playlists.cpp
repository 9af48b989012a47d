#include "nfo/Playlists.h"

#include "nfo/OutputFiles.h"

namespace {

QString ArtistAndTitle(const TrackRecord& row) {
  return row.Artist + QStringLiteral(" - ") + row.Title;
}

}  // namespace

QStringList PlsLines(const Release& model) {
  QStringList lines{QStringLiteral("[playlist]")};
  qsizetype number = 0;
  for (const TrackRecord& row : model.Tracks) {
    const QString n = QString::number(++number);
    lines << QStringLiteral("File") + n + QLatin1Char('=') + row.FileName
          << QStringLiteral("Title") + n + QLatin1Char('=') + ArtistAndTitle(row)
          << QStringLiteral("Length") + n + QLatin1Char('=') + row.DurationSecondsText;
  }
  lines << QStringLiteral("NumberOfEntries=") + QString::number(number)
        << QStringLiteral("Version=2");
  return lines;
}

QStringList M3uLines(const Release& model) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  for (const TrackRecord& row : model.Tracks) {
    lines << QStringLiteral("#EXTINF:") + row.DurationSecondsText + QLatin1Char(',') +
                 ArtistAndTitle(row)
          << row.FileName;
  }
  return lines;
}

QString WritePlsPlaylist(const Release& model, const Options& options, const CodePage& codePage) {
  const QString extension = QStringLiteral(".pls");
  return WriteCompanionFile(model, options, extension, extension, PlsLines(model), codePage);
}

QString WriteM3uPlaylist(const Release& model, const Options& options, const CodePage& codePage) {
  const QString extension = QStringLiteral(".m3u");
  return WriteCompanionFile(model, options, extension, extension, M3uLines(model), codePage);
}
