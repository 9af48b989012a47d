#pragma once

#include "session/ReleaseSession.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

// What the report holds besides the release itself.
struct ReportExtras {
  QString OutputFolder;
  QStringList Warnings;
  // The rip logs and their check against the audio; no "logs" key without any.
  std::vector<FolderLog> Logs;
  std::vector<CheckedLog> CheckedLogs;
};

// The analysed release as velmora-cli --json reports it (UTF-8, indented).
QByteArray ReleaseToJson(const Release& release, const ReportExtras& extras);
QByteArray ReleaseToJson(const ReleaseSession& session);
