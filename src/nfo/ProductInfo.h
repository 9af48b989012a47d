#pragma once

#include <QString>

// The program's name as its output files sign them.
inline QString ProgramNameAndVersion() {
  return QStringLiteral("Velmora v1.21a");
}

// The product's web address, named by the advert footer of the NFO. The host is fixed at build
// time (VELMORA_WEB_HOST).
inline QString ProductWebAddress() {
  return QStringLiteral("http://") + QString::fromUtf8(VELMORA_WEB_HOST);
}
