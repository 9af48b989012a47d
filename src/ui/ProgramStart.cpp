#include "ui/ProgramStart.h"

#include "ui/SplashWindow.h"

std::unique_ptr<MainWindow> StartProgram(ReleaseSession& session, WindowPrompts& prompts,
                                         const QString& programDir, MainWindow::Clock clock,
                                         const UpdateCheckPlaces& updatePlaces) {
  SplashWindow splash(programDir);
  splash.ShowNow();
  auto window =
      std::make_unique<MainWindow>(session, prompts, programDir, std::move(clock), updatePlaces);
  window->CreateDialogs();
  window->LoadSettings();
  splash.close();
  window->ShowCentred();
  return window;
}
