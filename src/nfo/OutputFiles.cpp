#include "nfo/OutputFiles.h"

#include "platform/FileNames.h"

#include <QFile>
#include <algorithm>

namespace {

// The most a name may take on the file systems of this platform, extension included.
constexpr qsizetype kMaxNameBytes = 255;

bool OnlyBlanksAndDots(const QString& name) {
  return std::all_of(name.begin(), name.end(),
                     [](QChar ch) { return ch == QLatin1Char(' ') || ch == QLatin1Char('.'); });
}

QString ReleaseFolderName(const Release& release) {
  QString folder = OutputFolderOf(release);
  if (folder.endsWith(QLatin1Char('/')))
    folder.chop(1);
  return FileNameOf(folder);
}

// The name shortened until it fits with its extension, never inside a character.
QString FitForFileSystem(QString name, const QString& extension) {
  while (!name.isEmpty() && QFile::encodeName(name + extension).size() > kMaxNameBytes) {
    name.chop(1);
    if (!name.isEmpty() && name.back().isHighSurrogate())
      name.chop(1);
  }
  return name;
}

// The folder that holds a folder given with its trailing "/".
QString FolderAbove(QString folder) {
  folder.chop(1);
  return FolderOf(folder);
}

}  // namespace

QString OutputFolderOf(const Release& model) {
  // The rows are what the outputs describe; a later scan of another folder must not send their
  // NFO and lists there.
  if (!model.Tracks.empty()) {
    const TrackRecord& first = model.Tracks.front();
    const QString folder = FolderOf(first.FilePath);
    if (!folder.isEmpty())
      return first.Disc.isEmpty() ? folder : FolderAbove(folder);
  }
  if (model.Scan.TrackList.isEmpty())
    return QString();
  const QString folder = FolderOf(model.Scan.TrackList.first());
  return model.Scan.Discs.isEmpty() ? folder : FolderAbove(folder);
}

TextFile::Form NfoForm(const Options& options) {
  return options.Utf8Text ? TextFile::Form::Utf8 : TextFile::Form::EightBit;
}

TextFile::Form CompanionForm(const Options& options) {
  if (options.Utf8Text)
    return TextFile::Form::Utf8;
  return options.SaveUnicode ? TextFile::Form::Unicode : TextFile::Form::EightBit;
}

QString OutputFileName(const Release& release, const QString& extension, TextFile::Form form,
                       const CodePage& codePage, const QString& disc) {
  QString base = SafeBaseName(release.Run.OutputBaseName);
  if (OnlyBlanksAndDots(base))
    base = ReleaseFolderName(release);
  while (base.startsWith(QLatin1Char('.')))
    base.remove(0, 1);
  const QString folder =
      disc.isEmpty() ? OutputFolderOf(release) : OutputFolderOf(release) + disc + QLatin1Char('/');
  // The disc's name is kept whole; only the base name gives way to a long one.
  QString ending = disc.isEmpty() ? extension : QStringLiteral(" - ") + disc + extension;
  if (form == TextFile::Form::EightBit) {
    base = codePage.RoundTrip(base);
    ending = codePage.RoundTrip(ending);
  }
  return folder + FitForFileSystem(base, ending) + ending;
}

QString WriteCompanionFile(const Release& model, const Options& options,
                           const QString& eightBitExtension, const QString& unicodeExtension,
                           const QStringList& lines, const CodePage& codePage,
                           const QString& disc) {
  const TextFile::Form form = CompanionForm(options);
  switch (form) {
    case TextFile::Form::Unicode:
    case TextFile::Form::Utf8: {
      const QString path = OutputFileName(
          model, form == TextFile::Form::Unicode ? unicodeExtension : eightBitExtension, form,
          codePage, disc);
      TextFile::WriteLines(path, lines, form, codePage);
      return path;
    }
    case TextFile::Form::EightBit:
      break;
  }
  const QString path = OutputFileName(model, eightBitExtension, form, codePage, disc);
  const bool written = TextFile::TryWriteLines(path, lines, TextFile::Form::EightBit, codePage);
  return written ? path : QString();
}
