// velmora: the desktop window. The program reads no arguments; it works in its program folder,
// the working folder at start-up.

#include "platform/ProductInfo.h"
#include "session/ReleaseSession.h"
#include "ui/MainWindow.h"
#include "ui/WindowPrompts.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(ProgramName());
  DesktopPrompts prompts;
  ReleaseSession session;
  MainWindow window(session, prompts, QDir::currentPath());
  window.CreateDialogs();
  window.LoadSettings();
  window.ShowCentred();
  return QApplication::exec();
}
