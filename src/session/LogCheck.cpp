#include "session/LogCheck.h"

#include "extras/ReleaseExtras.h"

#include <QDir>
#include <algorithm>
#include <cmath>

namespace {

void AppendNamed(QStringList& to, const QStringList& names, const QString& prefix) {
  for (const QString& name : names)
    to << prefix + name;
}

void TakeCover(QString& cover, const QString& found, const QString& prefix) {
  if (cover.isEmpty() && !found.isEmpty())
    cover = prefix + found;
}

// The rows of one disc (all rows for a one-folder release), first and one past the last.
std::pair<int, int> RowsOfDisc(const Release& release, const QString& disc) {
  const auto count = static_cast<int>(release.Tracks.size());
  int first = 0;
  while (first < count && release.Tracks[static_cast<size_t>(first)].Disc != disc)
    ++first;
  int end = first;
  while (end < count && release.Tracks[static_cast<size_t>(end)].Disc == disc)
    ++end;
  return first < count ? std::pair{first, end} : std::pair{0, count};
}

// The rows a log describes: its disc's; for a log at the top of a release of several discs, the
// first disc with as many tracks as the log, else all of them.
std::pair<int, int> RowsOfLog(const Release& release, const FolderLog& log) {
  if (!log.Disc.isEmpty() || release.Scan.Discs.isEmpty())
    return RowsOfDisc(release, log.Disc);
  for (const QString& disc : release.Scan.Discs) {
    const auto [first, end] = RowsOfDisc(release, disc);
    if (end - first == static_cast<int>(log.Log.Tracks.size()))
      return {first, end};
  }
  return {0, static_cast<int>(release.Tracks.size())};
}

bool FirstOfDisc(const Release& release, size_t row) {
  return row == 0 || release.Tracks[row - 1].Disc != release.Tracks[row].Disc;
}

bool LastOfDisc(const Release& release, size_t row) {
  return row + 1 == release.Tracks.size() ||
         release.Tracks[row + 1].Disc != release.Tracks[row].Disc;
}

// The log checksums are of 16-bit stereo: a mono source is doubled, a wider one cut to its
// first two channels.
void AddAsStereo(PcmChecksums& sums, std::span<const int16_t> samples, int channels,
                 std::vector<int16_t>& stereo) {
  if (channels == 2) {
    sums.Add(samples.data(), samples.size() / 2);
    return;
  }
  if (channels < 1)
    return;
  const size_t frames = samples.size() / static_cast<size_t>(channels);
  stereo.resize(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    const int16_t* frame = samples.data() + i * static_cast<size_t>(channels);
    stereo[2 * i] = frame[0];
    stereo[2 * i + 1] = channels > 1 ? frame[1] : frame[0];
  }
  sums.Add(stereo.data(), frames);
}

bool AccuratelyRipped(const RipLogTrack& track) {
  const QString result = track.AccurateRip.toLower();
  return result.contains(QStringLiteral("accurately ripped")) ||
         result.contains(QStringLiteral("exact match"));
}

QString CrcVerdict(const LogMatch& match) {
  QStringList differing;
  int compared = 0;
  for (const LogTrackMatch& track : match.Tracks) {
    if (!track.CrcMatch)
      continue;
    ++compared;
    if (!*track.CrcMatch)
      differing << QString::number(track.Number);
  }
  if (compared == 0)
    return QStringLiteral("CRCs not compared");
  if (differing.isEmpty())
    return QStringLiteral("CRCs match");
  return (differing.size() == 1 ? QStringLiteral("CRCs differ on track ")
                                : QStringLiteral("CRCs differ on tracks ")) +
         differing.join(QStringLiteral(", "));
}

QString ProgramText(const RipLog& log) {
  return log.Version.isEmpty() ? log.Program : log.Program + QLatin1Char(' ') + log.Version;
}

QString AccurateRipText(const RipLog& log) {
  const auto accurate = std::count_if(log.Tracks.begin(), log.Tracks.end(), AccuratelyRipped);
  return QStringLiteral("AccurateRip %1/%2").arg(accurate).arg(log.Tracks.size());
}

}  // namespace

