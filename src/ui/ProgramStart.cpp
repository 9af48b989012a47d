#include "ui/ProgramStart.h"

#include "ui/ShutdownRequests.h"
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
  auto* shutdown = new ShutdownRequests(window.get());
  QObject::connect(shutdown, &ShutdownRequests::Requested, window.get(), &QWidget::close);
  splash.close();
  window->ShowCentred();
  return window;
}
