#include "session/ReleaseSession.h"

#include "analysis/FolderScan.h"
#include "analysis/ReleaseSummary.h"
#include "nfo/NfoComposer.h"
#include "platform/IniFile.h"
#include "platform/UserLocale.h"

#include <exception>

namespace {

MixedFormatWarning WarningFor(const ReleaseModel& model) {
  const ScanState& scan = model.Scan;
  const MessageTable& messages = model.Messages;
  MixedFormatWarning warning;
  warning.Caption = messages.Text(Message::NothingToSaveCaption);
  warning.FirstLine = messages.Text(Message::MixedFormatsFirstLine);
  warning.Counts = scan.FormatCounts;
  warning.Dominant = scan.DominantFormat;
  warning.LastLine =
      messages.Text(Message::MixedFormatsLastLine) + QLatin1Char(' ') + scan.DominantExtension;
  return warning;
}

}  // namespace

ReleaseSession::ReleaseSession()
    : model_(std::make_unique<ReleaseModel>()),
      readers_(std::make_unique<ReaderSet>()),
      language_(std::make_unique<LanguageFile>()) {}

ReleaseSession::~ReleaseSession() = default;

const StartupSettings& ReleaseSession::Open(const QString& programDir, const QDateTime& now) {
  ReleaseModel& model = *model_;
  model.Run.ProgramDir = programDir;
  model.Run.StartTimeText = UserLocale::System().FormatStartTime(now);
  model.Run.NfoComposed = false;
  model.Run.AnalysisDone = false;
  ClearSummary(model);

  IniFile settings;
  settings.Load(SettingsFilePath(programDir));
  startup_ = ReadStartupSettings(settings);
  model.Run.DefaultPath = startup_.DefaultPath;

  LoadListFiles(model);
  LoadNote(model);
  return startup_;
}

void ReleaseSession::LoadSettings(const SettingsOverride& adjust, bool applyLanguage) {
  LoadSettingsFile(*model_);
  if (adjust)
    adjust(*model_);
  if (applyLanguage)
    ApplyLanguage(model_->Opts.Language);
  model_->Info.IncludeChecksums = model_->Opts.AutoCrc;
}

void ReleaseSession::ApplyLanguage(const QString& name) {
  auto language = std::make_unique<LanguageFile>();
  language->Load(LanguageFile::PathFor(model_->Run.ProgramDir, name));
  ApplyLanguageToModel(*model_, *language);
  language_ = std::move(language);
}

QString ReleaseSession::BeginFolderChoice() {
  model_->Scan.FolderPath = model_->Run.DefaultPath;
  return model_->Run.DefaultPath;
}

std::optional<MixedFormatWarning> ReleaseSession::Scan(const QString& folder) {
  ScanFolder(model_->Scan, folder);
  if (!model_->Scan.MixedFormats())
    return std::nullopt;
  return WarningFor(*model_);
}

std::unique_ptr<AnalysisRun> ReleaseSession::StartAnalysis(const QDate& today,
                                                           ChecksumJob::Notify notify) {
  return std::make_unique<AnalysisRun>(*model_, *readers_, today, std::move(notify));
}

bool ReleaseSession::Analyse(const AnalysisOptions& options) {
  return AnalyseTracks(*model_, *readers_, options);
}

void ReleaseSession::Compose() {
  ComposeNfo(*model_);
}

SaveResult ReleaseSession::Save() {
  return SaveOutputs(*model_);
}

SaveResult ReleaseSession::SaveCommand() {
  return ::SaveCommand(*model_);
}

void ReleaseSession::SaveSettings() {
  SaveSettingsFile(*model_);
}

void ReleaseSession::Close() {
  std::exception_ptr firstFailure;
  for (void (*write)(const ReleaseModel&) : {&SaveSettingsFile, &SaveNote}) {
    try {
      write(*model_);
    } catch (...) {
      if (!firstFailure)
        firstFailure = std::current_exception();
    }
  }
  if (firstFailure)
    std::rethrow_exception(firstFailure);
}
