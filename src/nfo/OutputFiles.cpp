#include "nfo/OutputFiles.h"

#include "platform/FileNames.h"

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
  const QString path = EightBitFileName(OutputFileName(model, eightBitExtension), codePage);
  const bool written = TextFile::TryWriteLines(path, lines, TextFile::Form::EightBit, codePage);
  return written ? path : QString();
}
