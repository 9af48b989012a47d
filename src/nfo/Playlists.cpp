#include "nfo/Playlists.h"

#include "nfo/OutputFiles.h"

namespace {

QString ArtistAndTitle(const TrackRecord& row) {
  return row.Artist + QStringLiteral(" - ") + row.Title;
}

}  // namespace

QStringList PlsLines(std::span<const TrackRecord> rows) {
  QStringList lines{QStringLiteral("[playlist]")};
  qsizetype number = 0;
  for (const TrackRecord& row : rows) {
    const QString n = QString::number(++number);
    lines << QStringLiteral("File") + n + QLatin1Char('=') + row.FileName
          << QStringLiteral("Title") + n + QLatin1Char('=') + ArtistAndTitle(row)
          << QStringLiteral("Length") + n + QLatin1Char('=') + row.DurationSecondsText;
  }
  lines << QStringLiteral("NumberOfEntries=") + QString::number(number)
        << QStringLiteral("Version=2");
  return lines;
}

QStringList M3uLines(std::span<const TrackRecord> rows) {
  QStringList lines{QStringLiteral("#EXTM3U")};
  for (const TrackRecord& row : rows) {
    lines << QStringLiteral("#EXTINF:") + row.DurationSecondsText + QLatin1Char(',') +
                 ArtistAndTitle(row)
          << row.FileName;
  }
  return lines;
}

namespace {

QStringList WritePlaylists(const Release& model, const Options& options, const CodePage& codePage,
                           const QString& extension,
                           QStringList (*linesOf)(std::span<const TrackRecord>)) {
  QStringList written;
  for (const DiscRows& disc : RowsByDisc(model)) {
    const QString path = WriteCompanionFile(model, options, extension, extension,
                                            linesOf(disc.Rows), codePage, disc.Name);
    if (!path.isEmpty())
      written << path;
  }
  return written;
}

}  // namespace

QStringList WritePlsPlaylist(const Release& model, const Options& options,
                             const CodePage& codePage) {
  return WritePlaylists(model, options, codePage, QStringLiteral(".pls"), PlsLines);
}

QStringList WriteM3uPlaylist(const Release& model, const Options& options,
                             const CodePage& codePage) {
  return WritePlaylists(model, options, codePage, QStringLiteral(".m3u"), M3uLines);
}
