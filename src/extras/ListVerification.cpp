#include "extras/ListVerification.h"

#include <algorithm>

#include "checksums/Checksums.h"
#include "platform/FileError.h"
#include "platform/FolderListing.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A list names a release's files; even a box set's stays far below these.
constexpr int64_t kMaxListBytes = 16 * 1024 * 1024;
constexpr int kMaxListLines = 200000;
constexpr int kMaxLineLength = 32768;
constexpr int kMaxListedFiles = 100000;
constexpr int kSfvDigits = 8;
constexpr int kMd5Digits = 32;

bool IsHexDigits(QStringView text) {
  for (const QChar ch : text) {
    const bool hex = (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
                     (ch >= QLatin1Char('a') && ch <= QLatin1Char('f')) ||
                     (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'));
    if (!hex)
      return false;
  }
  return !text.isEmpty();
}

// md5sum writes a name holding a backslash or a line break with a leading "\" and escapes them.
QString Unescaped(QStringView name) {
  QString out;
  out.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (name.at(i) == QLatin1Char('\\') && i + 1 < name.size()) {
      const QChar next = name.at(++i);
      out.append(next == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                 : next == QLatin1Char('r') ? QChar(QLatin1Char('\r'))
                                            : next);
      continue;
    }
    out.append(name.at(i));
  }
  return out;
}

std::optional<ListedFile> Md5Line(QStringView t) {
  // BSD: "MD5 (name) = hash"; the name may hold ") = " itself, so the last one ends it.
  if (t.startsWith(QLatin1String("MD5"))) {
    QStringView rest = t.sliced(3).trimmed();
    const qsizetype close = rest.lastIndexOf(QLatin1String(") = "));
    if (rest.startsWith(QLatin1Char('(')) && close > 1) {
      const QStringView hash = rest.sliced(close + 4).trimmed();
      if (hash.size() == kMd5Digits && IsHexDigits(hash))
        return ListedFile{rest.sliced(1, close - 1).toString(), hash.toString().toUpper()};
    }
  }
  // GNU: "hash *name" (binary), "hash  name" (text), or one blank and the name.
  const bool escaped = t.startsWith(QLatin1Char('\\'));
  if (escaped)
    t = t.sliced(1);
  if (t.size() < kMd5Digits + 2 || !IsHexDigits(t.first(kMd5Digits)) ||
      (t.at(kMd5Digits) != QLatin1Char(' ') && t.at(kMd5Digits) != QLatin1Char('\t')))
    return std::nullopt;
  QStringView name = t.sliced(kMd5Digits + 1);
  if (name.startsWith(QLatin1Char('*')) || name.startsWith(QLatin1Char(' ')))
    name = name.sliced(1);
  if (name.isEmpty())
    return std::nullopt;
  return ListedFile{escaped ? Unescaped(name) : name.toString(),
                    t.first(kMd5Digits).toString().toUpper()};
}

// "name crc": the checksum is the last word, the name everything before it.
std::optional<ListedFile> SfvLine(QStringView t) {
  qsizetype space = t.size() - 1;
  while (space >= 0 && !t.at(space).isSpace())
    --space;
  if (space <= 0)
    return std::nullopt;
  const QStringView crc = t.sliced(space + 1);
  const QStringView name = t.first(space).trimmed();
  if (crc.size() != kSfvDigits || !IsHexDigits(crc) || name.isEmpty())
    return std::nullopt;
  return ListedFile{name.toString(), crc.toString().toUpper()};
}

QStringView DataOf(const QString& line) {
  QStringView t = QStringView(line);
  while (t.startsWith(QChar(0xFEFF)))
    t = t.sliced(1);
  // Leading blanks are no part of either form; trailing ones come from sloppy editors.
  return t.trimmed();
}

bool IsComment(QStringView t) {
  return t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

QString StatusWord(ListStatus status) {
  switch (status) {
    case ListStatus::Ok:
      return QStringLiteral("OK");
    case ListStatus::Failed:
      return QStringLiteral("FAILED");
    case ListStatus::Missing:
      break;
  }
  return QStringLiteral("MISSING");
}

// Where the listed name leads inside the list's folder, or why it leads nowhere.
class NameResolver {
 public:
  NameResolver(const QString& folder, bool eightBitList)
      : folder_(folder),
        canonicalFolder_(QFileInfo(folder).canonicalFilePath()),
        eightBitList_(eightBitList) {}

  // The path of the listed file; empty with the reason when it cannot be found.
  QString Resolve(const QString& listed, QString& reason) const {
    // As written, when that is a plain name of the folder (it may hold a "\" on this platform).
    if (!listed.contains(QLatin1Char('/')) && listed != QLatin1String(".") &&
        listed != QLatin1String("..")) {
      const QString direct = folder_ + QLatin1Char('/') + listed;
      if (QFileInfo::exists(direct))
        return Inside(direct, reason);
    }
    // Lists from Windows separate folders with "\".
    QString normal = listed;
    normal.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // A list comes with a download, so its names are not to be trusted: one that leads out of the
    // folder (absolute, a drive, "..") could make the program read any file the user can read,
    // show whether it exists and its checksum, or wait on a device. Such a file is never opened.
    const QStringList parts = normal.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const bool drive = normal.size() >= 2 && normal.at(1) == QLatin1Char(':');
    if (normal.startsWith(QLatin1Char('/')) || drive || parts.contains(QLatin1String(".."))) {
      reason = QStringLiteral("outside the list's folder");
      return {};
    }
    QString current = folder_;
    for (const QString& part : parts) {
      if (part == QLatin1String("."))
        continue;
      const QString exact = current + QLatin1Char('/') + part;
      if (QFileInfo::exists(exact)) {
        current = exact;
        continue;
      }
      const QString fitting = UniqueFit(current, part);
      if (fitting.isEmpty()) {
        reason = QStringLiteral("not found");
        return {};
      }
      current += QLatin1Char('/') + fitting;
    }
    if (current == folder_) {
      reason = QStringLiteral("not found");
      return {};
    }
    return Inside(current, reason);
  }

 private:
  // The one entry of the folder the listed part stands for, or empty when none or several do.
  QString UniqueFit(const QString& folder, const QString& part) const {
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries))
      return {};
    const CodePage& codePage = CodePage::System();
    const bool replaced = eightBitList_ && part.contains(QLatin1Char('?'));
    QString found;
    int count = 0;
    for (const FolderEntry& entry : entries) {
      if (!entry.NameValid)
        continue;
      const bool fits =
          entry.Name.compare(part, Qt::CaseInsensitive) == 0 ||
          (replaced && codePage.RoundTrip(entry.Name).compare(part, Qt::CaseInsensitive) == 0);
      if (fits) {
        found = entry.Name;
        ++count;
      }
    }
    return count == 1 ? found : QString();
  }

  // A link inside the folder may still point out of it; such a file is not opened either.
  QString Inside(const QString& path, QString& reason) const {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) {
      reason = QStringLiteral("not found");
      return {};
    }
    if (!canonical.startsWith(canonicalFolder_ + QLatin1Char('/'))) {
      reason = QStringLiteral("outside the list's folder");
      return {};
    }
    return path;
  }

  QString folder_;
  QString canonicalFolder_;
  bool eightBitList_;
};

}  // namespace

