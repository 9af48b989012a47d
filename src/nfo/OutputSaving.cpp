#include "nfo/OutputSaving.h"

#include "analysis/FolderScan.h"
#include "nfo/ChecksumList.h"
#include "nfo/NfoComposer.h"
#include "nfo/Playlists.h"
#include "platform/FileError.h"

namespace {

bool IsUnsafeInFileName(QChar ch) {
  return ch == QLatin1Char('/') || ch == QLatin1Char('\\') || ch.category() == QChar::Other_Control;
}

void AppendIfWritten(QStringList& files, const QString& path) {
  if (!path.isEmpty())
    files << path;
}

QString WriteNfoFile(const ReleaseModel& model, const CodePage& codePage) {
  const QString path =
      TextFile::EightBitFileName(OutputFileName(model, QStringLiteral(".nfo")), codePage);
  // Without a folder the name would be relative to wherever the program happens to run.
  if (OutputFolderOf(model).isEmpty())
    throw FileError::CannotCreate(path);
  TextFile::WriteBytes(path, NfoFileBytes(model, codePage));
  return path;
}

}  // namespace

QString SafeBaseName(const QString& baseName) {
  QString safe = baseName;
  for (QChar& ch : safe) {
    if (IsUnsafeInFileName(ch))
      ch = QLatin1Char('_');
  }
  return safe;
}

QString OutputFolderOf(const ReleaseModel& model) {
  // The rows are what the outputs describe; a later scan of another folder must not send their
  // NFO and lists there.
  if (!model.Tracks.empty()) {
    const QString folder = FolderOf(model.Tracks.front().FilePath);
    if (!folder.isEmpty())
      return folder;
  }
  return model.Scan.TrackList.isEmpty() ? QString() : FolderOf(model.Scan.TrackList.first());
}

QString OutputFileName(const ReleaseModel& model, const QString& extension) {
  return OutputFolderOf(model) + SafeBaseName(model.Run.OutputBaseName) + extension;
}

TextFile::Form CompanionForm(const Options& options) {
  return options.SaveUnicode ? TextFile::Form::Unicode : TextFile::Form::EightBit;
}

QString WriteCompanionFile(const ReleaseModel& model, const QString& eightBitExtension,
                           const QString& unicodeExtension, const QStringList& lines,
                           const CodePage& codePage) {
  if (CompanionForm(model.Opts) == TextFile::Form::Unicode) {
    const QString path = OutputFileName(model, unicodeExtension);
    TextFile::WriteLines(path, lines, TextFile::Form::Unicode, codePage);
    return path;
  }
  const QString path =
      TextFile::EightBitFileName(OutputFileName(model, eightBitExtension), codePage);
  const bool written = TextFile::TryWriteLines(path, lines, TextFile::Form::EightBit, codePage);
  return written ? path : QString();
}

QStringList NfoFileLines(const QString& nfoText) {
  if (nfoText.isEmpty())
    return {};
  QString text = nfoText;
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text.split(QLatin1Char('\n'));
}

QByteArray NfoFileBytes(const ReleaseModel& model, const CodePage& codePage) {
  return TextFile::Encode(NfoFileLines(model.NfoText), TextFile::Form::EightBit, codePage);
}

SaveResult SaveOutputs(ReleaseModel& model, const CodePage& codePage) {
  model.Run.OutputFolder = OutputFolderOf(model);
  SaveResult result;
  result.WrittenFiles << WriteNfoFile(model, codePage);
  const ReleaseInfo& info = model.Info;
  if (info.IncludeChecksums)
    AppendIfWritten(result.WrittenFiles, WriteChecksumList(model, codePage));
  if (info.IncludePls)
    AppendIfWritten(result.WrittenFiles, WritePlsPlaylist(model, codePage));
  if (info.IncludeM3u)
    AppendIfWritten(result.WrittenFiles, WriteM3uPlaylist(model, codePage));

  model.StatusText = model.Messages.Text(QStringLiteral("9002"));
  model.Run.NfoComposed = false;
  result.Outcome = SaveOutcome::Saved;
  result.MessageText = model.Messages.Text(QStringLiteral("9003"));
  result.MessageCaption = model.Messages.Text(QStringLiteral("9004"));
  return result;
}

SaveResult SaveCommand(ReleaseModel& model, const UserLocale& locale, const CodePage& codePage) {
  if (model.Run.AnalysisDone)
    ComposeNfo(model, locale, codePage);
  if (model.Run.NfoComposed)
    return SaveOutputs(model, codePage);
  SaveResult nothing;
  nothing.Outcome = SaveOutcome::NothingToSave;
  nothing.MessageText = model.Messages.Text(QStringLiteral("9005"));
  nothing.MessageCaption = model.Messages.Text(QStringLiteral("9006"));
  return nothing;
}
