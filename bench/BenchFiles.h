#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>

// Files the benchmarks work on, made once per process in a temporary folder.
namespace bench {

// Bytes that no compressor or hash shortcut can take advantage of.
QByteArray RandomBytes(int64_t size);

// A folder of tracks, each a valid MPEG audio stream of random payload behind its first frames.
class TrackFolder {
 public:
  // count files of size bytes each.
  TrackFolder(int count, int64_t size);
  QString Path() const { return dir_.path(); }
  const QStringList& Files() const { return files_; }
  int64_t TotalBytes() const { return totalBytes_; }

 private:
  QTemporaryDir dir_;
  QStringList files_;
  int64_t totalBytes_ = 0;
};

// A folder of short tagged MP3 tracks as a ripped release has them: ID3v2.3, CBR frames, ID3v1.
class TaggedReleaseFolder {
 public:
  explicit TaggedReleaseFolder(int count);
  QString Path() const { return dir_.path(); }
  int Count() const { return count_; }

 private:
  QTemporaryDir dir_;
  int count_ = 0;
};

}  // namespace bench
