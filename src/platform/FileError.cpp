#include "platform/FileError.h"

#include <QFileInfo>

FileError::FileError(QString message)
    : message_(std::move(message)), utf8_(message_.toUtf8().toStdString()) {}

FileError FileError::CannotOpen(const QString& path) {
  return FileError(QStringLiteral("Cannot open file %1").arg(QFileInfo(path).absoluteFilePath()));
}

FileError FileError::CannotCreate(const QString& path) {
  return FileError(QStringLiteral("Cannot create file %1").arg(path));
}
