#include "platform/FileError.h"

#include <QFileInfo>
#include <cstring>

FileError::FileError(QString message, QString reason)
    : message_(std::move(message)),
      reason_(std::move(reason)),
      utf8_(Text().toUtf8().toStdString()) {}

FileError FileError::CannotOpen(const QString& path, const QString& reason) {
  return FileError(QStringLiteral("Cannot open file %1").arg(QFileInfo(path).absoluteFilePath()),
                   reason);
}

FileError FileError::CannotCreate(const QString& path, const QString& reason) {
  return FileError(QStringLiteral("Cannot create file %1").arg(path), reason);
}

QString FileError::Text() const {
  return reason_.isEmpty() ? message_ : message_ + QStringLiteral(": ") + reason_;
}

QString SystemErrorText(int errorNumber) {
  char buffer[256] = {};
  // The GNU strerror_r returns the text, which need not be the buffer.
  const char* text = strerror_r(errorNumber, buffer, sizeof buffer);
  return QString::fromLocal8Bit(text);
}
