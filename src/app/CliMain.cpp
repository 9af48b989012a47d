// velmora-cli: the window's job without a window, from folder to saved files, on the same
// session. This file only turns the command line into session calls, the results into terminal
// output and the failures into exit codes.

#include "app/CommandLine.h"
#include "app/JsonExport.h"
#include "checksums/Checksums.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "session/ModelFields.h"
#include "session/ReleaseSession.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <new>

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

using FieldValues = QList<QPair<QString, QString>>;

// Every --set value and the content of every --set-file, checked on a scratch model before any
// work is done. A file that cannot be read throws its FileError.
std::optional<FieldValues> CheckedFieldValues(const CliRequest& request, QString& error) {
  FieldValues values = request.FieldValues;
  for (const auto& [name, path] : request.FieldFiles)
    values.append({name, ReadUtf8File(path)});
  ReleaseModel scratch;
  for (qsizetype i = 0; i < values.size(); ++i) {
    const auto& [name, value] = values[i];
    if (SetFieldFromText(scratch, name, value))
      continue;
    const bool fromFile = i >= request.FieldValues.size();
    error = fromFile ? QStringLiteral("Unknown field or malformed value in file: %1=%2")
                           .arg(name, request.FieldFiles[i - request.FieldValues.size()].second)
                     : QStringLiteral("Unknown field or malformed value: %1=%2").arg(name, value);
    return std::nullopt;
  }
  return values;
}

// This run's options on top of the settings file; the settings file itself is never written.
SettingsOverride OverridesOf(const CliRequest& request) {
  return [request](ReleaseModel& model) {
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
    model.Opts.Language = request.Language;
  };
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

// The per-user program folder that velmora-launcher fills for the window:
// $XDG_DATA_HOME/velmora, or ~/.local/share/velmora where that is unset or not absolute.
QString UserProgramDir() {
  QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
  if (!QDir::isAbsolutePath(dataHome))
    dataHome = QDir::homePath() + QStringLiteral("/.local/share");
  return dataHome + QStringLiteral("/velmora");
}

// The program folder an installation ships, found relative to the executable so that a moved
// prefix keeps working (VELMORA_SHIPPED_FROM_BIN is set by the install layout).
QString ShippedProgramDir() {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                         QStringLiteral(VELMORA_SHIPPED_FROM_BIN));
}

// Like the window, the CLI works in its working folder when that is a program folder. An
// installed velmora-cli is mostly run elsewhere, in the album's folder say, so it then takes
// the user's settings, and the shipped defaults before the user has any.
QString ChooseProgramDir() {
  for (const QString& dir : {QDir::currentPath(), UserProgramDir(), ShippedProgramDir()}) {
    if (QFileInfo::exists(QDir(dir).filePath(QStringLiteral("nfo.ini"))))
      return dir;
  }
  return QDir::currentPath();
}

int Run(const CliRequest& request) {
  QString error;
  const std::optional<FieldValues> fieldValues = CheckedFieldValues(request, error);
  if (!fieldValues) {
    Say(error);
    return kUsage;
  }
  const QDateTime now = request.Now.value_or(QDateTime::currentDateTime());
  ReleaseSession session;
  session.Open(ChooseProgramDir(), now);
  // Messages are only needed for the window: no language file unless one is asked for.
  session.LoadSettings(OverridesOf(request), !request.Language.isEmpty());

  session.Scan(request.Folder);
  const ReleaseModel& model = session.Model();
  if (model.Scan.MixedFormats())
    WarnAboutMixedFormats(model.Scan);
  if (!model.Scan.AnalysisEnabled()) {
    Say(QStringLiteral("No MP3, Musepack, Monkey's Audio or FLAC files in %1").arg(request.Folder));
    return kNoAudio;
  }

  AnalysisOptions analysis;
  analysis.Today = now.date();
  analysis.OnChecksum = TerminalProgress();
  session.Analyse(analysis);
  for (const auto& [name, value] : *fieldValues)
    SetFieldFromText(session.Model(), name, value);

  if (request.Mode == CliRequest::Output::Json) {
    WriteTo(stdout, ReleaseToJson(session.Model()));
    return kSuccess;
  }
  session.Compose();
  if (request.Mode == CliRequest::Output::Print) {
    WriteTo(stdout, NfoFileBytes(model));
    return kSuccess;
  }
  const SaveResult result = session.Save();
  for (const QString& file : result.WrittenFiles)
    WriteTo(stdout, file.toLocal8Bit() + '\n');
  return kSuccess;
}

// Every failure ends the run with its own message; nothing escapes as an abort.
int RunReportingFailures(const CliRequest& request) {
  try {
    return Run(request);
  } catch (const FileError& failure) {
    Say(failure.Message());
  } catch (const ChecksumUnavailable& failure) {
    Say(QString::fromUtf8(failure.what()));
  } catch (const std::bad_alloc&) {
    Say(QStringLiteral("Out of memory"));
  } catch (const std::exception& failure) {
    Say(QStringLiteral("velmora-cli: ") + QString::fromUtf8(failure.what()));
  }
  return kFileFailure;
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
  return RunReportingFailures(parsed.Request);
}
