#include "nfo/DrReport.h"

#include "platform/ProductInfo.h"

#include <cmath>

namespace {

constexpr int kLineWidth = 80;

QString Decibels(double value) {
  return QString::number(value, 'f', 2) + QStringLiteral(" dB");
}

// "3:25", "1:02:03" for a track of an hour or more.
QString Duration(double seconds) {
  const qint64 whole = std::llround(std::max(0.0, seconds));
  const qint64 hours = whole / 3600;
  const qint64 minutes = whole / 60 % 60;
  const QString secondsText = QStringLiteral("%1").arg(whole % 60, 2, 10, QLatin1Char('0'));
  if (hours > 0) {
    return QStringLiteral("%1:%2:%3")
        .arg(hours)
        .arg(minutes, 2, 10, QLatin1Char('0'))
        .arg(secondsText);
  }
  return QStringLiteral("%1:%2").arg(minutes).arg(secondsText);
}

// The values the tracks share, or each different one in the order met ("44100, 48000").
template <class Value>
QString Common(std::span<const AudioFigures> tracks, Value value) {
  QStringList texts;
  for (const AudioFigures& track : tracks) {
    const QString text = value(track);
    if (!texts.contains(text))
      texts.append(text);
  }
  return texts.join(QStringLiteral(", "));
}

}  // namespace

QStringList DrReportLines(std::span<const AudioFigures> tracks, const QStringList& trackNames,
                          const AlbumAudioFigures& album, const QDateTime& logDate) {
  const QString separator(kLineWidth, QLatin1Char('-'));
  QStringList lines;
  lines << ProgramNameAndVersion() + QStringLiteral(": dynamic range report")
        << QStringLiteral("log date: ") + logDate.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        << QString() << separator
        << QStringLiteral("DR         Peak         RMS     Duration Track") << separator;
  for (size_t i = 0; i < tracks.size(); ++i) {
    const AudioFigures& track = tracks[i];
    const QString name = static_cast<qsizetype>(i) < trackNames.size()
                             ? trackNames[static_cast<qsizetype>(i)]
                             : QString();
    lines << (QStringLiteral("DR%1").arg(track.Dr).leftJustified(4) +
              Decibels(track.Peak).rightJustified(14) + Decibels(track.Rms).rightJustified(12) +
              Duration(track.Duration).rightJustified(10) + QLatin1Char(' ') + name);
  }
  lines << separator << QString() << QStringLiteral("Number of tracks:  %1").arg(tracks.size())
        << QStringLiteral("Official DR value: DR%1").arg(album.Dr) << QString()
        << QStringLiteral("Samplerate:        %1 Hz")
               .arg(Common(tracks,
                           [](const AudioFigures& t) { return QString::number(t.SampleRate); }))
        << QStringLiteral("Channels:          %1")
               .arg(Common(tracks,
                           [](const AudioFigures& t) { return QString::number(t.Channels); }))
        // A lossy track is decoded to 32-bit floating point, as the DR meter reports it.
        << QStringLiteral("Bits per sample:   %1")
               .arg(Common(
                   tracks,
                   [](const AudioFigures& t) { return QString::number(t.Bits > 0 ? t.Bits : 32); }))
        << QString(kLineWidth, QLatin1Char('='));
  return lines;
}
