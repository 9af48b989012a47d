// velmora: the desktop window. The program reads no arguments; it works in its program folder,
// the working folder at start-up.

#include "platform/ProductInfo.h"
#include "ui/ProgramStart.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(ProgramName());
  DesktopPrompts prompts;
  ReleaseSession session;
  const std::unique_ptr<MainWindow> window = StartProgram(session, prompts, QDir::currentPath());
  return QApplication::exec();
}
