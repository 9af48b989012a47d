#include "nfo/NfoComposer.h"

#include "platform/ProductInfo.h"
#include "platform/TextFile.h"

#include <algorithm>

namespace {

// The layout is drawn for 69 columns: separators and fitting track lines are exactly that wide.
constexpr int kWidth = 69;
// Every field line starts with a label of this width: name, dots, ":" in column 22, a blank.
constexpr int kLabelWidth = 23;
// A track line's text is padded so that "[duration]" closes it in the last column.
constexpr int kTrackTextWidth = kWidth - 2;
// Track numbers are right-aligned in four columns ("   7", "1000").
constexpr int kTrackNumberWidth = 4;

QString Blanks(qsizetype count) {
  return QString(count, QLatin1Char(' '));
}

QString SeparatorLine() {
  return QString(kWidth, QLatin1Char('-'));
}

QString Label(const char* name) {
  return QLatin1String(name).toString().leftJustified(kLabelWidth - 2, QLatin1Char('.')) +
         QStringLiteral(": ");
}

QString Field(const char* name, const QString& value) {
  return Label(name) + value;
}

// The composer only runs after an analysis has added its rows; an empty table still composes.
const TrackRecord& FirstRow(const ReleaseModel& model) {
  static const TrackRecord none;
  return model.Tracks.empty() ? none : model.Tracks.front();
}

QString CenteredTitle(const ReleaseModel& model) {
  const TrackRecord& first = FirstRow(model);
  const QString title = model.Summary.VariousArtists
                            ? QStringLiteral("VA - ") + first.Album
                            : first.Artist + QStringLiteral(" - ") + first.Album;
  // Long titles are neither cut nor shifted left.
  const qsizetype leading = title.size() < kWidth ? (kWidth - title.size()) / 2 : 0;
  return Blanks(leading) + title;
}

QString QualityLine(const ReleaseSummary& summary) {
  // Lossless formats state a compression ratio whose text carries its own " %".
  const QString average =
      summary.Lossless
          ? QStringLiteral(", (avg. compression: ") + summary.AverageText + QLatin1Char(')')
          : QStringLiteral(", (avg. bitrate: ") + summary.AverageText + QStringLiteral("kbps)");
  return Field("Quality", summary.QualityText + average);
}

QString TagsLine(const ReleaseSummary& summary) {
  const QLatin1StringView none = kNoTagMark;
  QString tags;
  if (summary.Id3v1Text != none)
    tags += QStringLiteral("ID3 v") + summary.Id3v1Text;
  if (summary.Id3v2Text != none)
    tags += QStringLiteral(", ID3 v") + summary.Id3v2Text;
  if (summary.ApeTagText != none)
    tags += QStringLiteral(", APE v") + summary.ApeTagText;
  if (summary.VorbisTagText != none)
    tags += summary.VorbisTagText;
  const bool noTagAtAll = summary.Id3v1Text == none && summary.Id3v2Text == none &&
                          summary.ApeTagText == none && summary.VorbisTagText == none;
  if (noTagAtAll)
    tags = none.toString();
  return Field("Tags", tags);
}

QString NmrOr(bool nmr, const QString& value) {
  return nmr ? QStringLiteral("NMR") : value;
}

void AppendTitleBlock(QStringList& lines, const ReleaseModel& model) {
  lines << SeparatorLine() << CenteredTitle(model) << SeparatorLine() << QString();
}

void AppendReleaseFields(QStringList& lines, const ReleaseModel& model) {
  const ReleaseSummary& summary = model.Summary;
  const TrackRecord& first = FirstRow(model);
  const bool nmr = summary.Nmr;
  lines << Field("Artist",
                 summary.VariousArtists ? QStringLiteral("Various Artists") : first.Artist)
        << Field("Album", summary.VariousArtists ? summary.VariousAlbumTitle : first.Album)
        << Field("Genre", summary.Genre) << Field("Source", NmrOr(nmr, summary.Source))
        << Field("Year", summary.Year)
        << Field("Ripper",
                 NmrOr(nmr, summary.RipperProgram + QStringLiteral(" & ") + summary.Drive))
        << Field("Codec", summary.EncoderText) << Field("Version", summary.VersionText)
        << QualityLine(summary)
        << Field("Channels", summary.ChannelsText + QStringLiteral(" / ") + summary.SampleRateText)
        << TagsLine(summary) << Field("Information", model.Info.DiscInfo) << QString();
}

QString NameOnDate(const QString& name, const QDate& date, const UserLocale& locale) {
  return name + QStringLiteral(" on ") + locale.FormatShortDate(date);
}

void AppendPostingFields(QStringList& lines, const ReleaseModel& model, const UserLocale& locale) {
  const ReleaseInfo& info = model.Info;
  lines << Field("Ripped by",
                 NmrOr(model.Summary.Nmr, NameOnDate(info.RippedBy, info.RipDate, locale)))
        << Field("Posted by", NameOnDate(info.PostedBy, info.PostDate, locale))
        << Field("News Server", info.NewsServer);
  // The first selected group stands on the label line; further ones line up beneath it.
  const QStringList& groups = info.SelectedGroups;
  lines << Field("News Group(s)", groups.isEmpty() ? info.Group : groups.first());
  for (qsizetype i = 1; i < groups.size(); ++i)
    lines << Blanks(kLabelWidth) + groups.at(i);
  lines << QString();
}

QString IncludedLine(const ReleaseModel& model) {
  const ReleaseInfo& info = model.Info;
  QString included = QStringLiteral("NFO");
  if (info.IncludeChecksums)
    included += QStringLiteral(", ") + model.Opts.ChecksumKind;
  if (info.IncludePls)
    included += QStringLiteral(", PLS");
  if (info.IncludeM3u)
    included += QStringLiteral(", M3U");
  if (info.IncludeEacLog)
    included += QStringLiteral(", LOG");
  if (info.IncludePar)
    included += QStringLiteral(", PAR");
  if (info.IncludePar2)
    included += QStringLiteral(", PAR v2");
  if (info.IncludeCue)
    included += QStringLiteral(", CUE");
  return Field("Included", included);
}

// Without any cover the line stays in place, empty, so the blocks below never move up.
QString CoversLine(const ReleaseInfo& info) {
  QString covers;
  if (info.CoverFront)
    covers += QStringLiteral("Front ");
  if (info.CoverBack)
    covers += QStringLiteral("Back ");
  if (info.CoverCd)
    covers += QStringLiteral("CD ");
  return covers.isEmpty() ? QString() : Field("Covers", covers);
}

void AppendExtras(QStringList& lines, const ReleaseModel& model) {
  lines << IncludedLine(model) << CoversLine(model.Info) << QString();
}

QString TrackNumberText(qsizetype number) {
  return QString::number(number).rightJustified(kTrackNumberWidth, QLatin1Char(' '));
}

QString TrackLine(qsizetype number, const TrackRecord& row) {
  const QString text = TrackNumberText(number) + QStringLiteral(". ") + row.Artist +
                       QStringLiteral(" - ") + row.Title;
  // Texts too long to pad get the bracket right after them; nothing is cut.
  const qsizetype paddedWidth = std::max<qsizetype>(kTrackTextWidth - row.DurationText.size(), 0);
  return text.leftJustified(paddedWidth, QLatin1Char(' ')) + QLatin1Char('[') + row.DurationText +
         QLatin1Char(']');
}

void AppendTracklisting(QStringList& lines, const ReleaseModel& model) {
  lines << SeparatorLine() << Blanks(kLabelWidth) + QStringLiteral("Tracklisting")
        << SeparatorLine() << QString();
  qsizetype number = 0;
  for (const TrackRecord& row : model.Tracks)
    lines << TrackLine(++number, row);
  lines << QString();
}

void AppendTotals(QStringList& lines, const ReleaseModel& model) {
  lines << Field("Playing Time", model.Summary.TotalTimeText)
        << Field("Total Size", model.Summary.TotalSizeText) << QString()
        << Field("NFO generated on", model.Run.StartTimeText) << QString() << QString();
}

void AppendNote(QStringList& lines, const ReleaseInfo& info) {
  if (!info.IncludeNote)
    return;
  // A note that ends with a line break gets no empty line for it.
  lines << SeparatorLine() << TextFile::SplitLines(info.NoteText) << SeparatorLine() << QString();
}

QString FooterLine(const Options& options) {
  if (!options.Ads)
    return QString();
  return QStringLiteral(":: Generated by ") + ProgramNameAndVersion() + QStringLiteral(" - ") +
         ProductWebAddress() + QStringLiteral(" ::");
}

// What the 8-bit preview holds: characters outside the code page have become "?", and a value
// with line breaks of its own has become several lines.
QStringList AsPreviewLines(const QStringList& lines, const CodePage& codePage) {
  QStringList preview;
  preview.reserve(lines.size());
  for (const QString& line : lines) {
    const QString held = codePage.RoundTrip(line);
    if (held.isEmpty()) {
      preview << QString();
    } else {
      preview << TextFile::SplitLines(held);
    }
  }
  return preview;
}

}  // namespace

QStringList ComposeNfoLines(const ReleaseModel& model, const UserLocale& locale,
                            const CodePage& codePage) {
  QStringList lines;
  AppendTitleBlock(lines, model);
  AppendReleaseFields(lines, model);
  AppendPostingFields(lines, model, locale);
  AppendExtras(lines, model);
  AppendTracklisting(lines, model);
  AppendTotals(lines, model);
  AppendNote(lines, model.Info);
  lines << FooterLine(model.Opts);
  return AsPreviewLines(lines, codePage);
}

void ComposeNfo(ReleaseModel& model, const UserLocale& locale, const CodePage& codePage) {
  model.NfoText = ComposeNfoLines(model, locale, codePage).join(QLatin1Char('\n'));
  model.Run.NfoComposed = true;
}
