#include "platform/FileNames.h"

#include <algorithm>

namespace {

bool IsUnsafeInFileName(QChar ch) {
  return ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control;
}

}  // namespace

QString FileNameOf(const QString& path) {
  const qsizetype cut =
      std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                path.lastIndexOf(QLatin1Char(':'))});
  return path.mid(cut + 1);
}

QString FolderOf(const QString& path) {
  const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
  return cut < 0 ? QString() : path.left(cut + 1);
}

QString SafeBaseName(const QString& baseName) {
  QString safe = baseName;
  for (QChar& ch : safe) {
    if (IsUnsafeInFileName(ch))
      ch = QLatin1Char('_');
  }
  return safe;
}

QString EightBitFileName(const QString& path, const CodePage& codePage) {
  // Only "/" separates here: a base name may hold ":" or "\" of its own (made safe already).
  const qsizetype nameStart = path.lastIndexOf(QLatin1Char('/')) + 1;
  return path.left(nameStart) + codePage.RoundTrip(path.mid(nameStart));
}