ListKind ListKindOf(const QString& path, const QByteArray& bytes) {
  const QString suffix = QFileInfo(path).suffix();
  if (suffix.compare(QLatin1String("sfv"), Qt::CaseInsensitive) == 0)
    return ListKind::Sfv;
  if (suffix.compare(QLatin1String("md5"), Qt::CaseInsensitive) == 0)
    return ListKind::Md5;
  const ExtraText::Decoded text =
      ExtraText::Decode(bytes.left(64 * 1024), CodePage::System(), true);
  for (const QString& line : ExtraText::SplitLines(text.Text, 1000, kMaxLineLength)) {
    const QStringView t = DataOf(line);
    if (!IsComment(t))
      return Md5Line(t) ? ListKind::Md5 : ListKind::Sfv;
  }
  return ListKind::Sfv;
}

ParsedList ParseChecksumList(const QByteArray& bytes, ListKind kind, const CodePage& codePage) {
  ParsedList list;
  list.Kind = kind;
  const ExtraText::Decoded text = ExtraText::Decode(bytes, codePage);
  list.TextForm = text.TextForm;
  for (const QString& line : ExtraText::SplitLines(text.Text, kMaxListLines, kMaxLineLength)) {
    const QStringView t = DataOf(line);
    if (IsComment(t))
      continue;
    if (static_cast<int>(list.Files.size()) >= kMaxListedFiles)
      break;
    const auto file = kind == ListKind::Md5 ? Md5Line(t) : SfvLine(t);
    if (file)
      list.Files.push_back(*file);
    else
      ++list.UnreadableLines;
  }
  return list;
}

