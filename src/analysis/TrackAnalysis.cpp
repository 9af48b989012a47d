#include "analysis/TrackAnalysis.h"

#include "analysis/ReleaseSummary.h"
#include "platform/FileStream.h"

#include <QFileInfo>
#include <QStringDecoder>

namespace {

// Tag-version texts carried from one track to the next: a file the tag readers cannot open
// keeps those of the track before it.
struct TagVersionTexts {
  QString Id3v1;
  QString Id3v2;
  QString Ape;
};

struct TagValues {
  QString Artist, Title, Album, Year, Genre;
};

void ApplyTag(TrackRecord& row, ReleaseSummary& summary, const TagValues& tag) {
  row.Artist = tag.Artist;
  row.Title = tag.Title;
  row.Album = tag.Album;
  summary.Year = tag.Year;
  summary.Genre = tag.Genre;
}

void ReadId3v1(TID3v1& reader, const QString& path, TrackRecord& row, ReleaseSummary& summary,
               TagVersionTexts& texts, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    texts.Id3v1 = QStringLiteral("-");
    return;
  }
  texts.Id3v1 = reader.VersionID() == 1 ? QStringLiteral("1.0") : QStringLiteral("1.1");
  ApplyTag(
      row, summary,
      {cp.ToUnicode(reader.Artist()), cp.ToUnicode(reader.Title()), cp.ToUnicode(reader.Album()),
       cp.ToUnicode(reader.Year()), cp.ToUnicode(reader.Genre())});
}

void ReadId3v2(TID3v2& reader, const QString& path, TrackRecord& row, ReleaseModel& model,
               TagVersionTexts& texts, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    texts.Id3v2 = QStringLiteral("-");
    return;
  }
  texts.Id3v2 = QStringLiteral("2.") + QString::number(reader.VersionID());
  ApplyTag(row, model.Summary,
           {DecodeTagText(reader.Artist(), cp), DecodeTagText(reader.Title(), cp),
            DecodeTagText(reader.Album(), cp), DecodeTagText(reader.Year(), cp),
            DecodeTagText(reader.Genre(), cp)});
  model.Info.DiscInfo = DecodeTagText(reader.Link(), cp);
}

void ReadApeTag(TAPETag& reader, const QString& path, TrackRecord& row, ReleaseSummary& summary,
                TagVersionTexts& texts, const UserLocale& locale, const CodePage& cp) {
  if (!reader.ReadFromFile(path))
    return;
  if (!reader.Exists()) {
    texts.Ape = QStringLiteral("-");
    return;
  }
  texts.Ape = locale.FormatGrouped4(reader.Version());
  ApplyTag(
      row, summary,
      {DecodeTagText(reader.GetValue("Artist"), cp), DecodeTagText(reader.GetValue("Title"), cp),
       DecodeTagText(reader.GetValue("Album"), cp), DecodeTagText(reader.GetValue("Year"), cp),
       DecodeTagText(reader.GetValue("Genre"), cp)});
}

// What the stream columns of a row need from whichever reader ran.
struct StreamFacts {
  double Duration = 0;
  int64_t FileSize = 0;
  QString BitrateText;
  bool RoundSeconds = false;  // MPEG rounds the seconds; the others cut the fraction
};

template <class Reader>
StreamValues ValuesOf(const Reader& reader, bool read) {
  StreamValues values;
  if (!read)
    return values;
  values.Read = true;
  values.Valid = reader.Valid();
  values.Duration = reader.Duration();
  values.SampleRate = reader.SampleRate();
  values.FileSize = reader.FileSize();
  return values;
}

// Runs one stream reader on the track and records the reader's values in the row; true when the
// stream is usable.
template <class Reader>
bool ReadWith(Reader& reader, const QString& path, TrackRecord& row) {
  const bool read = reader.ReadFromFile(path);
  row.Stream = ValuesOf(reader, read);
  return read && reader.Valid();
}

QString KbitText(int bitRate) {
  return QString::number(bitRate) + QStringLiteral(" kbit/s");
}

