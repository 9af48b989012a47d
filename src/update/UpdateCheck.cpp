#include "update/UpdateCheck.h"

#include "platform/CodePage.h"
#include "platform/IniFile.h"
#include "platform/ProductInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The version file holds one short INI value; anything larger is not it.
constexpr int64_t kVersionFileMaxBytes = 64 * 1024;

bool IsWritableFolder(const QString& path) {
  const QFileInfo folder(path);
  return folder.isDir() && folder.isWritable();
}

}  // namespace

UpdateCheckPlaces DefaultUpdateCheckPlaces() {
  UpdateCheckPlaces places;
  places.Address = ProductWebAddress() + QStringLiteral("/music/version.ini");
  places.PreferredFolder = QCoreApplication::applicationDirPath();
  places.FallbackFolder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                          QLatin1Char('/') + ProgramName().toLower();
  return places;
}

bool IsNewerVersion(const QString& published, const QString& own) {
  const CodePage& codePage = CodePage::System();
  return codePage.FromUnicode(published) > codePage.FromUnicode(own);
}

QString NewVersionMessage(const QString& version) {
  return QStringLiteral("A new version (") + version + QStringLiteral(") of ") + ProgramName() +
         QStringLiteral(" is available!\r\nPlease check ") + ProgramName() +
         QStringLiteral(" www page.");
}

QString VersionFileFolder(const UpdateCheckPlaces& places) {
  if (IsWritableFolder(places.PreferredFolder))
    return places.PreferredFolder;
  if (QDir().mkpath(places.FallbackFolder) && IsWritableFolder(places.FallbackFolder))
    return places.FallbackFolder;
  return QString();
}

UpdateCheck::UpdateCheck(UpdateCheckPlaces places, QObject* parent)
    : QObject(parent), places_(std::move(places)) {
  download_.MaxBytes = kVersionFileMaxBytes;
  // Only success is handled: a failed check says nothing. The component removes what it did
  // not finish.
  connect(&download_, &THTTPGet::OnDoneFile, this, &UpdateCheck::ReadVersionFile);
  connect(&download_, &THTTPGet::OnError, this, &UpdateCheck::Finished);
}

void UpdateCheck::Start(bool checkUpdate) {
  if (!checkUpdate || download_.Busy())
    return;
  const QString folder = VersionFileFolder(places_);
  if (folder.isEmpty())
    return;
  download_.URL = places_.Address;
  download_.FileName = QDir(folder).filePath(QStringLiteral("version.ini"));
  download_.GetFile();
}

void UpdateCheck::ReadVersionFile(const QString& fileName) {
  IniFile versionFile;
  versionFile.Load(fileName);
  const QString version = versionFile.Read(QStringLiteral("update"), QStringLiteral("version"));
  // Gone before the message is shown, so that no copy stays behind while the box is open.
  QFile::remove(fileName);
  if (IsNewerVersion(version, ProgramVersion()))
    emit NewVersionAvailable(ProgramName(), NewVersionMessage(version));
  emit Finished();
}
