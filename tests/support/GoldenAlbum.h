#pragma once

#include "support/TestSupport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The release behind the golden files of tests/data/cli: a program folder with its settings and
// note, and an album of three tagged MP3 tracks with Polish texts. velmora-cli and the session
// tests both run it, so the window's session and the command line are held to the same bytes.
class GoldenAlbum {
 public:
  GoldenAlbum();

  // The clock and the rip date every golden run fixes.
  static QDateTime Now();
  static QDate RipDate();
  // The base names of the two golden runs' files.
  static QString EightBitBaseName();
  static QString UnicodeBaseName();

  // A golden file, by its path under tests/data/cli ("eight-bit/release.nfo").
  static QByteArray Golden(const QString& relative);

  TempFolder program;
  TempFolder album;
};
