#include "nfo/OutputSaving.h"

#include "nfo/ChecksumList.h"
#include "nfo/NfoComposer.h"
#include "nfo/OutputFiles.h"
#include "nfo/Playlists.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/TextFile.h"

namespace {

void AppendIfWritten(QStringList& files, const QString& path) {
  if (!path.isEmpty())
    files << path;
}

QString WriteNfoFile(const ReleaseModel& model, const CodePage& codePage) {
  const QString path = EightBitFileName(OutputFileName(model, QStringLiteral(".nfo")), codePage);
  // Without a folder the name would be relative to wherever the program happens to run.
  if (OutputFolderOf(model).isEmpty())
    throw FileError::CannotCreate(path);
  TextFile::WriteBytes(path, NfoFileBytes(model, codePage));
  return path;
}

}  // namespace

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

  model.StatusText = model.Messages.Text(Message::StatusSaved);
  model.Run.NfoComposed = false;
  result.Outcome = SaveOutcome::Saved;
  result.MessageText = model.Messages.Text(Message::SavedText);
  result.MessageCaption = model.Messages.Text(Message::SavedCaption);
  return result;
}

SaveResult SaveCommand(ReleaseModel& model, const UserLocale& locale, const CodePage& codePage) {
  if (model.Run.AnalysisDone)
    ComposeNfo(model, locale, codePage);
  if (model.Run.NfoComposed)
    return SaveOutputs(model, codePage);
  SaveResult nothing;
  nothing.Outcome = SaveOutcome::NothingToSave;
  nothing.MessageText = model.Messages.Text(Message::NothingToSaveText);
  nothing.MessageCaption = model.Messages.Text(Message::NothingToSaveCaption);
  return nothing;
}
