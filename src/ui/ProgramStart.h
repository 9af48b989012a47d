#pragma once

#include "session/ReleaseSession.h"
#include "ui/MainWindow.h"
#include "ui/WindowPrompts.h"

#include <QString>
#include <memory>

// The program's start in its order: the splash window, the main window (and with it the session's
// start-up in programDir), the options dialog, the about box and the mixed-format warning, the
// settings and the language; then the splash closes and the window is shown centred. The caller
// runs the event loop.
std::unique_ptr<MainWindow> StartProgram(
    ReleaseSession& session, WindowPrompts& prompts, const QString& programDir,
    MainWindow::Clock clock = {},
    const UpdateCheckPlaces& updatePlaces = DefaultUpdateCheckPlaces());
