#pragma once

#include "session/ReleaseSession.h"

#include <QByteArray>
#include <QStringList>

// What the report holds besides the release itself.
struct ReportExtras {
  QString OutputFolder;
  QStringList Warnings;
};

// The analysed release as velmora-cli --json reports it (UTF-8, indented).
QByteArray ReleaseToJson(const Release& release, const ReportExtras& extras);
QByteArray ReleaseToJson(const ReleaseSession& session);
