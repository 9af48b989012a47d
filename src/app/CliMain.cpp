// velmora-cli: the window's job without a window, from folder to saved files, on the same
// session. This file only turns the command line into session calls, the results into terminal
// output and the failures into exit codes.

#include "app/CommandLine.h"
#include "app/JsonExport.h"
#include "audio/AudioEngine.h"
#include "model/ModelFields.h"
#include "platform/FileError.h"
#include "platform/FileStream.h"
#include "session/ReleaseSession.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

enum ExitCode {
  kSuccess = 0,
  kNoAudio = 1,
  kUsage = 2,
  kFileFailure = 3,
  kWarnings = 4,
  kListMismatch = 5,
};

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
    throw FileError::CannotOpen(path, file.FailureReason());
  constexpr int64_t kMaxValueBytes = 16 * 1024 * 1024;
  QByteArray bytes(static_cast<qsizetype>(std::min(file.Size(), kMaxValueBytes)),
                   Qt::Uninitialized);
  bytes.resize(static_cast<qsizetype>(file.Read(bytes.data(), bytes.size())));
  if (bytes.startsWith("\xEF\xBB\xBF"))
    bytes.remove(0, 3);
  return QString::fromUtf8(bytes);
}

// `echo 2024-05-16 > f` ends the value with a line break that is not part of it; only the note
// keeps its lines as written.
QString FieldValueFromFile(const QString& field, QString value) {
  if (field == QLatin1String("NoteText"))
    return value;
  if (value.endsWith(QStringLiteral("\r\n")))
    value.chop(2);
  else if (value.endsWith(QLatin1Char('\n')) || value.endsWith(QLatin1Char('\r')))
    value.chop(1);
  return value;
}

using FieldValues = QList<QPair<QString, QString>>;

// Every --set value and the content of every --set-file, checked on a scratch release before any
// work is done. A file that cannot be read throws its FileError.
std::optional<FieldValues> CheckedFieldValues(const CliRequest& request, QString& error) {
  FieldValues values = request.FieldValues;
  for (const auto& [name, path] : request.FieldFiles)
    values.append({name, FieldValueFromFile(name, ReadUtf8File(path))});
  Release scratch;
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
  return [request](Options& options, ReleaseInfo& info) {
    if (request.ChecksumKind) {
      options.AutoCrc = !request.ChecksumKind->isEmpty();
      if (options.AutoCrc)
        options.SetChecksumKindText(*request.ChecksumKind);
    }
    if (request.SaveUnicode)
      options.SaveUnicode = *request.SaveUnicode;
    if (request.Ads)
      options.Ads = *request.Ads;
    if (request.Utf8Text)
      options.Utf8Text = *request.Utf8Text;
    if (request.AudioPass)
      options.AudioPass = *request.AudioPass;
    if (request.AudioNfo)
      options.AudioNfo = *request.AudioNfo;
    if (request.Template)
      info.FileNameTemplate = *request.Template;
    options.Language = request.Language;
  };
}

