#pragma once

#include "model/Release.h"
#include "platform/CodePage.h"
#include "platform/UserLocale.h"
#include "readers/Formats.h"
#include "readers/StreamReader.h"
#include "tags/APETag.h"
#include "tags/ID3v1.h"
#include "tags/ID3v2.h"

#include <QDateTime>
#include <QString>
#include <exception>
#include <memory>

// The texts a tag gives a track and the summary.
struct TagTexts {
  QString Artist, Title, Album, Year, Genre, AlbumArtist;
};

// What one tag reader found in a track.
struct TagReading {
  bool Read = false;    // the file could be read; otherwise the version text stays as it was
  bool Exists = false;  // the file carries this tag
  QString VersionText;  // "1.1", "2.3", "2,000" (only when it exists)
  TagTexts Texts;
  QString Link;  // ID3v2: the link frame, which becomes the disc information
};

// Everything one track's file gives its row and the summary. It is read on a worker thread and
// applied to the release on the thread that owns it, in track order.
struct TrackReading {
  int64_t FileSize = -1;  // -1 when the file could not be opened
  QDateTime Modified;     // invalid when unknown
  TagReading Id3v1, Id3v2, Ape;
  StreamValues Values;  // Read and Valid both true when the stream is usable
  StreamFacts Facts;    // meaningful for a usable stream only
  // A file of a format whose open failure stops the analysis (FLAC), that could not be opened:
  // its FileError, thrown when the reading is applied.
  std::exception_ptr Failure;

  bool StreamUsable() const { return Values.Read && Values.Valid; }
};

// The reader objects one thread uses for the tracks of one format, reused file after file; each
// resets itself at the start of every read.
struct TrackReaders {
  explicit TrackReaders(AudioFormat format);
  AudioFormat Format;
  TID3v1 Id3v1;
  TID3v2 Id3v2;
  TAPETag ApeTag;
  std::unique_ptr<StreamReader> Stream;
};

// Reads one track: the file is opened once, the tags its format carries are read from the open
// file and their extents handed to the stream reader. Texts are decoded with the process-wide
// locale and code page. Safe to call from several threads, each with readers of its own.
TrackReading ReadTrack(const QString& path, TrackReaders& readers);

// Tag texts: ID3v2 and APE values are UTF-8 when they are valid UTF-8, and otherwise in the 8-bit
// code page that older taggers wrote.
QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage);
// A tag value as a row or the summary takes it: control characters (a NUL, a line break, a tab)
// become blanks, so that no value can break a line of the NFO, a list or a playlist.
QString WithoutControlCharacters(QString text);
