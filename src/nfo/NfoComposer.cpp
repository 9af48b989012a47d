#include "nfo/NfoComposer.h"

#include "nfo/OutputFiles.h"
#include "platform/DisplayWidth.h"
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
const TrackRecord& FirstRow(const Release& model) {
  static const TrackRecord none;
  return model.Tracks.empty() ? none : model.Tracks.front();
}

// How many columns a text takes in the file the NFO becomes. In the 8-bit form each character
// counts as the code page writes it (a character outside the BMP becomes one "?"); in the UTF-8
// form East Asian wide characters and emoji take two columns, as NFO viewers draw them.
class Columns {
 public:
  Columns(TextFile::Form form, const CodePage& codePage) : form_(form), codePage_(codePage) {}
  qsizetype Of(const QString& text) const {
    return form_ == TextFile::Form::Utf8 ? DisplayColumns(text) : codePage_.RoundTrip(text).size();
  }

 private:
  TextFile::Form form_;
  const CodePage& codePage_;
};

QString CenteredTitle(const Release& model, const Columns& columns) {
  const TrackRecord& first = FirstRow(model);
  const QString title = model.Summary.VariousArtists
                            ? QStringLiteral("VA - ") + first.Album
                            : ReleaseArtist(model) + QStringLiteral(" - ") + first.Album;
  // Long titles are neither cut nor shifted left.
  const qsizetype width = columns.Of(title);
  const qsizetype leading = width < kWidth ? (kWidth - width) / 2 : 0;
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

// The tags present, joined by ", "; a single "-" when there is none.
QString TagsLine(const ReleaseSummary& summary) {
  const QLatin1StringView none = kNoTagMark;
  QStringList tags;
  if (summary.Id3v1Text != none)
    tags << QStringLiteral("ID3 v") + summary.Id3v1Text;
  if (summary.Id3v2Text != none)
    tags << QStringLiteral("ID3 v") + summary.Id3v2Text;
  if (summary.ApeTagText != none)
    tags << QStringLiteral("APE v") + summary.ApeTagText;
  if (summary.VorbisTagText != none)
    tags << summary.VorbisTagText;
  return Field("Tags", tags.isEmpty() ? none.toString() : tags.join(QStringLiteral(", ")));
}

QString NmrOr(bool nmr, const QString& value) {
  return nmr ? QStringLiteral("NMR") : value;
}

void AppendTitleBlock(QStringList& lines, const Release& model, const Columns& columns) {
  lines << SeparatorLine() << CenteredTitle(model, columns) << SeparatorLine() << QString();
}

void AppendReleaseFields(QStringList& lines, const Release& model, const Options& options) {
  const ReleaseSummary& summary = model.Summary;
  const TrackRecord& first = FirstRow(model);
  const bool nmr = summary.Nmr;
  lines << Field("Artist",
                 summary.VariousArtists ? QStringLiteral("Various Artists") : ReleaseArtist(model))
        << Field("Album", summary.VariousArtists ? summary.VariousAlbumTitle : first.Album)
        << Field("Genre", summary.Genre) << Field("Source", NmrOr(nmr, summary.Source))
        << Field("Year", summary.Year)
        << Field("Ripper",
                 NmrOr(nmr, summary.RipperProgram + QStringLiteral(" & ") + summary.Drive));
  // What the rip log says and whether the audio is what it describes, when asked for.
  if (options.AudioNfo && !model.RipLogText.isEmpty())
    lines << Field("Rip Log", model.RipLogText);
  lines << Field("Codec", summary.EncoderText) << Field("Version", summary.VersionText)
        << QualityLine(summary)
        << Field("Channels", summary.ChannelsText + QStringLiteral(" / ") + summary.SampleRateText)
        << TagsLine(summary);
}

// "+3.21" / "-8.53": a gain always shows which way it goes.
QString SignedGain(double gain, const UserLocale& locale) {
  const QString text = locale.FormatFixed(gain, 2);
  return gain >= 0 ? QLatin1Char('+') + text : text;
}

// The album's dynamic range, loudness and gain, when the audio pass ran and they are asked for.
void AppendAudioFields(QStringList& lines, const Release& model, const Options& options,
                       const UserLocale& locale) {
  if (!AudioLinesWanted(model, options))
    return;
  const AlbumAudioFigures& album = model.Audio.Album;
  lines << Field("Dynamic Range", QStringLiteral("DR") + QString::number(album.Dr))
        << Field("Loudness", locale.FormatFixed(album.Loudness, 1) +
                                 QStringLiteral(" LUFS, peak ") +
                                 locale.FormatFixed(album.TruePeak, 1) + QStringLiteral(" dBTP"))
        << Field("ReplayGain", SignedGain(album.AlbumGain, locale) + QStringLiteral(" dB"));
}

void AppendInformation(QStringList& lines, const Release& model) {
  lines << Field("Information", model.Info.DiscInfo) << QString();
}

QString NameOnDate(const QString& name, const QDate& date, const UserLocale& locale) {
  return name + QStringLiteral(" on ") + locale.FormatShortDate(date);
}

void AppendPostingFields(QStringList& lines, const Release& model, const UserLocale& locale) {
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

QString IncludedLine(const Release& model, const Options& options) {
  const ReleaseInfo& info = model.Info;
  QString included = QStringLiteral("NFO");
  if (info.IncludeChecksums)
    included += QStringLiteral(", ") + options.ChecksumKindText;
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
  if (AudioLinesWanted(model, options))
    included += QStringLiteral(", DR");
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

void AppendExtras(QStringList& lines, const Release& model, const Options& options) {
  lines << IncludedLine(model, options) << CoversLine(model.Info) << QString();
}

QString TrackNumberText(qsizetype number) {
  return QString::number(number).rightJustified(kTrackNumberWidth, QLatin1Char(' '));
}

QString TrackLine(qsizetype number, const TrackRecord& row, const Columns& columns) {
  const QString text = TrackNumberText(number) + QStringLiteral(". ") + row.Artist +
                       QStringLiteral(" - ") + row.Title;
  // Texts too long to pad get the bracket right after them; nothing is cut.
  const qsizetype blanks =
      std::max<qsizetype>(kTrackTextWidth - columns.Of(row.DurationText) - columns.Of(text), 0);
  return text + Blanks(blanks) + QLatin1Char('[') + row.DurationText + QLatin1Char(']');
}

void AppendTracklisting(QStringList& lines, const Release& model, const Columns& columns) {
  lines << SeparatorLine() << Blanks(kLabelWidth) + QStringLiteral("Tracklisting")
        << SeparatorLine() << QString();
  // A release of several discs numbers each disc's tracks from 1 under the disc folder's name.
  for (const DiscRows& disc : RowsByDisc(model)) {
    if (!disc.Name.isEmpty())
      lines << Blanks(kLabelWidth) + disc.Name << QString();
    qsizetype number = 0;
    for (const TrackRecord& row : disc.Rows)
      lines << TrackLine(++number, row, columns);
    lines << QString();
  }
}

void AppendTotals(QStringList& lines, const Release& model) {
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

// What the preview holds: in the 8-bit form characters outside the code page have become "?";
// a value with line breaks of its own has become several lines.
QStringList AsPreviewLines(const QStringList& lines, TextFile::Form form,
                           const CodePage& codePage) {
  QStringList preview;
  preview.reserve(lines.size());
  for (const QString& line : lines) {
    const QString held = form == TextFile::Form::Utf8 ? line : codePage.RoundTrip(line);
    if (held.isEmpty()) {
      preview << QString();
    } else {
      preview << TextFile::SplitLines(held);
    }
  }
  return preview;
}

}  // namespace

bool AudioLinesWanted(const Release& release, const Options& options) {
  return options.AudioNfo && release.Audio.Done;
}

QStringList ComposeNfoLines(const Release& model, const Options& options, const UserLocale& locale,
                            const CodePage& codePage) {
  const TextFile::Form form = NfoForm(options);
  const Columns columns(form, codePage);
  QStringList lines;
  AppendTitleBlock(lines, model, columns);
  AppendReleaseFields(lines, model, options);
  AppendAudioFields(lines, model, options, locale);
  AppendInformation(lines, model);
  AppendPostingFields(lines, model, locale);
  AppendExtras(lines, model, options);
  AppendTracklisting(lines, model, columns);
  AppendTotals(lines, model);
  AppendNote(lines, model.Info);
  lines << FooterLine(options);
  return AsPreviewLines(lines, form, codePage);
}

void ComposeNfo(Release& model, const Options& options, const UserLocale& locale,
                const CodePage& codePage) {
  model.NfoText = ComposeNfoLines(model, options, locale, codePage).join(QLatin1Char('\n'));
  model.Run.NfoComposed = true;
}
