#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <initializer_list>
#include <ostream>

// Lets GoogleTest print QString and QByteArray values in failure messages.
void PrintTo(const QString& text, std::ostream* out);
void PrintTo(const QByteArray& bytes, std::ostream* out);

// Where the tiny real fixture files live.
QString TestDataPath(const QString& relative);

// Makes an audio file of a sine tone with ffmpeg (scripts/setup.sh installs it), its format from
// the path's extension; false when ffmpeg is missing or fails.
bool WriteSineWithFfmpeg(const QString& path, int frequency, int seconds);

// A fresh temporary folder per test with helpers to put files into it.
class TempFolder {
 public:
  TempFolder();
  QString Path() const { return dir_.path(); }
  // Full path of a name inside the folder (no file is created).
  QString FilePath(const QString& name) const;
  // Writes the bytes as a file of that name and returns its full path.
  QString Write(const QString& name, const QByteArray& bytes) const;
  QByteArray Read(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// Builds binary fixtures byte by byte, with the byte order stated at every number.
class Bytes {
 public:
  Bytes() = default;
  Bytes(std::initializer_list<uint8_t> bytes);

  Bytes& U8(uint8_t value);
  Bytes& BE16(uint16_t value);
  Bytes& BE24(uint32_t value);
  Bytes& BE32(uint32_t value);
  Bytes& LE16(uint16_t value);
  Bytes& LE32(uint32_t value);
  Bytes& LE64(uint64_t value);
  // ASCII or raw text, without terminator.
  Bytes& Text(const char* text);
  Bytes& Raw(const QByteArray& bytes);
  // count copies of one byte.
  Bytes& Fill(int count, uint8_t value = 0);
  // Pads with the byte up to the given total length (no-op if already longer).
  Bytes& PadTo(int length, uint8_t value = 0);

  int Size() const { return static_cast<int>(data_.size()); }
  const QByteArray& Data() const { return data_; }
  operator QByteArray() const { return data_; }

 private:
  QByteArray data_;
};
