#include <gtest/gtest.h>

#include <QLocale>

#include "nfo/DrReport.h"
#include "platform/ProductInfo.h"
#include "platform/UserLocale.h"
#include "support/TestSupport.h"

namespace {

AudioFigures Track(int dr, double peak, double rms, double seconds, int rate = 44100,
                   int bits = 16) {
  AudioFigures track;
  track.Dr = dr;
  track.Peak = peak;
  track.Rms = rms;
  track.Duration = seconds;
  track.SampleRate = rate;
  track.Channels = 2;
  track.Bits = bits;
  return track;
}

TEST(DrReportTest, LinesInTheDrMeterLayoutWithPointDecimals) {
  // A locale with a decimal comma must not change the numbers.
  UserLocale::SetSystem(QLocale(QLocale::Polish, QLocale::Poland));
  const std::vector<AudioFigures> tracks = {Track(12, -0.1, -14.521, 205.4),
                                            Track(8, -0.004, -9.2, 3723.0, 48000, 0)};
  AlbumAudioFigures album;
  album.Dr = 10;
  const QStringList lines =
      DrReportLines(tracks, {QStringLiteral("01-Name.flac"), QStringLiteral("02 - Długi.mp3")},
                    album, QDateTime(QDate(2024, 5, 1), QTime(21, 30, 5)));
  UserLocale::SetSystem(QLocale(QLocale::English, QLocale::UnitedStates));

  const QString rule(80, QLatin1Char('-'));
  const QStringList expected = {
      ProgramNameAndVersion() + QStringLiteral(": dynamic range report"),
      QStringLiteral("log date: 2024-05-01 21:30:05"),
      QString(),
      rule,
      QStringLiteral("DR         Peak         RMS     Duration Track"),
      rule,
      QStringLiteral("DR12      -0.10 dB   -14.52 dB      3:25 01-Name.flac"),
      QStringLiteral("DR8       -0.00 dB    -9.20 dB   1:02:03 02 - Długi.mp3"),
      rule,
      QString(),
      QStringLiteral("Number of tracks:  2"),
      QStringLiteral("Official DR value: DR10"),
      QString(),
      QStringLiteral("Samplerate:        44100, 48000 Hz"),
      QStringLiteral("Channels:          2"),
      QStringLiteral("Bits per sample:   16, 32"),
      QString(80, QLatin1Char('=')),
  };
  EXPECT_EQ(lines, expected);
}

}  // namespace
