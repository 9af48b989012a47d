#pragma once

#include <QWidget>

class QLabel;

// The splash window: borderless, centred, one 536 x 74 picture, from the program's start until
// the event loop runs.
class SplashWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SplashWindow(const QString& programDir);

  // Shows it and draws it at once: the event loop does not run yet.
  void ShowNow();

  QLabel* Picture;
};
