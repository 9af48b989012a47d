// velmora-cli: the window's job without a window, from folder to saved files, on the same core.

#include "analysis/FolderScan.h"
#include "analysis/ReaderSet.h"
#include "analysis/TrackAnalysis.h"
#include "app/CommandLine.h"
#include "app/JsonExport.h"
#include "app/ModelFields.h"
#include "nfo/NfoComposer.h"
#include "nfo/OutputSaving.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "platform/UserLocale.h"
#include "settings/LanguageFile.h"
#include "settings/SettingsStore.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <cstdio>
#include <memory>

namespace {

enum ExitCode { kSuccess = 0, kNoAudio = 1, kUsage = 2, kFileFailure = 3 };

void WriteTo(FILE* stream, const QByteArray& bytes) {
  std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
  std::fflush(stream);
}

// The checksum progress is one line on the terminal, redrawn in place after every file. It stays
// open until the last file; a message said before that (a file that cannot be read) ends it
// first, so that the message starts on a line of its own.
bool progressLineOpen = false;

void EndProgressLine() {
  if (progressLineOpen)
    WriteTo(stderr, "\n");
  progressLineOpen = false;
}

void Say(const QString& line) {
  EndProgressLine();
  WriteTo(stderr, line.toLocal8Bit() + '\n');
}

QString ReadUtf8File(const QString& path) {
  FileHandle file(path);
  if (!file.IsValid())
    throw FileError::CannotOpen(path);
  constexpr int64_t kMaxValueBytes = 16 * 1024 * 1024;
  QByteArray bytes(static_cast<qsizetype>(std::min(file.Size(), kMaxValueBytes)),
                   Qt::Uninitialized);
  bytes.resize(static_cast<qsizetype>(file.Read(bytes.data(), bytes.size())));
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes.remove(0, 3);
  return QString::fromUtf8(bytes);
}

// Settings, list files and note as the window loads them at start-up, then this run's overrides.
void PrepareModel(ReleaseModel& model, const CliRequest& request, const QDateTime& now) {
  model.Run.ProgramDir = QDir::currentPath();
  LoadListFiles(model);
  LoadNote(model);
  LoadSettingsFile(model);
  if (request.ChecksumKind) {
    model.Opts.AutoCrc = !request.ChecksumKind->isEmpty();
    if (model.Opts.AutoCrc)
      model.Opts.ChecksumKind = *request.ChecksumKind;
  }
  if (request.SaveUnicode)
    model.Opts.SaveUnicode = *request.SaveUnicode;
  if (request.Ads)
    model.Opts.Ads = *request.Ads;
  if (request.Template)
    model.Info.FileNameTemplate = *request.Template;
  if (!request.Language.isEmpty())
    ApplyLanguage(model, request.Language);
  model.Info.IncludeChecksums = model.Opts.AutoCrc;
  model.Run.StartTimeText = UserLocale::System().FormatStartTime(now);
}

// Every --set and --set-file value, checked on a scratch model before any work is done.
bool ValidateFieldValues(const CliRequest& request, QString& error) {
  ReleaseModel scratch;
  for (const auto& [name, value] : request.FieldValues) {
    if (!SetFieldFromText(scratch, name, value)) {
      error = QStringLiteral("Unknown field or malformed value: %1=%2").arg(name, value);
      return false;
    }
  }
  for (const auto& [name, path] : request.FieldFiles) {
    if (!SetFieldFromText(scratch, name, QString())) {
      error = QStringLiteral("Unknown field for a file value: %1").arg(name);
      return false;
    }
  }
  return true;
}

void ApplyFieldValues(ReleaseModel& model, const CliRequest& request) {
  for (const auto& [name, value] : request.FieldValues)
    SetFieldFromText(model, name, value);
  for (const auto& [name, path] : request.FieldFiles) {
    if (!SetFieldFromText(model, name, ReadUtf8File(path))) {
      throw FileError(QStringLiteral("Malformed value in file %1").arg(path));
    }
  }
}

void WarnAboutMixedFormats(const ScanState& scan) {
  Say(QStringLiteral("Warning: the folder mixes formats (mp3: %1, mpc: %2, ape: %3, flac: %4); "
                     "analysing %5")
          .arg(scan.FormatCounts[0])
          .arg(scan.FormatCounts[1])
          .arg(scan.FormatCounts[2])
          .arg(scan.FormatCounts[3])
          .arg(scan.DominantExtension));
}

// The files are hashed on worker threads; their results arrive here on the main thread, one
// file at a time in track order, as the window's status labels and progress bar show them.
ChecksumProgressCallback TerminalProgress() {
  if (!isatty(STDERR_FILENO))
    return {};
  return [](const ChecksumProgress& step) {
    WriteTo(stderr, QStringLiteral("\r[%1%] %2/%3 %4 %5\x1b[K")
                        .arg(step.Percent, 3)
                        .arg(step.Track)
                        .arg(step.TrackCount)
                        .arg(step.FileName, step.ChecksumText)
                        .toLocal8Bit());
    progressLineOpen = true;
    if (step.Track == step.TrackCount)
      EndProgressLine();
  };
}

int Run(const CliRequest& request) {
  QString error;
  if (!ValidateFieldValues(request, error)) {
    Say(error);
    return kUsage;
  }
  const QDateTime now = request.Now.value_or(QDateTime::currentDateTime());
  auto model = std::make_unique<ReleaseModel>();
  auto readers = std::make_unique<ReaderSet>();
  PrepareModel(*model, request, now);

  ScanFolder(model->Scan, request.Folder);
  if (model->Scan.MixedFormats())
    WarnAboutMixedFormats(model->Scan);
  if (!model->Scan.AnalysisEnabled()) {
    Say(QStringLiteral("No MP3, Musepack, Monkey's Audio or FLAC files in %1").arg(request.Folder));
    return kNoAudio;
  }

  AnalysisOptions options;
  options.Today = now.date();
  options.OnChecksum = TerminalProgress();
  AnalyseTracks(*model, *readers, options);
  ApplyFieldValues(*model, request);

  if (request.Mode == CliRequest::Output::Json) {
    WriteTo(stdout, ReleaseToJson(*model));
    return kSuccess;
  }
  ComposeNfo(*model);
  if (request.Mode == CliRequest::Output::Print) {
    WriteTo(stdout, NfoFileBytes(*model));
    return kSuccess;
  }
  const SaveResult result = SaveOutputs(*model);
  for (const QString& file : result.WrittenFiles)
    WriteTo(stdout, file.toLocal8Bit() + '\n');
  return kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("velmora-cli"));
  const ParseOutcome parsed = ParseCommandLine(QCoreApplication::arguments());
  switch (parsed.Result) {
    case ParseOutcome::Kind::Help:
    case ParseOutcome::Kind::Version:
      WriteTo(stdout,
              parsed.Text.toLocal8Bit() + (parsed.Text.endsWith(QLatin1Char('\n')) ? "" : "\n"));
      return kSuccess;
    case ParseOutcome::Kind::UsageError:
      Say(parsed.Text);
      Say(QStringLiteral("Try 'velmora-cli --help' for more information."));
      return kUsage;
    case ParseOutcome::Kind::Run:
      break;
  }
  try {
    return Run(parsed.Request);
  } catch (const FileError& failure) {
    Say(failure.Message());
    return kFileFailure;
  }
}
