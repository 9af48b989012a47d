#pragma once

#include <QByteArray>
#include <QString>

// A decoded JPEG picture: Width x Height pixels of 8-bit RGB, rows packed without padding.
struct JpegPicture {
  int Width = 0;
  int Height = 0;
  QByteArray Rgb;

  bool IsNull() const { return Rgb.isEmpty(); }
};

// The largest picture decoded: the program's own pictures are small, and a header claiming more
// must not size an allocation.
inline constexpr int kMaxJpegSide = 8192;
inline constexpr qsizetype kMaxJpegFileBytes = 16 * 1024 * 1024;

// Decodes JPEG bytes with libjpeg-turbo. Bytes that are not a JPEG stream, a stream cut short or
// damaged anywhere, or one larger than kMaxJpegSide on a side give an empty picture.
JpegPicture DecodeJpeg(const QByteArray& bytes);
// The same for a file; a missing or unreadable one, or one above kMaxJpegFileBytes, gives an
// empty picture.
JpegPicture LoadJpegFile(const QString& path);
