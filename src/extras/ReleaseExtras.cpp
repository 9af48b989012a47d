#include "extras/ReleaseExtras.h"

#include "extras/RipLog.h"
#include "platform/FolderListing.h"

#include <QDir>
#include <algorithm>
#include <initializer_list>

namespace {

// The part after the last dot, or empty when the name has none (a leading dot starts no
// extension: ".log" is a hidden file without one).
QString ExtensionOf(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.mid(dot + 1) : QString();
}

QString BaseNameOf(const QString& name) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  return dot > 0 ? name.left(dot) : name;
}

bool IsOneOf(const QString& text, std::initializer_list<const char*> words) {
  return std::any_of(words.begin(), words.end(), [&](const char* word) {
    return text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
  });
}

}  // namespace

bool ExtraNameLess(const QString& a, const QString& b) {
  const int blind = a.compare(b, Qt::CaseInsensitive);
  return blind != 0 ? blind < 0 : a < b;
}

ReleaseExtras FindExtras(const QString& folder) {
  ReleaseExtras extras;
  std::vector<FolderEntry> entries;
  if (!ListFolder(folder, entries))
    return extras;
  QStringList names;
  for (const FolderEntry& entry : entries) {
    if (entry.Type == FolderEntry::Kind::RegularFile && entry.NameValid)
      names.append(entry.Name);
  }
  std::sort(names.begin(), names.end(), ExtraNameLess);

  const QDir dir(folder);
  for (const QString& name : names) {
    const QString extension = ExtensionOf(name);
    if (IsOneOf(extension, {"log"})) {
      if (IsRipLogFile(dir.filePath(name)))
        extras.Logs.append(name);
    } else if (IsOneOf(extension, {"cue"})) {
      extras.Cues.append(name);
    } else if (IsOneOf(extension, {"par2"})) {
      extras.Par2.append(name);
    } else if (IsOneOf(extension, {"sfv", "md5"})) {
      extras.Lists.append(name);
    } else if (IsOneOf(extension, {"nfo"})) {
      extras.Nfos.append(name);
    } else if (IsOneOf(extension, {"jpg", "jpeg", "png"})) {
      const QString base = BaseNameOf(name);
      QString* role = nullptr;
      if (IsOneOf(base, {"cover", "folder", "front"}))
        role = &extras.Covers.Front;
      else if (IsOneOf(base, {"back"}))
        role = &extras.Covers.Back;
      else if (IsOneOf(base, {"cd", "disc", "disk", "cdart"}))
        role = &extras.Covers.Cd;
      if (role && role->isEmpty())
        *role = name;
    }
  }
  return extras;
}