// Reads the track with the dominant format's reader; facts then holds what the row's columns
// show when the stream is usable.
bool ReadStream(ReaderSet& readers, const QString& extension, const QString& path,
                const UserLocale& locale, TrackRecord& row, StreamFacts& facts) {
  if (extension == QStringLiteral("mp3")) {
    const TMPEGaudio& mpeg = readers.Mpeg;
    const bool usable = ReadWith(readers.Mpeg, path, row);
    row.Stream.BitRate = row.Stream.Read ? mpeg.BitRate() : 0;
    const QString mode = mpeg.IsVBR() ? QStringLiteral("VBR ") : QStringLiteral("CBR ");
    facts = {mpeg.Duration(), mpeg.FileSize(), mode + KbitText(mpeg.BitRate()), true};
    return usable;
  }
  if (extension == QStringLiteral("mpc")) {
    const TMPEGplus& musepack = readers.Musepack;
    const bool usable = ReadWith(readers.Musepack, path, row);
    row.Stream.BitRate = row.Stream.Read ? musepack.BitRate() : 0;
    facts = {musepack.Duration(), musepack.FileSize(), KbitText(musepack.BitRate()), false};
    return usable;
  }
  if (extension == QStringLiteral("ape")) {
    const TMonkey& monkey = readers.Monkey;
    const bool usable = ReadWith(readers.Monkey, path, row);
    row.Stream.Ratio = row.Stream.Read ? monkey.Ratio() : 0;
    facts = {monkey.Duration(), monkey.FileSize(),
             locale.FormatFixed2(monkey.Ratio()) + QLatin1Char('%'), false};
    return usable;
  }
  const TFLACfile& flac = readers.Flac;
  const bool usable = ReadWith(readers.Flac, path, row);  // the FLAC open error passes on
  row.Stream.Ratio = row.Stream.Read ? flac.Ratio() : 0;
  facts = {flac.Duration(), flac.FileSize(), locale.FormatFixed2(flac.Ratio()) + QLatin1Char('%'),
           false};
  return usable;
}

void FillStreamColumns(TrackRecord& row, const StreamFacts& facts, const UserLocale& locale) {
  const int64_t seconds = facts.RoundSeconds ? RoundHalfEven(facts.Duration)
                                             : static_cast<int64_t>(qMax(facts.Duration, 0.0));
  row.DurationSecondsText = QString::number(seconds).left(4);
  row.SizeText = locale.FormatFixed2(BytesToMiB(facts.FileSize)) + QStringLiteral(" MB");
  row.DurationText = locale.FormatDuration(facts.Duration).left(10);
  row.BitrateText = facts.BitrateText;
}

void ApplyVorbisComment(const TFLACfile& flac, TrackRecord& row, ReleaseSummary& summary) {
  if (flac.Artist().isEmpty())
    return;
  summary.VorbisTagText = QStringLiteral("VorbisComment");
  ApplyTag(row, summary, {flac.Artist(), flac.Title(), flac.Album(), flac.Date(), flac.Genre()});
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

void AnalyseTrack(ReleaseModel& model, ReaderSet& readers, size_t index, SummaryTotals& totals,
                  TagVersionTexts& texts) {
  const UserLocale& locale = UserLocale::System();
  const CodePage& cp = CodePage::System();
  const QString& path = model.Scan.TrackList[static_cast<qsizetype>(index)];
  TrackRecord& row = model.Tracks[index];
  ReleaseSummary& summary = model.Summary;
  const QString& extension = model.Scan.DominantExtension;

  ++model.Scan.TrackCount;
  ReadId3v1(readers.Id3v1, path, row, summary, texts, cp);
  ReadId3v2(readers.Id3v2, path, row, model, texts, cp);
  ReadApeTag(readers.ApeTag, path, row, summary, texts, locale, cp);
  summary.Id3v1Text = texts.Id3v1;
  summary.Id3v2Text = texts.Id3v2;
  summary.ApeTagText = texts.Ape;
  summary.VorbisTagText = QStringLiteral("-");

  StreamFacts facts;
  if (!ReadStream(readers, extension, path, locale, row, facts))
    return;
  FillStreamColumns(row, facts, locale);
  UpdateSummary(summary, totals, model.Scan.TrackCount, extension, readers, locale);
  if (extension == QStringLiteral("flac"))
    ApplyVorbisComment(readers.Flac, row, summary);
}

}  // namespace

QString DecodeTagText(const QByteArray& bytes, const CodePage& codePage) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = utf8.decode(bytes);
  return utf8.hasError() ? codePage.ToUnicode(bytes) : text;
}

void AnalyseTracks(ReleaseModel& model, ReaderSet& readers, const AnalysisOptions& options) {
  ClearSummary(model);
  model.Scan.TrackCount = 0;
  model.Tracks.clear();
  model.Tracks.reserve(static_cast<size_t>(model.Scan.TrackList.size()));
  for (const QString& path : model.Scan.TrackList)
    model.Tracks.push_back(TrackRecord::NewRow(path));

  SummaryTotals totals;
  SizeAndDatePass(model, totals);
  TagVersionTexts texts;
  for (size_t i = 0; i < model.Tracks.size(); ++i)
    AnalyseTrack(model, readers, i, totals, texts);

  FinishSummary(model, options.Today, CodePage::System());
  if (model.Opts.AutoCrc)
    ComputeChecksums(model, options.OnChecksum);
  model.Run.AnalysisDone = true;
}

void ComputeChecksums(ReleaseModel& model, const ChecksumProgressCallback& onChecksum) {
  const std::unique_ptr<ChecksumJob> job = StartChecksumPass(model);
  while (!job->Done()) {
    for (const ChecksumResult& result : job->WaitReady()) {
      const ChecksumProgress step = StoreChecksumResult(model, result);
      if (onChecksum)
        onChecksum(step);
    }
  }
  FinishChecksumPass(model);
}