ReleaseExtras FindReleaseExtras(const ScanState& scan) {
  ReleaseExtras extras = FindExtras(scan.FolderPath);
  for (const QString& disc : scan.Discs) {
    const ReleaseExtras found = FindExtras(QDir(scan.FolderPath).filePath(disc));
    const QString prefix = disc + QLatin1Char('/');
    AppendNamed(extras.Logs, found.Logs, prefix);
    AppendNamed(extras.Cues, found.Cues, prefix);
    AppendNamed(extras.Par2, found.Par2, prefix);
    AppendNamed(extras.Lists, found.Lists, prefix);
    AppendNamed(extras.Nfos, found.Nfos, prefix);
    TakeCover(extras.Covers.Front, found.Covers.Front, prefix);
    TakeCover(extras.Covers.Back, found.Covers.Back, prefix);
    TakeCover(extras.Covers.Cd, found.Covers.Cd, prefix);
  }
  return extras;
}

std::vector<FolderLog> ReadReleaseLogs(const ScanState& scan) {
  std::vector<FolderLog> logs;
  const QDir folder(scan.FolderPath);
  for (const QString& file : scan.Extras.Logs) {
    const qsizetype slash = file.indexOf(QLatin1Char('/'));
    const QString disc = slash > 0 ? file.left(slash) : QString();
    for (RipLog& log : ReadRipLogs(folder.filePath(file)))
      logs.push_back({file, disc, std::move(log)});
  }
  return logs;
}

void TakeExtrasIntoRelease(Release& release, const std::vector<FolderLog>& logs) {
  const ReleaseExtras& extras = release.Scan.Extras;
  ReleaseInfo& info = release.Info;
  info.IncludeEacLog = !extras.Logs.isEmpty();
  info.IncludeCue = !extras.Cues.isEmpty();
  info.IncludePar2 = !extras.Par2.isEmpty();
  info.CoverFront = !extras.Covers.Front.isEmpty();
  info.CoverBack = !extras.Covers.Back.isEmpty();
  info.CoverCd = !extras.Covers.Cd.isEmpty();
  if (logs.empty())
    return;
  const RipLog& first = logs.front().Log;
  release.Summary.RipperProgram = ProgramText(first);
  if (!first.Drive.isEmpty())
    release.Summary.Drive = first.Drive;
}

QStringList AbsentExtrasNotes(const Release& release) {
  const ReleaseExtras& extras = release.Scan.Extras;
  const ReleaseInfo& info = release.Info;
  QStringList notes;
  const auto note = [&notes](bool ticked, bool present, const char* what) {
    if (ticked && !present)
      notes << QStringLiteral("%1 is ticked, but the folder holds none").arg(QLatin1String(what));
  };
  note(info.IncludeEacLog, !extras.Logs.isEmpty(), "LOG");
  note(info.IncludeCue, !extras.Cues.isEmpty(), "CUE");
  note(info.IncludePar2, !extras.Par2.isEmpty(), "PAR v2");
  note(info.CoverFront, !extras.Covers.Front.isEmpty(), "Front cover");
  note(info.CoverBack, !extras.Covers.Back.isEmpty(), "Back cover");
  note(info.CoverCd, !extras.Covers.Cd.isEmpty(), "CD cover");
  return notes;
}

std::vector<DiscEdges> DiscEdgesOfRows(const Release& release) {
  std::vector<DiscEdges> edges;
  for (size_t row = 0; row < release.Tracks.size(); ++row)
    edges.push_back({FirstOfDisc(release, row), LastOfDisc(release, row)});
  return edges;
}

TrackLogSums::TrackLogSums(DiscEdges edges)
    : sums_(edges.First, edges.Last), sink_([this](std::span<const int16_t> samples, int channels) {
        AddAsStereo(sums_, samples, channels, stereo_);
      }) {}

TrackPcm TrackLogSums::Finish(bool decoded) {
  TrackPcm pcm;
  if (decoded)
    pcm.Sums = sums_.Finish();
  return pcm;
}

