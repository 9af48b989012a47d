#include "analysis/TrackPass.h"

#include "platform/FileAccessHook.h"

namespace {

// Each worker keeps one set of readers for the whole pass, as the program keeps one set for a
// whole run.
TrackReaders& ThreadReaders(AudioFormat format) {
  thread_local std::unique_ptr<TrackReaders> readers;
  if (!readers || readers->Format != format)
    readers = std::make_unique<TrackReaders>(format);
  return *readers;
}

void ApplyTag(TrackRecord& row, ReleaseSummary& summary, const TagTexts& tag) {
  row.Artist = tag.Artist;
  row.Title = tag.Title;
  row.Album = tag.Album;
  summary.Year = tag.Year;
  summary.Genre = tag.Genre;
  if (!tag.AlbumArtist.isEmpty())
    row.AlbumArtist = tag.AlbumArtist;
}

// A tag the file carries sets the texts (also with empty values) and its version text; a file
// without it shows "-"; a file that could not be read leaves the version text as it was.
void ApplyTagReading(const TagReading& tag, TrackRecord& row, ReleaseSummary& summary,
                     QString& versionText) {
  if (!tag.Read)
    return;
  if (!tag.Exists) {
    versionText = kNoTagMark.toString();
    return;
  }
  versionText = tag.VersionText;
  row.HasTags = true;
  ApplyTag(row, summary, tag.Texts);
}

void FillStreamColumns(TrackRecord& row, const TrackReading& reading, const UserLocale& locale) {
  const double duration = reading.Values.Duration;
  const StreamFacts& facts = reading.Facts;
  const int64_t seconds =
      facts.RoundsSeconds ? RoundHalfEven(duration) : static_cast<int64_t>(qMax(duration, 0.0));
  row.DurationSecondsText = QString::number(seconds).left(4);
  row.SizeText = locale.FormatFixed2(BytesToMiB(reading.Values.FileSize)) + QStringLiteral(" MB");
  row.DurationText = locale.FormatDuration(duration).left(10);
  row.BitrateText = facts.Lossless()
                        ? locale.FormatFixed2(*facts.Ratio) + QLatin1Char('%')
                        : facts.BitratePrefix + QString::number(facts.BitRate.value_or(0)) +
                              QStringLiteral(" kbit/s");
}

}  // namespace

TrackPass::TrackPass(Release& release, Notify notify, int workerCount) : release_(release) {
  ClearSummary(release_.Summary);
  release_.Scan.TrackCount = 0;
  release_.Tracks.clear();
  release_.Tracks.reserve(static_cast<size_t>(release_.Scan.TrackList.size()));
  for (const QString& path : release_.Scan.TrackList) {
    release_.Tracks.push_back(TrackRecord::NewRow(path));
    release_.Tracks.back().Disc = DiscOfTrack(release_.Scan, path);
  }
  const QStringList paths = release_.Scan.TrackList;
  const AudioFormat format = release_.Scan.DominantFormat;
  job_ = std::make_unique<OrderedJob<TrackReading>>(
      static_cast<int>(paths.size()),
      [paths, format](int index, std::stop_token stop) -> std::optional<TrackReading> {
        const ReadsStopWith stopReads(stop);
        TrackReading reading = ReadTrack(paths[index], ThreadReaders(format));
        // What was read after a stop request is not the file: nothing is handed over.
        if (stop.stop_requested())
          return std::nullopt;
        return reading;
      },
      std::move(notify), workerCount);
}

TrackPass::~TrackPass() = default;

std::vector<int> TrackPass::TakeReady(bool wait) {
  std::vector<int> rows;
  for (const auto& item : wait ? job_->WaitReady() : job_->TakeReady()) {
    Apply(item.Index, item.Value);
    rows.push_back(item.Index);
  }
  return rows;
}

void TrackPass::Apply(int index, const TrackReading& reading) {
  const UserLocale& locale = UserLocale::System();
  TrackRecord& row = release_.Tracks[static_cast<size_t>(index)];
  ReleaseSummary& summary = release_.Summary;
  applied_ = index + 1;
  ++release_.Scan.TrackCount;
  if (reading.FileSize >= 0)
    totals_.SizeMiB += BytesToMiB(reading.FileSize);
  TakeRipDate(reading.Modified);

  ApplyTagReading(reading.Id3v1, row, summary, texts_.Id3v1);
  ApplyTagReading(reading.Id3v2, row, summary, texts_.Id3v2);
  if (reading.Id3v2.Exists)
    release_.Info.DiscInfo = reading.Id3v2.Link;
  ApplyTagReading(reading.Ape, row, summary, texts_.Ape);
  summary.Id3v1Text = texts_.Id3v1;
  summary.Id3v2Text = texts_.Id3v2;
  summary.ApeTagText = texts_.Ape;
  summary.VorbisTagText = kNoTagMark.toString();
  if (reading.Failure)
    std::rethrow_exception(reading.Failure);

  row.Stream = reading.Values;
  if (!reading.StreamUsable())
    return;
  FillStreamColumns(row, reading, locale);
  UpdateSummary(summary, totals_, release_.Scan.TrackCount, reading.Values, reading.Facts, locale);
  // The format's own tag comes after the summary update and wins over every other tag.
  if (const std::optional<OwnTagTexts>& own = reading.Facts.OwnTag) {
    summary.VorbisTagText = reading.Facts.OwnTagName;
    row.HasTags = true;
    ApplyTag(row, summary,
             {own->Artist, own->Title, own->Album, own->Year, own->Genre, own->AlbumArtist});
  }
}

// A one-folder release was ripped when its last track was written; the discs of a release may
// have been ripped in any order, so it takes the newest of all.
void TrackPass::TakeRipDate(const QDateTime& modified) {
  if (!modified.isValid())
    return;
  if (!release_.Scan.Discs.isEmpty()) {
    if (newestModified_.isValid() && modified <= newestModified_)
      return;
    newestModified_ = modified;
  }
  release_.Info.RipDate = modified.toLocalTime().date();
}

int TrackPass::ReadPercent() const {
  const int count = TrackCount();
  return count > 0 ? static_cast<int>(RoundHalfEven(100.0 * applied_ / count)) : 100;
}

void TrackPass::Finish(const QDate& today, NameForm names) {
  FinishSummary(release_, totals_, today, CodePage::System(), names);
}
