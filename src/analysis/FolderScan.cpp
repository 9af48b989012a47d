#include "analysis/FolderScan.h"

#include "platform/FileNames.h"
#include "platform/FolderListing.h"

#include <QDir>
#include <QDirIterator>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace {

QString WithTrailingSeparator(const QString& folder) {
  return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

bool IsSkippedFolderName(const QString& name) {
  return name.startsWith(QLatin1Char('.')) || name.toUpper() == QStringLiteral("RECYCLED");
}

// Audio that people keep beside their releases but the program has no reader for: such a file
// is reported as left out instead of being passed over in silence. A format that gains a reader
// is found in the format table first.
constexpr std::array<std::string_view, 38> kKnownAudioExtensions = {
    "aac", "ac3", "aif", "aifc", "aiff", "alac", "amr",  "ape", "au",  "caf",
    "dff", "dsd", "dsf", "dts",  "flac", "m4a",  "m4b",  "mka", "mp1", "mp2",
    "mp3", "mp4", "mpc", "mpga", "oga",  "ogg",  "opus", "ra",  "shn", "spx",
    "tak", "tta", "w64", "wav",  "weba", "wma",  "wv",   "wvc"};

bool IsUnreadAudio(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0)
    return false;
  const QString extension = name.mid(dot + 1).toLower();
  return std::any_of(
      kKnownAudioExtensions.begin(), kKnownAudioExtensions.end(), [&](std::string_view known) {
        return extension == QLatin1String(known.data(), static_cast<qsizetype>(known.size()));
      });
}

using FormatLists = std::array<QStringList, kFormatCount>;

bool HoldsAudio(const FormatLists& lists) {
  return std::any_of(lists.begin(), lists.end(),
                     [](const QStringList& files) { return !files.isEmpty(); });
}

// Where one entry of a folder goes: into the list of its format, or into what is left out (named
// with the folder it lies in when that is a disc folder).
void SortEntry(const FolderEntry& entry, const QString& base, const QString& shownPrefix,
               FormatLists& lists, std::vector<LeftOutFile>& leftOut) {
  switch (entry.Type) {
    case FolderEntry::Kind::Folder:
      return;
    case FolderEntry::Kind::Special:
    case FolderEntry::Kind::BrokenLink:
      leftOut.push_back({shownPrefix + entry.Name, LeftOutFile::Reason::NotAFile});
      return;
    case FolderEntry::Kind::RegularFile:
      break;
  }
  if (!entry.NameValid) {
    leftOut.push_back({shownPrefix + entry.Name, LeftOutFile::Reason::Name});
    return;
  }
  if (const FormatInfo* format = FormatOfFileName(entry.Name)) {
    lists[FormatIndex(format->Id)].append(base + entry.Name);
  } else if (IsUnreadAudio(entry.Name)) {
    leftOut.push_back({shownPrefix + entry.Name, LeftOutFile::Reason::Format});
  }
}

// The files of one listed folder by format, each list in track order.
FormatLists SortFolder(const std::vector<FolderEntry>& entries, const QString& folder,
                       const QString& shownPrefix, const UserLocale& locale,
                       std::vector<LeftOutFile>& leftOut) {
  FormatLists lists;
  const QString base = WithTrailingSeparator(folder);
  for (const FolderEntry& entry : entries)
    SortEntry(entry, base, shownPrefix, lists, leftOut);
  for (QStringList& files : lists)
    SortIntoTrackOrder(files, locale);
  return lists;
}

void AppendLists(FormatLists& to, FormatLists&& from) {
  for (size_t i = 0; i < to.size(); ++i)
    to[i].append(std::move(from[i]));
}

// "CD1", "cd 2", "Disc 01 - Live", "DVD1", "Side 3_Bonus": the number when the name is one of a
// disc folder, else nothing.
std::optional<int> DiscNumber(const QString& name) {
  static const QRegularExpression pattern(
      QStringLiteral("^(?:cd|disc|disk|dvd|side) ?([0-9]{1,3})(?:(?: - |_).*)?$"),
      QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
  const QRegularExpressionMatch match = pattern.match(name);
  if (!match.hasMatch())
    return std::nullopt;
  return match.captured(1).toInt();
}

struct DiscFolder {
  int Number = 0;
  QString Name;
};

// The sub-folders named as discs, in the order of their numbers (equal numbers by name).
std::vector<DiscFolder> DiscFolders(const std::vector<FolderEntry>& entries,
                                    const UserLocale& locale) {
  std::vector<DiscFolder> discs;
  for (const FolderEntry& entry : entries) {
    if (entry.Type != FolderEntry::Kind::Folder || !entry.NameValid)
      continue;
    if (const std::optional<int> number = DiscNumber(entry.Name))
      discs.push_back({*number, entry.Name});
  }
  std::stable_sort(discs.begin(), discs.end(), [&locale](const DiscFolder& a, const DiscFolder& b) {
    return a.Number != b.Number ? a.Number < b.Number : locale.FileNameLess(a.Name, b.Name);
  });
  return discs;
}

// A folder without audio of its own: the release is its disc folders that hold audio, one after
// the other. What the disc folders leave out is reported whether they hold audio or not.
void ScanDiscFolders(ScanState& scan, const std::vector<FolderEntry>& entries,
                     const UserLocale& locale) {
  const QString base = WithTrailingSeparator(scan.FolderPath);
  for (const DiscFolder& disc : DiscFolders(entries, locale)) {
    const QString folder = base + disc.Name;
    std::vector<FolderEntry> discEntries;
    if (!ListFolder(folder, discEntries))
      continue;
    FormatLists lists =
        SortFolder(discEntries, folder, disc.Name + QLatin1Char('/'), locale, scan.LeftOut);
    if (!HoldsAudio(lists))
      continue;
    scan.Discs << disc.Name;
    AppendLists(scan.FileLists, std::move(lists));
  }
}

}  // namespace

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
  // One listing serves every format: a folder of a thousand tracks is read once.
  std::vector<FolderEntry> entries;
  if (!ListFolder(scan.FolderPath, entries, &scan.Failure))
    entries.clear();
  FormatLists own = SortFolder(entries, scan.FolderPath, QString(), locale, scan.LeftOut);
  if (HoldsAudio(own)) {
    scan.FileLists = std::move(own);
  } else {
    ScanDiscFolders(scan, entries, locale);
  }

  const FormatInfo* dominant = nullptr;
  int maximum = 0;
  for (const FormatInfo& format : AudioFormats()) {
    const QStringList& files = scan.FileLists[FormatIndex(format.Id)];
    const int count = static_cast<int>(files.size());
    scan.FormatCounts[FormatIndex(format.Id)] = count;
    if (count > 0)
      ++scan.FormatsPresent;
    if (!dominant || count > maximum || (count == maximum && format.TieRank > dominant->TieRank)) {
      dominant = &format;
      maximum = count;
    }
  }
  scan.DominantFormat = dominant->Id;
  scan.DominantExtension = FormatKey(dominant->Id);
  scan.TrackList = scan.FileLists[FormatIndex(dominant->Id)];
  // The per-format lists are not kept: only their counts and the dominant list matter later.
  for (QStringList& list : scan.FileLists)
    list.clear();
}
