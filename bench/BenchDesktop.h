#pragma once

#include "ui/WindowPrompts.h"
#include "update/UpdateCheck.h"

#include <QDir>
#include <QString>
#include <QStringList>

// Stands in for the desktop: the folder browser answers with the folder set beforehand, and every
// box a command shows is kept instead of waiting for a click, so that a run that went wrong ends
// with the box's text rather than a figure.
class BenchPrompts : public WindowPrompts {
 public:
  void ShowError(QWidget*, const QString& text) override { Shown << text; }
  void ShowMessage(QWidget*, const QString& text, const QString&, Icon) override { Shown << text; }
  QString ChooseFolder(QWidget*, const QString&) override { return FolderToChoose; }
  void OpenAddress(const QString&) override {}

  QString FolderToChoose;
  QStringList Shown;
};

// The update check at start-up runs as the program runs it, but asks a local port where nothing
// listens: the figures must not depend on the network, and the bench must never reach beyond the
// machine.
inline UpdateCheckPlaces NowhereToCheck() {
  return {QStringLiteral("http://127.0.0.1:9/music/version.ini"), QDir::tempPath(),
          QDir::tempPath()};
}
