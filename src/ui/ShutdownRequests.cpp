#include "ui/ShutdownRequests.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <csignal>

namespace {

// A signal handler may do next to nothing: it writes one byte, and the event loop does the rest.
int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

void Install(int signalNumber) {
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(signalNumber, &action, nullptr);
}

}  // namespace

ShutdownRequests::ShutdownRequests(QObject* parent) : QObject(parent) {
  if (signalPipe[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
    signalPipe[0] = signalPipe[1] = -1;
  if (signalPipe[0] >= 0) {
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      char byte = 0;
      [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
      emit Requested();
    });
    Install(SIGTERM);
    Install(SIGHUP);
  }
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    connect(app, &QGuiApplication::commitDataRequest, this,
            [this](QSessionManager&) { emit Requested(); });
  }
}

ShutdownRequests::~ShutdownRequests() {
  // Signals from now on end the program the default way: nobody is left to save anything.
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGHUP, SIG_DFL);
}
