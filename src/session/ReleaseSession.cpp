#include "session/ReleaseSession.h"

#include "analysis/AnalysisRun.h"
#include "analysis/FolderScan.h"
#include "analysis/ReleaseSummary.h"
#include "model/ModelFields.h"
#include "nfo/NfoComposer.h"
#include "nfo/OutputFiles.h"
#include "nfo/OutputSaving.h"
#include "platform/FileError.h"
#include "platform/IniFile.h"
#include "platform/UserLocale.h"
#include "session/AudioPass.h"
#include "session/ListCheck.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <exception>
#include <new>
#include <stdexcept>

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

MixedFormatWarning WarningFor(const ScanState& scan, const MessageTable& messages) {
  MixedFormatWarning warning;
  warning.Caption = messages.Text(Message::NothingToSaveCaption);
  warning.FirstLine = messages.Text(Message::MixedFormatsFirstLine);
  for (const FormatInfo& format : AudioFormats()) {
    const int count = scan.FormatCounts[FormatIndex(format.Id)];
    const bool dominant = format.Id == scan.DominantFormat;
    if (count > 0 || dominant)
      warning.Rows.push_back({Latin1(format.Key), Latin1(format.WarningLabel), count, dominant});
  }
  warning.LastLine =
      messages.Text(Message::MixedFormatsLastLine) + QLatin1Char(' ') + scan.DominantExtension;
  return warning;
}

QString LeftOutWarning(const LeftOutFile& file) {
  switch (file.Why) {
    case LeftOutFile::Reason::Format:
      return QStringLiteral("Left out: %1 (an audio format the program does not read)")
          .arg(file.Name);
    case LeftOutFile::Reason::Name:
      return QStringLiteral(
                 "Left out: %1 (the name is not valid UTF-8 or holds control characters)")
          .arg(file.Name);
    case LeftOutFile::Reason::NotAFile:
      return QStringLiteral("Left out: %1 (not a regular file, or a broken link)").arg(file.Name);
  }
  return file.Name;
}

QString MixedFormatsWarning(const ScanState& scan) {
  QStringList counts;
  for (const FormatInfo& format : AudioFormats()) {
    const int count = scan.FormatCounts[FormatIndex(format.Id)];
    if (count > 0)
      counts << Latin1(format.Key) + QStringLiteral(": ") + QString::number(count);
  }
  return QStringLiteral("The folder mixes formats (%1); analysing %2")
      .arg(counts.join(QStringLiteral(", ")), scan.DominantExtension);
}

QString UnreadableTrackWarning(const TrackRecord& row, const QString& formatName) {
  if (row.Stream.Read && row.Stream.FileSize == 0)
    return QStringLiteral("Not read: %1 (the file is empty)").arg(row.FileName);
  if (!row.Stream.Read)
    return QStringLiteral("Not read: %1 (the file cannot be read)").arg(row.FileName);
  return QStringLiteral("Not read: %1 (not a valid %2 stream)").arg(row.FileName, formatName);
}

QString CanonicalFolder(const QString& folder) {
  return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

}  // namespace

QString FailureText(const std::exception& failure) {
  if (const auto* fileError = dynamic_cast<const FileError*>(&failure))
    return fileError->Text();
  if (dynamic_cast<const std::bad_alloc*>(&failure))
    return QStringLiteral("Out of memory");
  return QString::fromUtf8(failure.what());
}

QString FailureText(const std::exception_ptr& failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& error) {
    return FailureText(error);
  } catch (...) {
    return QStringLiteral("Unknown failure");
  }
}

struct ReleaseSession::Impl {
  Release release;
  Options options;
  ChoiceLists lists;
  MessageTable messages;
  QString statusText = QStringLiteral("NFO not saved!");
  ProgressState progress;
  std::unique_ptr<LanguageFile> language = std::make_unique<LanguageFile>();
  StartupSettings startup;
  std::unique_ptr<AnalysisRun> run;
  std::unique_ptr<LogMatchPass> logCheck;
  std::unique_ptr<AudioPass> audio;
  std::unique_ptr<ListCheckPass> listCheck;
  VerificationResult lastVerification;
  std::vector<PackedSpectrogram> spectrograms;
  std::vector<FolderLog> logs;
  std::vector<CheckedLog> checkedLogs;
  // Why the logs could not be checked against the audio; empty when they could.
  QString logCheckFailure;
  AnalysisOutcome lastOutcome = AnalysisOutcome::Finished;