std::vector<CheckedLog> MatchReleaseLogs(const Release& release, const std::vector<FolderLog>& logs,
                                         const std::vector<TrackPcm>& audio) {
  std::vector<CheckedLog> checked;
  for (const FolderLog& log : logs) {
    const auto [first, end] = RowsOfLog(release, log);
    const auto last = std::min(static_cast<size_t>(end), audio.size());
    const auto start = std::min(static_cast<size_t>(first), last);
    const std::vector<TrackPcm> rows(audio.begin() + static_cast<std::ptrdiff_t>(start),
                                     audio.begin() + static_cast<std::ptrdiff_t>(last));
    checked.push_back({MatchLog(log.Log, rows), first});
  }
  return checked;
}

LogMatchPass::LogMatchPass(const AudioEngine& engine, const Release& release, Notify notify,
                           int workerCount) {
  QStringList paths;
  for (const TrackRecord& row : release.Tracks)
    paths << row.FilePath;
  audio_.resize(release.Tracks.size());
  const int workers = workerCount > 0 ? workerCount : WorkersPerCore();
  job_ = std::make_unique<OrderedJob<TrackPcm>>(
      static_cast<int>(paths.size()),
      [paths, edges = DiscEdgesOfRows(release), &engine](
          int index, std::stop_token stop) -> std::optional<TrackPcm> {
        TrackLogSums sums(edges[static_cast<size_t>(index)]);
        const QString error = engine.DecodePcm16(paths[index], sums.Sink(), stop);
        if (stop.stop_requested())
          return std::nullopt;
        return sums.Finish(error.isEmpty());
      },
      std::move(notify), workers);
}

LogMatchPass::~LogMatchPass() = default;

std::vector<int> LogMatchPass::TakeReady() {
  std::vector<int> rows;
  for (auto& item : job_->TakeReady()) {
    audio_[static_cast<size_t>(item.Index)] = std::move(item.Value);
    taken_ = item.Index + 1;
    rows.push_back(item.Index);
  }
  return rows;
}

int LogMatchPass::Percent() const {
  const auto count = static_cast<int>(audio_.size());
  return count > 0 ? static_cast<int>(std::lround(100.0 * taken_ / count)) : 100;
}

QString RipLogLine(const std::vector<FolderLog>& logs, const std::vector<CheckedLog>& checked) {
  QStringList parts;
  for (size_t i = 0; i < logs.size() && i < checked.size(); ++i) {
    const RipLog& log = logs[i].Log;
    QStringList words{ProgramText(log)};
    if (!log.ReadMode.isEmpty())
      words << log.ReadMode;
    words << AccurateRipText(log) << CrcVerdict(checked[i].Match);
    parts << words.join(QStringLiteral(", "));
  }
  return parts.join(QStringLiteral("; "));
}

QStringList ExtrasSummaryLines(const Release& release, const std::vector<FolderLog>& logs,
                               const std::vector<CheckedLog>& checked) {
  const ReleaseExtras& extras = release.Scan.Extras;
  QStringList lines;
  const auto list = [&lines](const char* what, const QStringList& names) {
    if (!names.isEmpty())
      lines << QLatin1String(what) + QStringLiteral(": ") + names.join(QStringLiteral(", "));
  };
  list("Rip logs", extras.Logs);
  list("Cue sheets", extras.Cues);
  list("PAR2", extras.Par2);
  list("Checksum lists", extras.Lists);
  list("NFOs", extras.Nfos);
  QStringList covers;
  for (const QString& cover : {extras.Covers.Front, extras.Covers.Back, extras.Covers.Cd}) {
    if (!cover.isEmpty())
      covers << cover;
  }
  list("Covers", covers);
  for (size_t i = 0; i < logs.size(); ++i) {
    const RipLog& log = logs[i].Log;
    QStringList words{logs[i].File + QStringLiteral(": ") + ProgramText(log)};
    if (!log.Drive.isEmpty())
      words << log.Drive;
    if (!log.ReadMode.isEmpty())
      words << log.ReadMode;
    words << AccurateRipText(log);
    if (i < checked.size()) {
      words << CrcVerdict(checked[i].Match);
      for (const int unmatched : checked[i].Match.UnmatchedAudio) {
        const auto row = static_cast<size_t>(checked[i].FirstRow + unmatched);
        if (row < release.Tracks.size())
          words << QStringLiteral("no log CRC for ") + release.Tracks[row].FileName;
      }
    }
    lines << words.join(QStringLiteral(", "));
  }
  return lines;
}
