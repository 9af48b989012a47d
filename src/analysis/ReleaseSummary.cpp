#include "analysis/ReleaseSummary.h"

#include "analysis/StreamDescription.h"
#include "platform/FileNames.h"

#include <QtGlobal>

namespace {

constexpr double kBytesPerMiB = 1048576.0;

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
  s.Lossless = false;
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
                   const StreamDescription& stream, const UserLocale& locale) {
  totals.Seconds += stream.Values.Duration;
  summary.TotalTimeText = locale.FormatDuration(totals.Seconds);
  summary.TotalSizeText = locale.FormatFixed2(totals.SizeMiB) + QStringLiteral(" MB");

  summary.VersionText = stream.VersionText;
  summary.SampleRateText = stream.SampleRateText;
  if (stream.ChannelsText)
    summary.ChannelsText = *stream.ChannelsText;
  summary.EncoderText = stream.EncoderText;
  summary.Lossless = stream.Lossless;

  totals.RateSum += stream.Rate;
  const int64_t average = RoundHalfEven(totals.RateSum / qMax(trackCount, 1));
  summary.AverageText =
      QString::number(average) + (stream.Lossless ? QStringLiteral(" %") : QString());
  summary.QualityText = stream.Quality(average, summary.QualityText);
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
