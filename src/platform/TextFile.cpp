#include "platform/TextFile.h"

#include "platform/FileError.h"
#include "platform/FileStream.h"

#include <QSaveFile>
#include <QStringDecoder>

namespace TextFile {

namespace {

// Lists and notes are small; a larger file is cut here rather than filling the memory.
constexpr int64_t kMaxTextFileBytes = 64 * 1024 * 1024;

QString DecodeUtf16(const QByteArray& bytes, qsizetype skip, bool bigEndian) {
  QString text;
  const qsizetype units = (bytes.size() - skip) / 2;
  text.reserve(units);
  for (qsizetype i = 0; i < units; ++i) {
    const auto first = static_cast<unsigned char>(bytes[skip + 2 * i]);
    const auto second = static_cast<unsigned char>(bytes[skip + 2 * i + 1]);
    text.append(QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first)));
  }
  return text;
}

void AppendUtf16Le(QByteArray& out, const QString& text) {
  for (const QChar ch : text) {
    out.append(static_cast<char>(ch.unicode() & 0xFF));
    out.append(static_cast<char>(ch.unicode() >> 8));
  }
}

// The system's reason as Qt reports it, without the temporary file's name that QSaveFile
// sometimes puts in front of it.
QString ReasonOf(const QSaveFile& file) {
  QString reason = file.errorString();
  const qsizetype colon = reason.lastIndexOf(QStringLiteral(": "));
  if (colon >= 0)
    reason = reason.mid(colon + 2);
  return reason;
}

}  // namespace

QString Decode(const QByteArray& bytes, const CodePage& codePage) {
  if (bytes.startsWith("\xFF\xFE"))
    return DecodeUtf16(bytes, 2, false);
  if (bytes.startsWith("\xFE\xFF"))
    return DecodeUtf16(bytes, 2, true);
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return QString::fromUtf8(bytes.mid(3));
  return codePage.ToUnicode(bytes);
}

QStringList SplitLines(const QString& text) {
  QStringList lines;
  qsizetype start = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text.at(i);
    if (ch != QLatin1Char('\r') && ch != QLatin1Char('\n'))
      continue;
    lines.append(text.mid(start, i - start));
    if (ch == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
      ++i;
    start = i + 1;
  }
  if (start < text.size())
    lines.append(text.mid(start));
  return lines;
}

bool ReadLines(const QString& path, const CodePage& codePage, QStringList& lines) {
  lines.clear();
  FileHandle file(path);
  if (!file.IsValid())
    return false;
  const int64_t size = std::min(file.Size(), kMaxTextFileBytes);
  if (size < 0)
    return false;
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  bytes.resize(static_cast<qsizetype>(file.Read(bytes.data(), size)));
  lines = SplitLines(Decode(bytes, codePage));
  return true;
}

QByteArray Encode(const QStringList& lines, Form form, const CodePage& codePage) {
  QByteArray out;
  if (form == Form::Unicode)
    out.append("\xFF\xFE", 2);
  for (const QString& line : lines) {
    // A line may carry line breaks of its own (a tag, a typed note): each piece gets CR LF.
    const QStringList pieces = line.isEmpty() ? QStringList{QString()} : SplitLines(line);
    for (const QString& piece : pieces) {
      switch (form) {
        case Form::Unicode:
          AppendUtf16Le(out, piece + QStringLiteral("\r\n"));
          continue;
        case Form::Utf8:
          out.append(piece.toUtf8());
          break;
        case Form::EightBit:
          out.append(codePage.FromUnicode(piece));
          break;
      }
      out.append("\r\n", 2);
    }
  }
  return out;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  file.setDirectWriteFallback(false);
  // commit() alone misses a write that the disk cut short (full, or over a size quota): it would
  // rename the truncated file over the old one. The explicit flush reports the short write, and
  // the unfinished temporary file is then discarded with the old file left in place.
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush() ||
      !file.commit()) {
    throw FileError::CannotCreate(path, ReasonOf(file));
  }
}

void WriteLines(const QString& path, const QStringList& lines, Form form,
                const CodePage& codePage) {
  WriteBytes(path, Encode(lines, form, codePage));
}

bool TryWriteLines(const QString& path, const QStringList& lines, Form form,
                   const CodePage& codePage) {
  try {
    WriteLines(path, lines, form, codePage);
    return true;
  } catch (const FileError&) {
    return false;
  }
}

}  // namespace TextFile
