#pragma once

#include <QObject>

class QSocketNotifier;

// The ways a program is told to end other than its own exit command: SIGTERM (kill, a shutdown),
// SIGHUP (the terminal or the login session going away) and the desktop session's end. Each one
// is turned into Requested on the event loop's thread, so that the window can close as "&Wyjście"
// does and nothing the user typed is lost.
class ShutdownRequests : public QObject {
  Q_OBJECT

 public:
  explicit ShutdownRequests(QObject* parent = nullptr);
  ~ShutdownRequests() override;

 signals:
  void Requested();

 private:
  QSocketNotifier* notifier_ = nullptr;
};
