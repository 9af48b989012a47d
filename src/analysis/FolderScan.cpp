#include "analysis/FolderScan.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QDirIterator>
#include <algorithm>
#include <vector>

namespace {

QString WithTrailingSeparator(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool IsSkippedFolderName(const QString& name) {
  return name.startsWith(QLatin1Char('.')) || name.toUpper() == QStringLiteral("RECYCLED");
}

// The full paths of the folder's files (hidden ones included) in the order the file system
// returns them; what FindFiles gives for the mask "*".
QStringList ListFiles(const QString& folder) {
  const QString base = WithTrailingSeparator(folder);
  QStringList list;
  QDirIterator files(base, QDir::Files | QDir::Hidden | QDir::System);
  while (files.hasNext()) {
    files.next();
    list.append(base + files.fileName());
  }
  return list;
}

// The paths that the mask "*." + extension matches, in their order: the name ends in a dot and
// the extension, compared without regard to case.
QStringList WithExtension(const QStringList& paths, const QString& extension) {
  const QString suffix = QLatin1Char('.') + extension;
  QStringList matching;
  for (const QString& path : paths) {
    if (path.endsWith(suffix, Qt::CaseInsensitive))
      matching.append(path);
  }
  return matching;
}

}  // namespace

QString FormatExtension(AudioFormat format) {
  switch (format) {
    case AudioFormat::Mp3:
      return QStringLiteral("mp3");
    case AudioFormat::Mpc:
      return QStringLiteral("mpc");
    case AudioFormat::Ape:
      return QStringLiteral("ape");
    case AudioFormat::Flac:
      return QStringLiteral("flac");
  }
  return QString();
}

TrackRecord TrackRecord::NewRow(const QString& filePath) {
  const QString blank = QStringLiteral(" ");
  TrackRecord row;
  row.FilePath = filePath;
  row.FileName = FileNameOf(filePath);
  row.Artist = row.Title = row.Album = blank;
  row.SizeText = row.DurationText = row.BitrateText = row.ChecksumText = blank;
  return row;
}

void FindFiles(const QString& folder, const QString& mask, bool recursive, QStringList& list) {
  const QString base = WithTrailingSeparator(folder);
  QDirIterator files(base, {mask}, QDir::Files | QDir::Hidden | QDir::System);
  while (files.hasNext()) {
    files.next();
    list.append(base + files.fileName());
  }
  if (!recursive)
    return;
  QDirIterator folders(base, QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  while (folders.hasNext()) {
    folders.next();
    if (IsSkippedFolderName(folders.fileName()) || folders.fileInfo().isSymLink())
      continue;
    FindFiles(base + folders.fileName(), mask, recursive, list);
  }
}

void SortIntoTrackOrder(QStringList& paths, const UserLocale& locale) {
  // Each name is cut from its path once, not in every one of the many comparisons.
  struct Entry {
    QString name;
    QString path;
  };
  std::vector<Entry> entries;
  entries.reserve(static_cast<size_t>(paths.size()));
  for (QString& path : paths)
    entries.push_back({FileNameOf(path), std::move(path)});
  std::stable_sort(entries.begin(), entries.end(), [&locale](const Entry& a, const Entry& b) {
    return locale.FileNameLess(a.name, b.name);
  });
  for (qsizetype i = 0; i < paths.size(); ++i)
    paths[i] = std::move(entries[static_cast<size_t>(i)].path);
}

void ScanFolder(ScanState& scan, const QString& folderPath, const UserLocale& locale) {
  // The path may be the scan's own FolderPath (scanning the same folder again): keep it first.
  QString folder = folderPath;
  scan = ScanState{};
  scan.FolderPath = std::move(folder);
  // One listing serves the four masks: a folder of a thousand tracks is read once, not four times.
  const QStringList everyFile = ListFiles(scan.FolderPath);
  int runningMaximum = 0;
  for (const AudioFormat format : kAudioFormats) {
    QStringList files = WithExtension(everyFile, FormatExtension(format));
    SortIntoTrackOrder(files, locale);
    const int count = static_cast<int>(files.size());
    scan.FormatCounts[FormatIndex(format)] = count;
    if (count > 0)
      ++scan.FormatsPresent;
    if (count >= runningMaximum) {
      runningMaximum = count;
      scan.DominantFormat = format;
    }
    scan.FileLists[FormatIndex(format)] = std::move(files);
  }
  scan.DominantExtension = FormatExtension(scan.DominantFormat);
  scan.TrackList = scan.FileLists[FormatIndex(scan.DominantFormat)];
  // The per-format lists are not kept: only their counts and the dominant list matter later.
  for (QStringList& list : scan.FileLists)
    list.clear();
}
