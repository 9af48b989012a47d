#include "analysis/ReleaseSummary.h"

#include "nfo/OutputSaving.h"

#include <QtGlobal>

namespace {

constexpr double kBytesPerMiB = 1048576.0;

QString ChannelName(int channels, const QString& current) {
  switch (channels) {
    case 0:
      return QStringLiteral("Unknown");
    case 1:
      return QStringLiteral("Mono");
    case 2:
      return QStringLiteral("Stereo");
    default:
      return current;  // other counts leave the field as it was
  }
}

QString LosslessSampleRate(int sampleRate, int bitsPerSample) {
  return QStringLiteral("%1 HZ / %2 Bit").arg(sampleRate).arg(bitsPerSample);
}

// The stream description and the rate one track adds, by format.
double DescribeStream(ReleaseSummary& summary, const QString& extension, const ReaderSet& readers) {
  if (extension == QStringLiteral("mp3")) {
    const TMPEGaudio& mpeg = readers.Mpeg;
    summary.VersionText = mpeg.Version() + QLatin1Char(' ') + mpeg.Layer();
    summary.SampleRateText = QString::number(mpeg.SampleRate()) + QStringLiteral(" hz");
    summary.ChannelsText = mpeg.ChannelMode();
    summary.EncoderText = mpeg.Encoder();
    return mpeg.BitRate();
  }
  if (extension == QStringLiteral("mpc")) {
    const TMPEGplus& musepack = readers.Musepack;
    summary.VersionText = QStringLiteral("MP+ v") + QString::number(musepack.StreamVersion());
    summary.SampleRateText = QStringLiteral("44100 hz");
    summary.ChannelsText = musepack.ChannelMode();
    summary.EncoderText = QStringLiteral("MusePack (MPC)");
    return musepack.BitRate();
  }
  if (extension == QStringLiteral("ape")) {
    const TMonkey& monkey = readers.Monkey;
    summary.VersionText = QStringLiteral("Monkey v") + monkey.VersionString();
    summary.SampleRateText = LosslessSampleRate(monkey.SampleRate(), monkey.BitsPerSample());
    summary.ChannelsText = ChannelName(monkey.Channels(), summary.ChannelsText);
    summary.EncoderText = QStringLiteral("Monkey's Audio (APE)");
    return monkey.Ratio();
  }
  const TFLACfile& flac = readers.Flac;
  summary.VersionText = flac.Vendor();
  summary.SampleRateText = LosslessSampleRate(flac.SampleRate(), flac.BitsPerSample());
  summary.ChannelsText = ChannelName(flac.Channels(), summary.ChannelsText);
  summary.EncoderText = QStringLiteral("Free Lossless Audio Codec (FLAC)");
  return flac.Ratio();
}

double StreamDuration(const QString& extension, const ReaderSet& readers) {
  if (extension == QStringLiteral("mp3"))
    return readers.Mpeg.Duration();
  if (extension == QStringLiteral("mpc"))
    return readers.Musepack.Duration();
  if (extension == QStringLiteral("ape"))
    return readers.Monkey.Duration();
  return readers.Flac.Duration();
}

bool HasVariousArtists(const std::vector<TrackRecord>& rows) {
  for (const TrackRecord& row : rows) {
    if (row.Artist != rows.front().Artist)
      return true;
  }
  return false;
}

}  // namespace

void ClearSummary(ReleaseModel& model) {
  ReleaseSummary& s = model.Summary;
  for (QString* field :
       {&s.Year, &s.TotalTimeText, &s.TotalSizeText, &s.SampleRateText, &s.ChannelsText,
        &s.VersionText, &s.EncoderText, &s.AverageText, &s.QualityText, &s.Id3v1Text, &s.Id3v2Text,
        &s.ApeTagText, &s.VariousAlbumTitle, &s.VorbisTagText, &s.Genre}) {
    field->clear();
  }
  model.Progress = ProgressState{};
}

QString MpegQuality(int64_t average) {
  QString label;
  if (average < 128)
    label = QStringLiteral("Very Poor");
  if (average > 128)
    label = QStringLiteral("Poor");
  if (average > 160)
    label = QStringLiteral("Standard");
  if (average > 210)
    label = QStringLiteral("Extreme");
  if (average == 128)
    label = QStringLiteral("CBR 128");
  if (average == 160)
    label = QStringLiteral("CBR 160");
  if (average == 192)
    label = QStringLiteral("CBR 192");
  if (average == 256)
    label = QStringLiteral("CBR 256");
  if (average == 320)
    label = QStringLiteral("Insane");
  return label;
}

QString MusepackQuality(int64_t average, const QString& current) {
  QString label = current;
  if (average > 32)
    label = QStringLiteral("Telephone");
  if (average > 58)
    label = QStringLiteral("Thumb");
  if (average > 112)
    label = QStringLiteral("Radio");
  if (average > 142)
    label = QStringLiteral("Standard");
  if (average > 168)
    label = QStringLiteral("Extreme");
  if (average > 232)
    label = QStringLiteral("Insane");
  if (average > 260)
    label = QStringLiteral("BrainDead");
  return label;
}

void UpdateSummary(ReleaseSummary& summary, SummaryTotals& totals, int trackCount,
                   const QString& dominantExtension, const ReaderSet& readers,
                   const UserLocale& locale) {
  totals.Seconds += StreamDuration(dominantExtension, readers);
  summary.TotalTimeText = locale.FormatDuration(totals.Seconds);
  summary.TotalSizeText = locale.FormatFixed2(totals.SizeMiB) + QStringLiteral(" MB");

  totals.RateSum += DescribeStream(summary, dominantExtension, readers);
  const int64_t average = RoundHalfEven(totals.RateSum / qMax(trackCount, 1));
  const bool lossless =
      dominantExtension == QStringLiteral("ape") || dominantExtension == QStringLiteral("flac");
  summary.AverageText = QString::number(average) + (lossless ? QStringLiteral(" %") : QString());

  if (dominantExtension == QStringLiteral("mp3")) {
    summary.QualityText = MpegQuality(average);
  } else if (dominantExtension == QStringLiteral("mpc")) {
    summary.QualityText = MusepackQuality(average, summary.QualityText);
  } else if (dominantExtension == QStringLiteral("ape")) {
    summary.QualityText = readers.Monkey.CompressionLevelText();
  } else {
    summary.QualityText = QStringLiteral("Lossless");
  }
}

void FinishSummary(ReleaseModel& model, const QDate& today, const CodePage& codePage) {
  if (!model.Tracks.empty() && HasVariousArtists(model.Tracks)) {
    model.Summary.VariousArtists = true;
    model.Summary.VariousAlbumTitle = model.Tracks.front().Album;
  }
  model.Info.PostDate = today;
  if (!model.Tracks.empty()) {
    model.Run.OutputBaseName =
        ExpandFileNameTemplate(model.Info.FileNameTemplate, model.Tracks.front(), codePage);
  }
}

QString ExpandFileNameTemplate(const QString& fileNameTemplate, const TrackRecord& firstRow,
                               const CodePage& codePage) {
  QByteArray name = codePage.FromUnicode(fileNameTemplate);
  name.replace("%author%", codePage.FromUnicode(firstRow.Artist));
  name.replace("%album%", codePage.FromUnicode(firstRow.Album));
  name.replace("%title%", codePage.FromUnicode(firstRow.Title));
  return SafeBaseName(codePage.ToUnicode(name));
}

double BytesToMiB(int64_t bytes) {
  return static_cast<double>(bytes) / kBytesPerMiB;
}
