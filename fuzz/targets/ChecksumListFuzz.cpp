#include "FuzzSupport.h"

#include "extras/ListVerification.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzing::InitialiseProcess();
  // Two files a list may name, inside the list's folder, and one outside it.
  const uint8_t audio[] = {'a', 'u', 'd', 'i', 'o'};
  fuzzing::WriteScratchFile(QStringLiteral("lists/01.flac"), audio, sizeof audio);
  fuzzing::WriteScratchFile(QStringLiteral("lists/CD2/02.flac"), audio, sizeof audio);
  fuzzing::WriteScratchFile(QStringLiteral("outside.flac"), audio, sizeof audio);
  return 0;
}

namespace {

bool IsUpperHex(const QString& text, int digits) {
  if (text.size() != digits)
    return false;
  for (const QChar ch : text) {
    if (!((ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) ||
          (ch >= QLatin1Char('A') && ch <= QLatin1Char('F'))))
      return false;
  }
  return true;
}

void CheckParsed(const ParsedList& list) {
  const int digits = list.Kind == ListKind::Md5 ? 32 : 8;
  for (const ListedFile& file : list.Files) {
    fuzzing::Require(!file.Name.isEmpty(), "a listed file without a name");
    fuzzing::Require(IsUpperHex(file.Checksum, digits), "a checksum of the wrong form");
  }
}

void CheckVerification(const QString& listPath, const ParsedList& parsed) {
  const ListVerification result = VerifyChecksumList(listPath);
  fuzzing::Require(result.Readable, "a written list could not be read");
  fuzzing::Require(result.Entries.size() == parsed.Files.size(), "entries lost or invented");
  const QString folder = QFileInfo(listPath).absolutePath() + QLatin1Char('/');
  for (const ListEntryResult& entry : result.Entries) {
    fuzzing::Require(entry.Path.isEmpty() || entry.Path.startsWith(folder),
                     "a file outside the list's folder was read");
    fuzzing::Require((entry.Status == ListStatus::Missing) == entry.Actual.isEmpty(),
                     "a status that does not fit the checksum read");
  }
  fuzzing::Require(VerificationReport(result).size() == qsizetype(result.Entries.size()) + 1,
                   "the report has a line too many or too few");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes = fuzzing::BytesOf(data, size);
  for (const ListKind kind : {ListKind::Sfv, ListKind::Md5})
    CheckParsed(ParseChecksumList(bytes, kind));

  for (const QString& name :
       {QStringLiteral("lists/album.sfv"), QStringLiteral("lists/album.md5")}) {
    const QString path = fuzzing::WriteScratchFile(name, data, size);
    CheckVerification(path, ParseChecksumList(bytes, ListKindOf(path, bytes)));
  }
  return 0;
}