  SettingsTarget Settings() { return {release.Summary, release.Info, options}; }
};

ReleaseSession::ReleaseSession(QObject* parent) : QObject(parent), impl_(std::make_unique<Impl>()) {
  qRegisterMetaType<ScanReport>();
  qRegisterMetaType<ProgressState>();
  qRegisterMetaType<AnalysisOutcome>();
  qRegisterMetaType<VerificationResult>();
}

ReleaseSession::~ReleaseSession() {
  // The workers post to this object: they end before anything else goes.
  impl_->run.reset();
  impl_->logCheck.reset();
  impl_->audio.reset();
  impl_->listCheck.reset();
}

const StartupSettings& ReleaseSession::Open(const QString& programDir, const QDateTime& now) {
  Release& release = impl_->release;
  release.Run.ProgramDir = programDir;
  release.Run.StartTimeText = UserLocale::System().FormatStartTime(now);
  release.Run.NfoComposed = false;
  release.Run.AnalysisDone = false;
  ClearSummary(release.Summary);
  impl_->progress = ProgressState{};

  IniFile settings;
  settings.Load(SettingsFilePath(programDir));
  impl_->startup = ReadStartupSettings(settings);
  release.Run.DefaultPath = impl_->startup.DefaultPath;

  LoadListFiles(programDir, impl_->lists);
  LoadNote(programDir, release.Info.NoteText);
  return impl_->startup;
}

const StartupSettings& ReleaseSession::Startup() const {
  return impl_->startup;
}

void ReleaseSession::LoadSettings(const SettingsOverride& adjust, bool applyLanguage) {
  LoadSettingsFile(impl_->release.Run.ProgramDir, impl_->Settings());
  if (adjust)
    adjust(impl_->options, impl_->release.Info);
  impl_->options.SetChecksumKindText(impl_->options.ChecksumKindText);
  if (applyLanguage)
    ApplyLanguage(impl_->options.Language);
  impl_->release.Info.IncludeChecksums = impl_->options.AutoCrc;
  emit ReleaseChanged();
}

void ReleaseSession::ApplyLanguage(const QString& name) {
  auto language = std::make_unique<LanguageFile>();
  language->Load(LanguageFile::PathFor(impl_->release.Run.ProgramDir, name));
  ApplyLanguageTexts(*language, impl_->messages, impl_->release.Info.NoteText);
  impl_->language = std::move(language);
  impl_->statusText = impl_->messages.Text(Message::StatusNotSaved);
  emit StatusChanged(impl_->statusText);
  emit ReleaseChanged();
}

const LanguageFile& ReleaseSession::Language() const {
  return *impl_->language;
}

QString ReleaseSession::LanguageText(const char* section, const char* key) const {
  return impl_->language->Text(section, key);
}

QString ReleaseSession::BeginFolderChoice() {
  Release& release = impl_->release;
  release.Scan.FolderPath = release.Run.DefaultPath;
  return release.Run.DefaultPath;
}

ScanReport ReleaseSession::Scan(const QString& folder) {
  Release& release = impl_->release;
  ScanReport report;
  const QString& analysed = release.Run.AnalysedFolder;
  if (!analysed.isEmpty() && CanonicalFolder(folder) != analysed) {
    // Nothing of the release analysed before may pass into the next one.
    release.Summary.VariousArtists = false;
    release.Summary.VariousAlbumTitle.clear();
    release.NfoText.clear();
    release.Run.NfoComposed = false;
    release.Run.AnalysisDone = false;
    release.Run.AnalysedFolder.clear();
    release.Audio = ReleaseAudio{};
    release.RipLogText.clear();
    impl_->spectrograms.clear();
    impl_->checkedLogs.clear();
    impl_->statusText = impl_->messages.Text(Message::StatusNotSaved);
    report.NewRelease = true;
    emit StatusChanged(impl_->statusText);
  }
  ScanFolder(release.Scan, folder);
  release.Scan.Extras = FindReleaseExtras(release.Scan);
  impl_->logs = ReadReleaseLogs(release.Scan);
  if (release.Scan.MixedFormats())
    report.Mixed = WarningFor(release.Scan, impl_->messages);
  report.LeftOut = release.Scan.LeftOut;
  emit Scanned(report);
  if (report.NewRelease)
    emit ReleaseChanged();
  return report;
}

ScanReport ReleaseSession::Rescan() {
  return Scan(impl_->release.Scan.FolderPath);
}