int ListVerification::Count(ListStatus status) const {
  int count = 0;
  for (const ListEntryResult& entry : Entries)
    count += entry.Status == status ? 1 : 0;
  return count;
}

ListVerification VerifyChecksumList(const QString& listPath, const ListProgress& progress,
                                    std::stop_token stop) {
  ListVerification result;
  QByteArray bytes;
  bool cut = false;
  if (!ExtraText::ReadHead(listPath, kMaxListBytes, bytes, cut))
    return result;
  result.Readable = true;
  const ParsedList list = ParseChecksumList(bytes, ListKindOf(listPath, bytes));
  result.Kind = list.Kind;
  result.TextForm = list.TextForm;
  result.UnreadableLines = list.UnreadableLines;

  const NameResolver resolver(QFileInfo(listPath).absolutePath(),
                              list.TextForm == ExtraText::Form::EightBit);
  const ChecksumKind kind = list.Kind == ListKind::Md5 ? ChecksumKind::Md5 : ChecksumKind::Sfv;
  const int count = static_cast<int>(list.Files.size());
  for (int i = 0; i < count; ++i) {
    if (stop.stop_requested()) {
      result.Stopped = true;
      break;
    }
    const ListedFile& listed = list.Files[i];
    if (progress)
      progress(i, count, listed.Name);
    ListEntryResult entry;
    entry.ListedName = listed.Name;
    entry.Expected = listed.Checksum;
    entry.Path = resolver.Resolve(listed.Name, entry.Reason);
    if (!entry.Path.isEmpty()) {
      try {
        const std::optional<QString> actual = ChecksumOfFile(kind, entry.Path, stop);
        if (!actual) {
          result.Stopped = true;
          break;
        }
        entry.Actual = *actual;
        entry.Status = entry.Actual == entry.Expected ? ListStatus::Ok : ListStatus::Failed;
      } catch (const FileError& error) {
        entry.Reason = error.Reason().isEmpty() ? error.Message() : error.Reason();
        entry.Status = ListStatus::Missing;
      }
    }
    result.Entries.push_back(entry);
  }
  return result;
}

QStringList VerificationReport(const ListVerification& verification) {
  return VerificationReport(std::vector<FolderVerification>{{QString(), verification}});
}

QStringList VerificationReport(const std::vector<FolderVerification>& lists) {
  QStringList lines;
  if (std::none_of(lists.begin(), lists.end(),
                   [](const FolderVerification& list) { return list.Result.Readable; }))
    return lines;
  int files = 0;
  int ok = 0;
  int failed = 0;
  int missing = 0;
  for (const FolderVerification& list : lists) {
    const ListVerification& verification = list.Result;
    if (!verification.Readable)
      continue;
    const QString prefix = list.Folder.isEmpty() ? QString() : list.Folder + QLatin1Char('/');
    for (const ListEntryResult& entry : verification.Entries)
      lines << StatusWord(entry.Status) + QStringLiteral("  ") + prefix + entry.ListedName;
    files += static_cast<int>(verification.Entries.size());
    ok += verification.Count(ListStatus::Ok);
    failed += verification.Count(ListStatus::Failed);
    missing += verification.Count(ListStatus::Missing);
  }
  lines << QStringLiteral("%1 %2: %3 OK, %4 FAILED, %5 MISSING")
               .arg(files)
               .arg(files == 1 ? QStringLiteral("file") : QStringLiteral("files"))
               .arg(ok)
               .arg(failed)
               .arg(missing);
  return lines;
}
