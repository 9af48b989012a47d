#include "analysis/ReleaseSummary.h"

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

// The album artist every track that carries tags agrees on; empty when one of them names none or
// another one. Tracks without any tag have no say.
QString AgreedAlbumArtist(const std::vector<TrackRecord>& rows) {
  QString agreed;
  for (const TrackRecord& row : rows) {
    if (!row.HasTags)
      continue;
    if (row.AlbumArtist.isEmpty() || (!agreed.isEmpty() && row.AlbumArtist != agreed))
      return QString();
    agreed = row.AlbumArtist;
  }
  return agreed;
}

bool NamesVariousArtists(const QString& albumArtist) {
  const QString name = albumArtist.trimmed();
  return name.compare(QStringLiteral("Various Artists"), Qt::CaseInsensitive) == 0 ||
         name.compare(QStringLiteral("Various"), Qt::CaseInsensitive) == 0 ||
         name.compare(QStringLiteral("VA"), Qt::CaseInsensitive) == 0;
}

}  // namespace

void ClearSummary(ReleaseSummary& s) {
  for (QString* field :
       {&s.Year, &s.TotalTimeText, &s.TotalSizeText, &s.SampleRateText, &s.ChannelsText,
        &s.VersionText, &s.EncoderText, &s.AverageText, &s.QualityText, &s.Id3v1Text, &s.Id3v2Text,
        &s.ApeTagText, &s.VariousAlbumTitle, &s.VorbisTagText, &s.Genre, &s.AlbumArtist}) {
    field->clear();
  }
  s.Lossless = false;
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
                   const StreamValues& values, const StreamFacts& facts, const UserLocale& locale) {
  totals.Updated = true;
  totals.Seconds += values.Duration;
  summary.TotalTimeText = locale.FormatDuration(totals.Seconds);
  summary.TotalSizeText = locale.FormatFixed2(totals.SizeMiB) + QStringLiteral(" MB");

  summary.VersionText = facts.VersionText;
  summary.SampleRateText = facts.SampleRateText;
  if (facts.ChannelsText)
    summary.ChannelsText = *facts.ChannelsText;
  summary.EncoderText = facts.EncoderText;
  summary.Lossless = facts.Lossless();

  totals.RateSum += facts.Lossless() ? *facts.Ratio : facts.BitRate.value_or(0);
  const int64_t average = RoundHalfEven(totals.RateSum / qMax(trackCount, 1));
  summary.AverageText =
      QString::number(average) + (facts.Lossless() ? QStringLiteral(" %") : QString());
  switch (facts.Quality) {
    case StreamFacts::QualityRule::MpegLadder:
      summary.QualityText = MpegQuality(average);
      break;
    case StreamFacts::QualityRule::MusepackLadder:
      summary.QualityText = MusepackQuality(average, summary.QualityText);
      break;
    case StreamFacts::QualityRule::Fixed:
      summary.QualityText = facts.QualityLabel;
      break;
  }
}

void FinishSummary(Release& release, const SummaryTotals& totals, const QDate& today,
                   const CodePage& codePage, NameForm names) {
  ReleaseSummary& summary = release.Summary;
  // The size covers every track, also those after the last readable one.
  if (totals.Updated) {
    summary.TotalSizeText =
        UserLocale::System().FormatFixed2(totals.SizeMiB) + QStringLiteral(" MB");
  }
  summary.AlbumArtist = AgreedAlbumArtist(release.Tracks);
  if (!release.Tracks.empty()) {
    const bool various = summary.AlbumArtist.isEmpty() ? HasVariousArtists(release.Tracks)
                                                       : NamesVariousArtists(summary.AlbumArtist);
    if (various) {
      summary.VariousArtists = true;
      summary.VariousAlbumTitle = release.Tracks.front().Album;
    }
  }
  release.Info.PostDate = today;
  if (!release.Tracks.empty()) {
    const TrackRecord& first = release.Tracks.front();
    release.Run.OutputBaseName =
        ExpandFileNameTemplate(release.Info.FileNameTemplate, ReleaseArtist(release), first.Album,
                               first.Title, codePage, names);
  }
}

QString ExpandFileNameTemplate(const QString& fileNameTemplate, const QString& artist,
                               const QString& album, const QString& title, const CodePage& codePage,
                               NameForm names) {
  if (names == NameForm::Unicode) {
    QString name = fileNameTemplate;
    name.replace(QStringLiteral("%author%"), artist);
    name.replace(QStringLiteral("%album%"), album);
    name.replace(QStringLiteral("%title%"), title);
    return SafeBaseName(name);
  }
  QByteArray name = codePage.FromUnicode(fileNameTemplate);
  name.replace("%author%", codePage.FromUnicode(artist));
  name.replace("%album%", codePage.FromUnicode(album));
  name.replace("%title%", codePage.FromUnicode(title));
  return SafeBaseName(codePage.ToUnicode(name));
}

double BytesToMiB(int64_t bytes) {
  return static_cast<double>(bytes) / kBytesPerMiB;
}