bool ReleaseSession::Analyse(const QDate& today) {
  Release& release = impl_->release;
  if (Busy() || !release.Scan.AnalysisEnabled())
    return false;
  release.Audio = ReleaseAudio{};
  impl_->spectrograms.clear();
  impl_->checkedLogs.clear();
  impl_->logCheckFailure.clear();
  release.RipLogText.clear();
  const Options& options = impl_->options;
  const AnalysisChoices choices{options.AutoCrc, options.Checksum,
                                options.Utf8Text ? NameForm::Unicode : NameForm::EightBit};
  impl_->progress = ProgressState{};
  release.Run.AnalysedFolder = CanonicalFolder(release.Scan.FolderPath);
  // A worker says that results are ready; they are taken on this object's own thread.
  impl_->run = std::make_unique<AnalysisRun>(release, choices, today, [this] { PostPump(); });
  emit AnalysisStarted();
  emit Progress(impl_->progress);
  // A run with nothing to wait for has no notification coming.
  PostPump();
  return true;
}

// Results are taken on this object's own thread: a worker only asks for it.
void ReleaseSession::PostPump() {
  QMetaObject::invokeMethod(
      this, [this] { Pump(); }, Qt::QueuedConnection);
}

void ReleaseSession::Pump() {
  if (impl_->run)
    PumpAnalysis();
  else if (impl_->logCheck)
    PumpLogCheck();
  else if (impl_->audio)
    PumpAudio();
  else if (impl_->listCheck)
    PumpVerification();
}

// The passes after the checksum pass, in their order: the rip logs' check when the folder holds
// a log, then the audio analysis when it is asked for. When both run, the audio analysis takes
// the logs' checksums on its own decode, and the album is decoded once.
enum PassOrder { kChecksumPass, kLogCheckPass, kAudioPass };

void ReleaseSession::StartNextPass(int finishedPass) {
  const bool audioPass = impl_->options.AudioPass && !impl_->release.Tracks.empty();
  if (finishedPass < kLogCheckPass && !impl_->logs.empty()) {
    if (audioPass)
      StartAudioPass(true);
    else
      StartLogCheck();
    return;
  }
  if (finishedPass < kAudioPass && audioPass) {
    StartAudioPass(false);
    return;
  }
  FinishAnalysis(AnalysisOutcome::Finished, nullptr);
}

void ReleaseSession::StartLogCheck() {
  const AudioEngine* engine = LoadAudioEngine(&impl_->logCheckFailure);
  if (engine == nullptr) {
    // The release is whole without the check; the warnings say why it is missing.
    StartNextPass(kLogCheckPass);
    return;
  }
  impl_->progress = ProgressState{};
  impl_->logCheck = std::make_unique<LogMatchPass>(*engine, impl_->release, [this] { PostPump(); });
  emit LogCheckStarted();
  emit Progress(impl_->progress);
}

void ReleaseSession::PumpLogCheck() {
  LogMatchPass& check = *impl_->logCheck;
  ProgressState& progress = impl_->progress;
  Release& release = impl_->release;
  for (const int row : check.TakeReady()) {
    progress = {release.Tracks[static_cast<size_t>(row)].FileName, QString(), check.Percent()};
    emit Progress(progress);
  }
  if (!check.Done())
    return;
  if (!check.Completed()) {
    impl_->logCheck.reset();
    FinishAnalysis(AnalysisOutcome::Stopped, nullptr);
    return;
  }
  TakeLogMatch(check.Audio());
  impl_->logCheck.reset();
  StartNextPass(kLogCheckPass);
}

void ReleaseSession::TakeLogMatch(const std::vector<TrackPcm>& audio) {
  Release& release = impl_->release;
  impl_->checkedLogs = MatchReleaseLogs(release, impl_->logs, audio);
  release.RipLogText = RipLogLine(impl_->logs, impl_->checkedLogs);
  emit LogCheckFinished();
}

