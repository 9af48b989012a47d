#include "ui/ProgramStart.h"

std::unique_ptr<MainWindow> StartProgram(ReleaseSession& session, WindowPrompts& prompts,
                                         const QString& programDir, MainWindow::Clock clock) {
  auto window = std::make_unique<MainWindow>(session, prompts, programDir, std::move(clock));
  window->CreateDialogs();
  window->LoadSettings();
  window->ShowCentred();
  return window;
}
