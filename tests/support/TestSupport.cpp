#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <stdexcept>

void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toUtf8().toStdString() << '"';
}

void PrintTo(const QByteArray& bytes, std::ostream* out) {
  *out << "bytes[" << bytes.size() << "] \"" << bytes.toHex(' ').toStdString() << '"';
}

QString TestDataPath(const QString& relative) {
  return QStringLiteral(VELMORA_TEST_DATA "/") + relative;
}

TempFolder::TempFolder() {
  if (!dir_.isValid())
    throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::FilePath(const QString& name) const {
  return dir_.filePath(name);
}

QString TempFolder::Write(const QString& name, const QByteArray& bytes) const {
  const QString path = FilePath(name);
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write a fixture file");
  }
  return path;
}

QByteArray TempFolder::Read(const QString& name) const {
  QFile file(FilePath(name));
  if (!file.open(QIODevice::ReadOnly))
    return QByteArray();
  return file.readAll();
}

Bytes::Bytes(std::initializer_list<uint8_t> bytes) {
  for (const uint8_t byte : bytes)
    U8(byte);
}

Bytes& Bytes::U8(uint8_t value) {
  data_.append(static_cast<char>(value));
  return *this;
}

Bytes& Bytes::BE16(uint16_t value) {
  return U8(value >> 8).U8(value & 0xFF);
}
Bytes& Bytes::BE24(uint32_t value) {
  return U8((value >> 16) & 0xFF).BE16(value & 0xFFFF);
}
Bytes& Bytes::BE32(uint32_t value) {
  return BE16(value >> 16).BE16(value & 0xFFFF);
}
Bytes& Bytes::LE16(uint16_t value) {
  return U8(value & 0xFF).U8(value >> 8);
}
Bytes& Bytes::LE32(uint32_t value) {
  return LE16(value & 0xFFFF).LE16(value >> 16);
}
Bytes& Bytes::LE64(uint64_t value) {
  return LE32(static_cast<uint32_t>(value & 0xFFFFFFFFu)).LE32(static_cast<uint32_t>(value >> 32));
}

Bytes& Bytes::Text(const char* text) {
  data_.append(text);
  return *this;
}

Bytes& Bytes::Raw(const QByteArray& bytes) {
  data_.append(bytes);
  return *this;
}

Bytes& Bytes::Fill(int count, uint8_t value) {
  if (count > 0)
    data_.append(count, static_cast<char>(value));
  return *this;
}

Bytes& Bytes::PadTo(int length, uint8_t value) {
  return Fill(length - Size(), value);
}

bool WriteSineWithFfmpeg(const QString& path, int frequency, int seconds) {
  QProcess ffmpeg;
  ffmpeg.start(QStringLiteral("ffmpeg"),
               {QStringLiteral("-loglevel"), QStringLiteral("error"), QStringLiteral("-y"),
                QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                QStringLiteral("sine=frequency=%1:duration=%2").arg(frequency).arg(seconds), path});
  return ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit &&
         ffmpeg.exitCode() == 0;
}