void ReleaseSession::PumpAnalysis() {
  AnalysisRun* run = impl_->run.get();
  ProgressState& progress = impl_->progress;
  std::exception_ptr failure;
  bool tookResults = false;
  try {
    const AnalysisRun::Step step = run->Advance();
    tookResults = !step.TracksRead.empty() || !step.Checksums.empty();
    for (const int row : step.TracksRead)
      emit TrackRead(row);
    if (!step.TracksRead.empty()) {
      progress.Percent = run->ReadPercent();
      emit Progress(progress);
    }
    for (const ChecksumProgress& checksum : step.Checksums) {
      progress = {checksum.FileName, checksum.ChecksumText, checksum.Percent};
      emit ChecksumTaken(checksum.Track - 1);
      emit Progress(progress);
    }
  } catch (...) {
    failure = std::current_exception();
  }
  if (run->Running()) {
    // The results stop short of a file that failed: its error is thrown by the next take, and
    // no worker will say so again.
    if (tookResults)
      PostPump();
    return;
  }
  const AnalysisRun::Phase phase = run->CurrentPhase();
  impl_->run.reset();
  AnalysisOutcome outcome = AnalysisOutcome::Failed;
  if (phase == AnalysisRun::Phase::Finished)
    outcome = AnalysisOutcome::Finished;
  else if (phase == AnalysisRun::Phase::Stopped)
    outcome = AnalysisOutcome::Stopped;
  if (outcome == AnalysisOutcome::Finished) {
    TakeExtrasIntoRelease(impl_->release, impl_->logs);
    StartNextPass(kChecksumPass);
    return;
  }
  FinishAnalysis(outcome, failure);
}

void ReleaseSession::StartAudioPass(bool takeLogSums) {
  QString error;
  const AudioEngine* engine = LoadAudioEngine(&error);
  if (engine == nullptr) {
    if (takeLogSums)
      impl_->logCheckFailure = error;
    FinishAnalysis(AnalysisOutcome::Failed,
                   std::make_exception_ptr(std::runtime_error(error.toStdString())));
    return;
  }
  impl_->progress = ProgressState{};
  impl_->audio = std::make_unique<AudioPass>(
      *engine, impl_->release, impl_->spectrograms, [this] { PostPump(); },
      takeLogSums ? AudioPass::LogSums::Take : AudioPass::LogSums::Skip);
  if (takeLogSums)
    emit LogCheckStarted();
  emit AudioPassStarted();
  emit Progress(impl_->progress);
}

void ReleaseSession::PumpAudio() {
  AudioPass& audio = *impl_->audio;
  ProgressState& progress = impl_->progress;
  const Release& release = impl_->release;
  for (const int row : audio.TakeReady()) {
    const auto index = static_cast<size_t>(row);
    const std::optional<AudioFigures>& figures = release.Audio.Tracks[index];
    progress = {release.Tracks[index].FileName,
                figures ? QStringLiteral("DR") + QString::number(figures->Dr) : QStringLiteral("-"),
                audio.Percent()};
    emit AudioMeasured(row);
    emit Progress(progress);
  }
  if (!audio.Done())
    return;
  const bool stopped = audio.Stopped();
  if (!stopped && !audio.LogAudio().empty())
    TakeLogMatch(audio.LogAudio());
  impl_->audio.reset();
  FinishAnalysis(stopped ? AnalysisOutcome::Stopped : AnalysisOutcome::Finished, nullptr);
}

void ReleaseSession::FinishAnalysis(AnalysisOutcome outcome, const std::exception_ptr& failure) {
  ProgressState& progress = impl_->progress;
  // A pass that completed or was stopped empties its labels; a failed one keeps the last file.
  if (outcome != AnalysisOutcome::Failed) {
    progress.FileLabel.clear();
    progress.ChecksumLabel.clear();
    emit Progress(progress);
  }
  impl_->lastOutcome = outcome;
  emit ReleaseChanged();
  if (failure)
    emit Failed(FailureText(failure));
  emit AnalysisFinished(outcome);
}

void ReleaseSession::Stop() {
  if (!Busy())
    return;
  if (impl_->run)
    impl_->run->Stop();
  if (impl_->logCheck)
    impl_->logCheck->Stop();
  if (impl_->audio)
    impl_->audio->Stop();
  if (impl_->listCheck)
    impl_->listCheck->Stop();
  PostPump();
}

