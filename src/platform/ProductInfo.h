#pragma once

#include <QString>

// The program's name, version and web host. Version and host are set once, in the top-level
// CMakeLists.txt, for the window caption, the NFO footer, the checksum lists, --version and the
// update check alike.

inline QString ProgramName() {
  return QStringLiteral("Velmora");
}

// "1.21a": compared byte-wise with the published version by the update check.
inline QString ProgramVersion() {
  return QString::fromLatin1(VELMORA_VERSION);
}

// "Velmora v1.21a", as the window caption and the output files sign it.
inline QString ProgramNameAndVersion() {
  return ProgramName() + QStringLiteral(" v") + ProgramVersion();
}

inline QString ProductWebHost() {
  return QString::fromLatin1(VELMORA_WEB_HOST);
}

// "http://" and the host: the advert footer of the NFO names it.
inline QString ProductWebAddress() {
  return QStringLiteral("http://") + ProductWebHost();
}