// The files are hashed on worker threads; their results arrive here on the main thread, one
// file at a time in track order, as the window's status labels and progress bar show them.
void ShowProgressOnTerminal(ReleaseSession& session) {
  if (!isatty(STDERR_FILENO))
    return;
  QObject::connect(&session, &ReleaseSession::ChecksumTaken, [&session](int row) {
    const Release& release = session.State();
    const TrackRecord& track = release.Tracks[static_cast<size_t>(row)];
    const int count = release.Scan.TrackCount;
    WriteTo(stderr, QStringLiteral("\r[%1%] %2/%3 %4 %5\x1b[K")
                        .arg(session.CurrentProgress().Percent, 3)
                        .arg(row + 1)
                        .arg(count)
                        .arg(track.FileName, track.ChecksumText)
                        .toLocal8Bit());
    progressLineOpen = true;
    if (row + 1 == count)
      EndProgressLine();
  });
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

// Like the window, the CLI works in its working folder when that is a program folder. Run from
// elsewhere (the album's folder, say) it takes the program folder it was built into, then the
// user's settings, then the shipped defaults.
QString ChooseProgramDir() {
  for (const QString& dir : {QDir::currentPath(), QCoreApplication::applicationDirPath(),
                             UserProgramDir(), ShippedProgramDir()}) {
    if (QFileInfo::exists(QDir(dir).filePath(QStringLiteral("nfo.ini"))))
      return dir;
  }
  Say(QStringLiteral("No nfo.ini found in the working folder, beside velmora-cli, in %1 or in "
                     "%2: using the built-in defaults")
          .arg(UserProgramDir(), ShippedProgramDir()));
  return QDir::currentPath();
}

// "MP3, Musepack, Monkey's Audio or FLAC": every format the program reads.
QString ReadFormatNames() {
  QStringList names;
  for (const FormatInfo& format : AudioFormats())
    names << QString::fromLatin1(format.Name.data(), static_cast<qsizetype>(format.Name.size()));
  const QString last = names.takeLast();
  return names.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// One PNG per decoded track, named as the session names them, through the decoding module
// (which draws with Qt Gui; main made the offscreen application for it).
void SaveSpectrograms(const ReleaseSession& session, const QString& folder) {
  QString error;
  const AudioEngine* engine = LoadAudioEngine(&error);
  if (engine == nullptr)
    throw std::runtime_error(error.toStdString());
  for (const SpectrogramFile& file : session.SpectrogramFiles(folder)) {
    if (!engine->SaveSpectrogram(file.Levels.Unpack(), file.Title, file.Path))
      throw FileError::CannotCreate(file.Path);
  }
}

void SayWarnings(const QStringList& warnings) {
  for (const QString& warning : warnings)
    Say(QStringLiteral("Warning: ") + warning);
}

// --verify: the lists of the folder and its disc folders checked as the window's command does.
int VerifyLists(const QString& folder) {
  ReleaseSession session;
  session.Verify(folder);
  const VerificationResult result = session.WaitForVerification();
  if (result.Lists == 0) {
    Say(QStringLiteral("No SFV or MD5 list in %1").arg(folder));
    return kNoAudio;
  }
  for (const QString& line : result.Lines)
    WriteTo(stdout, line.toLocal8Bit() + '\n');
  if (!result.Failure.isEmpty()) {
    Say(result.Failure);
    return kFileFailure;
  }
  return result.AllOk ? kSuccess : kListMismatch;
}

int Run(const CliRequest& request) {
  QString error;
  const std::optional<FieldValues> fieldValues = CheckedFieldValues(request, error);
  if (!fieldValues) {
    Say(error);
    return kUsage;
  }
  if (!QFileInfo(request.Folder).isDir()) {
    Say(QStringLiteral("Folder not found: %1").arg(request.Folder));
    return kNoAudio;
  }
  if (request.Verify)
    return VerifyLists(request.Folder);
  const QDateTime now = request.Now.value_or(QDateTime::currentDateTime());
  ReleaseSession session;
  const QString programDir = ChooseProgramDir();
  if (!request.Language.isEmpty() &&
      !QFileInfo::exists(LanguageFile::PathFor(programDir, request.Language))) {
    Say(QStringLiteral("No language file %1 in %2/lang").arg(request.Language, programDir));
    return kUsage;
  }
  session.Open(programDir, now);
  // Messages are only needed for the window: no language file unless one is asked for.
  session.LoadSettings(OverridesOf(request), !request.Language.isEmpty());
  if (!request.SpectrogramFolder.isEmpty() && !session.Opts().AudioPass) {
    Say(QStringLiteral("--spectrograms needs the audio analysis (--audio)."));
    return kUsage;
  }

  const ScanReport report = session.Scan(request.Folder);
  const Release& release = session.State();
  if (!release.Scan.AnalysisEnabled()) {
    SayWarnings(session.Warnings());
    Say(QStringLiteral("No %1 files in %2").arg(ReadFormatNames(), request.Folder));
    return kNoAudio;
  }

  QString failure;
  QObject::connect(&session, &ReleaseSession::Failed,
                   [&failure](const QString& text) { failure = text; });
  ShowProgressOnTerminal(session);
  session.Analyse(now.date());
  const AnalysisOutcome outcome = session.WaitForAnalysis();
  EndProgressLine();
  if (outcome != AnalysisOutcome::Finished) {
    Say(failure.isEmpty() ? QStringLiteral("The analysis did not finish") : failure);
    return kFileFailure;
  }
  const QStringList warnings = session.Warnings();
  SayWarnings(warnings);
  if (request.Strict && !warnings.isEmpty()) {
    Say(QStringLiteral("Nothing saved: --strict and %1 warning(s)").arg(warnings.size()));
    return kWarnings;
  }
  for (const auto& [name, value] : *fieldValues)
    session.SetFieldFromText(name, value);
  if (!request.SpectrogramFolder.isEmpty())
    SaveSpectrograms(session, request.SpectrogramFolder);

  if (request.Mode == CliRequest::Output::Json) {
    WriteTo(stdout, ReleaseToJson(session));
    return kSuccess;
  }
  session.Compose();
  if (request.Mode == CliRequest::Output::Print) {
    WriteTo(stdout, session.NfoBytes());
    return kSuccess;
  }
  const SaveResult result = session.Save();
  for (const QString& file : result.WrittenFiles)
    WriteTo(stdout, file.toLocal8Bit() + '\n');
  for (const QString& note : result.Notes)
    Say(QStringLiteral("Note: ") + note);
  return kSuccess;
}

// Every failure ends the run with its own message; nothing escapes as an abort.
int RunReportingFailures(const CliRequest& request) {
  try {
    return Run(request);
  } catch (const std::exception& failure) {
    Say(FailureText(failure));
  }
  return kFileFailure;
}

// The application object: an offscreen graphical one, made by the decoding module, when the run
// draws spectrograms; a plain one otherwise, which starts in a fraction of the time.
std::unique_ptr<QCoreApplication> NewApplication(int& argc, char** argv) {
  if (AsksForPictures(argc, argv)) {
    if (const AudioEngine* engine = LoadAudioEngine())
      return std::unique_ptr<QCoreApplication>(engine->NewPictureApplication(argc, argv));
  }
  return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QCoreApplication> app = NewApplication(argc, argv);
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
