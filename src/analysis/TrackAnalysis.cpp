#include "analysis/TrackAnalysis.h"

#include "analysis/StreamDescription.h"
#include "platform/FileStream.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

void ApplyTag(TrackRecord& row, ReleaseSummary& summary, const TagTexts& tag) {
  row.Artist = tag.Artist;
  row.Title = tag.Title;
  row.Album = tag.Album;
  summary.Year = tag.Year;
  summary.Genre = tag.Genre;
}

void ReadId3v1(TID3v1& reader, const QString& path, TrackRecord& row, ReleaseSummary& summary,
               QString& versionText, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    versionText = kNoTagMark.toString();
    return;
  }
  versionText = reader.VersionID() == 1 ? QStringLiteral("1.0") : QStringLiteral("1.1");
  ApplyTag(
      row, summary,
      {cp.ToUnicode(reader.Artist()), cp.ToUnicode(reader.Title()), cp.ToUnicode(reader.Album()),
       cp.ToUnicode(reader.Year()), cp.ToUnicode(reader.Genre())});
}

void ReadId3v2(TID3v2& reader, const QString& path, TrackRecord& row, ReleaseModel& model,
               QString& versionText, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    versionText = kNoTagMark.toString();
    return;
  }
  versionText = QStringLiteral("2.") + QString::number(reader.VersionID());
  ApplyTag(row, model.Summary,
           {DecodeTagText(reader.Artist(), cp), DecodeTagText(reader.Title(), cp),
            DecodeTagText(reader.Album(), cp), DecodeTagText(reader.Year(), cp),
            DecodeTagText(reader.Genre(), cp)});
  model.Info.DiscInfo = DecodeTagText(reader.Link(), cp);
}

void ReadApeTag(TAPETag& reader, const QString& path, TrackRecord& row, ReleaseSummary& summary,
                QString& versionText, const UserLocale& locale, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    versionText = kNoTagMark.toString();
    return;
  }
  versionText = locale.FormatGrouped4(reader.Version());
  ApplyTag(
      row, summary,
      {DecodeTagText(reader.GetValue("Artist"), cp), DecodeTagText(reader.GetValue("Title"), cp),
       DecodeTagText(reader.GetValue("Album"), cp), DecodeTagText(reader.GetValue("Year"), cp),
       DecodeTagText(reader.GetValue("Genre"), cp)});
}

void FillStreamColumns(TrackRecord& row, const StreamDescription& stream,
                       const UserLocale& locale) {
  const double duration = stream.Values.Duration;
  const int64_t seconds =
      stream.RoundsSeconds ? RoundHalfEven(duration) : static_cast<int64_t>(qMax(duration, 0.0));
  row.DurationSecondsText = QString::number(seconds).left(4);
  row.SizeText = locale.FormatFixed2(BytesToMiB(stream.Values.FileSize)) + QStringLiteral(" MB");
  row.DurationText = locale.FormatDuration(duration).left(10);
  row.BitrateText = stream.BitrateText;
}

void ApplyOwnTag(const StreamDescription& stream, TrackRecord& row, ReleaseSummary& summary) {
  if (!stream.OwnTag)
    return;
  summary.VorbisTagText = QStringLiteral("VorbisComment");
  ApplyTag(row, summary, *stream.OwnTag);
}

// Adds every file's size to the total and takes the modification date of the last one. The time
// goes to local time once, for the last file only: every conversion consults the time zone file.
void SizeAndDatePass(ReleaseModel& model, SummaryTotals& totals) {
  QDateTime lastModified;
  for (const QString& path : model.Scan.TrackList) {
    const FileHandle file(path);
    if (file.IsValid())
      totals.SizeMiB += BytesToMiB(file.Size());
    // The open handle knows the time already; a file it could not open still has one.
    const QDateTime modified =
        file.IsValid() ? file.LastModified() : QFileInfo(path).lastModified();
    if (modified.isValid())
      lastModified = modified;
  }
  if (lastModified.isValid())
    model.Info.RipDate = lastModified.toLocalTime().date();
}

}  // namespace

QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? codePage.ToUnicode(bytes) : text;
}

TrackAnalysis::TrackAnalysis(ReleaseModel& model, ReaderSet& readers)
    : model_(model), readers_(readers) {
  ClearSummary(model_);
  model_.Scan.TrackCount = 0;
  model_.Tracks.clear();
  model_.Tracks.reserve(static_cast<size_t>(model_.Scan.TrackList.size()));
  for (const QString& path : model_.Scan.TrackList)
    model_.Tracks.push_back(TrackRecord::NewRow(path));
  SizeAndDatePass(model_, totals_);
}

void TrackAnalysis::ReadNextTrack() {
  if (AtEnd())
    return;
  const UserLocale& locale = UserLocale::System();
  const CodePage& cp = CodePage::System();
  TrackRecord& row = model_.Tracks[next_];
  const QString& path = row.FilePath;
  ReleaseSummary& summary = model_.Summary;
  ++next_;

  ++model_.Scan.TrackCount;
  ReadId3v1(readers_.Id3v1, path, row, summary, texts_.Id3v1, cp);
  ReadId3v2(readers_.Id3v2, path, row, model_, texts_.Id3v2, cp);
  ReadApeTag(readers_.ApeTag, path, row, summary, texts_.Ape, locale, cp);
  summary.Id3v1Text = texts_.Id3v1;
  summary.Id3v2Text = texts_.Id3v2;
  summary.ApeTagText = texts_.Ape;
  summary.VorbisTagText = kNoTagMark.toString();

  const StreamDescription stream =
      ReadStreamDescription(model_.Scan.DominantFormat, readers_, path, locale);
  row.Stream = stream.Values;
  if (!stream.Usable())
    return;
  FillStreamColumns(row, stream, locale);
  UpdateSummary(summary, totals_, model_.Scan.TrackCount, stream, locale);
  ApplyOwnTag(stream, row, summary);
}

void TrackAnalysis::Finish(const QDate& today) {
  FinishSummary(model_, today, CodePage::System());
}
