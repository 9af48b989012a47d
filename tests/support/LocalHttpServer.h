#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

// A small HTTP server on 127.0.0.1 (a free port) for the download tests. It takes one connection
// at a time, records the request, and lets the test's responder answer it byte by byte, as slowly
// or as wrongly as a test needs. Destroying it ends the connection it serves.
class LocalHttpServer {
 public:
  // One accepted connection, for the responder.
  class Connection {
   public:
    Connection(int socket, const QByteArray& request) : socket_(socket), request_(request) {}
    const QByteArray& Request() const { return request_; }
    // False once the client has gone or the server stops.
    bool Send(const QByteArray& bytes) const;
    // Waits, but no longer than the client stays and the server runs (false then).
    bool Pause(std::chrono::milliseconds time) const;

   private:
    int socket_;
    const QByteArray& request_;
  };
  using Responder = std::function<void(Connection&)>;

  explicit LocalHttpServer(Responder responder);
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:<port>" + path.
  QString Address(const QString& path) const;
  // Every request received so far: headers and body as sent.
  QList<QByteArray> Requests() const;

  // A complete answer: status 200, Content-Length unless told otherwise, the body.
  static QByteArray Answer(const QByteArray& body, bool withLength = true);
  // Only the status line and headers, announcing `length` bytes of body.
  static QByteArray Head(qint64 length);

 private:
  void Serve();
  bool Admit(int client);
  void Handle(int client);

  Responder responder_;
  int listener_ = -1;
  quint16 port_ = 0;
  mutable std::mutex mutex_;  // guards what follows
  bool stopping_ = false;
  int client_ = -1;
  QList<QByteArray> requests_;
  std::thread thread_;
};

// Runs the event loop until `done` holds, for five seconds at most, so that a hang fails the test
// instead of holding the suite. Returns whether it holds.
bool WaitUntil(const std::function<bool()>& done);

// True when the folder holds nothing at all, not even a hidden temporary file.
bool IsEmptyFolder(const QString& path);
