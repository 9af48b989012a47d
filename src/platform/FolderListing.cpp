#include "platform/FolderListing.h"

#include "platform/FileError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <cerrno>
#include <memory>

namespace {

// The length of the well-formed UTF-8 sequence at `i` (no overlong forms, no surrogates, nothing
// above U+10FFFF), or 0 when the byte there does not start one.
int SequenceLength(const QByteArray& bytes, qsizetype i) {
  const auto byte = [&](qsizetype at) { return static_cast<uint8_t>(bytes[at]); };
  const uint8_t first = byte(i);
  if (first < 0x80)
    return 1;
  int length = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    if (first == 0xE0)
      low = 0xA0;
    if (first == 0xED)
      high = 0x9F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    if (first == 0xF0)
      low = 0x90;
    if (first == 0xF4)
      high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > bytes.size())
    return 0;
  for (int k = 1; k < length; ++k) {
    const uint8_t next = byte(i + k);
    const uint8_t min = k == 1 ? low : 0x80;
    const uint8_t max = k == 1 ? high : 0xBF;
    if (next < min || next > max)
      return 0;
  }
  return length;
}

bool IsControl(char32_t codePoint) {
  return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

QString Escaped(uint8_t byte) {
  return QStringLiteral("\\x") +
         QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

FolderEntry::Kind KindOf(int folderFd, const char* name) {
  struct stat info {};
  if (fstatat(folderFd, name, &info, 0) != 0)
    return FolderEntry::Kind::BrokenLink;  // ENOENT behind a link, or ELOOP
  if (S_ISREG(info.st_mode))
    return FolderEntry::Kind::RegularFile;
  if (S_ISDIR(info.st_mode))
    return FolderEntry::Kind::Folder;
  return FolderEntry::Kind::Special;
}

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

QString DescribeNativeName(const QByteArray& name, bool& valid) {
  valid = true;
  QString text;
  for (qsizetype i = 0; i < name.size();) {
    const int length = SequenceLength(name, i);
    if (length == 0) {
      valid = false;
      text += Escaped(static_cast<uint8_t>(name[i]));
      ++i;
      continue;
    }
    const QString piece = QString::fromUtf8(name.constData() + i, length);
    const char32_t codePoint =
        piece.size() == 2 ? QChar::surrogateToUcs4(piece[0], piece[1]) : piece[0].unicode();
    if (IsControl(codePoint)) {
      valid = false;
      const QByteArray raw = name.mid(i, length);
      for (const char byte : raw)
        text += Escaped(static_cast<uint8_t>(byte));
    } else {
      text += piece;
    }
    i += length;
  }
  return text;
}

bool ListFolder(const QString& folder, std::vector<FolderEntry>& entries, QString* failure) {
  entries.clear();
  const QByteArray native = QFile::encodeName(folder);
  const std::unique_ptr<DIR, DirCloser> dir(opendir(native.isEmpty() ? "." : native.constData()));
  if (!dir) {
    if (failure)
      *failure = SystemErrorText(errno);
    return false;
  }
  const int folderFd = dirfd(dir.get());
  while (const dirent* entry = readdir(dir.get())) {
    const QByteArray name(entry->d_name);
    if (name == "." || name == "..")
      continue;
    FolderEntry made;
    made.NativeName = name;
    made.Name = DescribeNativeName(name, made.NameValid);
    made.Type = KindOf(folderFd, entry->d_name);
    entries.push_back(std::move(made));
  }
  return true;
}
