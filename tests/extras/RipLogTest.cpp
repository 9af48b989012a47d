#include <gtest/gtest.h>

#include "extras/LogMatch.h"
#include "extras/PcmChecksums.h"
#include "extras/RipLog.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"
#include "support/TestSupport.h"

#include <QStringList>
#include <vector>

namespace {

// A three-track album of known PCM: pseudo-random samples with zero samples on either channel
// alone and a silent stretch, so that the CRC with and without null samples differ, and tracks
// long enough for AccurateRip's first- and last-track margins (5 sectors of 588 frames).
std::vector<std::vector<int16_t>> MakeAlbum() {
  const int lengths[] = {7000, 5000, 6000};
  std::vector<std::vector<int16_t>> album;
  uint32_t seed = 12345;
  for (int frames : lengths) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
      seed = seed * 1664525u + 1013904223u;
      int16_t left = static_cast<int16_t>(seed >> 16);
      int16_t right = static_cast<int16_t>(seed & 0xFFFF);
      if (i % 11 == 0)
        left = 0;
      if (i % 13 == 0)
        right = 0;
      if (i < 100)
        left = right = 0;
      samples[2 * i] = left;
      samples[2 * i + 1] = right;
    }
    album.push_back(std::move(samples));
  }
  return album;
}

// Independent of the code under test: CRC-32 bit by bit over the little-endian samples, zero
// samples left out one by one when asked; AccurateRip over the whole track at once.
uint32_t ReferenceCrc(const std::vector<int16_t>& samples, bool skipZero) {
  uint32_t crc = 0xFFFFFFFF;
  for (const int16_t sample : samples) {
    if (skipZero && sample == 0)
      continue;
    const auto value = static_cast<uint16_t>(sample);
    for (const uint8_t byte : {uint8_t(value & 0xFF), uint8_t(value >> 8)}) {
      crc ^= byte;
      for (int bit = 0; bit < 8; ++bit)
        crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
  }
  return ~crc;
}

void ReferenceAccurateRip(const std::vector<int16_t>& samples, bool first, bool last, uint32_t& v1,
                          uint32_t& v2) {
  const uint64_t frames = samples.size() / 2;
  v1 = v2 = 0;
  for (uint64_t i = 0; i < frames; ++i) {
    const uint64_t position = i + 1;
    if (first && position < 5 * 588)  // the first five sectors less one sample
      continue;
    if (last && position > frames - 5 * 588)  // the last five sectors
      continue;
    const uint32_t frame =
        uint32_t(uint16_t(samples[2 * i])) | uint32_t(uint16_t(samples[2 * i + 1])) << 16;
    const uint64_t product = uint64_t(frame) * position;
    v1 += uint32_t(product);
    v2 += uint32_t(product) + uint32_t(product >> 32);
  }
}

struct TrackSums {
  QString Crc;
  QString CrcSkipZero;
  QString ArV1;
  QString ArV2;
};

std::vector<TrackSums> ReferenceSums(const std::vector<std::vector<int16_t>>& album) {
  std::vector<TrackSums> sums;
  for (size_t t = 0; t < album.size(); ++t) {
    uint32_t v1 = 0, v2 = 0;
    ReferenceAccurateRip(album[t], t == 0, t + 1 == album.size(), v1, v2);
    sums.push_back({CrcText(ReferenceCrc(album[t], false)), CrcText(ReferenceCrc(album[t], true)),
                    CrcText(v1), CrcText(v2)});
  }
  return sums;
}

// The album's audio as the release's decoder would hand it over: in uneven blocks.
std::vector<TrackPcm> AudioOf(const std::vector<std::vector<int16_t>>& album) {
  std::vector<TrackPcm> audio;
  for (size_t t = 0; t < album.size(); ++t) {
    PcmChecksums sums(t == 0, t + 1 == album.size());
    const size_t frames = album[t].size() / 2;
    size_t done = 0;
    for (const size_t block : {size_t(1), size_t(577), size_t(2940), size_t(1000000)}) {
      const size_t now = std::min(block, frames - done);
      sums.Add(album[t].data() + 2 * done, now);
      done += now;
    }
    audio.push_back({sums.Finish()});
  }
  return audio;
}

const QString kWrongCrc = QStringLiteral("DEADBEEF");

// Track 2's copy CRC is made wrong in every log below, its test CRC left right, the way a
// damaged or replaced file would show.
QString CopyCrcOf(const std::vector<TrackSums>& sums, size_t t, bool skipZero) {
  return t == 1 ? kWrongCrc : skipZero ? sums[t].CrcSkipZero : sums[t].Crc;
}

// Log text is written here as the rippers write it, one line of source per line of log.
QStringList Text(const char* raw) {
  return QString::fromUtf8(raw).split(QLatin1Char('\n'));
}

QByteArray Utf8(const QStringList& lines, const char* lineEnd = "\n") {
  return lines.join(QLatin1String(lineEnd)).toUtf8() + lineEnd;
}

// Exact Audio Copy 1.x: UTF-16 with BOM, CR LF, here with null samples left out of the CRCs.
// CUERipper writes the same layout under its own first line, in the code page, with them.
QByteArray EacStyleLog(const std::vector<TrackSums>& sums, bool cueRipper) {
  QStringList lines = Text(cueRipper ? "CUERipper v2.1.6 Copyright (C) 2008-13 Grigory Chudov"
                                     : "Exact Audio Copy V1.6 from 23. October 2020");
  lines += Text(R"(
EAC extraction logfile from 7. March 2021, 19:48

Test Artist / Test Album

Used drive  : PLEXTOR DVDR   PX-716A   Adapter: 1  ID: 0

Read mode               : Secure
Utilize accurate stream : Yes
Defeat audio cache      : Yes
Make use of C2 pointers : No

Read offset correction                      : 30
Overread into Lead-In and Lead-Out          : No
Fill up missing offset samples with silence : Yes
Delete leading and trailing silent blocks   : No
Null samples used in CRC calculations       : %1
Used interface                              : Native Win32 interface for Win NT & 2000
Gap handling                                : Appended to previous track

Used output format              : User Defined Encoder
Command line compressor         : C:\Program Files\FLAC\flac.exe


TOC of the extracted CD

     Track |   Start  |  Length  | Start sector | End sector 
    ---------------------------------------------------------
        1  |  0:00.00 |  0:00.11 |         0    |       11   
        2  |  0:00.11 |  0:00.08 |        12    |       19   
        3  |  0:00.19 |  0:00.10 |        20    |       29   
)")
               .join(QLatin1Char('\n'))
               .arg(cueRipper ? QStringLiteral("Yes") : QStringLiteral("No"))
               .split(QLatin1Char('\n'));
  for (size_t t = 0; t < sums.size(); ++t) {
    QString accurateRip = QStringLiteral("Track not present in AccurateRip database");
    if (t == 0 && cueRipper)
      accurateRip =
          QStringLiteral("Accurately ripped (confidence 3)  [%1]").arg(sums[t].ArV1.toLower());
    else if (t == 0)
      accurateRip =
          QStringLiteral("Accurately ripped (confidence 5)  [%1]  (AR v2)").arg(sums[t].ArV2);
    else if (t == 1 && !cueRipper)
      accurateRip = QStringLiteral(
                        "Cannot be verified as accurate (confidence 4)  [%1], "
                        "AccurateRip returned [0BADF00D]  (AR v2)")
                        .arg(sums[t].ArV2);
    lines += Text(R"(
Track %1

     Filename C:\Rips\%6 - Title.wav
%2
     Peak level 98.8 %
     Extraction speed 5.1 X
     Track quality 100.0 %
     Test CRC %3
     Copy CRC %4
     %5
     Copy OK)")
                 .join(QLatin1Char('\n'))
                 .arg(QStringLiteral("%1").arg(t + 1, 2),
                      t == 1 ? QStringLiteral("\n     Suspicious position 0:00:01\n") : QString(),
                      cueRipper ? sums[t].Crc : sums[t].CrcSkipZero, CopyCrcOf(sums, t, !cueRipper),
                      accurateRip, QStringLiteral("%1").arg(t + 1, 2, 10, QLatin1Char('0')))
                 .split(QLatin1Char('\n'));
  }
  lines += Text(R"(
Some tracks could not be verified as accurate

There were errors

End of status report

---- CUETools DB Plugin V2.1.6

[CTDB TOCID: nG2P9ZmB9YnyJJPIiCE5.JmLXuE-] found
Track | CTDB Status
  1   | (7/7) Accurately ripped

==== Log checksum 0123456789ABCDEF ====)");
  return TextFile::Encode(lines, cueRipper ? TextFile::Form::EightBit : TextFile::Form::Unicode,
                          CodePage::System());
}

QByteArray EacLog(const std::vector<TrackSums>& sums) {
  return EacStyleLog(sums, false);
}

QByteArray CueRipperLog(const std::vector<TrackSums>& sums) {
  return EacStyleLog(sums, true);
}

// X Lossless Decoder, UTF-8 with LF, as XLDCDDAResult writes a rip to separate files.
QByteArray XldLog(const std::vector<TrackSums>& sums) {
  QStringList lines = Text(R"(X Lossless Decoder version 20230916 (153.8)

XLD extraction logfile from 2024-01-02 10:11:12 +0100

Test Artist / Test Album

Used drive : PLEXTOR DVDR PX-716A (revision 1.11)

Ripper mode             : XLD Secure Ripper
Disable audio cache     : OK for the drive with a cache less than 1375KiB
Make use of C2 pointers : NO
Read offset correction  : 30
Max retry count         : 20
Gap status              : Analyzed, Appended

TOC of the extracted CD
     Track |   Start  |  Length  | Start sector | End sector 
    ---------------------------------------------------------
        1  | 00:00:00 | 00:00:11 |         0    |       11   

AccurateRip Summary (DiscID: 00000041-000000c3-0a001d03)
    Track 01 : OK (v1+v2, confidence 3+4/10)
    Track 02 : NG (total 10 submissions)
    Track 03 : Not Found
        ->1 track accurately ripped, 1 track not, 1 track not found

All Tracks
    Album gain               : -8.18 dB
    Peak                     : 0.988
    Statistics
        Read error                           : 2
        Jitter error (maybe fixed)           : 0
        Retry sector count                   : 7
        Damaged sector count                 : 0
)");
  const QString verdicts[] = {QStringLiteral("Accurately ripped (v1+v2, confidence 3+4/10)"),
                              QStringLiteral("Rip may not be accurate (total 10 submissions)."),
                              QStringLiteral("Track not present in AccurateRip database.")};
  for (size_t t = 0; t < sums.size(); ++t) {
    lines += Text(R"(Track 0%1
    Filename : /Users/me/Music/%1 Title.flac

    CRC32 hash (test run)    : %2
    CRC32 hash               : %3%4
    CRC32 hash (skip zero)   : %5
    AccurateRip v1 signature : %6
    AccurateRip v2 signature : %7
        ->%8
    Statistics
        Read error                           : %9
        Jitter error (maybe fixed)           : 0
        Retry sector count                   : 0
        Damaged sector count                 : 0
)")
                 .join(QLatin1Char('\n'))
                 .arg(QString::number(t + 1), sums[t].Crc, CopyCrcOf(sums, t, false),
                      t == 1 ? QStringLiteral("\n        ->Rip may not be accurate.") : QString(),
                      sums[t].CrcSkipZero, sums[t].ArV1, sums[t].ArV2, verdicts[t],
                      QString::number(t == 1 ? 2 : 0))
                 .split(QLatin1Char('\n'));
  }
  lines += Text("Some inconsistencies found\n\nEnd of status report");
  return Utf8(lines);
}

// whipper's YAML-like log from its internal logger.
QByteArray WhipperLog(const std::vector<TrackSums>& sums) {
  QStringList lines = Text(R"(Log created by: whipper 0.10.0 (internal logger)
Log creation date: 2024-01-02T10:11:12Z

Ripping phase information:
  Drive: PLEXTOR DVDR   PX-716A (revision 1.11)
  Extraction engine: cdparanoia cdparanoia III 10.2 libcdio 2.1.0
  Defeat audio cache: Yes
  Read offset correction: +30
  Overread into lead-out: No
  Gap detection: cdrdao 1.2.4
  CD-R detected: No

CD metadata:
  Album: Test Artist - Test Album
  CDDB Disc ID: 0a001d03

TOC:
  01:
    Start: 00:00:00
    Length: 00:00:11
    Start sector: 0
    End sector: 11

Tracks:)");
  for (size_t t = 0; t < sums.size(); ++t) {
    lines += Text(R"(  0%1:
    Filename: ./Test Artist - Test Album/%1.flac
    Peak level: 0.988312
    Pre-emphasis: No
    Extraction speed: 4.3 X
    Extraction quality: 100.00 %
    Test CRC: %2
    Copy CRC: %3)")
                 .join(QLatin1Char('\n'))
                 .arg(QString::number(t + 1), sums[t].Crc, CopyCrcOf(sums, t, false))
                 .split(QLatin1Char('\n'));
    if (t == 0) {
      lines += Text(R"(    AccurateRip v1:
      Result: Found, exact match
      Confidence: 3
      Local CRC: %1
      Remote CRC: %1
    AccurateRip v2:
      Result: Found, exact match
      Confidence: 4
      Local CRC: %2
      Remote CRC: %2)")
                   .join(QLatin1Char('\n'))
                   .arg(sums[t].ArV1, sums[t].ArV2)
                   .split(QLatin1Char('\n'));
    } else {
      lines += Text(R"(    AccurateRip v1:
      Result: Track not present in AccurateRip database
    AccurateRip v2:
      Result: Track not present in AccurateRip database)");
    }
    lines << (t == 1 ? QStringLiteral("    Status: Error, CRC mismatch")
                     : QStringLiteral("    Status: Copy OK"))
          << QString();
  }
  lines += Text(R"(Conclusive status report:
  AccurateRip summary: Some tracks could not be verified as accurate (2/3 got no match)
  Health status: There were errors
  EOF: End of status report

SHA-256 hash: 0123456789ABCDEF)");
  return Utf8(lines);
}

// cyanrip's log: a start report, then a block after each track's outcome line.
QByteArray CyanripLog(const std::vector<TrackSums>& sums) {
  QStringList lines = Text(R"(cyanrip 0.9.3.1 (v0.9.3.1)
System device:  /dev/sr0
Device model:   PLEXTOR DVDR PX-716A
Offset:         +30 samples
Overread:       +0 frames
Paranoia level: max
Frame retries:  25
Disc tracks:    3
AccurateRip:    found
)");
  for (size_t t = 0; t < sums.size(); ++t) {
    lines += Text(R"(Track %1 ripped and encoded %2
    Metadata:
        title: Title %1
    Samples:          7000
    Start LSN:        0
    Accurip:          found (confidence: 3)
    EAC CRC32:        0x%3
    Accurip v1:       0x%4%5
    Accurip v2:       0x%6
)")
                 .join(QLatin1Char('\n'))
                 .arg(QString::number(t + 1),
                      t == 1 ? QStringLiteral("with errors.") : QStringLiteral("successfully!"),
                      CopyCrcOf(sums, t, false).toLower(), sums[t].ArV1.toLower(),
                      t == 0 ? QStringLiteral(" (accurately ripped)") : QString(),
                      sums[t].ArV2.toLower())
                 .split(QLatin1Char('\n'));
  }
  lines += Text(R"(Tracks ripped accurately: 1/3

Ripping errors: 1
Ripping finished at 2024-01-02T10:11:12)");
  return Utf8(lines);
}

struct RipperCase {
  const char* name;
  QByteArray (*build)(const std::vector<TrackSums>&);
  Ripper kind;
  const char* program;
  const char* version;
  const char* drive;
  const char* readMode;
  bool nullSamples;
  bool statesTest;
  bool statesV1;
  bool statesV2;
  const char* firstTrackAccurateRip;
};

void PrintTo(const RipperCase& ripper, std::ostream* out) {
  *out << ripper.name;
}

class RipLogMatchTest : public ::testing::TestWithParam<RipperCase> {};

// The whole way from a log file beside the audio to the verdict on each track: the log's CRCs
// come from an independent computation of the album's PCM, and track 2's copy CRC is wrong.
TEST_P(RipLogMatchTest, LogOfKnownAudioNamesTheTrackWhoseCrcDiffers) {
  const RipperCase& ripper = GetParam();
  const auto album = MakeAlbum();
  const std::vector<TrackSums> sums = ReferenceSums(album);
  TempFolder folder;
  const QString path = folder.Write(QStringLiteral("rip.log"), ripper.build(sums));

  ASSERT_TRUE(IsRipLogFile(path));
  const std::vector<RipLog> logs = ReadRipLogs(path);
  ASSERT_EQ(logs.size(), 1u);
  const RipLog& log = logs[0];
  EXPECT_EQ(log.Kind, ripper.kind);
  EXPECT_EQ(log.Program, QLatin1String(ripper.program));
  EXPECT_EQ(log.Version, QLatin1String(ripper.version));
  EXPECT_EQ(log.Drive, QLatin1String(ripper.drive));
  EXPECT_EQ(log.ReadOffset, 30);
  EXPECT_EQ(log.ReadMode, QLatin1String(ripper.readMode));
  EXPECT_EQ(log.NullSamplesInCrc, ripper.nullSamples);
  EXPECT_FALSE(log.RangeRip);

  ASSERT_EQ(log.Tracks.size(), 3u);
  for (size_t t = 0; t < 3; ++t) {
    const RipLogTrack& track = log.Tracks[t];
    SCOPED_TRACE(t);
    EXPECT_EQ(track.Number, int(t + 1));
    EXPECT_EQ(track.CopyCrc, CopyCrcOf(sums, t, !ripper.nullSamples));
    if (ripper.statesTest) {
      EXPECT_EQ(track.TestCrc, ripper.nullSamples ? sums[t].Crc : sums[t].CrcSkipZero);
    }
    EXPECT_EQ(track.Errors.isEmpty(), t != 1) << track.Errors.join(QLatin1Char('|')).toStdString();
  }
  EXPECT_EQ(log.Tracks[0].AccurateRip, QLatin1String(ripper.firstTrackAccurateRip));
  if (ripper.statesV1) {
    EXPECT_EQ(log.Tracks[0].ArV1, sums[0].ArV1);
  }
  if (ripper.statesV2) {
    EXPECT_EQ(log.Tracks[0].ArV2, sums[0].ArV2);
  }

  const LogMatch match = MatchLog(log, AudioOf(album));
  ASSERT_EQ(match.Tracks.size(), 3u);
  EXPECT_EQ(match.Tracks[0].CrcMatch, true);
  EXPECT_EQ(match.Tracks[1].CrcMatch, false);
  EXPECT_EQ(match.Tracks[1].LogCrc, kWrongCrc);
  EXPECT_EQ(match.Tracks[1].MatchesOtherIndex, -1);
  EXPECT_EQ(match.Tracks[2].CrcMatch, true);
  EXPECT_EQ(match.UnmatchedAudio, std::vector<int>{1});
  for (size_t t = 0; t < 3; ++t) {
    EXPECT_EQ(match.Tracks[t].AudioCrc, ripper.nullSamples ? sums[t].Crc : sums[t].CrcSkipZero);
    EXPECT_EQ(match.Tracks[t].ArV1, sums[t].ArV1);
    EXPECT_EQ(match.Tracks[t].ArV2, sums[t].ArV2);
  }
  if (ripper.statesV1 || ripper.statesV2) {
    EXPECT_EQ(match.Tracks[0].ArMatch, true);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rippers, RipLogMatchTest,
    ::testing::Values(
        RipperCase{"EacUtf16", EacLog, Ripper::Eac, "Exact Audio Copy", "1.6",
                   "PLEXTOR DVDR PX-716A", "Secure", false, true, false, true,
                   "Accurately ripped (confidence 5)"},
        RipperCase{"Xld", XldLog, Ripper::Xld, "X Lossless Decoder", "20230916 (153.8)",
                   "PLEXTOR DVDR PX-716A (revision 1.11)", "XLD Secure Ripper", true, true, true,
                   true, "Accurately ripped (v1+v2, confidence 3+4/10)"},
        RipperCase{"Whipper", WhipperLog, Ripper::Whipper, "whipper", "0.10.0",
                   "PLEXTOR DVDR PX-716A (revision 1.11)",
                   "cdparanoia cdparanoia III 10.2 libcdio 2.1.0", true, true, true, true,
                   "v1: Found, exact match (confidence 3); v2: Found, exact match (confidence 4)"},
        RipperCase{"CueRipper", CueRipperLog, Ripper::CueRipper, "CUERipper", "2.1.6",
                   "PLEXTOR DVDR PX-716A", "Secure", true, true, true, false,
                   "Accurately ripped (confidence 3)"},
        RipperCase{"Cyanrip", CyanripLog, Ripper::Cyanrip, "cyanrip", "0.9.3.1",
                   "PLEXTOR DVDR PX-716A", "Paranoia max", true, false, true, true,
                   "found (confidence: 3); v1 accurately ripped"}),
    [](const ::testing::TestParamInfo<RipperCase>& info) { return std::string(info.param.name); });

TEST(RipLogTest, FileMisnumberedInTheReleaseIsNamedByTheLogTrackItMatches) {
  const auto album = MakeAlbum();
  std::vector<TrackSums> sums = ReferenceSums(album);
  // The release's second and third files were swapped after ripping.
  std::vector<TrackPcm> audio = AudioOf(album);
  std::swap(audio[1], audio[2]);
  TempFolder folder;
  const std::vector<RipLog> logs =
      ReadRipLogs(folder.Write(QStringLiteral("rip.log"), XldLog(sums)));
  ASSERT_EQ(logs.size(), 1u);
  const LogMatch match = MatchLog(logs[0], audio);
  EXPECT_EQ(match.Tracks[2].CrcMatch, false);
  EXPECT_EQ(match.Tracks[2].MatchesOtherIndex, 1);  // track 3's CRC is the second file's
  // Track 2's wrong CRC matches nothing; the file now third is what the log lacks.
  EXPECT_EQ(match.Tracks[1].MatchesOtherIndex, -1);
  EXPECT_EQ(match.UnmatchedAudio, std::vector<int>{2});
  EXPECT_EQ(match.Tracks[2].ArMatch, false);
}

TEST(RipLogTest, LogsAppendedInOneFileAreEachKeptWithTheirLanguage) {
  const std::vector<TrackSums> sums = ReferenceSums(MakeAlbum());
  QStringList german = Text(R"(Exact Audio Copy V1.0 beta 3 from 29. August 2011

EAC Auslese-Logdatei vom 22. November 2014, 8:40

Track  1

     Kopie CRC )");
  german.last() += sums[0].Crc;
  // A second copy of a log pasted below the first keeps its own UTF-8 BOM.
  const QByteArray bytes = XldLog(sums) + Utf8(german) + "\xEF\xBB\xBF" + CyanripLog(sums) +
                           "\ndBpoweramp Release 16.6 Digital Audio Extraction Log from "
                           "Montag, 3. Juni 2019 18:17\n\nRipping with drive 'E:  [TSSTcorp - "
                           "CDDVDW SE-218BB ]',  Drive offset: 6,  Overread Lead-in/out: No\n";
  TempFolder folder;
  const std::vector<RipLog> logs = ReadRipLogs(folder.Write(QStringLiteral("rips.log"), bytes));
  ASSERT_EQ(logs.size(), 4u);
  EXPECT_EQ(logs[0].Kind, Ripper::Xld);
  EXPECT_EQ(logs[0].Tracks.size(), 3u);
  EXPECT_EQ(logs[1].Kind, Ripper::Eac);
  EXPECT_EQ(logs[1].Version, QStringLiteral("1.0 beta 3"));
  EXPECT_EQ(logs[1].Language, QStringLiteral("German"));
  ASSERT_EQ(logs[1].Tracks.size(), 1u);
  EXPECT_EQ(logs[1].Tracks[0].CopyCrc, sums[0].Crc);
  EXPECT_EQ(logs[2].Kind, Ripper::Cyanrip);
  EXPECT_EQ(logs[2].Tracks.size(), 3u);
  EXPECT_EQ(logs[3].Kind, Ripper::DbPoweramp);
  EXPECT_EQ(logs[3].Version, QStringLiteral("16.6"));
  EXPECT_EQ(logs[3].Drive, QStringLiteral("E: [TSSTcorp - CDDVDW SE-218BB ]"));
  EXPECT_EQ(logs[3].ReadOffset, 6);
}

TEST(RipLogTest, RangeRipKeepsTheAccurateRipSummaryPerTrack) {
  const QStringList lines = Text(R"(Exact Audio Copy V1.3 from 2. September 2016

EAC extraction logfile from 5. February 2023, 14:30
Read mode               : Burst

Range status and errors

Selected range

     Filename C:\Rips\Album.wav

     Peak level 100.0 %
     Copy CRC 0A1B2C3D
     Copy OK

AccurateRip summary

Track  1  accurately ripped (confidence 12)  [1234ABCD]  (AR v2)
Track  2  not present in database)");
  const std::vector<RipLog> logs = ParseRipLogs(Utf8(lines, "\r\n"));
  ASSERT_EQ(logs.size(), 1u);
  EXPECT_TRUE(logs[0].RangeRip);
  EXPECT_EQ(logs[0].RangeCopyCrc, QStringLiteral("0A1B2C3D"));
  EXPECT_EQ(logs[0].ReadMode, QStringLiteral("Burst"));
  ASSERT_EQ(logs[0].Tracks.size(), 2u);
  EXPECT_TRUE(logs[0].Tracks[0].CopyCrc.isEmpty());
  EXPECT_EQ(logs[0].Tracks[0].AccurateRip, QStringLiteral("Accurately ripped (confidence 12)"));
  EXPECT_EQ(logs[0].Tracks[0].ArV2, QStringLiteral("1234ABCD"));
  EXPECT_EQ(logs[0].Tracks[1].AccurateRip, QStringLiteral("Not present in database"));
}

TEST(RipLogTest, HostileLogsStayWithinTheirBounds) {
  // Far more tracks and appended logs than any disc has; a cut UTF-16 tail; garbage.
  QByteArray many;
  for (int log = 0; log < 40; ++log) {
    many += "Exact Audio Copy V1.6 from 23. October 2020\r\n";
    for (int track = 1; track <= 150; ++track)
      many += "Track " + QByteArray::number(track) + "\r\n  Copy CRC 0123ABCD\r\n";
  }
  const std::vector<RipLog> logs = ParseRipLogs(many);
  EXPECT_EQ(logs.size(), 16u);
  for (const RipLog& log : logs)
    EXPECT_EQ(log.Tracks.size(), 99u);

  const QByteArray utf16 = EacLog(ReferenceSums(MakeAlbum()));
  const std::vector<RipLog> cut = ParseRipLogs(utf16.left(utf16.size() / 2 + 1), true);
  ASSERT_EQ(cut.size(), 1u);
  EXPECT_LE(cut[0].Tracks.size(), 3u);

  EXPECT_TRUE(ParseRipLogs(QByteArray(5000, '\xFF')).empty());
  EXPECT_FALSE(RipperOfLogStart(QByteArray("Notes about the album\nTrack 1\n")).has_value());
}

}  // namespace
