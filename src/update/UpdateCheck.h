#pragma once

#include "update/HTTPGet.h"

#include <QObject>
#include <QString>

// Where the update check asks and where it keeps the downloaded version file. The program's own
// come from DefaultUpdateCheckPlaces(); tests point them at a local server and folders.
struct UpdateCheckPlaces {
  QString Address;
  // The executable's folder (not ProgramDir): the file has always been kept beside the program.
  QString PreferredFolder;
  // Used when the preferred folder cannot be written, as that of an installed program.
  QString FallbackFolder;
};

// "http://" + the product's web host + "/music/version.ini", the executable's folder, and the
// user's cache folder for Velmora.
UpdateCheckPlaces DefaultUpdateCheckPlaces();

// Plain byte-wise text comparison, as the program always compared: "1.3" is newer than "1.21a",
// "1.100" is not.
bool IsNewerVersion(const QString& published, const QString& own);
// "A new version (<version>) of Velmora is available!", CR LF, "Please check Velmora www page."
QString NewVersionMessage(const QString& version);
// The preferred folder when it is a folder that can be written, else the fallback (created when
// missing); empty when neither can hold the file.
QString VersionFileFolder(const UpdateCheckPlaces& places);

// The check for a newer version at start-up: downloads the version file in the background and,
// when it names a newer version than the program's, asks its owner to tell the user. It never
// shows anything itself, and every failure stays silent. Destroying it stops a running download.
class UpdateCheck : public QObject {
  Q_OBJECT

 public:
  explicit UpdateCheck(UpdateCheckPlaces places = DefaultUpdateCheckPlaces(),
                       QObject* parent = nullptr);

  // Starts the download when checkUpdate is on and returns at once; nothing happens when it is
  // off.
  void Start(bool checkUpdate);
  bool Busy() const { return download_.Busy(); }

 signals:
  // The owner shows a message box with this title and text and an OK button only.
  void NewVersionAvailable(const QString& title, const QString& text);
  // A check that was started has ended, whatever came of it; the version file is gone by then.
  void Finished();

 private:
  void ReadVersionFile(const QString& fileName);

  const UpdateCheckPlaces places_;
  THTTPGet download_;
};