AnalysisOutcome ReleaseSession::WaitForAnalysis() {
  if (Busy()) {
    QEventLoop loop;
    connect(this, &ReleaseSession::AnalysisFinished, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return impl_->lastOutcome;
}

bool ReleaseSession::Busy() const {
  return impl_->run != nullptr || impl_->logCheck != nullptr || impl_->audio != nullptr ||
         impl_->listCheck != nullptr;
}

bool ReleaseSession::Verify(const QString& folder) {
  if (Busy())
    return false;
  impl_->lastVerification = VerificationResult{};
  std::vector<ListToCheck> lists = ListsOfFolder(folder);
  impl_->lastVerification.Lists = static_cast<int>(lists.size());
  impl_->progress = ProgressState{};
  const auto post = [this] { PostPump(); };
  // The worker tells each file it starts; the labels change on this object's thread.
  const auto fileStarted = [this](const QString& listFolder, const QString& name, int percent) {
    const QString shown = listFolder.isEmpty() ? name : listFolder + QLatin1Char('/') + name;
    QMetaObject::invokeMethod(
        this,
        [this, shown, percent] {
          impl_->progress = {shown, QString(), percent};
          emit Progress(impl_->progress);
        },
        Qt::QueuedConnection);
  };
  impl_->listCheck = std::make_unique<ListCheckPass>(std::move(lists), fileStarted, post);
  // A folder without lists has no worker to say that it is done.
  post();
  return true;
}

void ReleaseSession::PumpVerification() {
  ListCheckPass& check = *impl_->listCheck;
  VerificationResult& result = impl_->lastVerification;
  try {
    check.TakeReady();
  } catch (...) {
    result.Failure = FailureText(std::current_exception());
  }
  if (!check.Done() && result.Failure.isEmpty())
    return;
  result.Stopped = !check.Completed() && result.Failure.isEmpty();
  result.Lines = VerificationReport(check.Results());
  result.AllOk = result.Failure.isEmpty() && !result.Stopped && !check.Results().empty() &&
                 std::all_of(check.Results().begin(), check.Results().end(),
                             [](const FolderVerification& list) { return list.Result.AllOk(); });
  impl_->listCheck.reset();
  impl_->progress.FileLabel.clear();
  emit Progress(impl_->progress);
  emit VerificationFinished(result);
}

VerificationResult ReleaseSession::WaitForVerification() {
  if (impl_->listCheck) {
    QEventLoop loop;
    connect(this, &ReleaseSession::VerificationFinished, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return impl_->lastVerification;
}

QStringList ReleaseSession::ExtrasSummary() const {
  return ExtrasSummaryLines(impl_->release, impl_->logs, impl_->checkedLogs);
}

const std::vector<FolderLog>& ReleaseSession::Logs() const {
  return impl_->logs;
}

const std::vector<CheckedLog>& ReleaseSession::CheckedLogs() const {
  return impl_->checkedLogs;
}

std::optional<Spectrogram> ReleaseSession::TrackSpectrogram(int row) const {
  const Release& release = impl_->release;
  const auto index = static_cast<size_t>(row);
  if (row < 0 || index >= impl_->spectrograms.size() || index >= release.Audio.Tracks.size() ||
      !release.Audio.Tracks[index])
    return std::nullopt;
  return impl_->spectrograms[index].Unpack();
}

std::vector<SpectrogramFile> ReleaseSession::SpectrogramFiles(const QString& folder) const {
  const Release& release = impl_->release;
  std::vector<SpectrogramFile> files;
  const QDir target(folder);
  const size_t count = std::min(impl_->spectrograms.size(), release.Tracks.size());
  for (size_t i = 0; i < count; ++i) {
    if (!release.Audio.Tracks[i])
      continue;
    const TrackRecord& track = release.Tracks[i];
    const QString name = track.FileName + QStringLiteral(".png");
    const QString relative = track.Disc.isEmpty() ? name : track.Disc + QLatin1Char('/') + name;
    files.push_back(
        {impl_->spectrograms[i], SpectrogramTitle(static_cast<int>(i)), target.filePath(relative)});
  }
  return files;
}

QString ReleaseSession::SpectrogramTitle(int row) const {
  const Release& release = impl_->release;
  const auto index = static_cast<size_t>(row);
  const TrackRecord& track = release.Tracks.at(index);
  const std::optional<AudioFigures>& figures = release.Audio.Tracks.at(index);
  if (!figures)
    return track.FileName;
  const QString depth =
      figures->Bits > 0 ? QStringLiteral("%1 bit").arg(figures->Bits) : QStringLiteral("lossy");
  return QStringLiteral("%1  -  %2 Hz, %3").arg(track.FileName).arg(figures->SampleRate).arg(depth);
}

void ReleaseSession::Compose() {
  ComposeNfo(impl_->release, impl_->options);
}

QByteArray ReleaseSession::NfoBytes() const {
  return NfoFileBytes(impl_->release, impl_->options);
}

QString ReleaseSession::OutputFolder() const {
  return OutputFolderOf(impl_->release);
}

SaveResult ReleaseSession::Save() {
  SaveResult result;
  result.WrittenFiles = SaveOutputs(impl_->release, impl_->options);
  result.Notes = AbsentExtrasNotes(impl_->release);
  impl_->statusText = impl_->messages.Text(Message::StatusSaved);
  result.Outcome = SaveOutcome::Saved;
  result.MessageText = impl_->messages.Text(Message::SavedText);
  result.MessageCaption = impl_->messages.Text(Message::SavedCaption);
  emit StatusChanged(impl_->statusText);
  return result;
}

SaveResult ReleaseSession::SaveCommand() {
  if (impl_->release.Run.AnalysisDone)
    Compose();
  if (impl_->release.Run.NfoComposed)
    return Save();
  SaveResult nothing;
  nothing.Outcome = SaveOutcome::NothingToSave;
  nothing.MessageText = impl_->messages.Text(Message::NothingToSaveText);
  nothing.MessageCaption = impl_->messages.Text(Message::NothingToSaveCaption);
  return nothing;
}

void ReleaseSession::SaveSettings() {
  SaveSettingsFile(impl_->release.Run.ProgramDir, impl_->Settings());
}

void ReleaseSession::Close() {
  if (Busy()) {
    impl_->run.reset();
    impl_->logCheck.reset();
    impl_->audio.reset();
    impl_->listCheck.reset();
    impl_->lastOutcome = AnalysisOutcome::Stopped;
  }
  std::exception_ptr firstFailure;
  const auto attempt = [&firstFailure](const std::function<void()>& write) {
    try {
      write();
    } catch (...) {
      if (!firstFailure)
        firstFailure = std::current_exception();
    }
  };
  attempt([this] { SaveSettings(); });
  attempt([this] { SaveNote(impl_->release.Run.ProgramDir, impl_->release.Info.NoteText); });
  if (firstFailure)
    std::rethrow_exception(firstFailure);
}

const Release& ReleaseSession::State() const {
  return impl_->release;
}

const Options& ReleaseSession::Opts() const {
  return impl_->options;
}

const ChoiceLists& ReleaseSession::Lists() const {
  return impl_->lists;
}

QString ReleaseSession::MessageText(Message message) const {
  return impl_->messages.Text(message);
}

const QString& ReleaseSession::StatusText() const {
  return impl_->statusText;
}

const ProgressState& ReleaseSession::CurrentProgress() const {
  return impl_->progress;
}

QStringList ReleaseSession::Warnings() const {
  const Release& release = impl_->release;
  QStringList warnings;
  if (release.Scan.MixedFormats())
    warnings << MixedFormatsWarning(release.Scan);
  for (const LeftOutFile& file : release.Scan.LeftOut)
    warnings << LeftOutWarning(file);
  const QString formatName = Latin1(FormatOf(release.Scan.DominantFormat).Name);
  const int counted =
      std::min<int>(release.Scan.TrackCount, static_cast<int>(release.Tracks.size()));
  for (int i = 0; i < counted; ++i) {
    const TrackRecord& row = release.Tracks[static_cast<size_t>(i)];
    if (!row.StreamUsable())
      warnings << UnreadableTrackWarning(row, formatName);
  }
  if (!impl_->logCheckFailure.isEmpty())
    warnings << QStringLiteral("The rip logs were not checked: ") + impl_->logCheckFailure;
  const ReleaseAudio& audio = release.Audio;
  const size_t measured = std::min(audio.Tracks.size(), release.Tracks.size());
  for (size_t i = 0; audio.Done && i < measured; ++i) {
    if (!audio.Tracks[i]) {
      warnings << QStringLiteral("Not decoded: %1 (%2)")
                      .arg(release.Tracks[i].FileName, audio.Errors[i]);
    }
  }
  return warnings;
}

int ReleaseSession::UnreadableTracks() const {
  const Release& release = impl_->release;
  const int counted =
      std::min<int>(release.Scan.TrackCount, static_cast<int>(release.Tracks.size()));
  int unreadable = 0;
  for (int i = 0; i < counted; ++i)
    unreadable += release.Tracks[static_cast<size_t>(i)].StreamUsable() ? 0 : 1;
  return unreadable;
}

void ReleaseSession::SetChecksumKindText(const QString& text) {
  impl_->options.SetChecksumKindText(text);
}

void ReleaseSession::SetNfoText(const QString& text) {
  impl_->release.NfoText = text;
}

bool ReleaseSession::SetFieldFromText(const QString& name, const QString& value) {
  return ::SetFieldFromText(impl_->release, name, value);
}

Release& ReleaseSession::Edit() {
  return impl_->release;
}

Options& ReleaseSession::EditOptions() {
  return impl_->options;
}
