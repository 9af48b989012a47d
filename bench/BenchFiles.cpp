#include "BenchFiles.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <random>
#include <stdexcept>

namespace bench {

namespace {

// MPEG 1 layer III, 128 kbit/s, 44100 Hz, no padding: 417 bytes a frame.
constexpr char kFrameHeader[] = "\xFF\xFB\x90\x64";
constexpr int kFrameLength = 417;

QByteArray CbrFrames(int count) {
  QByteArray frame(kFrameLength, '\0');
  frame.replace(0, 4, QByteArrayView(kFrameHeader, 4));
  return frame.repeated(count);
}

QByteArray Id3v2TextFrame(const char* id, const QByteArray& text) {
  const QByteArray data = '\0' + text;  // Latin-1
  QByteArray frame(id, 4);
  for (int shift = 24; shift >= 0; shift -= 8)
    frame += static_cast<char>((data.size() >> shift) & 0xFF);
  return frame + QByteArray(2, '\0') + data;
}

QByteArray Id3v2Tag(const QByteArray& artist, const QByteArray& title) {
  const QByteArray frames = Id3v2TextFrame("TPE1", artist) + Id3v2TextFrame("TIT2", title) +
                            Id3v2TextFrame("TALB", "Album") + Id3v2TextFrame("TYER", "2024");
  QByteArray tag("ID3\x03\x00\x00", 6);
  for (int shift = 21; shift >= 0; shift -= 7)
    tag += static_cast<char>((frames.size() >> shift) & 0x7F);
  return tag + frames;
}

QByteArray Field(const QByteArray& text, int length) {
  return text.left(length).leftJustified(length, '\0');
}

QByteArray Id3v1Tag(const QByteArray& artist, const QByteArray& title) {
  return "TAG" + Field(title, 30) + Field(artist, 30) + Field("Album", 30) + Field("2024", 4) +
         Field(QByteArray(), 30) + '\x11';
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write a benchmark file");
}

QTemporaryDir& Checked(QTemporaryDir& dir) {
  if (!dir.isValid())
    throw std::runtime_error("cannot create a temporary folder");
  return dir;
}

}  // namespace

QByteArray RandomBytes(int64_t size) {
  std::mt19937_64 generator(20240101);
  QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
  for (qsizetype i = 0; i < bytes.size(); i += 8) {
    const uint64_t word = generator();
    std::memcpy(bytes.data() + i, &word,
                static_cast<size_t>(std::min<qsizetype>(8, bytes.size() - i)));
  }
  return bytes;
}

TrackFolder::TrackFolder(int count, int64_t size) {
  const QByteArray head = CbrFrames(4);
  const QByteArray payload = RandomBytes(size - head.size());
  for (int i = 1; i <= count; ++i) {
    const QString path = QDir(Checked(dir_).path())
                             .filePath(QStringLiteral("%1.mp3").arg(i, 2, 10, QLatin1Char('0')));
    // Each file differs in its first payload byte, so that no two are the same.
    QByteArray bytes = head + payload;
    bytes[head.size()] = static_cast<char>(i);
    WriteFile(path, bytes);
    files_.append(path);
    totalBytes_ += bytes.size();
  }
}

TaggedReleaseFolder::TaggedReleaseFolder(int count) : count_(count) {
  for (int i = 1; i <= count; ++i) {
    const QByteArray artist = "Artist " + QByteArray::number(i % 7);
    const QByteArray title = "Title " + QByteArray::number(i);
    const QString path = QDir(Checked(dir_).path())
                             .filePath(QStringLiteral("%1.mp3").arg(i, 4, 10, QLatin1Char('0')));
    WriteFile(path, Id3v2Tag(artist, title) + CbrFrames(20 + i % 30) + Id3v1Tag(artist, title));
  }
}

}  // namespace bench
