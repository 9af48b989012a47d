#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Rip logs as the CD rippers write them. Exact Audio Copy, X Lossless Decoder, whipper and
// CUERipper logs are read track by track; cyanrip and dBpoweramp logs are recognised and give at
// least their program, version, drive and offset (cyanrip its track checksums too). A file may
// hold several logs appended one after another; each is kept.

enum class Ripper { Eac, Xld, Whipper, CueRipper, Cyanrip, DbPoweramp };

struct RipLogTrack {
  int Number = 0;
  // 8 upper-case hexadecimal digits, or empty when the log states none.
  QString TestCrc;
  QString CopyCrc;
  // The copy CRC with null samples left out, where the log states it besides (XLD, CUERipper).
  QString CopyCrcSkipZero;
  // The AccurateRip result as the log words it: "Accurately ripped (confidence 5)",
  // "Track not present in AccurateRip database", …
  QString AccurateRip;
  // The AccurateRip checksums the log states for the track (empty when it states none).
  QString ArV1;
  QString ArV2;
  // Suspicious positions, missing samples, timing problems, read errors, CRC mismatches.
  QStringList Errors;
};

struct RipLog {
  Ripper Kind = Ripper::Eac;
  QString Program;  // "Exact Audio Copy", "X Lossless Decoder", "whipper", …
  QString Version;  // "1.6", "20230916 (153.8)", "0.10.0", …; empty when the log names none
  // The language of EAC's header line ("English", "German", …); empty for the other rippers.
  QString Language;
  QString Drive;
  std::optional<int> ReadOffset;
  QString ReadMode;  // "Secure", "Burst", "XLD Secure Ripper", "cdparanoia …", …
  // Whether the copy CRCs count samples that are zero (EAC's setting; the others always do).
  bool NullSamplesInCrc = true;
  // A whole-disc range rip: the log's CRCs cover the range, not single tracks.
  bool RangeRip = false;
  QString RangeCopyCrc;
  std::vector<RipLogTrack> Tracks;  // in the order the log lists them, at most 99
  QStringList Errors;               // what the log reports for the whole rip
};

// The ripper whose log these bytes start with (looking at the first lines only, in any of UTF-16
// with BOM, UTF-8 with or without BOM, or the system's code page); nothing for other text.
std::optional<Ripper> RipperOfLogStart(const QByteArray& head, bool cut = false);

// The logs in the bytes of a log file, in file order; empty when it holds none.
std::vector<RipLog> ParseRipLogs(const QByteArray& bytes, bool cut = false);

// Reads at most the first few MiB of the file. Empty when it cannot be read or holds no log.
std::vector<RipLog> ReadRipLogs(const QString& path);

// True when the file's first lines show a rip log of one of the rippers above.
bool IsRipLogFile(const QString& path);
