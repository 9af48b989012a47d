#include "nfo/OutputSaving.h"

#include "nfo/ChecksumList.h"
#include "nfo/OutputFiles.h"
#include "nfo/Playlists.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/TextFile.h"

namespace {

QString WriteNfoFile(const Release& release, const Options& options, const CodePage& codePage) {
  const QString path = OutputFileName(release, QStringLiteral(".nfo"), NfoForm(options), codePage);
  // Without a folder the name would be relative to wherever the program happens to run.
  if (OutputFolderOf(release).isEmpty())
    throw FileError::CannotCreate(path);
  TextFile::WriteBytes(path, NfoFileBytes(release, options, codePage));
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

QByteArray NfoFileBytes(const Release& release, const Options& options, const CodePage& codePage) {
  return TextFile::Encode(NfoFileLines(release.NfoText), NfoForm(options), codePage);
}

QStringList SaveOutputs(Release& release, const Options& options, const CodePage& codePage) {
  release.Run.OutputFolder = OutputFolderOf(release);
  QStringList written;
  written << WriteNfoFile(release, options, codePage);
  const ReleaseInfo& info = release.Info;
  if (info.IncludeChecksums)
    written << WriteChecksumList(release, options, codePage);
  if (info.IncludePls)
    written << WritePlsPlaylist(release, options, codePage);
  if (info.IncludeM3u)
    written << WriteM3uPlaylist(release, options, codePage);
  release.Run.NfoComposed = false;
  return written;
}
